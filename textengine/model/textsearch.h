#pragma once

#include "textengine/model/searchpattern.h"

#include <QRegularExpressionMatch>
#include <optional>

namespace textengine {

class TextContent;

// A match: the characters [start, start + length) of the text.
struct TextMatch
{
    int start = 0;
    int length = 0;
    int end() const { return start + length; }
    bool operator==(const TextMatch &) const = default;
};

// Finds a pattern's matches in a text part by part, straight in the gap
// buffer's two pieces: a part is some lines (a megabyte or so, or a piece
// of a longer line), so that a search can stop after any part and go on
// later; only a part that the buffer's hole divides is copied. A part ends
// at a line boundary where it can, so that everything the expression looks
// at around a match is what the text holds there; where a match may run
// past a part's end (a cut line, a pattern with line breaks), the part
// grows until it holds the match. A match of a pattern that keeps within lines never
// holds a line break: one that would is looked for again within its line.
// Matches start and end where a caret may stand (never inside a CR LF pair
// or a cluster of characters). The text must not change while a search
// uses it.
class TextSearch
{
public:
    // Searches the characters [scopeStart, scopeEnd) as if they were the
    // whole text (scopeEnd -1: to the end).
    TextSearch(const TextContent &text, const SearchPattern &pattern, int scopeStart = 0, int scopeEnd = -1);

    int scopeStart() const { return m_scopeStart; }
    int scopeEnd() const { return m_scopeEnd; }

    // The first match that starts in [position, limit), where limit may be
    // scopeEnd() + 1 to take an empty match at the very end. It looks at
    // some `budget` characters; when it finds nothing in them it returns
    // nothing with `position` moved on, and the search goes on from there
    // (position >= limit: there is no match). After a match `position`
    // stands where the next one is looked for: at its end, or one step on
    // after an empty match. `details` gets the expression's groups, valid
    // until the next call.
    std::optional<TextMatch> next(int &position, int limit, qsizetype budget = -1,
                                  QRegularExpressionMatch *details = nullptr);
    // The last match that starts in [limit, position); by parts as next()
    // does, with `position` moving back.
    std::optional<TextMatch> previous(int &position, int limit, qsizetype budget = -1);

private:
    struct Part
    {
        int first = 0; // the first start looked at
        int base = 0;  // where the subject starts (some text before `first`)
        int end = 0;
        bool cut = false; // ends inside a line
        QStringView subject;
        QString copy; // the subject when the hole divides it
    };
    enum class Found { Match, None, Partial };

    // A part from `position` on to about `target`: the next line boundary,
    // or a cut inside a long line.
    void preparePart(int position, int target);
    QStringView textOf(int from, int to, QString &copy) const;
    QRegularExpressionMatch run(QStringView subject, int base, int from, bool partial) const;
    static Found foundIn(const QRegularExpressionMatch &match);
    // Looks for a match within the line of `start`; false when it holds none.
    bool searchLine(int start, QRegularExpressionMatch &match, int &matchStart);
    int lineBoundaryAfter(int position) const;
    bool isBoundary(int position) const;

    const TextContent &m_text;
    const SearchPattern &m_pattern;
    int m_scopeEnd;
    int m_scopeStart;
    Part m_part;
    QString m_lineCopy;
};

} // namespace textengine
