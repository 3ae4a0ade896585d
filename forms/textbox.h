#pragma once

#include "forms/placeable.h"
#include "textengine/view/textview.h"

#include <QLineEdit>

namespace forms {

// Multi-line text box: Text holds the line breaks exactly as assigned,
// SelStart counts characters of that Text, Change is raised once for every
// change of Text by the user or by code (not when an equal value is set).
// Long lines wrap at the box's width; there is a vertical scroll bar only.
// The first edit by the user turns lone CR and lone LF into CR LF, the line
// break the box itself types.
class TextBox : public textengine::TextView, public Placeable
{
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent = nullptr);

    QString Text() const { return text(); }
    // Length of Text, without building it.
    int Length() const { return length(); }
    void SetText(const QString &text);
    int SelStart() const { return selectionStart(); }
    // Moves the caret, dropping the selection; a position between CR and LF
    // goes before the pair.
    void SetSelStart(int position) { setCaretPosition(position); }
    // Gives the box the keyboard focus; fails (false) while it cannot take it.
    bool SetFocus();

signals:
    void Change();
    void MouseMove(int button, int shift, double x, double y);

protected:
    void applyColors() override;
    void mouseMoveEvent(QMouseEvent *event) override;
};

// One-line text box (txtPattern).
class LineTextBox : public QLineEdit, public Placeable
{
    Q_OBJECT
public:
    explicit LineTextBox(QWidget *parent = nullptr);

    QString Text() const { return text(); }
    void SetText(const QString &text);

signals:
    void Change();

protected:
    void applyColors() override;
};

} // namespace forms
