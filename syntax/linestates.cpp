#include "syntax/linestates.h"

#include "syntax/highlighter.h"

#include <algorithm>

namespace syntax {

namespace {

// A pause this far before the end of the text read is certain: nothing
// decided before it looked further ahead.
constexpr int margin = 64;
// Short lines are read in pieces of about this many characters.
constexpr int batch = 65536;

std::pair<int, int> unite(std::pair<int, int> a, std::pair<int, int> b)
{
    if (a.first >= a.second)
        return b;
    if (b.first >= b.second)
        return a;
    return {std::min(a.first, b.first), std::max(a.second, b.second)};
}

// Where a range of the text before an edit lies after it, stretched over
// the edit where they meet.
std::pair<int, int> shifted(std::pair<int, int> range, int position, int removed, int inserted)
{
    const int delta = inserted - removed;
    auto start = [&](int at) { return at <= position ? at : at >= position + removed ? at + delta : position; };
    auto end = [&](int at) {
        return at <= position ? at : at >= position + removed ? at + delta : position + inserted;
    };
    return {start(range.first), std::max(start(range.first), end(range.second))};
}

} // namespace

LineStates::LineStates(const TextSource &text)
    : m_text(text)
{
    reset();
}

void LineStates::setLanguage(Language language)
{
    m_language = language;
    reset();
}

void LineStates::reset()
{
    m_states.assign(1, SyntaxState::start(m_language));
    m_valid = 1;
    m_floor = 0;
    m_inner.clear();
    m_lines = m_text.lineCount();
    m_changed = {0, 0};
    m_waiting.clear();
    m_edited = false;
}

int LineStates::lineEnd(int line) const
{
    return line + 1 < m_text.lineCount() ? m_text.lineStart(line + 1) : m_text.textSize();
}

void LineStates::edited(int position, int removed, int inserted, int firstLine, int lastLine)
{
    // What was changed or waited for before moves with the text; what this
    // edit changes is marked below, where the text is already the new one.
    m_changed = shifted(m_changed, position, removed, inserted);
    for (std::pair<int, int> &range : m_waiting)
        range = shifted(range, position, removed, inserted);
    const int lines = m_text.lineCount();
    const int delta = lines - m_lines;
    m_lines = lines;
    // Taking a CR from a CR LF at a line's start joins the CR ending the line
    // before with its LF: that line counts as edited too.
    if (firstLine > 0 && lastLine + delta < firstLine)
        firstLine = lastLine + delta;
    const int newLast = lastLine + delta;

    // A long line edited in itself keeps the states before the edit, and
    // those after it to compare with. Without any, or when it is no longer
    // long and keeps none, the colours of the rest of the line may change.
    const bool inLine = firstLine == lastLine && delta == 0;
    const bool wasLong = inLine && lineEnd(firstLine) - m_text.lineStart(firstLine) - (inserted - removed) > longLine;
    if (inLine && (isLong(firstLine) ? !m_inner.count(firstLine) : wasLong))
        markChanged(std::max(m_text.lineStart(firstLine), position - margin), lineEnd(firstLine));
    std::unordered_map<int, Inner> inner;
    for (auto &[line, states] : m_inner) {
        if (line < firstLine) {
            inner.emplace(line, std::move(states));
        } else if (line > lastLine) {
            inner.emplace(line + delta, std::move(states));
        } else if (line == firstLine && isLong(line)) {
            const int offset = position - m_text.lineStart(line);
            const bool inLine = firstLine == lastLine && delta == 0;
            // States left unchecked after an earlier edit are of no use once
            // states checked since lie after this edit.
            const bool stale = states.valid < states.points.size();
            const bool unchecked
                = stale && states.valid > 0 && states.points[states.valid - 1].offset > offset - margin;
            Inner kept;
            for (size_t i = 0; i < states.points.size() && (i < states.valid || !unchecked); ++i) {
                Checkpoint point = states.points[i];
                if (point.offset <= offset - margin) {
                    kept.points.push_back(point);
                    if (i < states.valid)
                        kept.valid = kept.points.size();
                } else if (inLine && point.offset >= offset + removed) {
                    point.offset += inserted - removed;
                    kept.points.push_back(point);
                }
            }
            // Agreeing counts only after every edit not yet read over.
            int floor = stale && !unchecked ? states.floor : 0;
            if (floor >= offset + removed)
                floor += inserted - removed;
            kept.floor = std::max(floor, offset + inserted);
            kept.rereading = inLine;
            kept.staleComplete = inLine && !unchecked && (stale ? states.staleComplete : states.complete);
            // Up to the first state kept after the edit, the colours of the
            // rest of the line may change.
            if (inLine) {
                const auto after
                    = std::find_if(kept.points.begin(), kept.points.end(),
                                   [&kept](const Checkpoint &point) { return point.offset >= kept.floor; });
                const int start = m_text.lineStart(line);
                markChanged(std::max(start, position - margin),
                            after != kept.points.end() ? start + after->offset : lineEnd(line));
            }
            if (!kept.points.empty())
                inner.emplace(line, std::move(kept));
        }
    }
    m_inner.swap(inner);

    // The line starts after the edit keep their states, to compare with;
    // but not those left unchecked after an earlier edit when states
    // checked since lie after this one.
    const bool unchecked = firstLine + 1 < m_valid && m_valid < static_cast<int>(m_states.size());
    if (unchecked)
        m_states.resize(static_cast<size_t>(m_valid));
    const int computed = static_cast<int>(m_states.size());
    if (computed > lastLine + 1) {
        m_states.erase(m_states.begin() + firstLine + 1, m_states.begin() + lastLine + 1);
        m_states.insert(m_states.begin() + firstLine + 1, static_cast<size_t>(newLast - firstLine), SyntaxState());
    } else if (computed > firstLine + 1) {
        m_states.resize(static_cast<size_t>(firstLine) + 1);
    }
    m_valid = std::min(m_valid, firstLine + 1);
    m_floor = unchecked ? newLast + 1 : std::max(m_floor > lastLine ? m_floor + delta : m_floor, newLast + 1);

    m_edited = true;
}

// Known: a state at or after the position is, so that everything before
// it has been read over since the last edit.
bool LineStates::isKnown(int position) const
{
    if (m_language == Language::Plain)
        return true;
    const int line = m_text.lineOf(std::clamp(position, 0, m_text.textSize()));
    if (line >= m_valid)
        return false;
    if (!isLong(line))
        return true;
    const auto it = m_inner.find(line);
    if (it == m_inner.end())
        return false;
    const Inner &inner = it->second;
    if (inner.complete)
        return true;
    return inner.valid > 0 && position - m_text.lineStart(line) < inner.points[inner.valid - 1].offset;
}

int LineStates::verifiedEnd() const
{
    const int line = m_valid - 1;
    const auto it = m_inner.find(line);
    if (!isLong(line) || (it != m_inner.end() && it->second.complete))
        return lineEnd(line);
    const int start = m_text.lineStart(line);
    return it == m_inner.end() || it->second.valid == 0 ? start
                                                        : start + it->second.points[it->second.valid - 1].offset;
}

bool LineStates::advance(int position, const QDeadlineTimer &deadline)
{
    while (!isKnown(position)) {
        if (deadline.hasExpired())
            return false;
        const int line = m_text.lineOf(std::clamp(position, 0, m_text.textSize()));
        if (line < m_valid - 1)
            stepLongLine(line);
        else
            step();
    }
    return true;
}

void LineStates::setValid(int valid)
{
    m_valid = valid;
    if (valid >= static_cast<int>(m_states.size()))
        m_floor = 0;
}

// Reads the line after the last one whose start state is known: whole
// short lines, a few of them from one piece of text, or a stride of a long
// one.
void LineStates::step()
{
    const int first = m_valid - 1;
    if (isLong(first)) {
        stepLongLine(first);
        return;
    }
    const int lines = m_text.lineCount();
    const int from = m_text.lineStart(first);
    int last = first;
    while (last + 1 < lines && last - first < 1024 && !isLong(last + 1) && lineEnd(last + 1) - from <= batch)
        ++last;
    const int to = lineEnd(last);
    const QStringView text = m_text.characters(from, to, m_scratch);
    SyntaxState state = m_states[static_cast<size_t>(first)];
    for (int line = first; line <= last; ++line) {
        const int start = m_text.lineStart(line);
        const int end = lineEnd(line);
        // Only the last line ends the input: a text that ends with a line
        // break has an empty line after it, whose start state must be that
        // of a comment or string left open.
        highlight(m_language, {text.sliced(start - from, end - start), start, line + 1 == lines}, INT_MAX, state,
                  nullptr);
        if (line + 1 >= lines)
            return;
        const int valid = m_valid;
        finishLine(line + 1, state);
        // Agreeing again makes everything after it stand.
        if (m_valid != line + 2 || valid != line + 1)
            return;
    }
}

void LineStates::stepLongLine(int line)
{
    Inner &inner = m_inner[line];
    const int start = m_text.lineStart(line);
    const int end = lineEnd(line);
    int position = start;
    SyntaxState state = m_states[static_cast<size_t>(line)];
    if (inner.valid > 0) {
        position += inner.points[inner.valid - 1].offset;
        state = inner.points[inner.valid - 1].state;
    }
    const int stopped = read(line, position, position + stride, state, nullptr);
    // Read again after an edit, the text's colours may differ from those of
    // before until the states agree again.
    const bool again = inner.rereading;
    if (stopped >= end) {
        if (again)
            markChanged(position, end);
        inner.rereading = false;
        inner.points.resize(inner.valid);
        inner.complete = true;
        if (line + 1 < m_text.lineCount() && line + 1 == m_valid)
            finishLine(line + 1, state);
        return;
    }
    const int offset = stopped - start;
    // Points of before the edit that lie before this one are of no use.
    auto next = inner.points.begin() + static_cast<std::ptrdiff_t>(inner.valid);
    next = inner.points.erase(next, std::find_if(next, inner.points.end(), [offset](const Checkpoint &point) {
                                  return point.offset >= offset;
                              }));
    if (again)
        markChanged(position, stopped);
    if (next != inner.points.end() && next->offset == offset && next->state == state && offset >= inner.floor) {
        // The states agree again: the rest of the line stands.
        inner.valid = inner.points.size();
        inner.complete = inner.staleComplete;
        inner.rereading = false;
        // Its end stands only where the states of before reached it.
        if (inner.complete && line + 1 == m_valid && line + 1 < static_cast<int>(m_states.size()))
            setValid(line + 1 >= m_floor ? static_cast<int>(m_states.size()) : line + 2);
        return;
    }
    inner.points.insert(next, {offset, state});
    ++inner.valid;
}

void LineStates::finishLine(int line, const SyntaxState &state)
{
    const auto index = static_cast<size_t>(line);
    if (index < m_states.size()) {
        const bool same = m_states[index] == state;
        if (same && line >= m_floor) {
            setValid(static_cast<int>(m_states.size()));
            return;
        }
        // A line whose text stands keeps its states inside as long as its
        // start state does.
        if (!same) {
            markChanged(m_text.lineStart(line), lineEnd(line));
            m_inner.erase(line);
        }
        m_states[index] = state;
    } else {
        m_states.push_back(state);
        m_inner.erase(line);
    }
    setValid(line + 1);
}

void LineStates::markChanged(int from, int to)
{
    m_changed = unite(m_changed, {from, to});
}

int LineStates::read(int line, int position, int stopAt, SyntaxState &state, std::vector<RoleSpan> *spans)
{
    const int end = lineEnd(line);
    const bool final = line + 1 == m_text.lineCount();
    qint64 window = std::max<qint64>(qint64(stopAt) - position, 0) + 4 * stride;
    for (;;) {
        const int chunkEnd = static_cast<int>(std::min<qint64>(end, position + window));
        const QStringView text = m_text.characters(position, chunkEnd, m_scratch);
        SyntaxState read = state;
        const size_t count = spans ? spans->size() : 0;
        const int stopped
            = position + highlight(m_language, {text, position, final && chunkEnd == end}, stopAt, read, spans);
        if (chunkEnd == end || stopped + margin <= chunkEnd) {
            state = read;
            return stopped;
        }
        if (spans)
            spans->resize(count);
        window *= 2;
    }
}

std::pair<int, SyntaxState> LineStates::stateBefore(int line, int position) const
{
    const int start = m_text.lineStart(line);
    std::pair<int, SyntaxState> before{start, m_states[static_cast<size_t>(line)]};
    const auto it = m_inner.find(line);
    if (it == m_inner.end())
        return before;
    const Inner &inner = it->second;
    for (size_t i = 0; i < inner.valid && start + inner.points[i].offset <= position; ++i)
        before = {start + inner.points[i].offset, inner.points[i].state};
    return before;
}

bool LineStates::spans(int from, int to, std::vector<RoleSpan> &spans, const QDeadlineTimer &deadline)
{
    if (m_language == Language::Plain)
        return true;
    if (!advance(from, deadline)) {
        m_waiting.emplace_back(from, to);
        return false;
    }
    const int line = m_text.lineOf(from);
    auto [position, state] = stateBefore(line, from);
    const size_t first = spans.size();
    read(line, position, isLong(line) ? to : INT_MAX, state, &spans);
    // Only what lies in [from, to), cut to it.
    auto kept = spans.begin() + static_cast<std::ptrdiff_t>(first);
    for (auto it = kept; it != spans.end(); ++it) {
        if (it->end <= from || it->start >= to)
            continue;
        *kept++ = {std::max(it->start, from), std::min(it->end, to), it->role};
    }
    spans.erase(kept, spans.end());
    return true;
}

std::optional<std::pair<int, SyntaxState>> LineStates::stateAt(int position) const
{
    if (!isKnown(position))
        return std::nullopt;
    return stateBefore(m_text.lineOf(position), position);
}

std::pair<int, int> LineStates::takeChanged()
{
    // After an edit, what lies past the text read over since may keep the
    // colours of before; it counts as changed once.
    if (m_edited) {
        m_edited = false;
        const auto it = m_inner.find(m_valid - 1);
        const bool stale = m_valid < static_cast<int>(m_states.size()) || (it != m_inner.end() && it->second.rereading);
        if (stale)
            markChanged(verifiedEnd(), m_text.textSize());
    }
    for (auto it = m_waiting.begin(); it != m_waiting.end();) {
        if (isKnown(it->first)) {
            markChanged(it->first, it->second);
            it = m_waiting.erase(it);
        } else {
            ++it;
        }
    }
    const std::pair<int, int> changed = m_changed;
    m_changed = {0, 0};
    return changed;
}

} // namespace syntax
