#include "forms/label.h"

#include "forms/mouseargs.h"

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
    const MouseArgs mouse = mouseDownArgs(event);
    emit MouseDown(mouse.button, mouse.shift, mouse.x, mouse.y);
}

void Label::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    const MouseArgs mouse = mouseMoveArgs(event);
    emit MouseMove(mouse.button, mouse.shift, mouse.x, mouse.y);
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
