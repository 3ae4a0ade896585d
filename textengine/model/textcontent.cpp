#include "textengine/model/textcontent.h"

#include "textengine/model/crlf.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace textengine {

void TextContent::setText(const QString &text)
{
    m_buffer.assign(text);
    m_lines.rebuild(m_buffer);
}

void TextContent::replace(int position, int removed, QStringView inserted)
{
    m_buffer.replace(position, removed, inserted);
    m_lines.update(m_buffer, position, removed, static_cast<int>(inserted.size()));
}

void TextContent::replace(Replacements &replacements)
{
    QString *removed = nullptr;
    if (!replacements.m_knowsRemoved) {
        replacements.m_removed.clear();
        qsizetype length = 0;
        for (const Replacements::Range &range : replacements.m_ranges)
            length += range.removed;
        replacements.m_removed.reserve(length);
        removed = &replacements.m_removed;
    }
    sweep(replacements, false, removed);
    replacements.m_knowsRemoved = true;
}

void TextContent::revert(const Replacements &replacements)
{
    sweep(replacements, true, nullptr);
}

void TextContent::sweep(const Replacements &replacements, bool back, QString *removed)
{
    const std::vector<Replacements::Range> &ranges = replacements.m_ranges;
    // Made from the first range to the last, the edits move the buffer's
    // hole along the text once; made big enough for the largest growth on
    // the way first, the text never moves to a new array.
    qsizetype growth = 0;
    qsizetype most = 0;
    for (const Replacements::Range &range : ranges) {
        growth += back ? range.removed - range.inserted : range.inserted - range.removed;
        most = std::max(most, growth);
    }
    m_buffer.reserveGap(most);
    // A few edits update the line index; many rebuild it in one pass.
    const bool fewEdits = ranges.size() <= 8;
    const QStringView newTexts = back ? replacements.removedTexts() : replacements.insertedTexts();
    qsizetype shift = 0;
    qsizetype taken = 0;
    for (const Replacements::Range &range : ranges) {
        const int position = int(range.position + shift);
        const int out = back ? range.inserted : range.removed;
        const int in = back ? range.removed : range.inserted;
        if (removed)
            m_buffer.appendTo(*removed, position, out);
        m_buffer.replace(position, out, newTexts.sliced(taken, in));
        if (fewEdits)
            m_lines.update(m_buffer, position, out, in);
        taken += in;
        // Undone from the first range on, the text before a range is the
        // old one again; made, it has grown by the ranges before.
        if (!back)
            shift += in - out;
    }
    if (!fewEdits)
        m_lines.rebuild(m_buffer);
}

int TextContent::lineEnd(int line) const
{
    if (line + 1 >= lineCount())
        return size();
    const int next = lineStart(line + 1);
    if (at(next - 1) == u'\n' && next - 2 >= lineStart(line) && at(next - 2) == u'\r')
        return next - 2;
    return next - 1;
}

void TextContent::normalizeLineBreaks()
{
    if (!onlyCrLf())
        setText(toCrLf(text(), {.loneCarriageReturns = true, .loneLineFeeds = true}));
}

namespace {

// How far around a position clusters are judged: far beyond any real
// cluster, and short enough for every caret step to stay cheap.
constexpr int clusterReach = 1024;

// Below U+0300 there are no combining marks, joiners or surrogates: a
// boundary lies between any two such characters.
bool isPlain(QChar c)
{
    return c.unicode() < 0x300;
}

} // namespace

TextContent::Window TextContent::clusterWindow(int position) const
{
    const int line = lineOf(position);
    const int first = lineStart(line);
    int start = std::max(first, position - clusterReach);
    // A cluster never reaches back over a blank.
    for (int i = position - 1; i > start; --i) {
        if (isBlank(i)) {
            start = i;
            break;
        }
    }
    const int end = std::min(lineEnd(line), position + clusterReach);
    return {start, mid(start, end - start)};
}

int TextContent::snap(int position) const
{
    position = std::clamp(position, 0, size());
    const int line = lineOf(position);
    const int first = lineStart(line);
    const int last = lineEnd(line);
    if (position > last)
        return last; // between CR and LF
    if (position == first || position == last || (isPlain(at(position - 1)) && isPlain(at(position))))
        return position;
    const Window window = clusterWindow(position);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, window.text);
    finder.setPosition(position - window.start);
    if (finder.isAtBoundary())
        return position;
    return window.start + static_cast<int>(std::max<qsizetype>(0, finder.toPreviousBoundary()));
}

