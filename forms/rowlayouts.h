#pragma once

#include "forms/rowcounter.h"

#include <QtGlobal>
#include <unordered_map>
#include <vector>

namespace forms {

class CharWidths;
class TextContent;

// The visual rows of a text's lines at one width. Lines are wrapped only when
// asked for (when they are shown or the caret moves through them); until
// then a line counts the rows its length suggests, so that opening a huge
// document wraps nothing but the first screen. The scroll bar counts these
// rows: exact for every line that was shown, estimated for the others.
class RowLayouts
{
public:
    RowLayouts(const TextContent &text, CharWidths &widths);

    // Forgets every wrapped line (new text, width or font).
    void reset(qreal width);
    qreal width() const { return m_width; }

    // Row starts of the line, relative to its start; wraps it if needed.
    const std::vector<int> &rows(int line);
    int rowCount(int line) { return static_cast<int>(rows(line).size()); }
    int totalRows() const { return m_counter.total(); }
    int firstRow(int line) const { return m_counter.firstRow(line); }
    int lineAtRow(int row) const { return m_counter.lineAtRow(row); }

    // The text changed inside one line; the number of lines stayed.
    void lineEdited(int line, int editOffset, int removed, int inserted);
    // Lines [first, first + oldCount) became [first, first + newCount).
    void linesReplaced(int first, int oldCount, int newCount);
    // Drops wrapped lines far from `line` once many are kept.
    void trim(int line);

private:
    int estimate(int line) const;

    const TextContent &m_text;
    CharWidths &m_widths;
    qreal m_width = 100;
    RowCounter m_counter;
    std::unordered_map<int, std::vector<int>> m_wrapped;
};

} // namespace forms
