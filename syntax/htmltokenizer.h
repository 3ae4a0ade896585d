#pragma once

#include "syntax/csstokenizer.h"
#include "syntax/syntaxstate.h"

namespace syntax {

// The states of the HTML standard's tokenizer that a line can start in or
// that the tokenizer can pause in (SyntaxState::html). The states that only
// look ahead a few characters (the character references, "<" and "</" in
// raw text, "<!") are read in one step and never kept.
enum class HtmlTokenizerState : quint8 {
    Data,
    Rcdata,
    Rawtext,
    ScriptData,
    ScriptDataEscaped,
    ScriptDataEscapedDash,
    ScriptDataEscapedDashDash,
    ScriptDataDoubleEscaped,
    ScriptDataDoubleEscapedDash,
    ScriptDataDoubleEscapedDashDash,
    Plaintext,
    TagName,
    BeforeAttributeName,
    AttributeName,
    AfterAttributeName,
    BeforeAttributeValue,
    AttributeValueDoubleQuoted,
    AttributeValueSingleQuoted,
    AttributeValueUnquoted,
    AfterAttributeValueQuoted,
    SelfClosingStartTag,
    BogusComment,
    CommentStart,
    CommentStartDash,
    Comment,
    CommentLessThanSign,
    CommentLessThanSignBang,
    CommentLessThanSignBangDash,
    CommentLessThanSignBangDashDash,
    CommentEndDash,
    CommentEnd,
    CommentEndBang,
    Doctype,
    BeforeDoctypeName,
    DoctypeName,
    AfterDoctypeName,
    AfterDoctypePublicKeyword,
    BeforeDoctypePublicIdentifier,
    DoctypePublicIdentifierDoubleQuoted,
    DoctypePublicIdentifierSingleQuoted,
    AfterDoctypePublicIdentifier,
    BetweenDoctypePublicAndSystemIdentifiers,
    AfterDoctypeSystemKeyword,
    BeforeDoctypeSystemIdentifier,
    DoctypeSystemIdentifierDoubleQuoted,
    DoctypeSystemIdentifierSingleQuoted,
    AfterDoctypeSystemIdentifier,
    BogusDoctype,
    CdataSection,
};

// The elements whose start tags change how the text after them is read.
enum class HtmlElement : quint8 {
    Other,
    Title,
    Textarea,
    Style,
    Xmp,
    Iframe,
    Noembed,
    Noframes,
    Noscript,
    Script,
    Plaintext,
    Svg,
    Math,
};

// SyntaxState::flags while the tokenizer is in a tag or DOCTYPE.
enum HtmlFlag : quint8 {
    EndTag = 1,
    StyleAttribute = 2, // the current attribute is "style"
    ForceQuirks = 4,
};

// What the tokenizer reads, in pieces of the text (start and end are
// document positions).
enum class HtmlPiece : quint8 {
    Text,                // characters as they stand (data, CDATA sections)
    RawText,             // RCDATA, RAWTEXT, script data or PLAINTEXT: NUL stands for U+FFFD
    StyleText,           // the RAWTEXT of a <style> element; its CSS tokens come too
    StartTagOpen,        // "<"
    EndTagOpen,          // "</"
    TagName,             // as written (the tag's name is it in lower case, NUL as U+FFFD)
    AttributeName,       // likewise
    AttributeValue,      // characters of a value, NUL as U+FFFD
    AttributeQuote,      // a quote around a value
    TagClose,            // ">": the tag is complete
    SelfClosingTagClose, // "/>": the tag is complete, with its self-closing flag
    CommentOpen,         // "<!--", "<!", "</" or "<" before the comment's data
    CommentClose,        // from the data's end to the comment's end ("-->", ">" or the input's end)
    DoctypeOpen,         // "<!DOCTYPE"
    DoctypeName,
    DoctypePublicIdentifier, // between its quotes
    DoctypeSystemIdentifier,
    DoctypeClose, // ">" or the input's end; `forceQuirks` says whether the flag is set
    CdataOpen,    // "<![CDATA["
    CdataClose,   // "]]>"
    BadReference, // "&" and a name that names nothing, or "&#" without digits: characters as they stand
};

class HtmlSink
{
public:
    virtual void piece(HtmlPiece piece, int start, int end, bool forceQuirks = false) = 0;
    // A character reference [start, end) that stands for one or two code
    // points (second 0); `error` when it lacks its ";" or its number names
    // no character.
    virtual void characterReference(int start, int end, char32_t first, char32_t second, bool error) = 0;
    // The CSS inside <style> and style attributes.
    virtual void css(const CssToken &token) { Q_UNUSED(token); }

protected:
    ~HtmlSink() = default;
};

struct HtmlOptions
{
    // Switch to raw text after <title>, <style>, <script> ..., and count
    // <svg> and <math>, as a browser's tree construction makes the
    // tokenizer do, and read the CSS of <style> elements and style
    // attributes (as colouring reads it). Off, the tokenizer reads as the
    // standard's tokenizer alone does.
    bool followElements = true;
};

// Reads the chunk from its first character on, in `state`, which it leaves
// as it is after the last character read. It stops at the chunk's end, or
// once it is at or past `stopAt` (a document position) where nothing read
// is pending; it returns the index into the chunk where it stopped. CR, LF
// and CR LF are line breaks, as the input stream's preprocessing makes them.
// `sink` may be null.
int tokenizeHtml(const Chunk &chunk, int stopAt, SyntaxState &state, HtmlSink *sink, HtmlOptions options = {});

// The element a tag's name names (ASCII letters in any case).
HtmlElement htmlElement(QStringView name);

} // namespace syntax
