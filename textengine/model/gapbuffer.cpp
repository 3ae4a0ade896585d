#include "textengine/model/gapbuffer.h"

#include <algorithm>
#include <cstring>

namespace textengine {

void GapBuffer::assign(const QString &text)
{
    m_data = text;
    m_gapStart = m_gapEnd = m_data.size();
}

QString GapBuffer::text() const
{
    if (gapLength() == 0)
        return m_data;
    return mid(0, size());
}

QString GapBuffer::mid(qsizetype position, qsizetype length) const
{
    position = std::clamp<qsizetype>(position, 0, size());
    length = std::clamp<qsizetype>(length, 0, size() - position);
    QString result(length, Qt::Uninitialized);
    QChar *out = result.data();
    const QChar *data = m_data.constData();
    const qsizetype beforeGap = std::clamp<qsizetype>(m_gapStart - position, 0, length);
    if (beforeGap > 0)
        std::memcpy(out, data + position, beforeGap * sizeof(QChar));
    if (length > beforeGap)
        std::memcpy(out + beforeGap, data + position + beforeGap + gapLength(), (length - beforeGap) * sizeof(QChar));
    return result;
}

bool GapBuffer::equals(QStringView other) const
{
    if (other.size() != size())
        return false;
    const QStringView first = front();
    return first == other.first(first.size()) && back() == other.sliced(first.size());
}

void GapBuffer::replace(qsizetype position, qsizetype removed, QStringView inserted)
{
    Q_ASSERT(position >= 0 && removed >= 0 && position + removed <= size());
    // Grown before it moves: a hole still at the end grows without moving text.
    if (gapLength() + removed < inserted.size())
        growGap(inserted.size());
    moveGap(position);
    m_gapEnd += removed;
    if (!inserted.isEmpty())
        std::memcpy(m_data.data() + m_gapStart, inserted.data(), inserted.size() * sizeof(QChar));
    m_gapStart += inserted.size();
}

void GapBuffer::reserveGap(qsizetype length)
{
    if (gapLength() < length)
        growGap(length - gapLength());
}

void GapBuffer::appendTo(QString &out, qsizetype position, qsizetype length) const
{
    const qsizetype beforeGap = std::clamp<qsizetype>(m_gapStart - position, 0, length);
    const QChar *data = m_data.constData();
    out.append(data + position, beforeGap);
    out.append(data + position + beforeGap + gapLength(), length - beforeGap);
}

void GapBuffer::moveGap(qsizetype position)
{
    if (position == m_gapStart)
        return;
    if (gapLength() == 0) {
        m_gapStart = m_gapEnd = position;
        return;
    }
    QChar *data = m_data.data();
    if (position < m_gapStart) {
        const qsizetype count = m_gapStart - position;
        std::memmove(data + m_gapEnd - count, data + position, count * sizeof(QChar));
        m_gapStart -= count;
        m_gapEnd -= count;
    } else {
        const qsizetype count = position - m_gapStart;
        std::memmove(data + m_gapStart, data + m_gapEnd, count * sizeof(QChar));
        m_gapStart += count;
        m_gapEnd += count;
    }
}

void GapBuffer::growGap(qsizetype needed)
{
    // A hole of a sixteenth of the text keeps reallocation rare without
    // doubling the memory of a huge document.
    const qsizetype extra = std::max({needed, qsizetype(4096), size() / 16});
    const qsizetype oldCapacity = m_data.size();
    const qsizetype tail = oldCapacity - m_gapEnd;
    m_data.resize(oldCapacity + extra);
    QChar *data = m_data.data();
    if (tail > 0)
        std::memmove(data + m_gapEnd + extra, data + m_gapEnd, tail * sizeof(QChar));
    m_gapEnd += extra;
}

} // namespace textengine
