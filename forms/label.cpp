#include "forms/label.h"

#include "forms/form.h"
#include "forms/twips.h"

#include <QMouseEvent>

namespace forms {

Label::Label(QWidget *parent)
    : QLabel(parent)
    , Placeable(this)
{
    initColors(palette().color(QPalette::Window), palette().color(QPalette::WindowText));
    // MouseMove also without a button held.
    setMouseTracking(true);
}

void Label::mousePressEvent(QMouseEvent *event)
{
    // Accepting the press makes the label the receiver of every move until
    // the button is released, also outside its own rectangle.
    event->accept();
    const QPointF at = event->position();
    emit MouseDown(buttonMask(event->button()), shiftMask(event->modifiers()), at.x() * TwipsPerPixel,
                   at.y() * TwipsPerPixel);
}

void Label::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    const QPointF at = event->position();
    emit MouseMove(buttonMask(event->buttons()), shiftMask(event->modifiers()), at.x() * TwipsPerPixel,
                   at.y() * TwipsPerPixel);
}

void Label::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

Frame::Frame(QWidget *parent)
    : QFrame(parent)
    , Placeable(this)
{
    setFrameShape(QFrame::NoFrame);
    initColors(palette().color(QPalette::Window), palette().color(QPalette::WindowText));
}

} // namespace forms
