#include "textengine/model/replacements.h"

#include "textengine/model/crlf.h"

#include <algorithm>

namespace textengine {

void Replacements::add(int position, int length, QStringView inserted)
{
    if (length == 0 && inserted.isEmpty())
        return;
    m_ranges.push_back({position, length, int(inserted.size())});
    m_inserted += inserted;
    m_growth += inserted.size() - length;
}

qsizetype Replacements::bytes() const
{
    return qsizetype(m_ranges.size() * sizeof(Range))
        + (m_inserted.size() + m_removed.size()) * qsizetype(sizeof(QChar));
}

int Replacements::mapForward(int position) const
{
    // The first range that ends after the position, or reaches it.
    const auto next = std::lower_bound(m_ranges.begin(), m_ranges.end(), position,
                                       [](const Range &range, int p) { return range.position + range.removed < p; });
    qsizetype shift = 0;
    for (auto it = m_ranges.begin(); it != next; ++it)
        shift += it->inserted - it->removed;
    if (next != m_ranges.end() && next->position < position)
        return int(next->position + shift + next->inserted);
    return int(position + shift);
}

int Replacements::mapBackward(int position) const
{
    qsizetype shift = 0;
    for (const Range &range : m_ranges) {
        const qsizetype start = range.position + shift;
        if (position <= start)
            break;
        if (position <= start + range.inserted)
            return range.position + range.removed;
        shift += range.inserted - range.removed;
    }
    return int(position - shift);
}

void Replacements::recountGrowth()
{
    m_growth = 0;
    for (const Range &range : m_ranges)
        m_growth += range.inserted - range.removed;
}

void Replacements::insertCrLf()
{
    const bool lone = [this] {
        const qsizetype size = m_inserted.size();
        for (qsizetype i = 0; i < size; ++i) {
            const QChar c = m_inserted.at(i);
            if (c == u'\r' && (i + 1 == size || m_inserted.at(i + 1) != u'\n'))
                return true;
            if (c == u'\n' && (i == 0 || m_inserted.at(i - 1) != u'\r'))
                return true;
        }
        return false;
    }();
    if (!lone)
        return;
    // Each text on its own: a CR at the end of one and an LF at the start
    // of the next are two line breaks, not one.
    QString rewritten;
    qsizetype from = 0;
    for (Range &range : m_ranges) {
        const QString text
            = toCrLf(m_inserted.mid(from, range.inserted), {.loneCarriageReturns = true, .loneLineFeeds = true});
        from += range.inserted;
        range.inserted = int(text.size());
        rewritten += text;
    }
    m_inserted = rewritten;
    recountGrowth();
}

} // namespace textengine
