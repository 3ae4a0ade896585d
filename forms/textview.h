#pragma once

#include "forms/charwidths.h"
#include "forms/edithistory.h"
#include "forms/rowlayouts.h"
#include "forms/textcontent.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>

namespace forms {

// A plain-text editing view that stays fast on huge documents and on lines
// of many megabytes: the text lives in a gap buffer with a line index, and
// only the lines on screen are wrapped and painted. Lines wrap at the view's
// width; there is a vertical scroll bar only, counting visual rows.
// Positions are offsets into text(), line breaks included as they are.
class TextView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit TextView(QWidget *parent = nullptr);

    QString text() const { return m_content.text(); }
    std::array<QStringView, 2> textPieces() const { return m_content.pieces(); }
    int length() const { return m_content.size(); }
    // Replaces the whole text, the caret goes to the start and the undo
    // history is emptied; false (and nothing happens) when it is equal.
    bool setText(const QString &text);

    int caretPosition() const { return m_caret; }
    int selectionStart() const { return std::min(m_caret, m_anchor); }
    int selectionEnd() const { return std::max(m_caret, m_anchor); }
    QString selectedText() const;
    // Moves the caret there (snapped to an allowed position), no selection.
    void setCaretPosition(int position);
    void select(int anchor, int caret);

    // Edits as the user makes them, at the caret; each raises edited().
    void insertPlainText(const QString &text);
    void deletePreviousChar();
    void undo();
    void redo();
    void cut();
    void copy() const;
    void paste();
    void selectAll();

    int lineCount() const { return m_content.lineCount(); }
    // Visual rows of a logical line at the current width.
    int visualRowCount(int line);

signals:
    // The user (or insertPlainText and its kin) changed the text.
    void edited();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private:
    // A visual row: the row-th row of a logical line.
    struct Row
    {
        int line = 0;
        int row = 0;
    };

    // Editing (textviewedit.cpp).
    // Every user edit first turns lone CR and lone LF into CR LF, so that
    // the text the user edits has one kind of line break only.
    void ensureCrLf();
    void replaceRange(int position, int removed, const QString &inserted, bool typed);
    void applyReplace(int position, int removed, const QString &inserted);
    void replaceSelection(const QString &text, bool typed);
    void deleteTo(int position);
    bool handleEditKey(QKeyEvent *event);
    bool handleMoveKey(QKeyEvent *event);
    void moveCaret(int position, bool extend);
    bool isEditShortcut(QKeyEvent *event) const;
    static bool isTypedText(const QKeyEvent *event);

    // Geometry (textview.cpp).
    void relayout();
    void updateScrollBar();
    void scrolled(int value);
    void ensureCaretVisible();
    // Rows from one row down to another (negative: up), exact near the view.
    int rowDistance(Row from, Row to);
    // Keeps the top row inside the text after edits.
    void fixTop();
    int visibleRows() const;
    Row rowOf(int position);
    int rowStart(Row row);
    int rowEnd(Row row);
    bool isLastRow(Row row);
    bool nextRow(Row &row);
    bool previousRow(Row &row);
    qreal xOf(Row row, int position);
    int positionInRow(Row row, qreal x);
    int positionAt(const QPoint &point);
    QRect caretRect();
    void paintRow(QPainter &painter, Row row, int y);
    void drawRun(QPainter &painter, Row row, int from, int to, int baseline);
    void restartBlink();

    TextContent m_content;
    CharWidths m_widths;
    RowLayouts m_layouts;
    EditHistory m_history;
    int m_caret = 0;
    int m_anchor = 0;
    // Where Up and Down aim, kept across rows of other lengths.
    qreal m_goalX = -1;
    Row m_top;
    int m_rowHeight = 16;
    bool m_syncingScrollBar = false;
    bool m_caretShown = true;
    bool m_selecting = false;
    QBasicTimer m_blink;
    QString m_preedit;
};

} // namespace forms
