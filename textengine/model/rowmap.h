#pragma once

#include "textengine/model/rowcounter.h"

#include <QtGlobal>
#include <qnamespace.h>
#include <unordered_map>
#include <vector>

namespace textengine {

class TextContent;

// Lays out a piece of a line as one paragraph (the view does it with Qt's
// text stack) and guesses the rows of pieces not laid out yet.
class RowWrapper
{
public:
    // Where the rows of the characters [from, to) start, relative to
    // `from`; the first is 0. `key` names this layout until the piece or
    // its look changes, so that the view can keep it for drawing.
    virtual std::vector<int> wrap(int from, int to, Qt::LayoutDirection direction, quint64 key) = 0;
    // Rows that `length` characters probably take; at least one.
    virtual int estimate(int length) const = 0;

protected:
    ~RowWrapper() = default;
};

// A visual row: the index-th row of a segment of a line.
struct Row
{
    int line = 0;
    int segment = 0;
    int index = 0;
    bool operator==(const Row &) const = default;
};

// A laid-out segment of a line: the characters [from, to).
struct Segment
{
    int from = 0;
    int to = 0;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    quint64 key = 0;
    // Row starts relative to `from`; valid until the map changes.
    const std::vector<int> *rows = nullptr;
};

// The visual rows of a text at one width. Lines are laid out only when
// asked for (when shown, or when the caret moves through them); until then
// a line counts the rows its length suggests, so that opening a huge
// document lays out nothing but the first screen. The scroll bar counts
// these rows: exact for what was laid out, estimated for the rest.
//
// A line longer than `longLine` characters is cut into segments of some
// thousands of characters (see segmentCut) that are laid out apart and
// each begin a row, so that a keystroke in a line of megabytes lays out one
// segment, and the segments far from the view are never laid out at all.
class RowMap
{
public:
    static constexpr int longLine = 12288;
    static constexpr int shortestCut = 4096;
    static constexpr int longestCut = 8192;

    RowMap(const TextContent &text, RowWrapper &wrapper);

    // Forgets every layout (new text, width or font).
    void reset();

    int totalRows() const { return m_counter.total(); }
    // Rows above the row in the document, estimates included.
    int rowNumber(Row row);
    // The row with that number, clamped into the document.
    Row rowAt(int number);
    Row rowOf(int position);
    // The row moved into the text (lines, segments and rows that exist).
    Row clamp(Row row);
    int rowStart(Row row);
    // Where the next row of the line starts, or the line's end.
    int rowEnd(Row row);
    bool isLastInLine(Row row);
    bool next(Row &row);
    bool previous(Row &row);
    // Rows from one row down to another (negative: up), exact when they are
    // at most about `near` segments apart; otherwise a large number.
    int distance(Row from, Row to, int near);

    int segmentCount(int line);
    int segmentOf(int line, int position);
    Segment segment(int line, int index);
    // Every row of the line (lays out all of it).
    int lineRows(int line);

    // The text changed: `removed` characters at `position` became
    // `inserted`; they lay in the lines [firstLine, lastLine] before.
    void edited(int position, int removed, int inserted, int firstLine, int lastLine);
    // The segment that holds `position` is laid out anew; its text is the
    // same, its look is not (an input method's composition).
    void relayout(int position);
    // Likewise every segment laid out over any of the characters [from, to)
    // (their colours changed), when next needed.
    void relayout(int from, int to);
    // Drops laid-out lines far from `line` once many are kept.
    void trim(int line);

private:
    struct SegmentRows
    {
        int start = 0; // relative to the line's start
        int estimate = 1;
        std::vector<int> rows; // empty until laid out
        quint64 key = 0;
        int count() const { return rows.empty() ? estimate : static_cast<int>(rows.size()); }
    };
    struct LineRows
    {
        std::vector<SegmentRows> segments;
        Qt::LayoutDirection direction = Qt::LeftToRight;
    };

    LineRows &entry(int line);
    LineRows fresh(int line) const;
    SegmentRows &laidOut(int line, int index);
    int segmentEnd(int line, const LineRows &rows, int index) const;
    void countLine(int line, const LineRows &rows);
    int estimateLine(int line) const;
    void lineEdited(int line, int offset, int removed, int inserted);
    void linesReplaced(int first, int oldCount, int newCount);

    const TextContent &m_text;
    RowWrapper &m_wrapper;
    RowCounter m_counter;
    std::unordered_map<int, LineRows> m_lines;
    quint64 m_nextKey = 0;
};

} // namespace textengine
