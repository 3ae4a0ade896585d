#pragma once

#include "forms/placeable.h"

#include <QPushButton>

namespace forms {

// Command button. A graphical button is painted in its BackColor on every
// platform style, also while disabled; a standard one in the button colour.
class CommandButton : public QPushButton, public Placeable
{
    Q_OBJECT
public:
    explicit CommandButton(const QString &caption = QString(), QWidget *parent = nullptr);

    void SetGraphical(bool graphical);
    bool Graphical() const { return m_graphical; }
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool enabled) { setEnabled(enabled); }
    // Gives the button the keyboard focus; fails (false) while the window is
    // hidden or the button cannot take it.
    bool SetFocus();
    // Makes the button say whether something is on, to screen readers: its
    // handlers decide when that changes, a click alone does not, and it
    // looks as it did.
    void SetToggleState(bool on);

signals:
    void Click();
    // Button mask 1 left, 2 right; X, Y in twips relative to the button.
    void MouseDown(int button, int shift, double x, double y);

protected:
    void applyColors() override;
    void mousePressEvent(QMouseEvent *event) override;
    void nextCheckState() override;

private:
    bool m_graphical = false;
};

} // namespace forms
