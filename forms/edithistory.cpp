#include "forms/edithistory.h"

namespace forms {

void EditHistory::clear()
{
    m_edits.clear();
    m_next = 0;
    m_typing = false;
}

void EditHistory::record(const TextEdit &edit, bool typed)
{
    m_edits.resize(m_next);
    if (typed && m_typing && !m_edits.empty()) {
        TextEdit &last = m_edits.back();
        if (edit.removed.isEmpty() && edit.position == last.position + last.inserted.size()) {
            last.inserted += edit.inserted;
            return;
        }
    }
    m_edits.push_back(edit);
    m_next = m_edits.size();
    m_typing = typed;
}

const TextEdit &EditHistory::undo()
{
    m_typing = false;
    return m_edits[--m_next];
}

const TextEdit &EditHistory::redo()
{
    m_typing = false;
    return m_edits[m_next++];
}

} // namespace forms
