#pragma once

#include <QtGlobal>
#include <vector>

namespace forms {

class CharWidths;
class TextContent;

// One character as the view places it: a code point (a surrogate pair counts
// as one) with the combining marks that follow it.
struct Cluster
{
    int length;
    qreal advance;
    char32_t codePoint;
};

// The cluster at `position`, which starts `x` pixels into its row (tabs
// depend on it); `end` is where the line's characters end.
Cluster clusterAt(const TextContent &text, int position, int end, qreal x, CharWidths &widths);

// Where the row that starts at `rowStart` ends when rows are `width` pixels
// wide: after the last blank or hyphen that fits, else after the last
// character that fits (at least one). Blanks may hang past the width.
int rowEnd(const TextContent &text, int rowStart, int lineEnd, qreal width, CharWidths &widths);

// Starts of the rows of the line [lineStart, lineEnd), relative to lineStart;
// the first is always 0.
std::vector<int> wrapLine(const TextContent &text, int lineStart, int lineEnd, qreal width, CharWidths &widths);

// Updates `rows` (of the line as it was) after `removed` characters at the
// line offset `editOffset` were replaced by `inserted` ones. Wraps anew from
// the row before the edit until a row start meets an old one again; the rows
// after that are the old ones shifted.
void rewrapAfterEdit(std::vector<int> &rows, const TextContent &text, int lineStart, int lineEnd, int editOffset,
                     int removed, int inserted, qreal width, CharWidths &widths);

} // namespace forms
