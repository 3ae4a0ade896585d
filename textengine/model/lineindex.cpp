#include "textengine/model/lineindex.h"

#include "textengine/model/gapbuffer.h"

#include <algorithm>

namespace textengine {

namespace {

// Appends the line starts s with low <= s <= high to `out`, in order. A line
// starts after an LF, and after a CR that no LF follows.
void collectStarts(const GapBuffer &text, int low, int high, std::vector<int> &out, bool *onlyCrLf = nullptr)
{
    const int size = static_cast<int>(text.size());
    low = std::max(low, 1);
    high = std::min(high, size);
    if (low > high)
        return;
    const QStringView parts[2] = {text.front(), text.back()};
    int offset = 0;
    for (const QStringView part : parts) {
        const int partSize = static_cast<int>(part.size());
        const int from = std::max(low - 1, offset) - offset;
        const int to = std::min(high, offset + partSize) - offset; // exclusive
        const char16_t *chars = reinterpret_cast<const char16_t *>(part.data());
        for (int i = from; i < to; ++i) {
            const char16_t c = chars[i];
            if (c > u'\r')
                continue;
            const int position = offset + i;
            if (c == u'\n') {
                out.push_back(position + 1);
                if (onlyCrLf && (position == 0 || text.at(position - 1) != u'\r'))
                    *onlyCrLf = false;
            } else if (c == u'\r') {
                if (position + 1 >= size || text.at(position + 1) != u'\n') {
                    out.push_back(position + 1);
                    if (onlyCrLf)
                        *onlyCrLf = false;
                }
            }
        }
        offset += partSize;
    }
}

} // namespace

void LineIndex::rebuild(const GapBuffer &text)
{
    m_starts.clear();
    m_starts.push_back(0);
    m_onlyCrLf = true;
    collectStarts(text, 1, static_cast<int>(text.size()), m_starts, &m_onlyCrLf);
}

void LineIndex::update(const GapBuffer &text, int position, int removed, int inserted)
{
    // Whether s starts a line depends only on the characters s-1 and s, so
    // only starts within [position, end of the edit + 1] can change.
    const int low = std::max(position, 1);
    const int oldHigh = position + removed + 1;
    const int newHigh = position + inserted + 1;
    const int delta = inserted - removed;
    std::vector<int> fresh;
    collectStarts(text, low, newHigh, fresh);
    const auto first = std::lower_bound(m_starts.begin() + 1, m_starts.end(), low);
    const auto last = std::upper_bound(first, m_starts.end(), oldHigh);
    if (delta != 0) {
        for (auto it = last; it != m_starts.end(); ++it)
            *it += delta;
    }
    const auto replaced = static_cast<size_t>(last - first);
    if (replaced == fresh.size()) {
        std::copy(fresh.begin(), fresh.end(), first);
    } else {
        const auto at = m_starts.erase(first, last);
        m_starts.insert(at, fresh.begin(), fresh.end());
    }
}

int LineIndex::lineOf(int position) const
{
    const auto it = std::upper_bound(m_starts.begin(), m_starts.end(), position);
    return static_cast<int>(it - m_starts.begin()) - 1;
}

} // namespace textengine
