#pragma once

#include "textengine/model/edithistory.h"
#include "textengine/model/rowmap.h"
#include "textengine/model/textcontent.h"
#include "textengine/view/segmentlayouts.h"
#include "textengine/view/textformats.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QElapsedTimer>
#include <QPointer>
#include <QRawFont>
#include <array>
#include <functional>
#include <initializer_list>
#include <optional>

class QMenu;

namespace textengine {

class PrimarySelection;

// A plain-text editing view that stays fast on huge documents and on lines
// of many megabytes: the text lives in a gap buffer with a line index, and
// only what is on screen is laid out (with Qt's text stack) and painted.
// Lines wrap at the view's width; there is a vertical scroll bar only,
// counting visual rows. Positions are offsets into text(), line breaks
// included as they are.
class TextView : public QAbstractScrollArea
{
    Q_OBJECT
    Q_MOC_INCLUDE(<QMenu>)
public:
    explicit TextView(QWidget *parent = nullptr);
    ~TextView() override;

    QString text() const { return m_content.text(); }
    std::array<QStringView, 2> textPieces() const { return m_content.pieces(); }
    const TextContent &content() const { return m_content; }
    int length() const { return m_content.size(); }
    // Replaces the whole text, the caret goes to the start and the undo
    // history is emptied; false (and nothing happens) when it is equal.
    bool setText(const QString &text);

    int caretPosition() const { return m_caret; }
    int anchorPosition() const { return m_anchor; }
    int selectionStart() const { return std::min(m_caret, m_anchor); }
    int selectionEnd() const { return std::max(m_caret, m_anchor); }
    QString selectedText() const;
    // Moves the caret there (snapped to an allowed position), no selection.
    void setCaretPosition(int position);
    void select(int anchor, int caret);

    // Edits as the user makes them, at the caret; each raises edited().
    void insertPlainText(const QString &text);
    void deletePreviousChar();
    // Replaces the characters [from, to) as one step of the history.
    void replace(int from, int to, const QString &text);
    // Makes many replacements as one step of the history (replace all, a
    // conversion of the whole text); the selection moves with the text.
    void replaceAll(Replacements replacements);
    void undo();
    void redo();
    // The text as it is now is the one saved (or read): undo and redo tell
    // when they bring it back.
    void setSavePoint() { m_history.setSavePoint(); }
    bool isAtSavePoint() const { return m_history.isAtSavePoint(); }
    void cut();
    void copy() const;
    void paste();
    void selectAll();

    int lineCount() const { return m_content.lineCount(); }
    // Visual rows of a logical line at the current width.
    int visualRowCount(int line);
    // The visual row that holds `position`, as [start, end) of the text.
    std::pair<int, int> rowRange(int position);
    // Where a caret at `position` stands, in the view's own coordinates;
    // empty when it is not on screen.
    QRect caretRectAt(int position);
    // The character under a point in the view's own coordinates.
    int characterAt(const QPoint &point);
    // Scrolls so that the position is on screen.
    void showPosition(int position);
    // The line at the top of the view, and scrolling so that a line is there.
    int firstVisibleLine();
    void scrollToLine(int line);

    // Ranges drawn in a format of their own beneath the selection, such as
    // the matches of a search: whenever a part of the text is painted, the
    // source is asked for the ranges (in text positions) that touch
    // [from, to). Repaint with viewport()->update() when they change.
    using MarkSource = std::function<QList<QTextLayout::FormatRange>(int from, int to)>;
    void setMarkSource(MarkSource source);
    // Puts the caret at the start of the line (from 0) and scrolls the line
    // to the middle of the view.
    void goToLine(int line);
    // The text shown: from the first shown row's start to the last one's end.
    std::pair<int, int> visibleRange();

    // The characters' colours, from a layer above; without a source (the
    // default) the text has the palette's text colour.
    void setFormatSource(TextFormatSource *source);
    // The colours of [from, to) changed: what was laid out there is laid out
    // anew.
    void formatsChanged(int from, int to);
    // Formats drawn over ranges of the text, replacing those before.
    void setExtraFormats(const QList<ExtraFormat> &formats);
    const QList<ExtraFormat> &extraFormats() const { return m_extraFormats; }

