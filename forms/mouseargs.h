#pragma once

#include <QPointF>

class QMouseEvent;

namespace forms {

// What MouseDown and MouseMove report: the mouse buttons (1 left, 2 right,
// 4 middle), the shift keys (1 Shift, 2 Ctrl, 4 Alt) and the position in
// twips.
struct MouseArgs
{
    int button = 0;
    int shift = 0;
    double x = 0;
    double y = 0;
};

// A press names the button that went down, a move the buttons held.
// `origin` is added to the event's position: a scrolling control receives
// its events at its viewport but reports them in its own coordinates.
MouseArgs mouseDownArgs(const QMouseEvent *event, QPointF origin = {});
MouseArgs mouseMoveArgs(const QMouseEvent *event, QPointF origin = {});

} // namespace forms