int TextContent::nextPosition(int position) const
{
    if (position >= size())
        return size();
    const int p = snap(position);
    const int line = lineOf(p);
    const int last = lineEnd(line);
    if (p >= last)
        return line + 1 < lineCount() ? lineStart(line + 1) : size();
    if (isPlain(at(p)) && (p + 1 == last || isPlain(at(p + 1))))
        return p + 1;
    const Window window = clusterWindow(p);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, window.text);
    finder.setPosition(p - window.start);
    const qsizetype next = finder.toNextBoundary();
    const int found
        = next < 0 ? window.start + static_cast<int>(window.text.size()) : window.start + static_cast<int>(next);
    if (found > position)
        return found;
    // Inside a cluster longer than the window: on by a window's length,
    // judged from here.
    const int end = std::min(last, position + clusterReach);
    QTextBoundaryFinder rest(QTextBoundaryFinder::Grapheme, mid(position, end - position));
    const qsizetype step = rest.toNextBoundary();
    return step <= 0 ? end : position + static_cast<int>(step);
}

int TextContent::previousPosition(int position) const
{
    const int p = snap(position);
    if (p < position || p <= 0)
        return p;
    const int line = lineOf(p);
    const int first = lineStart(line);
    if (p == first)
        return lineEnd(line - 1);
    if (isPlain(at(p - 1)) && (p - 1 == first || isPlain(at(p - 2))))
        return p - 1;
    const Window window = clusterWindow(p);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, window.text);
    finder.setPosition(p - window.start);
    return window.start + static_cast<int>(std::max<qsizetype>(0, finder.toPreviousBoundary()));
}

int TextContent::snapForward(int position) const
{
    const int before = snap(position);
    return before == position ? position : nextPosition(before);
}

bool TextContent::isBlank(int position) const
{
    const QChar c = at(position);
    return c == u' ' || c == u'\t';
}

bool TextContent::isWordChar(int position) const
{
    const QChar c = at(position);
    return c.isLetterOrNumber() || c.isMark() || c == u'_' || c.isSurrogate();
}

int TextContent::nextWordStart(int position) const
{
    int p = snap(position);
    const int end = size();
    if (p < end && isWordChar(p)) {
        while (p < end && isWordChar(p))
            ++p;
    } else if (p < end && !at(p).isSpace()) {
        while (p < end && !isWordChar(p) && !at(p).isSpace())
            ++p;
    }
    while (p < end && at(p).isSpace() && at(p) != u'\r' && at(p) != u'\n')
        ++p;
    // A line break is a stop of its own.
    if (p == snap(position) && p < end)
        p = nextPosition(p);
    return snapForward(p);
}

int TextContent::previousWordStart(int position) const
{
    int p = snap(position);
    const int start = p;
    while (p > 0 && at(p - 1).isSpace() && at(p - 1) != u'\r' && at(p - 1) != u'\n')
        --p;
    if (p > 0 && isWordChar(p - 1)) {
        while (p > 0 && isWordChar(p - 1))
            --p;
    } else if (p > 0 && !at(p - 1).isSpace()) {
        while (p > 0 && !isWordChar(p - 1) && !at(p - 1).isSpace())
            --p;
    }
    if (p == start && p > 0)
        p = previousPosition(p);
    return snap(p);
}

std::pair<int, int> TextContent::wordAt(int position) const
{
    int p = snap(position);
    if (p >= size() || at(p) == u'\r' || at(p) == u'\n') {
        if (p == 0 || at(p - 1) == u'\r' || at(p - 1) == u'\n')
            return {p, p};
        --p;
    }
    const bool word = isWordChar(p);
    const bool space = at(p).isSpace();
    auto same = [&](int i) {
        const QChar c = at(i);
        if (c == u'\r' || c == u'\n')
            return false;
        return word ? isWordChar(i) : (space ? c.isSpace() : !isWordChar(i) && !c.isSpace());
    };
    int begin = p;
    int end = p + 1;
    while (begin > 0 && same(begin - 1))
        --begin;
    while (end < size() && same(end))
        ++end;
    return {snap(begin), snapForward(end)};
}

Qt::LayoutDirection TextContent::lineDirection(int line) const
{
    int isolates = 0;
    const int end = lineEnd(line);
    for (int i = lineStart(line); i < end; ++i) {
        char32_t c = at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < end && at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(at(i), at(i + 1));
            ++i;
        }
        switch (QChar::direction(c)) {
        case QChar::DirLRI:
        case QChar::DirRLI:
        case QChar::DirFSI:
            ++isolates;
            break;
        case QChar::DirPDI:
            if (isolates > 0)
                --isolates;
            break;
        case QChar::DirL:
            if (isolates == 0)
                return Qt::LeftToRight;
            break;
        case QChar::DirR:
        case QChar::DirAL:
            if (isolates == 0)
                return Qt::RightToLeft;
            break;
        default:
            break;
        }
    }
    return Qt::LeftToRight;
}

} // namespace textengine
