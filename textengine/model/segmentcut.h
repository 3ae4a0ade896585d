#pragma once

namespace textengine {

class TextContent;

// Where a long line is cut into segments that are laid out apart, so that
// a keystroke lays out one segment and not megabytes. A cut at or after
// `from` (and, where the text allows, at or before `to`; both within one
// line) is sought in this order:
//  1. after a blank, before a letter of the same direction as the letter
//     before the blank: shaping never joins across a blank, and the
//     bidirectional order on both sides is that of the whole line;
//  2. after a blank, before anything but a blank, at a caret stop;
//  3. the first caret stop at or after `to`.
// Every cut is a caret stop (see CaretStops).
int segmentCut(const TextContent &text, int from, int to);

} // namespace textengine
