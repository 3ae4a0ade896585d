#include "syntax/cssvalues.h"

namespace syntax {

namespace {

bool isNewlineChar(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u'\f';
}

bool isBlankChar(QChar c)
{
    return c == u' ' || c == u'\t' || isNewlineChar(c);
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if ((u | 0x20) >= u'a' && (u | 0x20) <= u'f')
        return (u | 0x20) - u'a' + 10;
    return -1;
}

// Appends what an escape stands for; `k` stands after the backslash and
// moves past the escape.
void appendEscape(QString &out, QStringView text, qsizetype &k)
{
    if (k >= text.size()) {
        out += QChar::ReplacementCharacter;
        return;
    }
    if (hexValue(text[k]) >= 0) {
        char32_t value = 0;
        const qsizetype last = k + 6;
        for (; k < last && k < text.size() && hexValue(text[k]) >= 0; ++k)
            value = value * 16 + static_cast<char32_t>(hexValue(text[k]));
        if (k < text.size() && isBlankChar(text[k]))
            k += text[k] == u'\r' && k + 1 < text.size() && text[k + 1] == u'\n' ? 2 : 1;
        if (value == 0 || value > 0x10FFFF || QChar::isSurrogate(value))
            value = QChar::ReplacementCharacter;
        out += QStringView(QChar::fromUcs4(value));
        return;
    }
    const QChar c = text[k++];
    out += c.isNull() ? QChar(QChar::ReplacementCharacter) : c;
    if (c.isHighSurrogate() && k < text.size() && text[k].isLowSurrogate())
        out += text[k++];
}

// Decodes the characters; an escaped line break is dropped (strings).
QString decode(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype k = 0; k < text.size();) {
        const QChar c = text[k++];
        if (c != u'\\') {
            out += c.isNull() ? QChar(QChar::ReplacementCharacter) : c;
            continue;
        }
        if (k < text.size() && isNewlineChar(text[k])) {
            k += text[k] == u'\r' && k + 1 < text.size() && text[k + 1] == u'\n' ? 2 : 1;
            continue;
        }
        appendEscape(out, text, k);
    }
    return out;
}

} // namespace

QString cssIdentifierValue(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype k = 0; k < text.size();) {
        const QChar c = text[k++];
        if (c == u'\\')
            appendEscape(out, text, k);
        else
            out += c.isNull() ? QChar(QChar::ReplacementCharacter) : c;
    }
    return out;
}

QString cssStringValue(QStringView text)
{
    // A backslash at the very end stands for nothing.
    qsizetype backslashes = 0;
    while (backslashes < text.size() && text[text.size() - 1 - backslashes] == u'\\')
        ++backslashes;
    if (backslashes % 2)
        text.chop(1);
    return decode(text);
}

QString cssUrlValue(QStringView text, bool terminated)
{
    qsizetype from = text.indexOf(u'(') + 1;
    qsizetype to = text.size() - (terminated ? 1 : 0);
    while (from < to && isBlankChar(text[from]))
        ++from;
    // Blanks before ")" are not part of the url, escaped ones are.
    while (to > from && isBlankChar(text[to - 1]) && !(to - 2 >= from && text[to - 2] == u'\\'))
        --to;
    return cssIdentifierValue(text.sliced(from, to - from));
}

double cssNumberValue(QStringView text)
{
    if (text.startsWith(u'+'))
        text = text.sliced(1);
    return text.toDouble();
}

std::pair<uint, uint> cssUnicodeRange(QStringView text)
{
    text = text.sliced(2);
    const qsizetype dash = text.indexOf(u'-');
    const QStringView first = dash < 0 ? text : text.first(dash);
    uint low = 0;
    uint high = 0;
    for (const QChar c : first) {
        low = low * 16 + (c == u'?' ? 0 : static_cast<uint>(hexValue(c)));
        high = high * 16 + (c == u'?' ? 15 : static_cast<uint>(hexValue(c)));
    }
    if (dash >= 0) {
        high = 0;
        for (const QChar c : text.sliced(dash + 1))
            high = high * 16 + static_cast<uint>(hexValue(c));
    }
    return {low, high};
}

} // namespace syntax
