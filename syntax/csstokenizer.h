#pragma once

#include "syntax/roles.h"
#include "syntax/syntaxstate.h"

namespace syntax {

// The tokens of CSS Syntax Level 3, with comments kept (they have a colour)
// and the attribute-selector matches of its 2014 edition.
enum class CssTokenType : quint8 {
    Ident,
    Function,
    AtKeyword,
    Hash,
    String,
    BadString,
    Url,
    BadUrl,
    Delim,
    Number,
    Percentage,
    Dimension,
    UnicodeRange,
    IncludeMatch,   // ~=
    DashMatch,      // |=
    PrefixMatch,    // ^=
    SuffixMatch,    // $=
    SubstringMatch, // *=
    Column,         // ||
    Whitespace,
    Cdo,
    Cdc,
    Colon,
    Semicolon,
    Comma,
    OpenSquare,
    CloseSquare,
    OpenParen,
    CloseParen,
    OpenCurly,
    CloseCurly,
    Comment,
};

struct CssToken
{
    enum Flag : quint8 {
        Integer = 1,      // a number without fraction or exponent
        IdHash = 2,       // a hash whose name would start an identifier
        Unterminated = 4, // a string, url or comment ended by the end of the input
        Continued = 8,    // began before the chunk (a comment or string over a line break)
    };
    int start = 0;
    int end = 0;
    // Where the number of a percentage or dimension ends, or the name of a
    // function (before its "(" and any blanks read with it).
    int split = 0;
    CssTokenType type = CssTokenType::Delim;
    quint8 flags = 0;
    Role role = Role::Plain;
};

class CssTokenSink
{
public:
    virtual void token(const CssToken &token) = 0;

protected:
    ~CssTokenSink() = default;
};

struct CssOptions
{
    // An escape's trailing blank is never a line break: no name or url runs
    // over one, so that a line's tokens never wait on the next line's
    // first characters (colouring line by line). Off, as CSS Syntax reads.
    bool lineBreakEndsEscape = false;
};

// Reads the chunk from its first character on, in `state`, which it leaves
// as it is after the last character read. It stops at the chunk's end, or
// between two tokens once it is at or past `stopAt` (a document position);
// it returns the index into the chunk where it stopped. Line breaks are CR,
// LF, CR LF or FF; NUL counts as U+FFFD, as the input stream's
// preprocessing makes it. Every token gets the role its place in the
// stylesheet gives it. `sink` may be null.
int tokenizeCss(const Chunk &chunk, int stopAt, CssState &state, CssTokenSink *sink, CssOptions options = {});

// Whether an at-rule's block holds rules rather than declarations.
bool atRuleHoldsRules(QStringView name);

} // namespace syntax
