#include "textengine/model/textcontent.h"

#include "textengine/model/caretstops.h"
#include "textengine/model/crlf.h"

#include <algorithm>

namespace textengine {

void TextContent::setText(const QString &text)
{
    m_buffer.assign(text);
    m_lines.rebuild(m_buffer);
}

void TextContent::replace(int position, int removed, QStringView inserted)
{
    // Clamped here, once, so that the buffer and the line index see the
    // same edit.
    position = std::clamp(position, 0, size());
    removed = std::clamp(removed, 0, size() - position);
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

int TextContent::snap(int position) const
{
    position = std::clamp(position, 0, size());
    const int line = lineOf(position);
    const int last = lineEnd(line);
    if (position > last)
        return last; // between CR and LF
    return CaretStops(*this, line).atOrBefore(position);
}

int TextContent::snapForward(int position) const
{
    position = std::clamp(position, 0, size());
    const int line = lineOf(position);
    if (position > lineEnd(line))
        return lineStart(line + 1); // between CR and LF
    return CaretStops(*this, line).atOrAfter(position);
}

int TextContent::nextPosition(int position) const
{
    if (position >= size())
        return size();
    position = std::max(position, 0);
    const int line = lineOf(position);
    if (position >= lineEnd(line))
        return line + 1 < lineCount() ? lineStart(line + 1) : size();
    return CaretStops(*this, line).atOrAfter(position + 1);
}

int TextContent::previousPosition(int position) const
{
    position = std::clamp(position, 0, size());
    const int line = lineOf(position);
    const int last = lineEnd(line);
    if (position > last)
        return last; // between CR and LF
    if (position == lineStart(line))
        return line > 0 ? lineEnd(line - 1) : 0;
    return CaretStops(*this, line).atOrBefore(position - 1);
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

QChar::Direction TextContent::directionAt(int position) const
{
    const QChar c = at(position);
    if (c.isHighSurrogate() && position + 1 < size() && at(position + 1).isLowSurrogate())
        return QChar::direction(QChar::surrogateToUcs4(c, at(position + 1)));
    if (c.isLowSurrogate() && position > 0 && at(position - 1).isHighSurrogate())
        return QChar::direction(QChar::surrogateToUcs4(at(position - 1), c));
    // A lone surrogate is no letter of any direction.
    return c.isSurrogate() ? QChar::DirON : c.direction();
}

Qt::LayoutDirection TextContent::lineDirection(int line) const
{
    int isolates = 0;
    const int end = lineEnd(line);
    for (int i = lineStart(line); i < end; ++i) {
        switch (directionAt(i)) {
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
