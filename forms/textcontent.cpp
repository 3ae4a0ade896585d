#include "forms/textcontent.h"

#include <algorithm>

namespace forms {

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
    if (onlyCrLf())
        return;
    const int lines = lineCount();
    QString text;
    text.reserve(size() + lines);
    for (int line = 0; line < lines; ++line) {
        if (line > 0)
            text += QLatin1String("\r\n");
        text += mid(lineStart(line), lineEnd(line) - lineStart(line));
    }
    setText(text);
}

int TextContent::snap(int position) const
{
    position = std::clamp(position, 0, size());
    if (position > 0 && position < size()) {
        const QChar before = at(position - 1);
        const QChar after = at(position);
        if ((before == u'\r' && after == u'\n') || (before.isHighSurrogate() && after.isLowSurrogate()))
            --position;
    }
    return position;
}

int TextContent::nextPosition(int position) const
{
    if (position >= size())
        return size();
    int next = snap(position) + 1;
    if (next < size() && ((at(next - 1) == u'\r' && at(next) == u'\n')
                          || (at(next - 1).isHighSurrogate() && at(next).isLowSurrogate())))
        ++next;
    while (next < size() && at(next).isMark())
        ++next;
    return next;
}

int TextContent::previousPosition(int position) const
{
    int previous = previousCodePoint(position);
    while (previous > 0 && at(previous).isMark() && at(previous - 1) != u'\n' && at(previous - 1) != u'\r')
        previous = previousCodePoint(previous);
    return previous;
}

int TextContent::previousCodePoint(int position) const
{
    position = snap(position);
    if (position <= 0)
        return 0;
    const int previous = position - 1;
    return snap(previous);
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
    return snap(p);
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
    return {snap(begin), snap(end)};
}

QString withCrLf(QStringView text)
{
    QString result;
    result.reserve(text.size() + text.size() / 32 + 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            result += QLatin1String("\r\n");
        } else if (c == u'\n') {
            result += QLatin1String("\r\n");
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace forms
