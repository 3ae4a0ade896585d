#include "textengine/model/lineindex.h"

#include "textengine/model/gapbuffer.h"

#include <algorithm>
#include <cstring>

namespace textengine {

namespace {

// Whether any of the four UTF-16 units in `word` is below 14, that is a CR,
// an LF or another control character: the classic test for a lane below n,
// on 16-bit lanes. Megabytes of lines are passed over four characters at a
// time this way when a file opens.
bool mayHoldBreak(quint64 word)
{
    constexpr quint64 ones = 0x0001000100010001ULL;
    constexpr quint64 highBits = 0x8000800080008000ULL;
    return ((word - ones * 14) & ~word & highBits) != 0;
}

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
            for (quint64 word; i + 4 <= to; i += 4) {
                std::memcpy(&word, chars + i, sizeof word);
                if (mayHoldBreak(word))
                    break;
            }
            if (i >= to)
                break;
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
    collectStarts(text, low, newHigh, fresh, &m_onlyCrLf);
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
