#pragma once

#include "forms/placeable.h"

#include <QLineEdit>
#include <QList>
#include <QPlainTextEdit>

namespace forms {

// Multi-line text box: Text holds CR LF line breaks exactly as assigned,
// SelStart counts characters of that Text, Change is raised once for every
// change of Text by the user or by code (not when an equal value is set).
// Long lines wrap at the box's width; there is a vertical scroll bar only.
class TextBox : public QPlainTextEdit, public Placeable
{
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent = nullptr);

    QString Text() const;
    void SetText(const QString &text);
    int SelStart() const;
    void SetSelStart(int position);
    // Gives the box the keyboard focus; fails (false) while it cannot take it.
    bool SetFocus();

signals:
    void Change();
    void MouseMove(int button, int shift, double x, double y);

protected:
    void applyColors() override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void documentEdited(int position, int charsRemoved, int charsAdded);
    void recordLineStarts();
    // Start of a line (document block) in Text.
    int lineStart(int blockNumber) const;
    int textPositionOf(int documentPosition) const;
    int documentPositionOf(int textPosition) const;

    // Text as last assigned by code, or as rebuilt after the user's edits;
    // rebuilt lazily.
    mutable QString m_text;
    mutable bool m_textCurrent = true;
    // m_text is the string assigned by code, with its own line breaks.
    bool m_exact = true;
    // Line starts in m_text while its line breaks are not all CR LF.
    QList<int> m_lineStarts;
    bool m_settingText = false;
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
