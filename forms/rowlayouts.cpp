#include "forms/rowlayouts.h"

#include "forms/charwidths.h"
#include "forms/textcontent.h"
#include "forms/wraplayout.h"

#include <cmath>
#include <cstdlib>

namespace forms {

namespace {

// Wrapped lines kept before the ones far from the view are dropped.
constexpr size_t keptLines = 4096;
constexpr int nearLines = 1024;

} // namespace

RowLayouts::RowLayouts(const TextContent &text, CharWidths &widths)
    : m_text(text)
    , m_widths(widths)
{
}

void RowLayouts::reset(qreal width)
{
    m_width = std::max<qreal>(width, 1);
    m_wrapped.clear();
    std::vector<int> counts(static_cast<size_t>(m_text.lineCount()));
    for (int line = 0; line < m_text.lineCount(); ++line)
        counts[static_cast<size_t>(line)] = estimate(line);
    m_counter.assign(std::move(counts));
}

const std::vector<int> &RowLayouts::rows(int line)
{
    auto it = m_wrapped.find(line);
    if (it == m_wrapped.end()) {
        it = m_wrapped
                 .emplace(line, wrapLine(m_text, m_text.lineStart(line), m_text.lineEnd(line), m_width, m_widths))
                 .first;
        m_counter.set(line, static_cast<int>(it->second.size()));
    }
    return it->second;
}

void RowLayouts::lineEdited(int line, int editOffset, int removed, int inserted)
{
    const auto it = m_wrapped.find(line);
    if (it == m_wrapped.end()) {
        m_counter.set(line, estimate(line));
        return;
    }
    rewrapAfterEdit(it->second, m_text, m_text.lineStart(line), m_text.lineEnd(line), editOffset, removed, inserted,
                    m_width, m_widths);
    m_counter.set(line, static_cast<int>(it->second.size()));
}

void RowLayouts::linesReplaced(int first, int oldCount, int newCount)
{
    const int delta = newCount - oldCount;
    std::unordered_map<int, std::vector<int>> kept;
    kept.reserve(m_wrapped.size());
    for (auto &[line, rows] : m_wrapped) {
        if (line < first)
            kept.emplace(line, std::move(rows));
        else if (line >= first + oldCount)
            kept.emplace(line + delta, std::move(rows));
    }
    m_wrapped.swap(kept);
    std::vector<int> counts(static_cast<size_t>(newCount));
    for (int i = 0; i < newCount; ++i)
        counts[static_cast<size_t>(i)] = estimate(first + i);
    m_counter.replace(first, oldCount, counts);
}

void RowLayouts::trim(int line)
{
    if (m_wrapped.size() <= keptLines)
        return;
    for (auto it = m_wrapped.begin(); it != m_wrapped.end();) {
        if (std::abs(it->first - line) > nearLines) {
            const int dropped = it->first;
            it = m_wrapped.erase(it);
            m_counter.set(dropped, estimate(dropped));
        } else {
            ++it;
        }
    }
}

int RowLayouts::estimate(int line) const
{
    const int length = m_text.lineEnd(line) - m_text.lineStart(line);
    const qreal pixels = length * m_widths.average();
    return std::max(1, static_cast<int>(std::ceil(pixels / m_width)));
}

} // namespace forms
