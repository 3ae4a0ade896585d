#include "syntax/highlighter.h"

#include "syntax/csstokenizer.h"
#include "syntax/htmltokenizer.h"

namespace syntax {

namespace {

// Turns the tokenizers' pieces into coloured spans. Comments and DOCTYPEs
// are coloured whole, from their opening to their closing piece.
class Colourer : public HtmlSink, public CssTokenSink
{
public:
    Colourer(std::vector<RoleSpan> &spans, const Chunk &chunk)
        : m_spans(spans)
        , m_chunk(chunk)
    {
    }

    void openRegion(int start, Role role)
    {
        m_regionStart = start;
        m_regionRole = role;
    }
    void closeRegion(int end)
    {
        if (m_regionStart >= 0)
            add(m_regionStart, end, m_regionRole);
        m_regionStart = -1;
    }

    void piece(HtmlPiece piece, int start, int end, bool forceQuirks) override
    {
        Q_UNUSED(forceQuirks);
        switch (piece) {
        case HtmlPiece::StartTagOpen:
        case HtmlPiece::EndTagOpen:
        case HtmlPiece::TagName:
        case HtmlPiece::TagClose:
        case HtmlPiece::SelfClosingTagClose:
            add(start, end, Role::Tag);
            break;
        case HtmlPiece::AttributeName:
            add(start, end, Role::AttributeName);
            break;
        case HtmlPiece::AttributeValue:
        case HtmlPiece::AttributeQuote:
            add(start, end, Role::AttributeValue);
            break;
        case HtmlPiece::CommentOpen:
            openRegion(start, Role::Comment);
            break;
        case HtmlPiece::DoctypeOpen:
            openRegion(start, Role::Doctype);
            break;
        case HtmlPiece::CommentClose:
        case HtmlPiece::DoctypeClose:
            closeRegion(end);
            break;
        case HtmlPiece::CdataOpen:
        case HtmlPiece::CdataClose:
            add(start, end, Role::Doctype);
            break;
        case HtmlPiece::BadReference:
            add(start, end, Role::Error);
            break;
        default:
            break;
        }
    }

    void characterReference(int start, int end, char32_t first, char32_t second, bool error) override
    {
        Q_UNUSED(first);
        Q_UNUSED(second);
        add(start, end, error ? Role::Error : Role::Entity);
    }

    void css(const CssToken &cssToken) override { token(cssToken); }
    void token(const CssToken &token) override
    {
        if (token.role != Role::Url) {
            add(token.start, token.end, token.role);
            return;
        }
        // A url may run over line breaks, and whether blanks belong to it
        // shows only where it ends: its blanks stay uncoloured, so that a
        // line is coloured alike whether read alone or with the others.
        const QStringView text = m_chunk.text;
        int start = token.start;
        for (int at = token.start; at <= token.end; ++at) {
            const QChar c = at < token.end ? text[at - m_chunk.offset] : QChar(u' ');
            if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f') {
                add(start, at, Role::Url);
                start = at + 1;
            }
        }
    }

private:
    void add(int start, int end, Role role)
    {
        if (start >= end || role == Role::Plain)
            return;
        if (!m_spans.empty() && m_spans.back().end == start && m_spans.back().role == role)
            m_spans.back().end = end;
        else
            m_spans.push_back({start, end, role});
    }

    std::vector<RoleSpan> &m_spans;
    const Chunk &m_chunk;
    int m_regionStart = -1;
    Role m_regionRole = Role::Plain;
};

bool inComment(HtmlTokenizerState state)
{
    return state == HtmlTokenizerState::BogusComment
        || (state >= HtmlTokenizerState::CommentStart && state <= HtmlTokenizerState::CommentEndBang);
}

bool inDoctype(HtmlTokenizerState state)
{
    return state >= HtmlTokenizerState::Doctype && state <= HtmlTokenizerState::BogusDoctype;
}

} // namespace

int highlight(Language language, const Chunk &chunk, int stopAt, SyntaxState &state, std::vector<RoleSpan> *spans)
{
    if (language == Language::Plain)
        return static_cast<int>(chunk.text.size());
    if (!spans) {
        if (language == Language::Css)
            return tokenizeCss(chunk, stopAt, state.css, nullptr, {.lineBreakEndsEscape = true});
        return tokenizeHtml(chunk, stopAt, state, nullptr);
    }
    Colourer colourer(*spans, chunk);
    if (language == Language::Css)
        return tokenizeCss(chunk, stopAt, state.css, &colourer, {.lineBreakEndsEscape = true});
    const auto html = static_cast<HtmlTokenizerState>(state.html);
    if (inComment(html))
        colourer.openRegion(chunk.offset, Role::Comment);
    else if (inDoctype(html))
        colourer.openRegion(chunk.offset, Role::Doctype);
    const int stopped = tokenizeHtml(chunk, stopAt, state, &colourer);
    colourer.closeRegion(chunk.offset + stopped);
    return stopped;
}

} // namespace syntax
