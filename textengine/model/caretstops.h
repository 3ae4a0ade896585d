#pragma once

#include <QTextBoundaryFinder>

#include <map>

namespace textengine {

class TextContent;

// The caret stops of one line: the boundaries of what a reader sees as one
// character (a grapheme cluster), the line's start and its end.
//
// Qt's boundary finder judges the clusters, on a window of the line that
// starts where a boundary is certain whatever came before (an anchor: the
// line's start, or two characters no cluster rule can join). Its answer is
// then held to what a cluster is in any context, since Qt 6.4 splits
// clusters where an emoji or a sign stands next to an Indic script, and
// before some Myanmar marks: no stop falls inside a surrogate pair, where
// joined() says so, or inside a pair of regional indicators (counted from
// the start of their run).
//
// The line is judged in chunks of `reach` characters, each on a window
// from the last anchor within `reach` before it. A chunk without one starts
// at a forced stop, so that a pathological cluster (thousands of marks,
// hundreds of flags) is stepped through in pieces and no step scans it
// whole. Every query thus judges a position the same way, wherever it came
// from.
//
// An object serves the queries of a moment: it keeps the window it judged
// last, and is useless once the text changes.
class CaretStops
{
public:
    static constexpr int reach = 1024;

    CaretStops(const TextContent &text, int line);

    // Whether a cluster goes on from one character into the next in any
    // context: before what extends a cluster (a mark, a joiner, a variation
    // selector, an emoji modifier or tag), after a zero-width joiner or a
    // prepended sign.
    static bool joined(char32_t before, char32_t after);

    int first() const { return m_first; }
    int last() const { return m_last; }
    // For positions from first() to last().
    bool isStop(int position);
    int atOrBefore(int position);
    int atOrAfter(int position);

private:
    struct ChunkStart
    {
        int window;  // where the chunk's window starts
        bool forced; // the chunk's first position is a stop for want of an anchor
    };

    char32_t codePointBefore(int position) const;
    char32_t codePointAt(int position) const;
    bool isAnchor(int position) const;
    int chunkStart(int chunk) const;
    int chunkOf(int position) const;
    const ChunkStart &startOf(int chunk);
    bool isForced(int position);
    bool pairsEvenly(int position);
    bool judged(int position, int chunk);

    const TextContent &m_text;
    int m_first;
    int m_last;
    std::map<int, ChunkStart> m_starts;
    QTextBoundaryFinder m_finder;
    int m_judgedChunk = -1;
    int m_windowStart = 0;
};

} // namespace textengine
