#include "forms/placeable.h"

#include "forms/designfont.h"
#include "forms/twips.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace forms {

namespace {
QColor halfWay(const QColor &from, const QColor &to)
{
    return QColor((from.red() + to.red()) / 2, (from.green() + to.green()) / 2, (from.blue() + to.blue()) / 2);
}
} // namespace

Placeable::Placeable(QWidget *self)
    : m_self(self)
{
    // A control keeps its mouse events to itself, as the window's own
    // MouseMove must not fire while the pointer is over one of its controls.
    m_self->setAttribute(Qt::WA_NoMousePropagation);
}

void Placeable::SetLeft(int twips)
{
    m_twipsGeometry.moveLeft(twips);
    applyGeometry();
}

void Placeable::SetTop(int twips)
{
    m_twipsGeometry.moveTop(twips);
    applyGeometry();
}

bool Placeable::SetWidth(int twips)
{
    if (twips < 0)
        return false;
    m_twipsGeometry.setWidth(twips);
    applyGeometry();
    return true;
}

bool Placeable::SetHeight(int twips)
{
    if (twips < 0)
        return false;
    m_twipsGeometry.setHeight(twips);
    applyGeometry();
    return true;
}

void Placeable::Place(int left, int top, int width, int height)
{
    m_twipsGeometry.moveTo(left, top);
    if (width >= 0)
        m_twipsGeometry.setWidth(width);
    if (height >= 0)
        m_twipsGeometry.setHeight(height);
    applyGeometry();
}

bool Placeable::Visible() const
{
    return !m_self->isHidden();
}

void Placeable::SetVisible(bool visible)
{
    m_self->setVisible(visible);
}

void Placeable::SetBackColor(const QColor &color)
{
    m_backColor = color;
    applyColors();
}

void Placeable::SetForeColor(const QColor &color)
{
    m_foreColor = color;
    applyColors();
}

void Placeable::SetDesignFont(const QString &name, double points, bool bold)
{
    m_self->setFont(designFont(name, points, bold));
}

void Placeable::SetToolTipText(const QString &text)
{
    m_self->setToolTip(text);
    m_self->setAccessibleName(text);
}

void Placeable::initColors(const QColor &back, const QColor &fore)
{
    m_backColor = back;
    m_foreColor = fore;
}

void Placeable::applyColors()
{
    applyPaletteColors(QPalette::Window, QPalette::WindowText);
    m_self->setAutoFillBackground(m_backColor.isValid());
}

void Placeable::applyPaletteColors(QPalette::ColorRole backRole, QPalette::ColorRole foreRole)
{
    QPalette palette = m_self->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        if (m_backColor.isValid())
            palette.setColor(group, backRole, m_backColor);
        if (m_foreColor.isValid())
            palette.setColor(group, foreRole, m_foreColor);
    }
    // Disabled, the control keeps its background and its text goes half-way
    // towards it: visibly greyed, yet readable on any pair of design colours
    // (the style's own grey can vanish on a grey background).
    const QColor back = palette.color(QPalette::Active, backRole);
    if (m_backColor.isValid())
        palette.setColor(QPalette::Disabled, backRole, back);
    if (m_foreColor.isValid())
        palette.setColor(QPalette::Disabled, foreRole, halfWay(m_foreColor, back));
    m_self->setPalette(palette);
}

void Placeable::applyGeometry()
{
    m_self->setGeometry(twipsToPixels(m_twipsGeometry));
}

QColor rgb(unsigned int rrggbb)
{
    return QColor::fromRgb(static_cast<int>((rrggbb >> 16) & 0xff), static_cast<int>((rrggbb >> 8) & 0xff),
                           static_cast<int>(rrggbb & 0xff));
}

QColor buttonFaceColor()
{
    return QApplication::palette().color(QPalette::Button);
}

bool takeFocus(QWidget *widget)
{
    if (!widget->isVisible() || !widget->isEnabled() || widget->focusPolicy() == Qt::NoFocus)
        return false;
    widget->setFocus(Qt::OtherFocusReason);
    return true;
}

} // namespace forms
