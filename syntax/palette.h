#pragma once

#include "syntax/roles.h"

#include <array>

namespace syntax {

// The colours (0xRRGGBB) of one colour scheme of the panes: the roles' text
// colours, the line numbers and the marking of a bracket's or tag's
// partner, each at least 4.5:1 against the background and the marking.
struct SyntaxPalette
{
    quint32 background;
    quint32 mark;                         // behind a matched bracket or tag
    std::array<quint32, roleCount> roles; // Role::Plain is the text's own colour
    quint32 lineNumber;                   // the caret's line shows in the text's colour
};

// The scheme of the panes' two colour options ("Dark", "Green").
const SyntaxPalette &syntaxPalette(bool dark, bool green);

// The contrast of two colours as WCAG 2 defines it, 1 to 21.
double contrastRatio(quint32 first, quint32 second);

} // namespace syntax
