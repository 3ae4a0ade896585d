#include "forms/mouseargs.h"

#include "forms/twips.h"

#include <QMouseEvent>

namespace forms {

namespace {

int buttonMask(Qt::MouseButtons buttons)
{
    int mask = 0;
    if (buttons & Qt::LeftButton)
        mask |= 1;
    if (buttons & Qt::RightButton)
        mask |= 2;
    if (buttons & Qt::MiddleButton)
        mask |= 4;
    return mask;
}

int shiftMask(Qt::KeyboardModifiers modifiers)
{
    int mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= 1;
    if (modifiers & Qt::ControlModifier)
        mask |= 2;
    if (modifiers & Qt::AltModifier)
        mask |= 4;
    return mask;
}

MouseArgs argsOf(Qt::MouseButtons buttons, const QMouseEvent *event, QPointF origin)
{
    const QPointF at = event->position() + origin;
    return {buttonMask(buttons), shiftMask(event->modifiers()), at.x() * TwipsPerPixel, at.y() * TwipsPerPixel};
}

} // namespace

MouseArgs mouseDownArgs(const QMouseEvent *event, QPointF origin)
{
    return argsOf(event->button(), event, origin);
}

MouseArgs mouseMoveArgs(const QMouseEvent *event, QPointF origin)
{
    return argsOf(event->buttons(), event, origin);
}

} // namespace forms
