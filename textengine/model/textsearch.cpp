#include "textengine/model/textsearch.h"

#include "textengine/model/textcontent.h"

#include <algorithm>
#include <cstring>

namespace textengine {

namespace {

// A part holds whole lines of about this many characters: some
// milliseconds of matching, and one part copied when the hole divides it.
constexpr int partLength = 1 << 20;
// What look-behinds see of the text before a part's first position.
constexpr int context = 1024;
// A line that goes on this far past where a part should end is cut.
constexpr int cutSlack = 1 << 16;

bool holdsLoneSurrogate(QStringView text)
{
    const char16_t *chars = text.utf16();
    const qsizetype size = text.size();
    // Most texts hold no surrogate at all, which four characters at a time
    // tell (a lane of 16 bits whose top five bits are 11011 is a zero lane
    // after the XOR; the classic test for a zero lane finds it).
    qsizetype first = 0;
    for (quint64 word; first + 4 <= size; first += 4) {
        std::memcpy(&word, chars + first, sizeof word);
        const quint64 lanes = (word & 0xF800F800F800F800ULL) ^ 0xD800D800D800D800ULL;
        if (((lanes - 0x0001000100010001ULL) & ~lanes & 0x8000800080008000ULL) != 0)
            break;
    }
    for (qsizetype i = first; i < size; ++i) {
        const char16_t c = chars[i];
        if ((c & 0xF800) != 0xD800)
            continue;
        if (c >= 0xDC00 || i + 1 == size || (chars[i + 1] & 0xFC00) != 0xDC00)
            return true;
        ++i;
    }
    return false;
}

bool holdsLineBreak(QStringView text)
{
    for (const QChar c : text) {
        if (c == u'\n' || c == u'\r')
            return true;
    }
    return false;
}

} // namespace

TextSearch::TextSearch(const TextContent &text, const SearchPattern &pattern, int scopeStart, int scopeEnd)
    : m_text(text)
    , m_pattern(pattern)
    , m_scopeEnd(scopeEnd < 0 ? text.size() : std::clamp(scopeEnd, 0, text.size()))
    , m_scopeStart(std::clamp(scopeStart, 0, m_scopeEnd))
{
    m_part.end = -1;
}

QStringView TextSearch::textOf(int from, int to, QString &copy) const
{
    const std::array<QStringView, 2> pieces = m_text.pieces();
    const int gap = int(pieces[0].size());
    QStringView view;
    if (to <= gap) {
        view = pieces[0].sliced(from, to - from);
    } else if (from >= gap) {
        view = pieces[1].sliced(from - gap, to - from);
    } else {
        copy.resize(0);
        copy.reserve(to - from);
        copy.append(pieces[0].sliced(from));
        copy.append(pieces[1].first(to - gap));
        view = copy;
    }
    // The expression is told not to check its subject; a lone surrogate
    // (which no file brings, but a paste may) would derail it, so it
    // becomes U+FFFD in a copy of the same length.
    if (holdsLoneSurrogate(view)) {
        if (view.data() != copy.constData())
            copy = view.toString();
        for (qsizetype i = 0; i < copy.size(); ++i) {
            const QChar c = copy.at(i);
            if (c.isHighSurrogate() && i + 1 < copy.size() && copy.at(i + 1).isLowSurrogate())
                ++i;
            else if (c.isSurrogate())
                copy[i] = QChar::ReplacementCharacter;
        }
        view = copy;
    }
    return view;
}

int TextSearch::lineBoundaryAfter(int position) const
{
    if (position >= m_scopeEnd)
        return m_scopeEnd;
    const int line = m_text.lineOf(position);
    if (m_text.lineStart(line) == position)
        return position;
    return line + 1 < m_text.lineCount() ? std::min(m_scopeEnd, m_text.lineStart(line + 1)) : m_scopeEnd;
}

void TextSearch::preparePart(int position, int target)
{
    target = std::clamp(target, position, m_scopeEnd);
    int end = lineBoundaryAfter(target);
    m_part.cut = end - target > cutSlack;
    if (m_part.cut)
        end = target + cutSlack;
    m_part.first = position;
    m_part.base = std::max(m_scopeStart, position - context);
    m_part.end = end;
    m_part.subject = textOf(m_part.base, end, m_part.copy);
}

QRegularExpressionMatch TextSearch::run(QStringView subject, int base, int from, bool partial) const
{
    return m_pattern.expression().match(
        subject, from - base, partial ? QRegularExpression::PartialPreferFirstMatch : QRegularExpression::NormalMatch,
        QRegularExpression::DontCheckSubjectStringMatchOption);
}

TextSearch::Found TextSearch::foundIn(const QRegularExpressionMatch &match)
{
    if (match.hasMatch())
        return Found::Match;
    return match.hasPartialMatch() ? Found::Partial : Found::None;
}

bool TextSearch::searchLine(int start, QRegularExpressionMatch &match, int &matchStart)
{
    const int end = std::min(m_scopeEnd, m_text.lineEnd(m_text.lineOf(start)));
    if (start > end)
        return false;
    const int base = std::max(m_scopeStart, start - context);
    match = run(textOf(base, end, m_lineCopy), base, start, false);
    if (!match.hasMatch())
        return false;
    matchStart = base + int(match.capturedStart(0));
    return true;
}

bool TextSearch::isBoundary(int position) const
{
    if (position <= 0 || position >= m_text.size())
        return true;
    const QChar before = m_text.at(position - 1);
    const QChar after = m_text.at(position);
    if (before == u'\r' && after == u'\n')
        return false;
    // Below U+0300 there are no marks, joiners or surrogates.
    if (before.unicode() < 0x300 && after.unicode() < 0x300)
        return true;
    return m_text.snap(position) == position;
}

std::optional<TextMatch> TextSearch::next(int &position, int limit, qsizetype budget, QRegularExpressionMatch *details)
{
    limit = std::min(limit, m_scopeEnd + 1);
    position = std::max(position, m_scopeStart);
    if (m_pattern.isEmpty()) {
        position = std::max(position, limit);
        return std::nullopt;
    }
    qsizetype looked = 0;
    while (position < limit) {
        const bool inPart = m_part.end >= 0 && m_part.first <= position
            && (position < m_part.end || (position == m_scopeEnd && m_part.end == m_scopeEnd));
        if (!inPart)
            preparePart(position, int(std::min<qsizetype>(qsizetype(position) + partLength, limit)));
        // A match may run past a part that ends inside a line, or past any
        // part when it may hold line breaks: the part grows until it holds
        // the match or the rest of the scope.
        auto mayRunOn = [this] { return (m_part.cut || m_pattern.spansLines()) && m_part.end < m_scopeEnd; };
        QRegularExpressionMatch match = run(m_part.subject, m_part.base, position, mayRunOn());
        Found found = foundIn(match);
        while (found == Found::Partial) {
            const int partialStart = m_part.base + int(match.capturedStart(0));
            const qsizetype grown = qsizetype(m_part.end) + std::max(partLength, m_part.end - m_part.first);
            preparePart(m_part.first, int(std::min<qsizetype>(m_scopeEnd, grown)));
            match = run(m_part.subject, m_part.base, std::max(position, partialStart), mayRunOn());
            found = foundIn(match);
        }
        int start = m_part.base + int(match.capturedStart(0));
        // A match at the part's very end is the next part's to find, with
        // the text after it in view.
        if (found == Found::None || (start >= m_part.end && m_part.end < m_scopeEnd)) {
            looked += m_part.end - position;
            position = m_part.end < m_scopeEnd ? m_part.end : limit;
            if (budget >= 0 && looked >= budget)
                return std::nullopt;
            continue;
        }
        if (start >= limit)
            break;
        int end = m_part.base + int(match.capturedEnd(0));
        if (!m_pattern.spansLines() && holdsLineBreak(match.capturedView(0))) {
            const int line = m_text.lineOf(start);
            if (!searchLine(start, match, start)) {
                position = line + 1 < m_text.lineCount() ? m_text.lineStart(line + 1) : limit;
                continue;
            }
            end = start + int(match.capturedLength(0));
            if (start >= limit)
                break;
        }
        if (!isBoundary(start) || !isBoundary(end)) {
            position = start + 1;
            continue;
        }
        position = end > start ? end : start + 1;
        if (details)
            *details = std::move(match);
        return TextMatch{start, end - start};
    }
    position = std::max(position, limit);
    return std::nullopt;
}

std::optional<TextMatch> TextSearch::previous(int &position, int limit, qsizetype budget)
{
    limit = std::max(limit, m_scopeStart);
    position = std::min(position, m_scopeEnd + 1);
    int window = 1 << 16;
    qsizetype looked = 0;
    while (position > limit) {
        const int from = std::max(limit, position - window);
        int at = from;
        std::optional<TextMatch> last;
        while (const std::optional<TextMatch> match = next(at, position))
            last = match;
        if (last) {
            position = last->start;
            return last;
        }
        looked += position - from;
        position = from;
        // Each look back is at most a part long, so that a budget holds.
        window = std::min(window * 2, partLength);
        if (budget >= 0 && looked >= budget)
            return std::nullopt;
    }
    position = std::min(position, limit);
    return std::nullopt;
}

} // namespace textengine
