#include "textengine/model/caretstops.h"

#include "textengine/model/textcontent.h"

#include <algorithm>

namespace textengine {

namespace {

// Characters the window reaches beyond its chunk, so that what follows a
// position near the chunk's end is seen as in the whole line.
constexpr int lookahead = 32;
constexpr char32_t zeroWidthJoiner = 0x200D;

// Below U+0300 there are no marks, joiners or surrogates: a boundary lies
// between any two such characters.
bool isPlain(QChar c)
{
    return c.unicode() < 0x300;
}

bool isMark(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
        || category == QChar::Mark_Enclosing;
}

bool isRegionalIndicator(char32_t c)
{
    return c >= 0x1F1E6 && c <= 0x1F1FF;
}

bool isHangulJamo(char32_t c)
{
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0xA960 && c <= 0xA97F) || (c >= 0xD7B0 && c <= 0xD7FF);
}

// What continues the cluster before it: marks (variation selectors among
// them), the joiners, the halfwidth sound marks, emoji modifiers and tags.
bool extendsCluster(char32_t c)
{
    return isMark(c) || c == 0x200C || c == zeroWidthJoiner || c == 0xFF9E || c == 0xFF9F
        || (c >= 0x1F3FB && c <= 0x1F3FF) || (c >= 0xE0020 && c <= 0xE007F);
}

// What joins the character after it (Unicode's Prepend): number signs and
// the like that stand before the digits they mark.
bool isPrepended(char32_t c)
{
    return (c >= 0x0600 && c <= 0x0605) || c == 0x06DD || c == 0x070F || c == 0x0890 || c == 0x0891 || c == 0x08E2
        || c == 0x0D4E || c == 0x110BD || c == 0x110CD || c == 0x111C2 || c == 0x111C3 || c == 0x1193F || c == 0x11941
        || c == 0x11A3A || (c >= 0x11A84 && c <= 0x11A89) || c == 0x11D46 || c == 0x11F02;
}

// Whether no cluster goes on past `c` into a character that opens one:
// not a mark (a virama joins the next consonant), a format character (the
// joiners among them), a prepended character or a jamo. A lone surrogate
// is a control and ends a cluster.
bool closesCluster(char32_t c)
{
    if (QChar::isSurrogate(c))
        return true;
    return !isMark(c) && QChar::category(c) != QChar::Other_Format && !isPrepended(c) && !isHangulJamo(c);
}

// Whether `c` starts a cluster after any character that closes one.
bool opensCluster(char32_t c)
{
    if (QChar::isSurrogate(c))
        return true;
    return !extendsCluster(c) && QChar::category(c) != QChar::Other_Format && !isRegionalIndicator(c)
        && !isHangulJamo(c) && c != 0x0E33 && c != 0x0EB3;
}

} // namespace

bool CaretStops::joined(char32_t before, char32_t after)
{
    return extendsCluster(after) || before == zeroWidthJoiner || isPrepended(before);
}

CaretStops::CaretStops(const TextContent &text, int line)
    : m_text(text)
    , m_first(text.lineStart(line))
    , m_last(text.lineEnd(line))
{
}

char32_t CaretStops::codePointBefore(int position) const
{
    const QChar c = m_text.at(position - 1);
    if (c.isLowSurrogate() && position - 2 >= m_first && m_text.at(position - 2).isHighSurrogate())
        return QChar::surrogateToUcs4(m_text.at(position - 2), c);
    return c.unicode();
}

char32_t CaretStops::codePointAt(int position) const
{
    const QChar c = m_text.at(position);
    if (c.isHighSurrogate() && position + 1 < m_last && m_text.at(position + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(c, m_text.at(position + 1));
    return c.unicode();
}

bool CaretStops::isAnchor(int position) const
{
    if (position <= m_first)
        return true;
    const QChar before = m_text.at(position - 1);
    const QChar after = m_text.at(position);
    if (isPlain(before) && isPlain(after))
        return true;
    if (before.isHighSurrogate() && after.isLowSurrogate())
        return false;
    return closesCluster(codePointBefore(position)) && opensCluster(codePointAt(position));
}

int CaretStops::chunkStart(int chunk) const
{
    const int start = m_first + chunk * reach;
    if (start > m_first && start < m_last && m_text.at(start - 1).isHighSurrogate()
        && m_text.at(start).isLowSurrogate())
        return start + 1;
    return start;
}

int CaretStops::chunkOf(int position) const
{
    const int chunk = (position - m_first) / reach;
    return chunk > 0 && position < chunkStart(chunk) ? chunk - 1 : chunk;
}

const CaretStops::ChunkStart &CaretStops::startOf(int chunk)
{
    const auto known = m_starts.find(chunk);
    if (known != m_starts.end())
        return known->second;
    const int start = chunkStart(chunk);
    ChunkStart found{start, chunk > 0};
    // Back to the chunk before's first position, wherever that was moved.
    for (int p = start; p >= m_first + (chunk - 1) * reach; --p) {
        if (isAnchor(p)) {
            found = {p, false};
            break;
        }
    }
    return m_starts.emplace(chunk, found).first->second;
}

bool CaretStops::isForced(int position)
{
    const int chunk = chunkOf(position);
    return chunk > 0 && position == chunkStart(chunk) && startOf(chunk).forced;
}

// Regional indicators pair up from the start of their run, or from a
// forced stop within it.
bool CaretStops::pairsEvenly(int position)
{
    int count = 0;
    for (int p = position; isRegionalIndicator(codePointBefore(p)); p -= 2) {
        if (p < position && isForced(p))
            break;
        ++count;
        if (p - 2 <= m_first)
            break;
    }
    return count % 2 == 0;
}

bool CaretStops::judged(int position, int chunk)
{
    if (chunk != m_judgedChunk) {
        m_windowStart = startOf(chunk).window;
        const int end = std::min(m_last, chunkStart(chunk + 1) + lookahead);
        m_finder = QTextBoundaryFinder(QTextBoundaryFinder::Grapheme, m_text.mid(m_windowStart, end - m_windowStart));
        m_judgedChunk = chunk;
    }
    m_finder.setPosition(position - m_windowStart);
    return m_finder.isAtBoundary();
}

bool CaretStops::isStop(int position)
{
    if (position <= m_first || position >= m_last)
        return true;
    const QChar before = m_text.at(position - 1);
    const QChar after = m_text.at(position);
    if (isPlain(before) && isPlain(after))
        return true;
    if (isForced(position))
        return true;
    if (before.isHighSurrogate() && after.isLowSurrogate())
        return false;
    const char32_t previous = codePointBefore(position);
    const char32_t next = codePointAt(position);
    if (joined(previous, next))
        return false;
    if (isRegionalIndicator(previous) && isRegionalIndicator(next))
        return pairsEvenly(position);
    if (closesCluster(previous) && opensCluster(next))
        return true;
    return judged(position, chunkOf(position));
}

int CaretStops::atOrBefore(int position)
{
    while (position > m_first && !isStop(position))
        --position;
    return std::max(position, m_first);
}

int CaretStops::atOrAfter(int position)
{
    while (position < m_last && !isStop(position))
        ++position;
    return std::min(position, m_last);
}

} // namespace textengine
