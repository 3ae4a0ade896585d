#pragma once

#include <QRegularExpression>
#include <QString>
#include <span>

namespace textengine {

// A character and the HTML named reference that stands for it, as "ä" and
// "&auml;".
struct CharacterEntity
{
    char16_t character;
    QStringView reference;
};

struct SearchOptions
{
    bool caseSensitive = false;
    bool wholeWords = false;
    bool regularExpression = false;
    // Characters that also match their references, named and numeric
    // (&auml; &#228; &#xE4;), in the text and in what is searched for.
    std::span<const CharacterEntity> entities;
};

// What is searched for, as one of Qt's regular expressions (PCRE2, compiled
// to machine code) over the pane's text:
// - case-insensitive unless asked otherwise, with the German rules: an
//   umlaut matches its capital, and ß, ẞ and "ss" match each other;
// - whole words with Unicode's word characters (letters, digits, marks and
//   "_"), so that an umlaut or ß is part of a word;
// - "^" and "$" at every line's start and end, "\n" matching a line break
//   (CR LF counts as one) and "." no line break;
// - with entities, a character of the table and each of its references
//   match each other, also inside a regular expression (outside [...]).
class SearchPattern
{
public:
    SearchPattern() = default;
    SearchPattern(const QString &text, const SearchOptions &options);

    // Nothing to search for: an empty text, or an invalid expression.
    bool isEmpty() const { return m_empty; }
    bool isValid() const { return m_error.isEmpty(); }
    // Why an expression is invalid (in the language of Qt's translations)
    // and where, counted in characters of the text as typed; -1 for unknown.
    QString errorString() const { return m_error; }
    int errorOffset() const { return m_errorOffset; }

    const QRegularExpression &expression() const { return m_expression; }
    // A match may run over line breaks (the expression holds "\n", "\r" or
    // "\R"); otherwise every match lies within one line.
    bool spansLines() const { return m_spansLines; }

private:
    QRegularExpression m_expression;
    QString m_error;
    int m_errorOffset = -1;
    bool m_spansLines = false;
    bool m_empty = true;
};

// The text that replaces a match. Taken as typed, or for a regular
// expression with \0 to \9 and $0 to $9 standing for what the groups
// matched, \n for a line break, \t for a tab, \\ and $$ for \ and $.
class ReplacementText
{
public:
    ReplacementText() = default;
    ReplacementText(const QString &typed, bool expandGroups);

    // The text alone, when it depends on no match (else an empty view).
    bool isFixed() const { return m_fixed; }
    QStringView fixedText() const { return m_fixed ? QStringView(m_literal) : QStringView(); }
    // Writes the text for this match into `out` (emptied first).
    void build(QString &out, const QRegularExpressionMatch &match) const;

private:
    // Pieces of `m_literal` and group numbers in turn.
    struct Piece
    {
        int from = 0;
        int length = 0;
        int group = -1;
    };
    QString m_literal;
    QList<Piece> m_pieces;
    bool m_fixed = true;
};

} // namespace textengine
