#pragma once

#include <QStringView>
#include <QtGlobal>

namespace syntax {

enum class Language : quint8 { Plain, Html, Css };

// Where the CSS tokenizer stands between two characters: inside a token that
// may run over a line break, and where in the structure of rules and
// declarations it is (which decides the colours).
struct CssState
{
    enum Mode : quint8 {
        Normal,
        InComment,
        InString,       // quote says which
        UrlPending,     // after "url(" and blanks: a string or a bare url follows
        UrlAfterBlanks, // a bare url, its blanks read: ")" or a bad url follows
        InBadUrl,
    };
    enum Context : quint8 {
        Rules,     // selectors of rules
        AtPrelude, // after an at-keyword, before its block or ";"
        Property,  // a declaration's name
        Value,     // a declaration's value
    };
    enum Flag : quint8 {
        DoubleQuote = 1,  // InString: the string ends at '"'
        AfterBang = 2,    // "!" was the last token of a value
        AtHoldsRules = 4, // the pending at-rule's block holds rules (@media)
        Declarations = 8, // outside every block there are declarations (a style attribute)
    };

    Mode mode = Normal;
    Context context = Rules;
    quint8 flags = 0;
    quint8 depth = 0;      // open blocks
    quint8 ruleBlocks = 0; // bit n: the block at depth n + 1 holds rules
    bool operator==(const CssState &) const = default;

    static CssState declarationList()
    {
        CssState state;
        state.context = Property;
        state.flags = Declarations;
        return state;
    }
};

// Where the HTML tokenizer stands between two characters, with what a
// browser's tree construction adds to it: after <title>, <style>, <script>
// and their kin it reads raw text until their end tag, and inside <svg> and
// <math> it allows CDATA sections. Between two lines it never waits for
// characters of the next line, so this small value is all that a line start
// needs.
struct SyntaxState
{
    quint8 html = 0;    // the tokenizer's state (htmltokenizer.h)
    quint8 element = 0; // the raw-text element, or the current tag's element
    quint8 flags = 0;   // of the current tag or DOCTYPE
    quint8 foreign = 0; // open <svg> and <math> elements
    CssState css;       // inside <style> and style attributes, or a stylesheet
    bool operator==(const SyntaxState &) const = default;

    static SyntaxState start(Language language);
};

// A piece of text as the tokenizers read it: characters, where they stand in
// the document, and whether any follow.
struct Chunk
{
    QStringView text;
    int offset = 0;
    bool endOfInput = true;
};

} // namespace syntax
