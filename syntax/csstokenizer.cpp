#include "syntax/csstokenizer.h"

#include "syntax/cssvalues.h"
#include "syntax/scan.h"

#include <array>

namespace syntax {

namespace {

constexpr int cssEnd = -1;

enum CharClass : quint8 {
    NameStart = 1,
    Name = 2,
    Digit = 4,
    Hex = 8,
    Blank = 16,
    Newline = 32,
};

constexpr std::array<quint8, 128> makeClasses()
{
    std::array<quint8, 128> classes{};
    for (int c = 'a'; c <= 'z'; ++c) {
        classes[c] = NameStart | Name;
        classes[c - 'a' + 'A'] = NameStart | Name;
    }
    for (int c = 'a'; c <= 'f'; ++c) {
        classes[c] |= Hex;
        classes[c - 'a' + 'A'] |= Hex;
    }
    for (int c = '0'; c <= '9'; ++c)
        classes[c] = Name | Digit | Hex;
    classes['_'] = NameStart | Name;
    classes['-'] = Name;
    // NUL stands for U+FFFD, which is not ASCII.
    classes[0] = NameStart | Name;
    classes[' '] = Blank;
    classes['\t'] = Blank;
    classes['\n'] = Blank | Newline;
    classes['\r'] = Blank | Newline;
    classes['\f'] = Blank | Newline;
    return classes;
}
constexpr std::array<quint8, 128> classes = makeClasses();

bool has(int c, quint8 mask)
{
    if (c < 0)
        return false;
    if (c >= 0x80)
        return mask & (NameStart | Name);
    return classes[static_cast<size_t>(c)] & mask;
}
bool isNewline(int c)
{
    return has(c, Newline);
}
bool isBlank(int c)
{
    return has(c, Blank);
}
bool isDigit(int c)
{
    return has(c, Digit);
}
bool isHex(int c)
{
    return has(c, Hex);
}
bool isNameStart(int c)
{
    return has(c, NameStart);
}
bool isName(int c)
{
    return has(c, Name);
}
bool isNonPrintable(int c)
{
    return (c >= 1 && c <= 8) || c == 0x0b || (c >= 0x0e && c <= 0x1f) || c == 0x7f;
}
bool isQuote(int c)
{
    return c == '"' || c == '\'';
}

class CssScanner
{
public:
    CssScanner(const Chunk &chunk, int stopAt, CssState &state, CssTokenSink *sink, CssOptions options)
        : m_s(reinterpret_cast<const char16_t *>(chunk.text.data()))
        , m_n(static_cast<int>(chunk.text.size()))
        , m_offset(chunk.offset)
        , m_final(chunk.endOfInput)
        , m_stop(stopAt - chunk.offset)
        , m_state(state)
        , m_sink(sink)
        , m_options(options)
    {
    }

    int run();

private:
    int at(int k) const { return k < m_n ? m_s[k] : cssEnd; }
    bool validEscape(int k) const { return at(k) == '\\' && !isNewline(at(k + 1)); }
    bool startsIdentifier(int k) const;
    bool startsNumber(int k) const;
    int skipBlanks(int k) const;
    int newlineLength(int k) const { return at(k) == '\r' && at(k + 1) == '\n' ? 2 : 1; }
    int consumeEscape(int k) const;
    int consumeName(int k) const;
    int consumeNumber(int k, bool &integer) const;

    // Hands the token on with its role and follows it in the structure;
    // without a sink only the latter.
    void token(CssToken &t)
    {
        if (m_sink)
            emitToken(t);
        else
            follow(t.type, t.start, t.end);
    }
    void token(CssTokenType type, int start, int end, quint8 flags = 0)
    {
        if (!m_sink) {
            follow(type, start, end);
            return;
        }
        CssToken t;
        t.type = type;
        t.start = start;
        t.end = end;
        t.flags = flags;
        emitToken(t);
    }
    void emitToken(CssToken &t);
    int resume();
    int next(int k);
    int string(int start, int k, bool doubleQuote, quint8 flags);
    int identLike(int k);
    int url(int start, int k, quint8 flags);
    int badUrl(int start, int k, quint8 flags);
    int comment(int start, int k, quint8 flags);
    int unicodeRange(int k);
    int numeric(int k);

    Role roleOf(const CssToken &token) const;
    void follow(CssTokenType type, int start, int end);
    CssState::Context baseContext() const;

