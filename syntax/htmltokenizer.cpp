#include "syntax/htmltokenizer.h"

#include "syntax/htmlentities.h"
#include "syntax/scan.h"

#include <array>

namespace syntax {

namespace {

using S = HtmlTokenizerState;
constexpr int htmlEnd = -1;

bool isAsciiAlpha(int c)
{
    return c >= 0 && (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
}
bool isAsciiDigit(int c)
{
    return c >= '0' && c <= '9';
}
bool isAsciiHex(int c)
{
    return isAsciiDigit(c) || (c >= 0 && (c | 0x20) >= 'a' && (c | 0x20) <= 'f');
}
bool isAsciiAlphanumeric(int c)
{
    return isAsciiAlpha(c) || isAsciiDigit(c);
}
enum HtmlClass : quint8 {
    Whitespace = 1,
    EndsTagName = 2,       // whitespace, "/" and ">"
    EndsAttributeName = 4, // and "="
    EndsUnquoted = 8,      // whitespace, ">" and "&"
};

constexpr std::array<quint8, 128> makeHtmlClasses()
{
    std::array<quint8, 128> htmlClasses{};
    // A line break is CR or LF here, since the text is not preprocessed.
    for (const char c : {' ', '\n', '\t', '\r', '\f'})
        htmlClasses[static_cast<size_t>(c)] = Whitespace | EndsTagName | EndsAttributeName | EndsUnquoted;
    htmlClasses['/'] = EndsTagName | EndsAttributeName;
    htmlClasses['>'] = EndsTagName | EndsAttributeName | EndsUnquoted;
    htmlClasses['='] = EndsAttributeName;
    htmlClasses['&'] = EndsUnquoted;
    return htmlClasses;
}
constexpr std::array<quint8, 128> htmlClasses = makeHtmlClasses();

bool is(int c, quint8 mask)
{
    return c >= 0 && c < 128 && (htmlClasses[static_cast<size_t>(c)] & mask);
}
bool isWhitespace(int c)
{
    return is(c, Whitespace);
}
bool endsTagName(int c)
{
    return is(c, EndsTagName);
}

const char *const elementNames[] = {"",         "title",    "textarea", "style",     "xmp", "iframe", "noembed",
                                    "noframes", "noscript", "script",   "plaintext", "svg", "math"};

// What a numeric character reference stands for, and whether it is an error.
std::pair<char32_t, bool> numericReference(char32_t value)
{
    static const char16_t windows1252[32]
        = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
           0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
           0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    if (value == 0 || value > 0x10FFFF || QChar::isSurrogate(value))
        return {QChar::ReplacementCharacter, true};
    const bool nonCharacter = (value >= 0xFDD0 && value <= 0xFDEF) || (value & 0xFFFE) == 0xFFFE;
    const bool control = value < 0x20 || (value >= 0x7F && value <= 0x9F);
    const bool whitespace = value == 0x09 || value == 0x0A || value == 0x0C || value == 0x20;
    const bool error = nonCharacter || value == 0x0D || (control && !whitespace);
    if (value >= 0x80 && value <= 0x9F)
        return {windows1252[value - 0x80], error};
    return {value, error};
}

// Characters a comment state has read but not yet added to the data.
int pendingDashes(S state)
{
    switch (state) {
    case S::CommentStartDash:
    case S::CommentEndDash:
    case S::CommentLessThanSignBangDash:
        return 1;
    case S::CommentEnd:
    case S::CommentLessThanSignBangDashDash:
        return 2;
    case S::CommentEndBang:
        return 3;
    default:
        return 0;
    }
}

class HtmlScanner
{
public:
    HtmlScanner(const Chunk &chunk, int stopAt, SyntaxState &state, HtmlSink *sink, HtmlOptions options)
        : m_s(reinterpret_cast<const char16_t *>(chunk.text.data()))
        , m_n(static_cast<int>(chunk.text.size()))
        , m_offset(chunk.offset)
        , m_final(chunk.endOfInput)
        , m_stop(std::max(0, stopAt - chunk.offset))
        , m_state(state)
        , m_sink(sink)
        , m_options(options)
        , m_st(static_cast<S>(state.html))
    {
    }

    int run();

private:
    int at(int k) const { return k < m_n ? m_s[k] : htmlEnd; }
    // Long scans end at the stop position, where the loop may pause.
    int scanLimit(int k) const { return k < m_stop && m_stop < m_n ? m_stop : m_n; }
    bool styleValue() const
    {
        return m_options.followElements && (m_state.flags & StyleAttribute)
            && (m_st == S::AttributeValueDoubleQuoted || m_st == S::AttributeValueSingleQuoted
                || m_st == S::AttributeValueUnquoted);
    }
    bool styleText() const
    {
        return m_options.followElements && m_st == S::Rawtext
            && static_cast<HtmlElement>(m_state.element) == HtmlElement::Style;
    }
    // A pause keeps nothing but the state: not between "/" and ">", nor
    // inside CSS that has read ahead.
    bool canStop() const
    {
        return m_st != S::SelfClosingStartTag && !styleValue()
            && (!styleText() || m_state.css.mode == CssState::Normal);
    }
    bool matchesAt(int k, const char *word, bool anyCase) const;

    void extend(HtmlPiece kind, int from, int to);
    void flush();
    void piece(HtmlPiece kind, int start, int end, bool quirks = false);
    void reference(int start, int end, char32_t first, char32_t second, bool error);
    // Style attributes are read whole: `pause` only for <style> elements.
    int css(int from, int to, bool final, bool pause = false);

    int step(int k);
    int data(int k);
    int characterReference(int k, HtmlPiece run);
    int tagOpen(int k);
    int tagName(int k);
    int attributeName(int start, int k);
    int beforeAttributeValue(int k);
    int quotedValue(int k, char16_t quote);
    int unquotedValue(int k);
    int emitTag(int k, bool selfClosing);
    int endTagAt(int k) const;
    int rawEndTag(int k, int delimiter);
    int rcdata(int k);
    int rawtext(int k);
    int scriptStep(int k);
    int escapedLessThan(int k);
    int doubleEscapedLessThan(int k);
    int markupDeclarationOpen(int k);
    int commentStep(int k);
    int closeComment(int dataEnd, int end);
    int doctypeStep(int k);
    int doctypeIdentifier(int k, char16_t quote, HtmlPiece kind, S after);
    int closeDoctype(int k, bool quirks);
    void endOfInput();

    const char16_t *m_s;
    int m_n;
    int m_offset;
    bool m_final;
    int m_stop;
    SyntaxState &m_state;
    HtmlSink *m_sink;
    HtmlOptions m_options;
    S m_st;
    // Characters read but not yet handed on, all of one kind.
    HtmlPiece m_runKind = HtmlPiece::Text;
    int m_runStart = 0;
    int m_runEnd = 0;
    // Where a comment's data, a DOCTYPE identifier or a style attribute's
    // CSS began (the chunk's start when it began before).
    int m_dataStart = 0;
};

bool HtmlScanner::matchesAt(int k, const char *word, bool anyCase) const
{
    for (; *word; ++word, ++k) {
        const int c = at(k);
        if (c != *word && !(anyCase && isAsciiAlpha(c) && (c | 0x20) == (*word | 0x20)))
            return false;
    }
    return true;
}

void HtmlScanner::extend(HtmlPiece kind, int from, int to)
{
    if (!m_sink || from >= to)
        return;
    if (m_runEnd > m_runStart && (m_runKind != kind || m_runEnd != from))
        flush();
    if (m_runEnd <= m_runStart) {
        m_runKind = kind;
        m_runStart = from;
    }
    m_runEnd = to;
}

void HtmlScanner::flush()
{
    if (m_runEnd > m_runStart)
        m_sink->piece(m_runKind, m_offset + m_runStart, m_offset + m_runEnd);
    m_runStart = m_runEnd = 0;
}

void HtmlScanner::piece(HtmlPiece kind, int start, int end, bool quirks)
{
    if (!m_sink)
        return;
    flush();
    m_sink->piece(kind, m_offset + start, m_offset + end, quirks);
}

void HtmlScanner::reference(int start, int end, char32_t first, char32_t second, bool error)
{
    if (!m_sink)
        return;
    flush();
    m_sink->characterReference(m_offset + start, m_offset + end, first, second, error);
}

// CSS of a <style> element or a style attribute; returns where it stopped.
int HtmlScanner::css(int from, int to, bool final, bool pause)
{
    struct Forward : CssTokenSink
    {
        HtmlSink *sink;
        void token(const CssToken &token) override { sink->css(token); }
    } forward;
    forward.sink = m_sink;
    if (m_sink)
        flush();
    const Chunk chunk{QStringView(m_s + from, to - from), m_offset + from, final};
    return from
        + tokenizeCss(chunk, pause ? m_offset + m_stop : INT_MAX, m_state.css, m_sink ? &forward : nullptr,
                      {.lineBreakEndsEscape = m_options.followElements});
}

int HtmlScanner::run()
{
    if (m_st == S::Comment || m_st == S::BogusComment || styleValue())
        m_dataStart = 0;
    int k = 0;
    while (k < m_n) {
        if (k >= m_stop && canStop()) {
            if (m_sink)
                flush();
            m_state.html = static_cast<quint8>(m_st);
            return k;
        }
        k = step(k);
    }
    if (styleValue() && m_dataStart < m_n)
        css(m_dataStart, m_n, m_final);
    if (m_sink)
        flush();
    if (m_final)
        endOfInput();
    m_state.html = static_cast<quint8>(m_st);
    return m_n;
}

int HtmlScanner::step(int k)
{
    const int c = m_s[k];
    switch (m_st) {
    case S::Data:
        return data(k);
    case S::Rcdata:
        return rcdata(k);
    case S::Rawtext:
        return rawtext(k);
    case S::ScriptData:
    case S::ScriptDataEscaped:
    case S::ScriptDataEscapedDash:
    case S::ScriptDataEscapedDashDash:
    case S::ScriptDataDoubleEscaped:
    case S::ScriptDataDoubleEscapedDash:
    case S::ScriptDataDoubleEscapedDashDash:
        return scriptStep(k);
    case S::Plaintext: {
        const int end = scanLimit(k);
        extend(HtmlPiece::RawText, k, end);
        return end;
    }
    case S::TagName:
        return tagName(k);
    case S::BeforeAttributeName:
    case S::AfterAttributeName:
        while (k < m_n && isWhitespace(m_s[k]))
            ++k;
        if (k == m_n)
            return k;
        if (m_s[k] == u'/') {
            m_st = S::SelfClosingStartTag;
            return k + 1;
        }
        if (m_s[k] == u'>')
            return emitTag(k, false);
        if (m_s[k] == u'=' && m_st == S::AfterAttributeName) {
            m_st = S::BeforeAttributeValue;
            return k + 1;
        }
        // "=" starts a name before one.
        return attributeName(k, m_s[k] == u'=' ? k + 1 : k);
    case S::AttributeName:
        return attributeName(k, k);
    case S::BeforeAttributeValue:
        return beforeAttributeValue(k);
    case S::AttributeValueDoubleQuoted:
        return quotedValue(k, u'"');
    case S::AttributeValueSingleQuoted:
        return quotedValue(k, u'\'');
    case S::AttributeValueUnquoted:
        return unquotedValue(k);
    case S::AfterAttributeValueQuoted:
        if (isWhitespace(c)) {
            m_st = S::BeforeAttributeName;
            return k + 1;
        }
        if (c == '/') {
            m_st = S::SelfClosingStartTag;
            return k + 1;
        }
        if (c == '>')
            return emitTag(k, false);
        m_st = S::BeforeAttributeName;
        return k;
    case S::SelfClosingStartTag:
        if (c == '>')
            return emitTag(k, true);
        m_st = S::BeforeAttributeName;
        return k;
    case S::BogusComment: {
        const int end = scanLimit(k);
        k = static_cast<int>(findFirstOf(m_s + k, m_s + end, u'>') - m_s);
        return k == end ? k : closeComment(k, k + 1);
    }
    case S::CommentStart:
    case S::CommentStartDash:
    case S::Comment:
    case S::CommentLessThanSign:
    case S::CommentLessThanSignBang:
    case S::CommentLessThanSignBangDash:
    case S::CommentLessThanSignBangDashDash:
    case S::CommentEndDash:
    case S::CommentEnd:
    case S::CommentEndBang:
        return commentStep(k);
    case S::CdataSection:
        for (const int start = k, end = scanLimit(k); k < end; ++k) {
            if (m_s[k] == u']' && at(k + 1) == ']' && at(k + 2) == '>') {
                extend(HtmlPiece::Text, start, k);
                piece(HtmlPiece::CdataClose, k, k + 3);
                m_st = S::Data;
                return k + 3;
            }
            if (k + 1 == end)
                extend(HtmlPiece::Text, start, end);
        }
        return k;
    default:
        return doctypeStep(k);
    }
}

int HtmlScanner::data(int k)
{
    const int start = k;
    const int end = scanLimit(k);
    for (;;) {
        k = static_cast<int>(findFirstOf(m_s + k, m_s + end, u'<', u'&') - m_s);
        if (k == end) {
            extend(HtmlPiece::Text, start, k);
            return k;
        }
        if (m_s[k] == u'&') {
            extend(HtmlPiece::Text, start, k);
            return characterReference(k, HtmlPiece::Text);
        }
        const int next = at(k + 1);
        if (isAsciiAlpha(next) || next == '!' || next == '/' || next == '?') {
            extend(HtmlPiece::Text, start, k);
            return tagOpen(k);
        }
        // A "<" that opens nothing is a character.
        ++k;
    }
}

int HtmlScanner::characterReference(int k, HtmlPiece run)
{
    const bool attribute = run == HtmlPiece::AttributeValue;
    const int next = at(k + 1);
    if (isAsciiAlphanumeric(next)) {
        int length = 0;
        if (const HtmlEntity *entity = longestEntityPrefix(QStringView(m_s + k + 1, m_n - k - 1), &length)) {
            const int end = k + 1 + length;
            const bool semicolon = m_s[end - 1] == u';';
            // In a value, "&amp=" and "&ampx" stay as written, for old URLs.
            if (attribute && !semicolon && (at(end) == '=' || isAsciiAlphanumeric(at(end)))) {
                extend(run, k, end);
                return end;
            }
            reference(k, end, entity->first, entity->second, !semicolon);
            return end;
        }
        int end = k + 1;
        while (isAsciiAlphanumeric(at(end)))
            ++end;
        if (at(end) == ';') {
            piece(HtmlPiece::BadReference, k, end + 1);
            return end + 1;
        }
        extend(run, k, end);
        return end;
    }
    if (next == '#') {
        int end = k + 2;
        const bool hex = at(end) == 'x' || at(end) == 'X';
        if (hex)
            ++end;
        const int digits = end;
        char32_t value = 0;
        for (;; ++end) {
            const int c = at(end);
            int digit = -1;
            if (isAsciiDigit(c))
                digit = c - '0';
            else if (hex && isAsciiHex(c))
                digit = (c | 0x20) - 'a' + 10;
            if (digit < 0)
                break;
            // Past the last code point the value only needs to stay past it.
            value = std::min<char32_t>(value * (hex ? 16 : 10) + static_cast<char32_t>(digit), 0x110000);
        }
        if (end == digits) {
            piece(HtmlPiece::BadReference, k, end);
            return end;
        }
        const bool semicolon = at(end) == ';';
        if (semicolon)
            ++end;
        const auto [codePoint, error] = numericReference(value);
        reference(k, end, codePoint, 0, error || !semicolon);
        return end;
    }
    extend(run, k, k + 1);
    return k + 1;
}

int HtmlScanner::tagOpen(int k)
{
    const int next = at(k + 1);
    if (next == '!')
        return markupDeclarationOpen(k);
    if (next == '?') {
        piece(HtmlPiece::CommentOpen, k, k + 1);
        m_dataStart = k + 1;
        m_st = S::BogusComment;
        return k + 1;
    }
    m_state.element = static_cast<quint8>(HtmlElement::Other);
    if (next != '/') {
        piece(HtmlPiece::StartTagOpen, k, k + 1);
        m_state.flags = 0;
        m_st = S::TagName;
        return k + 1;
    }
    const int after = at(k + 2);
    if (isAsciiAlpha(after)) {
        piece(HtmlPiece::EndTagOpen, k, k + 2);
        m_state.flags = EndTag;
        m_st = S::TagName;
        return k + 2;
    }
    if (after == '>') {
        // "</>" is dropped.
        if (m_sink)
            flush();
        return k + 3;
    }
    if (after == htmlEnd) {
        extend(HtmlPiece::Text, k, k + 2);
        return k + 2;
    }
    piece(HtmlPiece::CommentOpen, k, k + 2);
    m_dataStart = k + 2;
    m_st = S::BogusComment;
    return k + 2;
}

int HtmlScanner::tagName(int k)
{
    const int start = k;
    while (k < m_n && !is(m_s[k], EndsTagName))
        ++k;
    piece(HtmlPiece::TagName, start, k);
    m_state.element = static_cast<quint8>(htmlElement(QStringView(m_s + start, k - start)));
    if (k == m_n)
        return k;
    if (m_s[k] == u'>')
        return emitTag(k, false);
    m_st = m_s[k] == u'/' ? S::SelfClosingStartTag : S::BeforeAttributeName;
    return k + 1;
}

int HtmlScanner::attributeName(int start, int k)
{
    while (k < m_n && !is(m_s[k], EndsAttributeName))
        ++k;
    piece(HtmlPiece::AttributeName, start, k);
    if (k - start == 5 && matchesAt(start, "style", true))
        m_state.flags |= StyleAttribute;
    else
        m_state.flags &= ~StyleAttribute;
    m_st = S::AfterAttributeName;
    if (k < m_n && m_s[k] == u'=') {
        m_st = S::BeforeAttributeValue;
        return k + 1;
    }
    return k;
}

int HtmlScanner::beforeAttributeValue(int k)
{
    while (k < m_n && isWhitespace(m_s[k]))
        ++k;
    if (k == m_n)
        return k;
    const char16_t c = m_s[k];
    if (c == u'>')
        return emitTag(k, false);
    if (m_state.flags & StyleAttribute)
        m_state.css = CssState::declarationList();
    if (c == u'"' || c == u'\'') {
        piece(HtmlPiece::AttributeQuote, k, k + 1);
        m_st = c == u'"' ? S::AttributeValueDoubleQuoted : S::AttributeValueSingleQuoted;
        m_dataStart = k + 1;
        return k + 1;
    }
    m_st = S::AttributeValueUnquoted;
    m_dataStart = k;
    return k;
}

int HtmlScanner::quotedValue(int k, char16_t quote)
{
    const int start = k;
    if (styleValue()) {
        k = static_cast<int>(findFirstOf(m_s + k, m_s + m_n, quote) - m_s);
        if (k == m_n)
            return k;
        css(m_dataStart, k, true);
    } else {
        const int end = scanLimit(k);
        k = static_cast<int>(findFirstOf(m_s + k, m_s + end, quote, u'&') - m_s);
        extend(HtmlPiece::AttributeValue, start, k);
        if (k == end)
            return k;
        if (m_s[k] == u'&')
            return characterReference(k, HtmlPiece::AttributeValue);
    }
    piece(HtmlPiece::AttributeQuote, k, k + 1);
    m_state.flags &= ~StyleAttribute;
    m_state.css = {};
    m_st = S::AfterAttributeValueQuoted;
    return k + 1;
}

int HtmlScanner::unquotedValue(int k)
{
    const int start = k;
    const bool style = styleValue();
    const int end = style ? m_n : scanLimit(k);
    while (k < end && !(is(m_s[k], EndsUnquoted) && (!style || m_s[k] != u'&')))
        ++k;
    if (style) {
        if (k == m_n)
            return k;
        css(m_dataStart, k, true);
    } else {
        extend(HtmlPiece::AttributeValue, start, k);
        if (k == end)
            return k;
        if (m_s[k] == u'&')
            return characterReference(k, HtmlPiece::AttributeValue);
    }
    m_state.flags &= ~StyleAttribute;
    m_state.css = {};
    if (m_s[k] == u'>')
        return emitTag(k, false);
    m_st = S::BeforeAttributeName;
    return k + 1;
}

int HtmlScanner::emitTag(int k, bool selfClosing)
{
    if (selfClosing)
        piece(HtmlPiece::SelfClosingTagClose, std::max(0, k - 1), k + 1);
    else
        piece(HtmlPiece::TagClose, k, k + 1);
    const auto element = static_cast<HtmlElement>(m_state.element);
    const bool endTag = m_state.flags & EndTag;
    m_state.flags = 0;
    m_state.css = {};
    m_st = S::Data;
    if (m_options.followElements) {
        const bool foreignRoot = element == HtmlElement::Svg || element == HtmlElement::Math;
        if (endTag) {
            if (foreignRoot && m_state.foreign > 0)
                --m_state.foreign;
        } else if (foreignRoot) {
            if (!selfClosing && m_state.foreign < 255)
                ++m_state.foreign;
        } else if (m_state.foreign == 0) {
            switch (element) {
            case HtmlElement::Title:
            case HtmlElement::Textarea:
                m_st = S::Rcdata;
                break;
            case HtmlElement::Style:
            case HtmlElement::Xmp:
            case HtmlElement::Iframe:
            case HtmlElement::Noembed:
            case HtmlElement::Noframes:
            case HtmlElement::Noscript:
                m_st = S::Rawtext;
                break;
            case HtmlElement::Script:
                m_st = S::ScriptData;
                break;
            case HtmlElement::Plaintext:
                m_st = S::Plaintext;
                break;
            default:
                break;
            }
        }
    }
    if (m_st == S::Data)
        m_state.element = static_cast<quint8>(HtmlElement::Other);
    return k + 1;
}

// Where the name of an appropriate end tag ends when one starts at `k`
// ("</" and the raw-text element's name, then a blank, "/" or ">"), or -1.
int HtmlScanner::endTagAt(int k) const
{
    if (at(k + 1) != '/' || m_state.element == static_cast<quint8>(HtmlElement::Other))
        return -1;
    int end = k + 2;
    for (const char *name = elementNames[m_state.element]; *name; ++name, ++end) {
        const int c = at(end);
        if (!isAsciiAlpha(c) || (c | 0x20) != *name)
            return -1;
    }
    return endsTagName(at(end)) ? end : -1;
}

int HtmlScanner::rawEndTag(int k, int delimiter)
{
    piece(HtmlPiece::EndTagOpen, k, k + 2);
    piece(HtmlPiece::TagName, k + 2, delimiter);
    m_state.flags = EndTag;
    m_state.css = {};
    const char16_t c = m_s[delimiter];
    if (c == u'>')
        return emitTag(delimiter, false);
    m_st = c == u'/' ? S::SelfClosingStartTag : S::BeforeAttributeName;
    return delimiter + 1;
}

int HtmlScanner::rcdata(int k)
{
    const int start = k;
    const int end = scanLimit(k);
    for (;;) {
        k = static_cast<int>(findFirstOf(m_s + k, m_s + end, u'<', u'&') - m_s);
        if (k == end) {
            extend(HtmlPiece::RawText, start, k);
            return k;
        }
        if (m_s[k] == u'&') {
            extend(HtmlPiece::RawText, start, k);
            return characterReference(k, HtmlPiece::RawText);
        }
        if (const int delimiter = endTagAt(k); delimiter >= 0) {
            extend(HtmlPiece::RawText, start, k);
            return rawEndTag(k, delimiter);
        }
        ++k;
    }
}

int HtmlScanner::rawtext(int k)
{
    const int start = k;
    const bool style = styleText();
    const int end = style ? m_n : scanLimit(k);
    int delimiter = -1;
    for (; k < end; ++k) {
        k = static_cast<int>(findFirstOf(m_s + k, m_s + end, u'<') - m_s);
        if (k == end || (delimiter = endTagAt(k)) >= 0)
            break;
    }
    if (style) {
        const int stopped = css(start, k, delimiter >= 0 || m_final, true);
        extend(HtmlPiece::StyleText, start, stopped);
        if (stopped < k)
            return stopped;
    } else {
        extend(HtmlPiece::RawText, start, k);
    }
    return delimiter >= 0 ? rawEndTag(k, delimiter) : k;
}

int HtmlScanner::scriptStep(int k)
{
    const int start = k;
    const int c = m_s[k];
    switch (m_st) {
    case S::ScriptData:
        for (const int end = scanLimit(k); k < end; ++k) {
            k = static_cast<int>(findFirstOf(m_s + k, m_s + end, u'<') - m_s);
            if (k == end)
                break;
            if (const int delimiter = endTagAt(k); delimiter >= 0) {
                extend(HtmlPiece::RawText, start, k);
                return rawEndTag(k, delimiter);
            }
            if (at(k + 1) == '!' && at(k + 2) == '-' && at(k + 3) == '-') {
                m_st = S::ScriptDataEscapedDashDash;
                k += 4;
                break;
            }
        }
        break;
    case S::ScriptDataEscaped:
    case S::ScriptDataDoubleEscaped:
        k = static_cast<int>(findFirstOf(m_s + k, m_s + scanLimit(k), u'-', u'<') - m_s);
        if (k == scanLimit(start))
            break;
        if (m_s[k] == u'-') {
            m_st = m_st == S::ScriptDataEscaped ? S::ScriptDataEscapedDash : S::ScriptDataDoubleEscapedDash;
            ++k;
            break;
        }
        if (m_st == S::ScriptDataDoubleEscaped) {
            k = doubleEscapedLessThan(k);
            break;
        }
        if (const int delimiter = endTagAt(k); delimiter >= 0) {
            extend(HtmlPiece::RawText, start, k);
            return rawEndTag(k, delimiter);
        }
        k = escapedLessThan(k);
        break;
    case S::ScriptDataEscapedDash:
    case S::ScriptDataEscapedDashDash:
        if (c == '-') {
            m_st = S::ScriptDataEscapedDashDash;
            ++k;
        } else if (c == '<') {
            if (const int delimiter = endTagAt(k); delimiter >= 0) {
                extend(HtmlPiece::RawText, start, k);
                return rawEndTag(k, delimiter);
            }
            k = escapedLessThan(k);
        } else {
            m_st = c == '>' && m_st == S::ScriptDataEscapedDashDash ? S::ScriptData : S::ScriptDataEscaped;
            ++k;
        }
        break;
    default: // the double escaped dash states
        if (c == '-') {
            m_st = S::ScriptDataDoubleEscapedDashDash;
            ++k;
        } else if (c == '<') {
            k = doubleEscapedLessThan(k);
        } else {
            m_st = c == '>' && m_st == S::ScriptDataDoubleEscapedDashDash ? S::ScriptData : S::ScriptDataDoubleEscaped;
            ++k;
        }
        break;
    }
    extend(HtmlPiece::RawText, start, k);
    return k;
}

// "<" in escaped script data that is no end tag: "<script" and a blank,
// "/" or ">" escapes twice.
int HtmlScanner::escapedLessThan(int k)
{
    m_st = S::ScriptDataEscaped;
    int end = k + 1;
    if (!isAsciiAlpha(at(end)))
        return end;
    while (isAsciiAlpha(at(end)))
        ++end;
    if (!endsTagName(at(end)))
        return end;
    if (end - k - 1 == 6 && matchesAt(k + 1, "script", true))
        m_st = S::ScriptDataDoubleEscaped;
    return end + 1;
}

// "<" in doubly escaped script data: "</script" and a blank, "/" or ">"
// goes back to escaped.
int HtmlScanner::doubleEscapedLessThan(int k)
{
    m_st = S::ScriptDataDoubleEscaped;
    if (at(k + 1) != '/')
        return k + 1;
    int end = k + 2;
    while (isAsciiAlpha(at(end)))
        ++end;
    if (!endsTagName(at(end)))
        return end;
    if (end - k - 2 == 6 && matchesAt(k + 2, "script", true))
        m_st = S::ScriptDataEscaped;
    return end + 1;
}

int HtmlScanner::markupDeclarationOpen(int k)
{
    const int after = k + 2;
    if (at(after) == '-' && at(after + 1) == '-') {
        piece(HtmlPiece::CommentOpen, k, after + 2);
        m_dataStart = after + 2;
        m_st = S::CommentStart;
        return after + 2;
    }
    if (matchesAt(after, "doctype", true)) {
        piece(HtmlPiece::DoctypeOpen, k, after + 7);
        m_state.flags = 0;
        m_st = S::Doctype;
        return after + 7;
    }
    if (m_options.followElements && m_state.foreign > 0 && matchesAt(after, "[CDATA[", false)) {
        piece(HtmlPiece::CdataOpen, k, after + 7);
        m_st = S::CdataSection;
        return after + 7;
    }
    piece(HtmlPiece::CommentOpen, k, after);
    m_dataStart = after;
    m_st = S::BogusComment;
    return after;
}

int HtmlScanner::closeComment(int dataEnd, int end)
{
    piece(HtmlPiece::CommentClose, std::max(dataEnd, 0), end);
    m_st = S::Data;
    return end;
}

int HtmlScanner::commentStep(int k)
{
    const int c = m_s[k];
    switch (m_st) {
    case S::CommentStart:
    case S::CommentStartDash:
        if (c == '>')
            return closeComment(k - pendingDashes(m_st), k + 1);
        if (c == '-') {
            m_st = m_st == S::CommentStart ? S::CommentStartDash : S::CommentEnd;
            return k + 1;
        }
        m_st = S::Comment;
        return k;
    case S::Comment: {
        const int end = scanLimit(k);
        k = static_cast<int>(findFirstOf(m_s + k, m_s + end, u'<', u'-') - m_s);
        if (k == end)
            return k;
        m_st = m_s[k] == u'<' ? S::CommentLessThanSign : S::CommentEndDash;
        return k + 1;
    }
    case S::CommentLessThanSign:
        if (c == '!' || c == '<') {
            m_st = c == '!' ? S::CommentLessThanSignBang : S::CommentLessThanSign;
            return k + 1;
        }
        m_st = S::Comment;
        return k;
    case S::CommentLessThanSignBang:
        m_st = c == '-' ? S::CommentLessThanSignBangDash : S::Comment;
        return c == '-' ? k + 1 : k;
    case S::CommentLessThanSignBangDash:
        m_st = c == '-' ? S::CommentLessThanSignBangDashDash : S::CommentEndDash;
        return c == '-' ? k + 1 : k;
    case S::CommentLessThanSignBangDashDash:
        m_st = S::CommentEnd;
        return k;
    case S::CommentEndDash:
        m_st = c == '-' ? S::CommentEnd : S::Comment;
        return c == '-' ? k + 1 : k;
    case S::CommentEnd:
        if (c == '>')
            return closeComment(k - 2, k + 1);
        if (c == '!' || c == '-') {
            m_st = c == '!' ? S::CommentEndBang : S::CommentEnd;
            return k + 1;
        }
        m_st = S::Comment;
        return k;
    case S::CommentEndBang:
        if (c == '>')
            return closeComment(k - 3, k + 1);
        m_st = c == '-' ? S::CommentEndDash : S::Comment;
        return c == '-' ? k + 1 : k;
    default:
        return k + 1;
    }
}

int HtmlScanner::closeDoctype(int k, bool quirks)
{
    if (quirks)
        m_state.flags |= ForceQuirks;
    piece(HtmlPiece::DoctypeClose, k, std::min(k + 1, m_n), m_state.flags & ForceQuirks);
    m_state.flags = 0;
    m_st = S::Data;
    return k + 1;
}

int HtmlScanner::doctypeIdentifier(int k, char16_t quote, HtmlPiece kind, S after)
{
    for (const int end = scanLimit(k); k < end; ++k) {
        if (m_s[k] == quote) {
            piece(kind, m_dataStart, k);
            m_st = after;
            return k + 1;
        }
        if (m_s[k] == u'>') {
            piece(kind, m_dataStart, k);
            return closeDoctype(k, true);
        }
    }
    return k;
}

int HtmlScanner::doctypeStep(int k)
{
    const int c = m_s[k];
    const bool blank = isWhitespace(c);
    // Where the public or system identifier that a quote opens goes.
    auto open = [&](bool system) {
        m_dataStart = k + 1;
        if (system)
            m_st = c == '"' ? S::DoctypeSystemIdentifierDoubleQuoted : S::DoctypeSystemIdentifierSingleQuoted;
        else
            m_st = c == '"' ? S::DoctypePublicIdentifierDoubleQuoted : S::DoctypePublicIdentifierSingleQuoted;
        return k + 1;
    };
    auto bogus = [&] {
        m_state.flags |= ForceQuirks;
        m_st = S::BogusDoctype;
        return k;
    };
    switch (m_st) {
    case S::Doctype:
        m_st = S::BeforeDoctypeName;
        return blank ? k + 1 : k;
    case S::BeforeDoctypeName:
        if (blank)
            return k + 1;
        if (c == '>')
            return closeDoctype(k, true);
        m_st = S::DoctypeName;
        return k;
    case S::DoctypeName: {
        const int start = k;
        while (k < m_n && !isWhitespace(m_s[k]) && m_s[k] != u'>')
            ++k;
        piece(HtmlPiece::DoctypeName, start, k);
        if (k < m_n && m_s[k] == u'>')
            return closeDoctype(k, false);
        m_st = S::AfterDoctypeName;
        return k;
    }
    case S::AfterDoctypeName:
        if (blank)
            return k + 1;
        if (c == '>')
            return closeDoctype(k, false);
        if (matchesAt(k, "public", true)) {
            m_st = S::AfterDoctypePublicKeyword;
            return k + 6;
        }
        if (matchesAt(k, "system", true)) {
            m_st = S::AfterDoctypeSystemKeyword;
            return k + 6;
        }
        return bogus();
    case S::AfterDoctypePublicKeyword:
    case S::AfterDoctypeSystemKeyword:
        if (blank) {
            m_st = m_st == S::AfterDoctypePublicKeyword ? S::BeforeDoctypePublicIdentifier
                                                        : S::BeforeDoctypeSystemIdentifier;
            return k + 1;
        }
        [[fallthrough]];
    case S::BeforeDoctypePublicIdentifier:
    case S::BeforeDoctypeSystemIdentifier:
        if (blank)
            return k + 1;
        if (c == '"' || c == '\'')
            return open(m_st == S::AfterDoctypeSystemKeyword || m_st == S::BeforeDoctypeSystemIdentifier);
        if (c == '>')
            return closeDoctype(k, true);
        return bogus();
    case S::DoctypePublicIdentifierDoubleQuoted:
        return doctypeIdentifier(k, u'"', HtmlPiece::DoctypePublicIdentifier, S::AfterDoctypePublicIdentifier);
    case S::DoctypePublicIdentifierSingleQuoted:
        return doctypeIdentifier(k, u'\'', HtmlPiece::DoctypePublicIdentifier, S::AfterDoctypePublicIdentifier);
    case S::DoctypeSystemIdentifierDoubleQuoted:
        return doctypeIdentifier(k, u'"', HtmlPiece::DoctypeSystemIdentifier, S::AfterDoctypeSystemIdentifier);
    case S::DoctypeSystemIdentifierSingleQuoted:
        return doctypeIdentifier(k, u'\'', HtmlPiece::DoctypeSystemIdentifier, S::AfterDoctypeSystemIdentifier);
    case S::AfterDoctypePublicIdentifier:
    case S::BetweenDoctypePublicAndSystemIdentifiers:
        if (blank) {
            m_st = S::BetweenDoctypePublicAndSystemIdentifiers;
            return k + 1;
        }
        if (c == '>')
            return closeDoctype(k, false);
        if (c == '"' || c == '\'')
            return open(true);
        return bogus();
    case S::AfterDoctypeSystemIdentifier:
        if (blank)
            return k + 1;
        if (c == '>')
            return closeDoctype(k, false);
        m_st = S::BogusDoctype;
        return k;
    case S::BogusDoctype:
        for (const int end = scanLimit(k); k < end; ++k) {
            if (m_s[k] == u'>')
                return closeDoctype(k, false);
        }
        return k;
    default:
        return k + 1;
    }
}

void HtmlScanner::endOfInput()
{
    switch (m_st) {
    case S::CommentStart:
    case S::CommentStartDash:
    case S::Comment:
    case S::CommentLessThanSign:
    case S::CommentLessThanSignBang:
    case S::CommentLessThanSignBangDash:
    case S::CommentLessThanSignBangDashDash:
    case S::CommentEndDash:
    case S::CommentEnd:
    case S::CommentEndBang:
        closeComment(m_n - pendingDashes(m_st), m_n);
        break;
    case S::BogusComment:
        closeComment(m_n, m_n);
        break;
    case S::DoctypePublicIdentifierDoubleQuoted:
    case S::DoctypePublicIdentifierSingleQuoted:
        piece(HtmlPiece::DoctypePublicIdentifier, m_dataStart, m_n);
        closeDoctype(m_n, true);
        break;
    case S::DoctypeSystemIdentifierDoubleQuoted:
    case S::DoctypeSystemIdentifierSingleQuoted:
        piece(HtmlPiece::DoctypeSystemIdentifier, m_dataStart, m_n);
        closeDoctype(m_n, true);
        break;
    case S::BogusDoctype:
        closeDoctype(m_n, false);
        break;
    default:
        if (m_st >= S::Doctype && m_st <= S::AfterDoctypeSystemIdentifier)
            closeDoctype(m_n, true);
        break;
    }
}

} // namespace

int tokenizeHtml(const Chunk &chunk, int stopAt, SyntaxState &state, HtmlSink *sink, HtmlOptions options)
{
    return HtmlScanner(chunk, stopAt, state, sink, options).run();
}

HtmlElement htmlElement(QStringView name)
{
    if (name.size() < 3 || name.size() > 9)
        return HtmlElement::Other;
    for (int element = 1; element <= static_cast<int>(HtmlElement::Math); ++element) {
        const char *candidate = elementNames[element];
        qsizetype i = 0;
        for (; candidate[i] && i < name.size(); ++i) {
            const char16_t c = name[i].unicode();
            if (!isAsciiAlpha(c) || (c | 0x20) != candidate[i])
                break;
        }
        if (!candidate[i] && i == name.size())
            return static_cast<HtmlElement>(element);
    }
    return HtmlElement::Other;
}

SyntaxState SyntaxState::start(Language language)
{
    SyntaxState state;
    if (language == Language::Css)
        state.css = CssState();
    return state;
}

} // namespace syntax
