#include "textengine/model/rowmap.h"

#include "textengine/model/segmentcut.h"
#include "textengine/model/textcontent.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <tuple>

namespace textengine {

namespace {

// Laid-out lines kept before the ones far from the view are dropped.
constexpr size_t keptLines = 4096;
constexpr int nearLines = 1024;
constexpr int far = std::numeric_limits<int>::max() / 2;

} // namespace

RowMap::RowMap(const TextContent &text, RowWrapper &wrapper)
    : m_text(text)
    , m_wrapper(wrapper)
{
}

void RowMap::reset()
{
    m_lines.clear();
    std::vector<int> counts(static_cast<size_t>(m_text.lineCount()));
    for (int line = 0; line < m_text.lineCount(); ++line)
        counts[static_cast<size_t>(line)] = estimateLine(line);
    m_counter.assign(std::move(counts));
}

int RowMap::estimateLine(int line) const
{
    return m_wrapper.estimate(m_text.lineLength(line));
}

RowMap::LineRows RowMap::fresh(int line) const
{
    LineRows rows;
    rows.direction = m_text.lineDirection(line);
    const int start = m_text.lineStart(line);
    const int length = m_text.lineLength(line);
    rows.segments.push_back({});
    if (length > longLine) {
        int from = 0;
        while (length - from > longLine) {
            from = segmentCut(m_text, start + from + shortestCut, start + from + longestCut) - start;
            rows.segments.push_back({from, 1, {}, 0});
        }
    }
    for (size_t i = 0; i < rows.segments.size(); ++i) {
        const int end = i + 1 < rows.segments.size() ? rows.segments[i + 1].start : length;
        rows.segments[i].estimate = m_wrapper.estimate(end - rows.segments[i].start);
    }
    return rows;
}

RowMap::LineRows &RowMap::entry(int line)
{
    auto it = m_lines.find(line);
    if (it == m_lines.end()) {
        it = m_lines.emplace(line, fresh(line)).first;
        countLine(line, it->second);
    }
    return it->second;
}

void RowMap::countLine(int line, const LineRows &rows)
{
    int total = 0;
    for (const SegmentRows &segment : rows.segments)
        total += segment.count();
    m_counter.set(line, total);
}

int RowMap::segmentEnd(int line, const LineRows &rows, int index) const
{
    const size_t next = static_cast<size_t>(index) + 1;
    return next < rows.segments.size() ? rows.segments[next].start : m_text.lineLength(line);
}

RowMap::SegmentRows &RowMap::laidOut(int line, int index)
{
    LineRows &rows = entry(line);
    SegmentRows &segment = rows.segments[static_cast<size_t>(index)];
    if (segment.rows.empty()) {
        const int start = m_text.lineStart(line);
        segment.key = ++m_nextKey;
        segment.rows
            = m_wrapper.wrap(start + segment.start, start + segmentEnd(line, rows, index), rows.direction, segment.key);
        if (segment.rows.empty())
            segment.rows.push_back(0);
        countLine(line, rows);
    }
    return segment;
}

int RowMap::segmentCount(int line)
{
    const auto it = m_lines.find(line);
    if (it != m_lines.end())
        return static_cast<int>(it->second.segments.size());
    if (m_text.lineLength(line) <= longLine)
        return 1;
    return static_cast<int>(entry(line).segments.size());
}

int RowMap::segmentOf(int line, int position)
{
    if (segmentCount(line) == 1)
        return 0;
    const std::vector<SegmentRows> &segments = entry(line).segments;
    const int offset = position - m_text.lineStart(line);
    const auto after = std::upper_bound(segments.begin(), segments.end(), offset,
                                        [](int value, const SegmentRows &segment) { return value < segment.start; });
    return std::max(0, static_cast<int>(after - segments.begin()) - 1);
}

Segment RowMap::segment(int line, int index)
{
    const SegmentRows &rows = laidOut(line, index);
    const LineRows &lineRows = m_lines.at(line);
    const int start = m_text.lineStart(line);
    return {start + rows.start, start + segmentEnd(line, lineRows, index), lineRows.direction, rows.key, &rows.rows};
}

int RowMap::lineRows(int line)
{
    const int segments = segmentCount(line);
    for (int i = 0; i < segments; ++i)
        laidOut(line, i);
    return m_counter.count(line);
}

int RowMap::rowNumber(Row row)
{
    int number = m_counter.firstRow(row.line) + row.index;
    const auto it = m_lines.find(row.line);
    if (it != m_lines.end()) {
        for (int i = 0; i < row.segment; ++i)
            number += it->second.segments[static_cast<size_t>(i)].count();
    }
    return number;
}

Row RowMap::rowAt(int number)
{
    const int line = m_counter.lineAtRow(std::max(0, number));
    int within = std::max(0, number - m_counter.firstRow(line));
    int index = 0;
    const int segments = segmentCount(line);
    if (segments > 1) {
        const LineRows &rows = entry(line);
        while (index + 1 < segments && within >= rows.segments[static_cast<size_t>(index)].count()) {
            within -= rows.segments[static_cast<size_t>(index)].count();
            ++index;
        }
    }
    return clamp({line, index, within});
}

Row RowMap::clamp(Row row)
{
    row.line = std::clamp(row.line, 0, m_text.lineCount() - 1);
    row.segment = std::clamp(row.segment, 0, segmentCount(row.line) - 1);
    const SegmentRows &rows = laidOut(row.line, row.segment);
    row.index = std::clamp(row.index, 0, rows.count() - 1);
    return row;
}

Row RowMap::rowOf(int position)
{
    const int line = m_text.lineOf(position);
    const int index = segmentOf(line, position);
    const SegmentRows &rows = laidOut(line, index);
    const int offset = position - m_text.lineStart(line) - rows.start;
    const auto after = std::upper_bound(rows.rows.begin(), rows.rows.end(), offset);
    return {line, index, std::max(0, static_cast<int>(after - rows.rows.begin()) - 1)};
}

int RowMap::rowStart(Row row)
{
    const SegmentRows &rows = laidOut(row.line, row.segment);
    return m_text.lineStart(row.line) + rows.start + rows.rows[static_cast<size_t>(row.index)];
}

int RowMap::rowEnd(Row row)
{
    const SegmentRows &rows = laidOut(row.line, row.segment);
    const size_t next = static_cast<size_t>(row.index) + 1;
    if (next < rows.rows.size())
        return m_text.lineStart(row.line) + rows.start + rows.rows[next];
    return m_text.lineStart(row.line) + segmentEnd(row.line, m_lines.at(row.line), row.segment);
}

bool RowMap::isLastInLine(Row row)
{
    return row.segment + 1 >= segmentCount(row.line) && row.index + 1 >= laidOut(row.line, row.segment).count();
}

bool RowMap::next(Row &row)
{
    if (row.index + 1 < laidOut(row.line, row.segment).count()) {
        ++row.index;
        return true;
    }
    if (row.segment + 1 < segmentCount(row.line)) {
        row = {row.line, row.segment + 1, 0};
        return true;
    }
    if (row.line + 1 >= m_text.lineCount())
        return false;
    row = {row.line + 1, 0, 0};
    return true;
}

bool RowMap::previous(Row &row)
{
    if (row.index > 0) {
        --row.index;
        return true;
    }
    if (row.segment > 0) {
        --row.segment;
    } else if (row.line > 0) {
        --row.line;
        row.segment = segmentCount(row.line) - 1;
    } else {
        return false;
    }
    row.index = laidOut(row.line, row.segment).count() - 1;
    return true;
}

int RowMap::distance(Row from, Row to, int near)
{
    const bool down = std::tie(from.line, from.segment) <= std::tie(to.line, to.segment);
    const Row &first = down ? from : to;
    const Row &last = down ? to : from;
    // Every segment has a row at least, so segments far apart are rows far
    // apart; near ones are laid out first so that the count is exact.
    if (last.line - first.line > near)
        return down ? far : -far;
    int segments = 0;
    for (int line = first.line; line <= last.line; ++line) {
        const int begin = line == first.line ? first.segment : 0;
        const int end = line == last.line ? last.segment : segmentCount(line) - 1;
        segments += end - begin + 1;
        if (segments > near + 2)
            return down ? far : -far;
    }
    for (int line = first.line; line <= last.line; ++line) {
        const int begin = line == first.line ? first.segment : 0;
        const int end = line == last.line ? last.segment : segmentCount(line) - 1;
        for (int segment = begin; segment <= end; ++segment)
            laidOut(line, segment);
    }
    return rowNumber(to) - rowNumber(from);
}

void RowMap::edited(int position, int removed, int inserted, int firstLine, int lastLine)
{
    const int oldLines = lastLine - firstLine + 1;
    const int newLines = oldLines + m_text.lineCount() - m_counter.lines();
    if (oldLines == 1 && newLines == 1) {
        // An LF typed after a lone CR joins the line break before the line,
        // which now starts after it: the line's own text lost nothing.
        const int offset = position - m_text.lineStart(firstLine);
        lineEdited(firstLine, std::max(0, offset), removed, inserted + std::min(0, offset));
    } else {
        linesReplaced(firstLine, oldLines, newLines);
    }
}

void RowMap::lineEdited(int line, int offset, int removed, int inserted)
{
    const auto it = m_lines.find(line);
    if (it == m_lines.end()) {
        m_counter.set(line, estimateLine(line));
        return;
    }
    LineRows &rows = it->second;
    const int length = m_text.lineLength(line);
    std::vector<SegmentRows> &segments = rows.segments;
    // A new direction changes every segment; a line that grew long or
    // became short again is cut anew.
    if (m_text.lineDirection(line) != rows.direction || (segments.size() == 1 && length > longLine)
        || (segments.size() > 1 && length <= longLine / 2)) {
        rows = fresh(line);
        countLine(line, rows);
        return;
    }
    // The segments the edit touched become one, which is cut again if it
    // grew long; the ones after it move by the change in length.
    const int delta = inserted - removed;
    auto holding = [&segments](int offset) {
        const auto after
            = std::upper_bound(segments.begin(), segments.end(), offset,
                               [](int value, const SegmentRows &segment) { return value < segment.start; });
        return std::max<std::ptrdiff_t>(0, after - segments.begin() - 1);
    };
    const std::ptrdiff_t first = holding(offset);
    const std::ptrdiff_t last = removed > 0 ? std::max(first, holding(offset + removed - 1)) : first;
    segments.erase(segments.begin() + first + 1, segments.begin() + last + 1);
    for (auto segment = segments.begin() + first + 1; segment != segments.end(); ++segment)
        segment->start += delta;
    const int start = segments[static_cast<size_t>(first)].start;
    const int end = segmentEnd(line, rows, static_cast<int>(first));
    std::vector<SegmentRows> replacement{{start, 1, {}, 0}};
    if (end - start > longLine) {
        const int lineStart = m_text.lineStart(line);
        int from = start;
        while (end - from > longLine) {
            from = segmentCut(m_text, lineStart + from + shortestCut, lineStart + from + longestCut) - lineStart;
            replacement.push_back({from, 1, {}, 0});
        }
    } else if (end == start && segments.size() > 1) {
        replacement.clear();
    }
    segments.erase(segments.begin() + first);
    segments.insert(segments.begin() + first, replacement.begin(), replacement.end());
    if (!segments.empty())
        segments.front().start = 0;
    for (size_t i = static_cast<size_t>(first); i < static_cast<size_t>(first) + replacement.size(); ++i)
        segments[i].estimate = m_wrapper.estimate(segmentEnd(line, rows, static_cast<int>(i)) - segments[i].start);
    countLine(line, rows);
}

void RowMap::linesReplaced(int first, int oldCount, int newCount)
{
    const int delta = newCount - oldCount;
    std::unordered_map<int, LineRows> kept;
    kept.reserve(m_lines.size());
    for (auto &[line, rows] : m_lines) {
        if (line < first)
            kept.emplace(line, std::move(rows));
        else if (line >= first + oldCount)
            kept.emplace(line + delta, std::move(rows));
    }
    m_lines.swap(kept);
    std::vector<int> counts(static_cast<size_t>(newCount));
    for (int i = 0; i < newCount; ++i)
        counts[static_cast<size_t>(i)] = estimateLine(first + i);
    m_counter.replace(first, oldCount, counts);
}

void RowMap::relayout(int position)
{
    const int line = m_text.lineOf(position);
    const auto it = m_lines.find(line);
    if (it == m_lines.end())
        return;
    SegmentRows &segment = it->second.segments[static_cast<size_t>(segmentOf(line, position))];
    segment.rows.clear();
    segment.key = 0;
    countLine(line, it->second);
}

void RowMap::relayout(int from, int to)
{
    for (auto &[line, rows] : m_lines) {
        const int start = m_text.lineStart(line);
        if (start >= to || m_text.lineEnd(line) < from)
            continue;
        bool changed = false;
        for (size_t i = 0; i < rows.segments.size(); ++i) {
            SegmentRows &segment = rows.segments[i];
            const int first = start + segment.start;
            const int last = start + segmentEnd(line, rows, static_cast<int>(i));
            if (segment.rows.empty() || first >= to || (last <= from && first < last))
                continue;
            segment.rows.clear();
            segment.key = 0;
            changed = true;
        }
        if (changed)
            countLine(line, rows);
    }
}

void RowMap::trim(int line)
{
    if (m_lines.size() <= keptLines)
        return;
    for (auto it = m_lines.begin(); it != m_lines.end();) {
        if (std::abs(it->first - line) > nearLines) {
            const int dropped = it->first;
            it = m_lines.erase(it);
            m_counter.set(dropped, estimateLine(dropped));
        } else {
            ++it;
        }
    }
}

} // namespace textengine
