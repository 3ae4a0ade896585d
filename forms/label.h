#pragma once

#include "forms/placeable.h"

#include <QLabel>

namespace forms {

// Label that reports MouseDown and MouseMove with X, Y in twips relative to
// itself; while a button that went down on it is held it keeps receiving
// MouseMove (the platform's mouse capture).
class Label : public QLabel, public Placeable
{
    Q_OBJECT
public:
    explicit Label(QWidget *parent = nullptr);

    void SetMousePointer(Qt::CursorShape shape) { setCursor(shape); }

signals:
    void MouseDown(int button, int shift, double x, double y);
    void MouseMove(int button, int shift, double x, double y);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// Frame: a plain container for other controls.
class Frame : public QFrame, public Placeable
{
    Q_OBJECT
public:
    explicit Frame(QWidget *parent = nullptr);
};

} // namespace forms
