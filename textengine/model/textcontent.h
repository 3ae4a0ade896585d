#pragma once

#include "textengine/model/gapbuffer.h"
#include "textengine/model/lineindex.h"
#include "textengine/model/replacements.h"

#include <QString>
#include <array>
#include <utility>

namespace textengine {

// The text of a text view with its lines, and the caret positions it allows:
// the boundaries of what a reader sees as one character (a grapheme cluster:
// a letter with its marks, an emoji with its modifiers, a flag), never
// between CR and LF; see CaretStops for how they are found.
class TextContent
{
public:
    void setText(const QString &text);
    QString text() const { return m_buffer.text(); }
    // The text as two pieces, without a copy; valid until the next change.
    std::array<QStringView, 2> pieces() const { return {m_buffer.front(), m_buffer.back()}; }
    int size() const { return static_cast<int>(m_buffer.size()); }
    QChar at(int position) const { return m_buffer.at(position); }
    QString mid(int position, int length) const { return m_buffer.mid(position, length); }
    bool equals(QStringView text) const { return m_buffer.equals(text); }
    // Replaces `removed` characters at `position`; both are clamped into
    // the text.
    void replace(int position, int removed, QStringView inserted);
    // Makes all the replacements in one sweep through the text; the first
    // time it keeps the texts they remove in them, for revert().
    void replace(Replacements &replacements);
    void revert(const Replacements &replacements);

    int lineCount() const { return m_lines.count(); }
    int lineStart(int line) const { return m_lines.start(line); }
    // Where the line's characters end, before its line break.
    int lineEnd(int line) const;
    int lineLength(int line) const { return lineEnd(line) - lineStart(line); }
    int lineOf(int position) const { return m_lines.lineOf(position); }
    bool onlyCrLf() const { return m_lines.onlyCrLf(); }
    // Rewrites every line break as CR LF, keeping the lines' characters.
    void normalizeLineBreaks();

    // The nearest allowed caret position at or before `position`, in range.
    int snap(int position) const;
    // The nearest allowed caret position at or after `position`, in range.
    int snapForward(int position) const;
    // One step right or left in the text's order: one cluster, or one line
    // break whatever its characters. They visit the positions snap() and
    // snapForward() keep, and no others.
    int nextPosition(int position) const;
    int previousPosition(int position) const;
    int nextWordStart(int position) const;
    int previousWordStart(int position) const;
    // The word (or run of other characters) around `position`.
    std::pair<int, int> wordAt(int position) const;

    // The direction of the line as a paragraph: that of its first strong
    // character outside isolates (Unicode's rules P2 and P3, as Qt decides
    // automatically); left to right when it has none.
    Qt::LayoutDirection lineDirection(int line) const;
    // The bidirectional class of the character at `position`; both halves
    // of a surrogate pair give that of the pair, a lone one is neutral.
    QChar::Direction directionAt(int position) const;

private:
    void sweep(const Replacements &replacements, bool back, QString *removed);
    bool isWordChar(int position) const;

    GapBuffer m_buffer;
    LineIndex m_lines;
};

} // namespace textengine
