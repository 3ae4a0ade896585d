#pragma once

#include <QColor>
#include <QPalette>
#include <QRect>
#include <QString>

class QWidget;

namespace forms {

// The design-time properties every control shares: geometry in twips
// relative to its container, visibility, colours, font and tooltip. The
// twips values are the truth; the widget follows them in pixels. A negative
// width or height is refused and leaves the property as it was.
class Placeable
{
public:
    explicit Placeable(QWidget *self);
    virtual ~Placeable() = default;
    Placeable(const Placeable &) = delete;
    Placeable &operator=(const Placeable &) = delete;

    int Left() const { return m_twipsGeometry.x(); }
    int Top() const { return m_twipsGeometry.y(); }
    int Width() const { return m_twipsGeometry.width(); }
    int Height() const { return m_twipsGeometry.height(); }
    void SetLeft(int twips);
    void SetTop(int twips);
    bool SetWidth(int twips);
    bool SetHeight(int twips);
    // Left, Top, Width, Height at once, as the design table gives them.
    void Place(int left, int top, int width, int height);

    bool Visible() const;
    void SetVisible(bool visible);

    QColor BackColor() const { return m_backColor; }
    QColor ForeColor() const { return m_foreColor; }
    void SetBackColor(const QColor &color);
    void SetForeColor(const QColor &color);

    // Font by its design name ("MS Sans Serif", "Arial", "Fixedsys",
    // "Webdings"), size in points and weight.
    void SetDesignFont(const QString &name, double points, bool bold = false);
    // Tooltip; also the accessible name, since several controls have no caption.
    void SetToolTipText(const QString &text);

    QWidget *widget() const { return m_self; }

protected:
    // Paints the colours into the widget's palette; controls whose colours
    // live in other palette roles override it.
    virtual void applyColors();
    // Stores the colours the control starts with, without applying them.
    void initColors(const QColor &back, const QColor &fore);
    // Sets the colours that were given into the two palette roles.
    void applyPaletteColors(QPalette::ColorRole backRole, QPalette::ColorRole foreRole);

private:
    void applyGeometry();

    QWidget *m_self;
    QRect m_twipsGeometry;
    QColor m_backColor;
    QColor m_foreColor;
};

// Colours in the design tables are RRGGBB.
QColor rgb(unsigned int rrggbb);
// The palette's button colour: the "system button-face colour".
QColor buttonFaceColor();
// Gives the widget the keyboard focus; false while it is hidden (also by its
// window), disabled or cannot take the focus at all.
bool takeFocus(QWidget *widget);

} // namespace forms
