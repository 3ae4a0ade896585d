#pragma once

#include <QString>
#include <optional>

// What the main window keeps from one run to the next: where the browser
// stands, the stylesheet in use, the window's place and size, the splitter
// bars and the colour options. Start-up hands it to the window, which
// applies what it can take; at its close the window reports it whole.
// Empty values are not remembered: the window keeps its own.
struct WindowState
{
    QString folder;
    // The stylesheet's path; empty for none.
    QString stylesheet;
    // Values of the check boxes "Green" and "Dark" (0 to 2).
    std::optional<int> green;
    std::optional<int> dark;
    // The outer size and place, in twips; a centred window takes no place.
    std::optional<int> width;
    std::optional<int> height;
    bool centred = false;
    std::optional<int> left;
    std::optional<int> top;
    // The splitter bars' places, in twips.
    std::optional<int> splitHLeft;
    std::optional<int> splitVTop;
    // The panes' zoom, in steps of a point.
    std::optional<int> zoom;
    // The panes' options "Syntax hervorheben" and "Zeilennummern anzeigen".
    bool syntaxHighlight = false;
    bool lineNumbers = false;
};
