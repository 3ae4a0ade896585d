#pragma once

#include "syntax/roles.h"
#include "syntax/syntaxstate.h"

#include <QDeadlineTimer>
#include <QString>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace syntax {

// The text that LineStates reads: its lines and characters.
class TextSource
{
public:
    virtual int textSize() const = 0;
    virtual int lineCount() const = 0;
    virtual int lineStart(int line) const = 0;
    virtual int lineOf(int position) const = 0;
    // The characters [from, to): a view into the text where they lie in one
    // piece, else a copy in `scratch`.
    virtual QStringView characters(int from, int to, QString &scratch) const = 0;

protected:
    ~TextSource() = default;
};

// The tokenizer's state at each line start, computed only as far as it is
// asked for and kept across edits: an edit reads on from its line until the
// state at a line start equals the one kept there, and everything after
// that stands. A long line keeps states inside it too, one every `stride`
// characters or so, so that a part of it far from its start is coloured
// without reading the line from its start.
class LineStates
{
public:
    static constexpr int stride = 4096;
    static constexpr int longLine = 2 * stride;

    explicit LineStates(const TextSource &text);

    Language language() const { return m_language; }
    // Forgets every state, as reset() does.
    void setLanguage(Language language);
    // Forgets every state (the text was replaced).
    void reset();
    // The text changed: `removed` characters at `position` became
    // `inserted`; they lay in the lines [firstLine, lastLine] before.
    void edited(int position, int removed, int inserted, int firstLine, int lastLine);

    // Reads on until the state near `position` is known or the deadline
    // passes; true when it is known.
    bool advance(int position, const QDeadlineTimer &deadline);
    bool isKnown(int position) const;
    // Appends the coloured spans of [from, to), which lie in one line,
    // clipped to it; false, with nothing appended, while the state there is
    // not known: the range then counts as changed once it is.
    // It reads on toward `from` until the deadline first.
    bool spans(int from, int to, std::vector<RoleSpan> &spans, const QDeadlineTimer &deadline);
    // The nearest pause at or before a known position, with the state
    // there; nothing while the position is not known.
    std::optional<std::pair<int, SyntaxState>> stateAt(int position) const;
    // The text whose colours may differ from those given out for it, as
    // [from, to); empty when none. Takes it: the next call reports only
    // what changed since.
    std::pair<int, int> takeChanged();

private:
    struct Checkpoint
    {
        int offset = 0; // from the line's start
        SyntaxState state;
    };
    // The states inside a long line: the first `valid` are right; the rest
    // were right before an edit and serve to see where the states agree
    // again, from `floor` on.
    struct Inner
    {
        std::vector<Checkpoint> points;
        size_t valid = 0;
        int floor = 0;
        bool complete = false;      // the valid points reach the line's end
        bool staleComplete = false; // and so did the others
        bool rereading = false;     // after an edit in the line, until they agree
    };

    // Where the line's next line starts, or the text's end.
    int lineEnd(int line) const;
    // Where the text read over since the last edit ends.
    int verifiedEnd() const;
    bool isLong(int line) const { return lineEnd(line) - m_text.lineStart(line) > longLine; }
    void step();
    void stepLongLine(int line);
    void finishLine(int line, const SyntaxState &state);
    void markChanged(int from, int to);
    void setValid(int valid);
    // The nearest known state at or before `position` in its line.
    std::pair<int, SyntaxState> stateBefore(int line, int position) const;
    // Reads from `position` in `state`, stopping at a pause at or after
    // `stopAt` (or the line's end); returns where it stopped.
    int read(int line, int position, int stopAt, SyntaxState &state, std::vector<RoleSpan> *spans);

    const TextSource &m_text;
    Language m_language = Language::Plain;
    std::vector<SyntaxState> m_states; // at line starts; computed ones
    int m_valid = 1;                   // leading entries that are right
    int m_floor = 0;                   // agreeing again counts from this line on
    std::unordered_map<int, Inner> m_inner;
    int m_lines = 1; // as the last edit left them
    std::pair<int, int> m_changed{0, 0};
    // Text given out without colours while its state was unknown.
    std::vector<std::pair<int, int>> m_waiting;
    bool m_edited = false;
    QString m_scratch;
};

} // namespace syntax
