#include "textengine/model/rowcounter.h"

#include <algorithm>
#include <numeric>

namespace textengine {

void RowCounter::assign(std::vector<int> counts)
{
    m_counts = std::move(counts);
    build();
}

void RowCounter::replace(int first, int oldCount, const std::vector<int> &counts)
{
    const auto at = m_counts.begin() + first;
    if (static_cast<size_t>(oldCount) == counts.size()) {
        std::copy(counts.begin(), counts.end(), at);
    } else {
        const auto after = m_counts.erase(at, at + oldCount);
        m_counts.insert(after, counts.begin(), counts.end());
    }
    build();
}

void RowCounter::set(int line, int count)
{
    int &current = m_counts[static_cast<size_t>(line)];
    const int delta = count - current;
    if (delta == 0)
        return;
    current = count;
    m_total += delta;
    for (size_t i = static_cast<size_t>(line) + 1; i <= m_counts.size(); i += i & (~i + 1))
        m_tree[i] += delta;
}

int RowCounter::firstRow(int line) const
{
    int sum = 0;
    for (size_t i = static_cast<size_t>(std::clamp(line, 0, lines())); i > 0; i -= i & (~i + 1))
        sum += m_tree[i];
    return sum;
}

int RowCounter::lineAtRow(int row) const
{
    if (m_counts.empty() || row <= 0)
        return 0;
    // The largest prefix whose sum stays at or below `row`.
    size_t position = 0;
    int remaining = row;
    size_t step = 1;
    while (step * 2 <= m_counts.size())
        step *= 2;
    for (; step > 0; step /= 2) {
        const size_t next = position + step;
        if (next <= m_counts.size() && m_tree[next] <= remaining) {
            position = next;
            remaining -= m_tree[next];
        }
    }
    return std::min(static_cast<int>(position), lines() - 1);
}

void RowCounter::build()
{
    const size_t n = m_counts.size();
    m_tree.assign(n + 1, 0);
    for (size_t i = 1; i <= n; ++i) {
        m_tree[i] += m_counts[i - 1];
        const size_t parent = i + (i & (~i + 1));
        if (parent <= n)
            m_tree[parent] += m_tree[i];
    }
    m_total = std::accumulate(m_counts.begin(), m_counts.end(), 0);
}

} // namespace textengine
