#include "forms/commandbutton.h"

#include "forms/mouseargs.h"

#include <QMouseEvent>

namespace forms {

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
    , Placeable(this)
{
    initColors(buttonFaceColor(), palette().color(QPalette::ButtonText));
    setAutoDefault(false);
    connect(this, &QAbstractButton::clicked, this, &CommandButton::Click);
}

void CommandButton::SetGraphical(bool graphical)
{
    m_graphical = graphical;
    applyColors();
}

void CommandButton::SetToggleState(bool on)
{
    setCheckable(true);
    setChecked(on);
}

void CommandButton::nextCheckState()
{
    // The state is the window's to set.
}

bool CommandButton::SetFocus()
{
    return takeFocus(this);
}

void CommandButton::applyColors()
{
    if (!m_graphical) {
        // A standard button keeps the system's look whatever its BackColor.
        setStyleSheet(QString());
        return;
    }
    // A style sheet paints the colour flat under every platform style and in
    // every state; palette colours are shaded or ignored by several styles.
    const QColor back = BackColor().isValid() ? BackColor() : buttonFaceColor();
    const QColor fore = ForeColor().isValid() ? ForeColor() : palette().color(QPalette::ButtonText);
    const QColor disabledText = palette().color(QPalette::Disabled, QPalette::ButtonText);
    setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: %2; border: 2px outset %1; "
                                 "padding: 1px; }"
                                 "QPushButton:checked { border-style: outset; }"
                                 "QPushButton:pressed { border-style: inset; }"
                                 "QPushButton:disabled { color: %3; }")
                      .arg(back.name(), fore.name(), disabledText.name()));
}

void CommandButton::mousePressEvent(QMouseEvent *event)
{
    // The button takes the press before MouseDown runs: a handler that waits
    // inside an event loop would otherwise see the release pass by a button
    // not yet down, which then went down afterwards and stayed down.
    QPushButton::mousePressEvent(event);
    // The press stays with the button, whichever mouse button it was.
    event->accept();
    const MouseArgs mouse = mouseDownArgs(event);
    emit MouseDown(mouse.button, mouse.shift, mouse.x, mouse.y);
}

} // namespace forms