    // A column of line numbers at the left, inside the view: each line's
    // number on its first row, the caret's line emphasised.
    void setLineNumbersShown(bool shown);
    bool lineNumbersShown() const { return m_lineNumbersShown; }
    void setLineNumberColors(const QColor &numbers, const QColor &caretLine);

signals:
    // The user (or insertPlainText and its kin) changed the text.
    void edited();
    // Each change of the text in detail, before edited(): the characters
    // [position, position + removed) became `inserted`.
    void replaced(int position, int removed, const QString &inserted);
    // Ctrl with the mouse wheel asks for a larger (positive) or smaller
    // font, by whole steps of the wheel, instead of scrolling.
    void zoomRequested(int steps);
    // The text was replaced whole: by setText, by turning every line break
    // into CR LF, or by many replacements at once (and their undo).
    void textReset();
    // Raised before textReset when many replacements were made at once, or
    // taken back (`undone`).
    void replacedMany(const textengine::Replacements &replacements, bool undone);
    // The caret or the selection moved.
    void caretPositionChanged();
    // The context menu is about to open with the view's own entries: the
    // layers above add theirs to it here.
    void contextMenuShowing(QMenu *menu);

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
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private:
    // Blank pixels around the text, as a plain-text box leaves them.
    static constexpr int margin = 4;

    // Editing (textviewedit.cpp).
    // Every user edit first turns lone CR and lone LF into CR LF, so that
    // the text the user edits has one kind of line break only.
    // Positions given are moved along with the text.
    void ensureCrLf(std::initializer_list<int *> positions = {}, Replacements *replacements = nullptr);
    void replaceRange(int position, int removed, const QString &inserted, EditKind kind);
    void applyReplace(int position, int removed, const QString &inserted, Selection after);
    void applyAll(Replacements &replacements, bool back, Selection after);
    void replaceSelection(const QString &text, EditKind kind);
    void deleteTo(int position, EditKind kind);
    void offerPrimarySelection();
    void keepPrimarySelection();
    void pastePrimarySelection(const QPoint &at);

    // Keys and mouse (textviewinput.cpp).
    bool handleEditKey(QKeyEvent *event);
    bool handleMoveKey(QKeyEvent *event);
    int visualStep(int position, bool right);
    void moveCaret(int position, bool extend);
    bool isEditShortcut(QKeyEvent *event) const;
    static bool isTypedText(const QKeyEvent *event);
    void dragSelectTo(const QPoint &point);
    void autoScroll();

    // Input methods (textviewinputmethod.cpp).
    void commitPreedit();
    void setPreedit(Preedit preedit);
    QString surroundingText(int *start) const;

    // Geometry and painting (textview.cpp).
    void relayout();
    void updateScrollBar();
    void scrolled(int value);
    // Scrolls as little as needed to bring the position's row on screen.
    void ensureVisible(int position);
    void caretMoved();
    int visibleRows() const;
    qreal xOf(Row row, int position);
    // The caret position nearest to x, or with `onCharacter` the character
    // under it.
    int positionInRow(Row row, qreal x, bool onCharacter = false);
    int positionAt(const QPoint &point, bool onCharacter = false);
    std::optional<QRectF> caretBox(int position);
    void paintSegmentRows(QPainter &painter, Row first, int rows, int y);
    // Line numbers (textviewlinenumbers.cpp).
    int lineNumberWidth() const;
    // True when the number of digits changed.
    bool updateLineNumberDigits();
    void paintLineNumbers(QPainter &painter, const QRect &area);
    // Where the text starts, right of the line numbers.
    int textLeft() const;
    void restartBlink();
    bool isRightToLeft(Row row);

    TextContent m_content;
    SegmentLayouts m_layouts;
    RowMap m_rows;
    EditHistory m_history;
    Preedit m_preedit;
    int m_caret = 0;
    int m_anchor = 0;
    // Where Up and Down aim, kept across rows of other lengths.
    qreal m_goalX = -1;
    Row m_top;
    bool m_syncingScrollBar = false;
    bool m_caretShown = true;
    bool m_selecting = false;
    QBasicTimer m_blink;
    // A press soon after a double click selects the whole line.
    QElapsedTimer m_sinceDoubleClick;
    QPoint m_doubleClickAt;
    QBasicTimer m_autoScroll;
    QPoint m_dragPoint;
    // Wheel turns with Ctrl not yet a whole step.
    int m_zoomDelta = 0;
    QPointer<PrimarySelection> m_primary;
    MarkSource m_markSource;
    TextFormatSource *m_formatSource = nullptr;
    QList<ExtraFormat> m_extraFormats;
    bool m_lineNumbersShown = false;
    int m_lineNumberDigits = 0;
    // The digits' glyphs in the view's font, plain and bold: the numbers are
    // drawn from them without laying out text.
    struct Digits
    {
        QFont source;
        QRawFont font;
        std::array<quint32, 10> glyphs{};
        qreal advance = 0;
    };
    std::array<Digits, 2> m_digits;
    QColor m_lineNumberColor;
    QColor m_caretLineNumberColor;
};

} // namespace textengine
