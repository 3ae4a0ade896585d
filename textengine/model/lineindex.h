#pragma once

#include <cstddef>
#include <vector>

namespace textengine {

class GapBuffer;

// Where the lines of a text start. CR LF, a lone CR and a lone LF each end a
// line. Offsets are kept in one sorted array: an edit shifts the entries
// after it, which costs about a millisecond for two million lines.
class LineIndex
{
public:
    void rebuild(const GapBuffer &text);
    // Brings the index up to date after `removed` characters at `position`
    // were replaced by `inserted` characters; `text` is the text afterwards.
    void update(const GapBuffer &text, int position, int removed, int inserted);

    int count() const { return static_cast<int>(m_starts.size()); }
    int start(int line) const { return m_starts[static_cast<size_t>(line)]; }
    // The line that holds `position` (the last one starting at or before it).
    int lineOf(int position) const;
    // False once a lone CR or lone LF was seen, by the last rebuild or an
    // update since.
    bool onlyCrLf() const { return m_onlyCrLf; }

private:
    std::vector<int> m_starts{0};
    bool m_onlyCrLf = true;
};

} // namespace textengine