    const char16_t *m_s;
    int m_n;
    int m_offset;
    bool m_final;
    int m_stop;
    CssState &m_state;
    CssTokenSink *m_sink;
    CssOptions m_options;
};

bool CssScanner::startsIdentifier(int k) const
{
    const int c = at(k);
    if (c == '-')
        return isNameStart(at(k + 1)) || at(k + 1) == '-' || validEscape(k + 1);
    if (c == '\\')
        return validEscape(k);
    return isNameStart(c);
}

bool CssScanner::startsNumber(int k) const
{
    int c = at(k);
    if (c == '+' || c == '-')
        c = at(++k);
    if (c == '.')
        return isDigit(at(k + 1));
    return isDigit(c);
}

int CssScanner::skipBlanks(int k) const
{
    while (isBlank(at(k)))
        ++k;
    return k;
}

int CssScanner::consumeEscape(int k) const
{
    const int c = at(k);
    if (c == cssEnd)
        return k;
    if (isHex(c)) {
        const int last = k + 6;
        for (++k; k < last && isHex(at(k)); ++k) {}
        if (isNewline(at(k)))
            k += m_options.lineBreakEndsEscape ? 0 : newlineLength(k);
        else if (isBlank(at(k)))
            ++k;
        return k;
    }
    if (QChar::isHighSurrogate(static_cast<char32_t>(c)) && QChar::isLowSurrogate(static_cast<char32_t>(at(k + 1))))
        return k + 2;
    return k + 1;
}

int CssScanner::consumeName(int k) const
{
    for (;;) {
        const char16_t *p = m_s + k;
        const char16_t *end = m_s + m_n;
        while (p < end && (*p >= 0x80 || (classes[*p] & Name)))
            ++p;
        k = static_cast<int>(p - m_s);
        if (!validEscape(k))
            return k;
        k = consumeEscape(k + 1);
    }
}

int CssScanner::consumeNumber(int k, bool &integer) const
{
    integer = true;
    if (at(k) == '+' || at(k) == '-')
        ++k;
    while (isDigit(at(k)))
        ++k;
    if (at(k) == '.' && isDigit(at(k + 1))) {
        integer = false;
        for (k += 2; isDigit(at(k)); ++k) {}
    }
    if ((at(k) | 0x20) == 'e') {
        int digits = k + 1;
        if (at(digits) == '+' || at(digits) == '-')
            ++digits;
        if (isDigit(at(digits))) {
            integer = false;
            for (k = digits + 1; isDigit(at(k)); ++k) {}
        }
    }
    return k;
}

int CssScanner::run()
{
    int k = m_state.mode == CssState::Normal ? 0 : resume();
    while (k < m_n) {
        if (k >= m_stop && m_state.mode == CssState::Normal)
            return k;
        k = next(k);
    }
    return m_n;
}

// A token that began before the chunk goes on.
int CssScanner::resume()
{
    const quint8 continued = CssToken::Continued;
    switch (m_state.mode) {
    case CssState::Normal:
        return 0;
    case CssState::InComment:
        return comment(0, 0, continued);
    case CssState::InString:
        return string(0, 0, m_state.flags & CssState::DoubleQuote, continued);
    case CssState::UrlPending: {
        // "url(" and blanks stood before: a quote makes it a function.
        const int k = skipBlanks(0);
        if (k == m_n && !m_final)
            return m_n;
        m_state.mode = CssState::Normal;
        if (isQuote(at(k))) {
            if (k > 0)
                token(CssTokenType::Whitespace, 0, k);
            return k;
        }
        return url(0, k, continued);
    }
    case CssState::UrlAfterBlanks: {
        // A bare url read up to blanks: only ")" may follow.
        const int k = skipBlanks(0);
        if (k == m_n && !m_final)
            return m_n;
        m_state.mode = CssState::Normal;
        if (at(k) == ')' || k == m_n) {
            const int end = k == m_n ? k : k + 1;
            token(CssTokenType::Url, 0, end, continued | (k == m_n ? CssToken::Unterminated : 0));
            return end;
        }
        return badUrl(0, k, continued);
    }
    case CssState::InBadUrl:
        m_state.mode = CssState::Normal;
        return badUrl(0, 0, continued);
    }
    return 0;
}

void CssScanner::emitToken(CssToken &t)
{
    // The role comes from the place before the token.
    t.role = roleOf(t);
    follow(t.type, t.start, t.end);
    t.start += m_offset;
    t.end += m_offset;
    t.split += t.split ? m_offset : 0;
    m_sink->token(t);
}

int CssScanner::next(int k)
{
    const int start = k;
    const int c = m_s[k];
    auto single = [&](CssTokenType type) {
        token(type, start, start + 1);
        return start + 1;
    };
    auto pair = [&](CssTokenType type) {
        token(type, start, start + 2);
        return start + 2;
    };
    if (isBlank(c)) {
        k = skipBlanks(k + 1);
        token(CssTokenType::Whitespace, start, k);
        return k;
    }
    switch (c) {
    case '"':
    case '\'':
        return string(start, k + 1, c == '"', 0);
    case '#':
        if (isName(at(k + 1)) || validEscape(k + 1)) {
            const quint8 flags = startsIdentifier(k + 1) ? CssToken::IdHash : 0;
            const int end = consumeName(k + 1);
            token(CssTokenType::Hash, start, end, flags);
            return end;
        }
        break;
    case '$':
        if (at(k + 1) == '=')
            return pair(CssTokenType::SuffixMatch);
        break;
    case '(':
        return single(CssTokenType::OpenParen);
    case ')':
        return single(CssTokenType::CloseParen);
    case '*':
        if (at(k + 1) == '=')
            return pair(CssTokenType::SubstringMatch);
        break;
    case '+':
    case '.':
        if (startsNumber(k))
            return numeric(k);
        break;
    case ',':
        return single(CssTokenType::Comma);
    case '-':
        if (startsNumber(k))
            return numeric(k);
        if (at(k + 1) == '-' && at(k + 2) == '>') {
            token(CssTokenType::Cdc, start, start + 3);
            return start + 3;
        }
        if (startsIdentifier(k))
            return identLike(k);
        break;
    case '/':
        if (at(k + 1) == '*')
            return comment(start, k + 2, 0);
        break;
    case ':':
        return single(CssTokenType::Colon);
    case ';':
        return single(CssTokenType::Semicolon);
    case '<':
        if (at(k + 1) == '!' && at(k + 2) == '-' && at(k + 3) == '-') {
            token(CssTokenType::Cdo, start, start + 4);
            return start + 4;
        }
        break;
    case '@':
        if (startsIdentifier(k + 1)) {
            const int end = consumeName(k + 1);
            token(CssTokenType::AtKeyword, start, end);
            return end;
        }
        break;
    case '[':
        return single(CssTokenType::OpenSquare);
    case '\\':
        if (validEscape(k))
            return identLike(k);
        break;
    case ']':
        return single(CssTokenType::CloseSquare);
    case '^':
        if (at(k + 1) == '=')
            return pair(CssTokenType::PrefixMatch);
        break;
    case '{':
        return single(CssTokenType::OpenCurly);
    case '}':
        return single(CssTokenType::CloseCurly);
    case '|':
        if (at(k + 1) == '=')
            return pair(CssTokenType::DashMatch);
        if (at(k + 1) == '|')
            return pair(CssTokenType::Column);
        break;
    case '~':
        if (at(k + 1) == '=')
            return pair(CssTokenType::IncludeMatch);
        break;
    case 'u':
    case 'U':
        if (at(k + 1) == '+' && (isHex(at(k + 2)) || at(k + 2) == '?'))
            return unicodeRange(k);
        return identLike(k);
    default:
        if (isDigit(c))
            return numeric(k);
        if (isNameStart(c))
            return identLike(k);
        break;
    }
    return single(CssTokenType::Delim);
}

int CssScanner::string(int start, int k, bool doubleQuote, quint8 flags)
{
    const char16_t quote = doubleQuote ? u'"' : u'\'';
    m_state.mode = CssState::Normal;
    for (;;) {
        k = static_cast<int>(findFirstOf(m_s + k, m_s + m_n, quote, u'\\', u'\n', u'\r', u'\f') - m_s);
        const int c = at(k);
        if (c == quote) {
            token(CssTokenType::String, start, k + 1, flags);
            return k + 1;
        }
        if (c == cssEnd) {
            if (m_final) {
                flags |= CssToken::Unterminated;
            } else {
                // An escaped line break went on to the next line.
                m_state.mode = CssState::InString;
                m_state.flags
                    = doubleQuote ? (m_state.flags | CssState::DoubleQuote) : (m_state.flags & ~CssState::DoubleQuote);
            }
            token(CssTokenType::String, start, k, flags);
            return k;
        }
        if (c != '\\') {
            // A line break ends the string as a bad one; it is read again.
            token(CssTokenType::BadString, start, k, flags);
            return k;
        }
        const int escaped = at(k + 1);
        if (escaped == cssEnd)
            k += 1;
        else if (isNewline(escaped))
            k += 1 + newlineLength(k + 1);
        else
            k = consumeEscape(k + 1);
    }
}

int CssScanner::identLike(int k)
{
    const int start = k;
    const int end = consumeName(k);
    if (at(end) != '(') {
        token(CssTokenType::Ident, start, end);
        return end;
    }
    const QStringView name(m_s + start, end - start);
    const bool isUrl = name.size() == 3
        ? name.compare(u"url", Qt::CaseInsensitive) == 0
        : name.contains(u'\\') && cssIdentifierValue(name).compare(u"url", Qt::CaseInsensitive) == 0;
    CssToken function;
    function.type = CssTokenType::Function;
    function.start = start;
    function.split = end;
    if (!isUrl) {
        function.end = end + 1;
        token(function);
        return end + 1;
    }
    int j = end + 1;
    while (isBlank(at(j)) && isBlank(at(j + 1)))
        ++j;
    if (isQuote(at(j)) || (isBlank(at(j)) && isQuote(at(j + 1)))) {
        function.end = j;
        token(function);
        return j;
    }
    if (skipBlanks(j) == m_n && !m_final) {
        // Whether a string or a bare url follows shows on a later line.
        function.end = m_n;
        token(function);
        m_state.mode = CssState::UrlPending;
        return m_n;
    }
    return url(start, j, 0);
}

int CssScanner::url(int start, int k, quint8 flags)
{
    k = skipBlanks(k);
    for (;;) {
        const int c = at(k);
        if (c == ')') {
            token(CssTokenType::Url, start, k + 1, flags);
            return k + 1;
        }
        if (c == cssEnd) {
            token(CssTokenType::Url, start, k, flags | (m_final ? CssToken::Unterminated : 0));
            return k;
        }
        if (isBlank(c)) {
            k = skipBlanks(k);
            if (at(k) == ')') {
                token(CssTokenType::Url, start, k + 1, flags);
                return k + 1;
            }
            if (at(k) == cssEnd) {
                if (!m_final)
                    m_state.mode = CssState::UrlAfterBlanks;
                token(CssTokenType::Url, start, k, flags | (m_final ? CssToken::Unterminated : 0));
                return k;
            }
            return badUrl(start, k, flags);
        }
        if (isQuote(c) || c == '(' || isNonPrintable(c))
            return badUrl(start, k, flags);
        if (c == '\\') {
            if (!validEscape(k))
                return badUrl(start, k, flags);
            k = consumeEscape(k + 1);
        } else {
            ++k;
        }
    }
}

int CssScanner::badUrl(int start, int k, quint8 flags)
{
    for (;;) {
        const int c = at(k);
        if (c == ')') {
            ++k;
            break;
        }
        if (c == cssEnd) {
            if (!m_final)
                m_state.mode = CssState::InBadUrl;
            break;
        }
        k = validEscape(k) ? consumeEscape(k + 1) : k + 1;
    }
    token(CssTokenType::BadUrl, start, k, flags);
    return k;
}

int CssScanner::comment(int start, int k, quint8 flags)
{
    for (; k < m_n; ++k) {
        k = static_cast<int>(findFirstOf(m_s + k, m_s + m_n, u'*') - m_s);
        if (at(k + 1) == '/') {
            m_state.mode = CssState::Normal;
            token(CssTokenType::Comment, start, k + 2, flags);
            return k + 2;
        }
    }
    m_state.mode = m_final ? CssState::Normal : CssState::InComment;
    token(CssTokenType::Comment, start, m_n, flags | (m_final ? CssToken::Unterminated : 0));
    return m_n;
}

int CssScanner::unicodeRange(int k)
{
    const int start = k;
    k += 2;
    const int first = k;
    while (k - first < 6 && isHex(at(k)))
        ++k;
    const int digits = k;
    while (k - first < 6 && at(k) == '?')
        ++k;
    if (k == digits && at(k) == '-' && isHex(at(k + 1))) {
        const int second = ++k;
        while (k - second < 6 && isHex(at(k)))
            ++k;
    }
    token(CssTokenType::UnicodeRange, start, k);
    return k;
}

int CssScanner::numeric(int k)
{
    CssToken t;
    t.start = k;
    bool integer = true;
    k = consumeNumber(k, integer);
    t.flags = integer ? CssToken::Integer : 0;
    if (startsIdentifier(k)) {
        t.type = CssTokenType::Dimension;
        t.split = k;
        k = consumeName(k);
    } else if (at(k) == '%') {
        t.type = CssTokenType::Percentage;
        t.split = k;
        ++k;
    } else {
        t.type = CssTokenType::Number;
    }
    t.end = k;
    token(t);
    return k;
}

Role CssScanner::roleOf(const CssToken &t) const
{
    using T = CssTokenType;
    switch (t.type) {
    case T::Comment:
    case T::Cdo:
    case T::Cdc:
        return Role::Comment;
    // A bad string or url is known to be bad only at its end, which may lie
    // lines after its start: it keeps the colour its start had.
    case T::String:
    case T::BadString:
        return Role::String;
    case T::Url:
    case T::BadUrl:
        return Role::Url;
    case T::Number:
    case T::Percentage:
    case T::Dimension:
    case T::UnicodeRange:
        return Role::Number;
    case T::AtKeyword:
        return Role::AtRule;
    case T::Whitespace:
    case T::OpenCurly:
    case T::CloseCurly:
    case T::Semicolon:
        return Role::Plain;
    default:
        break;
    }
    if (t.type == T::Function && t.split - t.start == 3
        && QStringView(m_s + t.start, 3).compare(u"url", Qt::CaseInsensitive) == 0)
        return Role::Url;
    switch (m_state.context) {
    case CssState::Rules:
        return Role::Selector;
    case CssState::Property:
        return t.type == T::Ident ? Role::Property : Role::Plain;
    case CssState::Value:
        if (t.type == T::Delim && m_s[t.start] == u'!')
            return Role::Important;
        if (t.type == T::Ident && (m_state.flags & CssState::AfterBang)
            && QStringView(m_s + t.start, t.end - t.start).compare(u"important", Qt::CaseInsensitive) == 0)
            return Role::Important;
        [[fallthrough]];
    case CssState::AtPrelude:
        return t.type == T::Ident || t.type == T::Function || t.type == T::Hash ? Role::Value : Role::Plain;
    }
    return Role::Plain;
}

CssState::Context CssScanner::baseContext() const
{
    const int depth = m_state.depth;
    if (depth == 0)
        return (m_state.flags & CssState::Declarations) ? CssState::Property : CssState::Rules;
    if (depth <= 8 && (m_state.ruleBlocks & (1u << (depth - 1))))
        return CssState::Rules;
    return CssState::Property;
}

// Where in the structure of rules and declarations the next token stands.
void CssScanner::follow(CssTokenType type, int start, int end)
{
    using T = CssTokenType;
    switch (type) {
    case T::Whitespace:
    case T::Comment:
        return;
    case T::Delim:
        if (m_s[start] == u'!' && m_state.context == CssState::Value) {
            m_state.flags |= CssState::AfterBang;
            return;
        }
        break;
    case T::AtKeyword:
        m_state.context = CssState::AtPrelude;
        if (atRuleHoldsRules(QStringView(m_s + start + 1, end - start - 1)))
            m_state.flags |= CssState::AtHoldsRules;
        else
            m_state.flags &= ~CssState::AtHoldsRules;
        break;
    case T::OpenCurly: {
        const bool rules = m_state.context == CssState::AtPrelude && (m_state.flags & CssState::AtHoldsRules);
        if (m_state.depth < 255)
            ++m_state.depth;
        if (m_state.depth <= 8) {
            const quint8 bit = static_cast<quint8>(1u << (m_state.depth - 1));
            m_state.ruleBlocks = rules ? (m_state.ruleBlocks | bit) : (m_state.ruleBlocks & ~bit);
        }
        m_state.context = rules ? CssState::Rules : CssState::Property;
        m_state.flags &= ~CssState::AtHoldsRules;
        break;
    }
    case T::CloseCurly:
        if (m_state.depth > 0)
            --m_state.depth;
        m_state.context = baseContext();
        break;
    case T::Semicolon:
        m_state.context = baseContext();
        break;
    case T::Colon:
        if (m_state.context == CssState::Property)
            m_state.context = CssState::Value;
        break;
    default:
        break;
    }
    // "!" counts for the token right after it only.
    m_state.flags &= ~CssState::AfterBang;
}

} // namespace

int tokenizeCss(const Chunk &chunk, int stopAt, CssState &state, CssTokenSink *sink, CssOptions options)
{
    return CssScanner(chunk, stopAt, state, sink, options).run();
}

bool atRuleHoldsRules(QStringView name)
{
    static const char16_t *const nested[]
        = {u"media", u"supports",       u"document",  u"-moz-document",     u"layer",         u"container",
           u"scope", u"starting-style", u"keyframes", u"-webkit-keyframes", u"-moz-keyframes"};
    for (const char16_t *candidate : nested) {
        if (name.compare(QStringView(candidate), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace syntax
