#pragma once

#include <QDeadlineTimer>
#include <optional>

namespace syntax {

class LineStates;
class TextSource;

struct TextRange
{
    int start = 0;
    int end = 0;
    bool operator==(const TextRange &) const = default;
};

// A bracket and its partner, or a tag's name and that of its partner tag.
struct MatchPair
{
    TextRange first;
    TextRange second;
    bool operator==(const MatchPair &) const = default;
};

// What the caret stands next to and its partner: in HTML, a tag's name
// that the caret is in and the name of the matching start or end tag
// (nesting as the tokens nest, void elements and self-closing tags
// skipped); otherwise a bracket ( ) [ ] { } at the caret or before it and
// its partner of the same kind, among the characters of the same colour
// role (a bracket in a comment or string matches only there). The search
// reads at most `bound` characters either way and reads the states on only
// until the deadline, so it never blocks typing; nothing when there is no
// partner within the bound or the states there are not known in time.
std::optional<MatchPair> findMatch(LineStates &states, const TextSource &text, int caret, int bound = 100000,
                                   QDeadlineTimer deadline = QDeadlineTimer(5));

} // namespace syntax
