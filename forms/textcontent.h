#pragma once

#include "forms/gapbuffer.h"
#include "forms/lineindex.h"

#include <QString>
#include <array>
#include <utility>

namespace forms {

// The text of a text view with its lines, and the caret positions it allows:
// never between CR and LF, never inside a surrogate pair.
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
    void replace(int position, int removed, QStringView inserted);

    int lineCount() const { return m_lines.count(); }
    int lineStart(int line) const { return m_lines.start(line); }
    // Where the line's characters end, before its line break.
    int lineEnd(int line) const;
    int lineOf(int position) const { return m_lines.lineOf(position); }
    bool onlyCrLf() const { return m_lines.onlyCrLf(); }
    // Rewrites every line break as CR LF, keeping the lines' characters.
    void normalizeLineBreaks();

    // The nearest allowed caret position at or before `position`, in range.
    int snap(int position) const;
    // One step right or left: a CR LF pair, a surrogate pair and a character
    // with its combining marks count as one step.
    int nextPosition(int position) const;
    int previousPosition(int position) const;
    // What Backspace removes: one code point, or a whole line break.
    int previousCodePoint(int position) const;
    int nextWordStart(int position) const;
    int previousWordStart(int position) const;
    // The word (or run of other characters) around `position`.
    std::pair<int, int> wordAt(int position) const;

private:
    bool isWordChar(int position) const;

    GapBuffer m_buffer;
    LineIndex m_lines;
};

// The text with every CR LF, lone CR and lone LF replaced by CR LF.
QString withCrLf(QStringView text);

} // namespace forms
