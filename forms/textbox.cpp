#include "forms/textbox.h"

#include "forms/mouseargs.h"

#include <QMouseEvent>

namespace forms {

TextBox::TextBox(QWidget *parent)
    : textengine::TextView(parent)
    , Placeable(this)
{
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_NoMousePropagation);
    initColors(palette().color(QPalette::Base), palette().color(QPalette::Text));
    connect(this, &textengine::TextView::edited, this, &TextBox::Change);
}

void TextBox::SetText(const QString &text)
{
    if (setText(text))
        emit Change();
}

bool TextBox::SetFocus()
{
    return takeFocus(this);
}

void TextBox::applyColors()
{
    applyPaletteColors(QPalette::Base, QPalette::Text);
}

void TextBox::mouseMoveEvent(QMouseEvent *event)
{
    const MouseArgs mouse = mouseMoveArgs(event, viewport()->pos());
    emit MouseMove(mouse.button, mouse.shift, mouse.x, mouse.y);
    textengine::TextView::mouseMoveEvent(event);
    event->accept();
}

LineTextBox::LineTextBox(QWidget *parent)
    : QLineEdit(parent)
    , Placeable(this)
{
    initColors(palette().color(QPalette::Base), palette().color(QPalette::Text));
    connect(this, &QLineEdit::textChanged, this, &LineTextBox::Change);
}

void LineTextBox::SetText(const QString &text)
{
    setText(text);
}

void LineTextBox::applyColors()
{
    applyPaletteColors(QPalette::Base, QPalette::Text);
}

} // namespace forms
