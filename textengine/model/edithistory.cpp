#include "textengine/model/edithistory.h"

namespace textengine {

EditHistory::EditHistory(qsizetype limitBytes)
    : m_limit(limitBytes)
{
}

void EditHistory::clear()
{
    m_steps.clear();
    m_next = 0;
    m_savePoint = 0;
    m_run = EditKind::Other;
    m_bytes = 0;
}

qsizetype EditHistory::bytesOf(const EditStep &step)
{
    return (step.removed.size() + step.inserted.size()) * qsizetype(sizeof(QChar)) + qsizetype(sizeof(EditStep))
        + (step.many ? step.many->bytes() : 0);
}

void EditHistory::record(EditStep step, EditKind kind)
{
    while (m_steps.size() > m_next) {
        m_bytes -= bytesOf(m_steps.back());
        m_steps.pop_back();
    }
    if (m_savePoint != unreachable && m_savePoint > m_steps.size())
        m_savePoint = unreachable;
    if (kind != EditKind::Other && kind == m_run && !m_steps.empty() && merge(step, kind))
        return;
    m_bytes += bytesOf(step);
    m_steps.push_back(std::move(step));
    m_next = m_steps.size();
    m_run = kind;
    dropOldest();
}

bool EditHistory::merge(const EditStep &step, EditKind kind)
{
    EditStep &last = m_steps.back();
    const qsizetype before = bytesOf(last);
    switch (kind) {
    case EditKind::Typing:
        if (!step.removed.isEmpty() || step.position != last.position + last.inserted.size())
            return false;
        last.inserted += step.inserted;
        break;
    case EditKind::DeletingBack:
        if (!step.inserted.isEmpty() || !last.inserted.isEmpty()
            || step.position + step.removed.size() != last.position)
            return false;
        last.removed.prepend(step.removed);
        last.position = step.position;
        break;
    case EditKind::DeletingForward:
        if (!step.inserted.isEmpty() || !last.inserted.isEmpty() || step.position != last.position)
            return false;
        last.removed += step.removed;
        break;
    case EditKind::Other:
        return false;
    }
    last.after = step.after;
    m_bytes += bytesOf(last) - before;
    dropOldest();
    return true;
}

void EditHistory::dropOldest()
{
    while (m_bytes > m_limit && m_steps.size() > 1) {
        m_bytes -= bytesOf(m_steps.front());
        m_steps.pop_front();
        if (m_next > 0)
            --m_next;
        if (m_savePoint != unreachable)
            m_savePoint = m_savePoint == 0 ? unreachable : m_savePoint - 1;
    }
}

void EditHistory::setSavePoint()
{
    m_savePoint = m_next;
    // A step typed next must not grow the one the save point ends on.
    endRun();
}

const EditStep &EditHistory::undo()
{
    m_run = EditKind::Other;
    return m_steps[--m_next];
}

const EditStep &EditHistory::redo()
{
    m_run = EditKind::Other;
    return m_steps[m_next++];
}

} // namespace textengine
