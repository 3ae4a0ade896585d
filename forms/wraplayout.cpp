#include "forms/wraplayout.h"

#include "forms/charwidths.h"
#include "forms/textcontent.h"

#include <algorithm>

namespace forms {

Cluster clusterAt(const TextContent &text, int position, int end, qreal x, CharWidths &widths)
{
    const QChar c = text.at(position);
    if (c == u'\t')
        return {1, widths.tabAdvance(x), U'\t'};
    char32_t codePoint = c.unicode();
    int length = 1;
    if (c.isHighSurrogate() && position + 1 < end && text.at(position + 1).isLowSurrogate()) {
        codePoint = QChar::surrogateToUcs4(c, text.at(position + 1));
        length = 2;
    }
    const qreal advance = widths.advance(codePoint);
    if (codePoint >= 0x300) {
        while (position + length < end && text.at(position + length).isMark())
            ++length;
    } else {
        // Marks after a Latin letter still belong to it.
        while (position + length < end && text.at(position + length).unicode() >= 0x300
               && text.at(position + length).isMark())
            ++length;
    }
    return {length, advance, codePoint};
}

int rowEnd(const TextContent &text, int rowStart, int lineEnd, qreal width, CharWidths &widths)
{
    qreal x = 0;
    int lastBreak = -1;
    int i = rowStart;
    while (i < lineEnd) {
        const char16_t c = text.at(i).unicode();
        qreal advance;
        int length = 1;
        if (c < 0x80 && c != u'\t' && (i + 1 >= lineEnd || text.at(i + 1).unicode() < 0x300)) {
            // The common case without a cluster lookup.
            advance = widths.advance(c);
        } else {
            const Cluster cluster = clusterAt(text, i, lineEnd, x, widths);
            advance = cluster.advance;
            length = cluster.length;
        }
        const bool blank = c == u' ' || c == u'\t';
        if (x + advance > width && i > rowStart && !blank)
            return lastBreak > rowStart ? lastBreak : i;
        x += advance;
        i += length;
        if (blank || c == u'-')
            lastBreak = i;
    }
    return lineEnd;
}

std::vector<int> wrapLine(const TextContent &text, int lineStart, int lineEnd, qreal width, CharWidths &widths)
{
    std::vector<int> rows{0};
    int start = lineStart;
    while (true) {
        const int end = rowEnd(text, start, lineEnd, width, widths);
        if (end >= lineEnd)
            break;
        rows.push_back(end - lineStart);
        start = end;
    }
    return rows;
}

void rewrapAfterEdit(std::vector<int> &rows, const TextContent &text, int lineStart, int lineEnd, int editOffset,
                     int removed, int inserted, qreal width, CharWidths &widths)
{
    // A row's end depends on the characters up to the first one that did not
    // fit, which lies inside the next row: rows ending two rows before the
    // edit cannot change.
    const auto containing = std::upper_bound(rows.begin(), rows.end(), editOffset) - rows.begin() - 1;
    const auto from = static_cast<size_t>(std::max<std::ptrdiff_t>(0, containing - 1));
    const int delta = inserted - removed;
    std::vector<int> fresh(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(from) + 1);
    size_t old = from + 1;
    int start = lineStart + rows[from];
    const int length = lineEnd - lineStart;
    while (true) {
        const int next = rowEnd(text, start, lineEnd, width, widths) - lineStart;
        if (next >= length)
            break;
        if (next >= editOffset + inserted) {
            while (old < rows.size() && rows[old] < next - delta)
                ++old;
            if (old < rows.size() && rows[old] == next - delta) {
                for (; old < rows.size(); ++old)
                    fresh.push_back(rows[old] + delta);
                break;
            }
        }
        fresh.push_back(next);
        start = lineStart + next;
    }
    rows.swap(fresh);
}

} // namespace forms
