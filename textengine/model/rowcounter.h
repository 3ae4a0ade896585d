#pragma once

#include <cstddef>
#include <vector>

namespace textengine {

// Visual rows per line with prefix sums (a Fenwick tree): which line holds
// the n-th row of the document, and where a line's first row is, both in
// O(log lines) however many lines there are.
class RowCounter
{
public:
    void assign(std::vector<int> counts);
    // Replaces the counts of `oldCount` lines from `first` on by `counts`.
    void replace(int first, int oldCount, const std::vector<int> &counts);
    void set(int line, int count);

    int lines() const { return static_cast<int>(m_counts.size()); }
    int count(int line) const { return m_counts[static_cast<size_t>(line)]; }
    int total() const { return m_total; }
    // Rows before the line.
    int firstRow(int line) const;
    // The line that holds the row (clamped into the document).
    int lineAtRow(int row) const;

private:
    void build();

    std::vector<int> m_counts;
    std::vector<int> m_tree;
    int m_total = 0;
};

} // namespace textengine
