#include "textengine/view/textview.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyleHints>
#include <QWheelEvent>
#include <functional>
#include <limits>

namespace textengine {

namespace {

bool isRedo(const QKeyEvent *event)
{
    return event->matches(QKeySequence::Redo)
        || (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier);
}

// How often the view scrolls while a selection is dragged past its edge.
constexpr int autoScrollMs = 50;

} // namespace

bool TextView::event(QEvent *event)
{
    // Keys the box edits with are its own, not the window's shortcuts.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (isEditShortcut(key)) {
            key->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool TextView::isEditShortcut(QKeyEvent *event) const
{
    static const QKeySequence::StandardKey keys[] = {QKeySequence::Undo,
                                                     QKeySequence::Cut,
                                                     QKeySequence::Copy,
                                                     QKeySequence::Paste,
                                                     QKeySequence::SelectAll,
                                                     QKeySequence::Delete,
                                                     QKeySequence::DeleteStartOfWord,
                                                     QKeySequence::DeleteEndOfWord,
                                                     QKeySequence::MoveToNextWord,
                                                     QKeySequence::MoveToPreviousWord,
                                                     QKeySequence::MoveToStartOfDocument,
                                                     QKeySequence::MoveToEndOfDocument,
                                                     QKeySequence::SelectNextWord,
                                                     QKeySequence::SelectPreviousWord,
                                                     QKeySequence::SelectStartOfDocument,
                                                     QKeySequence::SelectEndOfDocument};
    for (const QKeySequence::StandardKey key : keys) {
        if (event->matches(key))
            return true;
    }
    return isRedo(event) || isTypedText(event) || event->key() == Qt::Key_Backspace;
}

bool TextView::isTypedText(const QKeyEvent *event)
{
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    // Ctrl makes a command; Ctrl with Alt is AltGr on some keyboards.
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier))
        return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0))
            return false;
    }
    return true;
}

void TextView::keyPressEvent(QKeyEvent *event)
{
    if (handleEditKey(event) || handleMoveKey(event)) {
        event->accept();
        return;
    }
    if (isTypedText(event)) {
        replaceSelection(event->text(), EditKind::Typing);
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

bool TextView::handleEditKey(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Undo)) {
        undo();
    } else if (isRedo(event)) {
        redo();
    } else if (event->matches(QKeySequence::Cut)) {
        cut();
    } else if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::Paste)) {
        paste();
    } else if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else if (event->matches(QKeySequence::DeleteStartOfWord)) {
        ensureCrLf();
        deleteTo(m_content.previousWordStart(m_caret), EditKind::Other);
    } else if (event->matches(QKeySequence::DeleteEndOfWord)) {
        ensureCrLf();
        deleteTo(m_content.nextWordStart(m_caret), EditKind::Other);
    } else if (event->key() == Qt::Key_Backspace && !(event->modifiers() & Qt::ControlModifier)) {
        deletePreviousChar();
    } else if (event->matches(QKeySequence::Delete)
               || (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier)) {
        ensureCrLf();
        deleteTo(m_content.nextPosition(m_caret), EditKind::DeletingForward);
    } else if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
               && !(event->modifiers() & Qt::ControlModifier)) {
        replaceSelection(QStringLiteral("\r\n"), EditKind::Other);
    } else {
        return false;
    }
    return true;
}

int TextView::visualStep(int position, bool right)
{
    const Row row = m_rows.rowOf(position);
    const Segment segment = m_rows.segment(row.line, row.segment);
    if (const std::optional<int> step = m_layouts.layout(segment).visualStep(position - segment.from, right))
        return segment.from + *step;
    // At the segment's outer edge the arrow goes on to the next segment or
    // line (right is forward in a left-to-right line, backward in a
    // right-to-left one), wherever on the edge the caret stood.
    if (right != (segment.direction == Qt::RightToLeft))
        return segment.to == m_content.lineEnd(row.line) ? m_content.nextPosition(segment.to) : segment.to;
    return m_content.previousPosition(segment.from);
}

bool TextView::handleMoveKey(QKeyEvent *event)
{
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool collapse = m_caret != m_anchor && !extend;
    auto matches = [event](QKeySequence::StandardKey move, QKeySequence::StandardKey select) {
        return event->matches(move) || event->matches(select);
    };
    const bool rightToLeft = isRightToLeft(m_rows.rowOf(m_caret));
    const bool right = matches(QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar);
    const bool wordRight = matches(QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord);
    if (right || matches(QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar)) {
        // A selection collapses to its end on the side the arrow points to.
        if (collapse)
            moveCaret(right != rightToLeft ? selectionEnd() : selectionStart(), false);
        else
            moveCaret(visualStep(m_caret, right), extend);
    } else if (wordRight || matches(QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord)) {
        // Words go in the text's order, mirrored in a right-to-left line.
        const bool forward = wordRight != rightToLeft;
        moveCaret(forward ? m_content.nextWordStart(m_caret) : m_content.previousWordStart(m_caret), extend);
    } else if (matches(QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine)) {
        moveCaret(rowRange(m_caret).first, extend);
    } else if (matches(QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine)) {
        const Row row = m_rows.rowOf(m_caret);
        const int end = m_rows.rowEnd(row);
        // A wrapped row ends before its last character: its end is where the
        // next row starts.
        moveCaret(m_rows.isLastInLine(row) ? end : m_content.previousPosition(end), extend);
    } else if (matches(QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument)) {
        moveCaret(0, extend);
    } else if (matches(QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument)) {
        moveCaret(length(), extend);
    } else {
        int rows = 0;
        if (matches(QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine))
            rows = 1;
        else if (matches(QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine))
            rows = -1;
        else if (matches(QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage))
            rows = visibleRows();
        else if (matches(QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage))
            rows = -visibleRows();
        else
            return false;
        Row row = m_rows.rowOf(m_caret);
        const qreal goal = m_goalX >= 0 ? m_goalX : xOf(row, m_caret);
        int moved = 0;
        for (; moved < rows && m_rows.next(row); ++moved) {}
        for (; moved > rows && m_rows.previous(row); --moved) {}
        if (std::abs(rows) > 1) {
            // A page key scrolls the view by the rows the caret moved.
            QScrollBar *bar = verticalScrollBar();
            bar->setValue(bar->value() + moved);
        }
        moveCaret(positionInRow(row, goal), extend);
        m_goalX = goal;
    }
    if (extend)
        offerPrimarySelection();
    return true;
}

void TextView::moveCaret(int position, bool extend)
{
    m_caret = m_content.snap(position);
    if (!extend)
        m_anchor = m_caret;
    m_goalX = -1;
    m_history.endRun();
    caretMoved();
}

void TextView::mousePressEvent(QMouseEvent *event)
{
    commitPreedit();
    const QPoint at = event->position().toPoint();
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    event->accept();
    // A third press soon after a double click, where it was, takes the line
    // with its line break.
    if (m_sinceDoubleClick.isValid() && !m_sinceDoubleClick.hasExpired(QApplication::doubleClickInterval())
        && (at - m_doubleClickAt).manhattanLength() < QApplication::startDragDistance()) {
        m_sinceDoubleClick.invalidate();
        const int line = m_content.lineOf(positionAt(at));
        select(m_content.lineStart(line), line + 1 < lineCount() ? m_content.lineStart(line + 1) : length());
        offerPrimarySelection();
        return;
    }
    m_selecting = true;
    m_dragPoint = at;
    moveCaret(positionAt(at), event->modifiers() & Qt::ShiftModifier);
}

void TextView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_selecting || !(event->buttons() & Qt::LeftButton)) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    m_dragPoint = event->position().toPoint();
    dragSelectTo(m_dragPoint);
    // Past the top or bottom edge the view keeps scrolling while the mouse
    // rests, faster the farther it is.
    const bool outside = m_dragPoint.y() < 0 || m_dragPoint.y() >= viewport()->height();
    if (outside && !m_autoScroll.isActive())
        m_autoScroll.start(autoScrollMs, this);
    else if (!outside)
        m_autoScroll.stop();
    event->accept();
}

void TextView::dragSelectTo(const QPoint &point)
{
    m_caret = m_content.snap(positionAt(point));
    m_goalX = -1;
    viewport()->update();
    updateMicroFocus();
    emit caretPositionChanged();
}

void TextView::autoScroll()
{
    if (!m_selecting) {
        m_autoScroll.stop();
        return;
    }
    const int height = viewport()->height();
    const int beyond = m_dragPoint.y() < 0 ? m_dragPoint.y() : std::max(0, m_dragPoint.y() - height + 1);
    const int rows = std::min(visibleRows(), 1 + std::abs(beyond) / m_layouts.rowHeight());
    QScrollBar *bar = verticalScrollBar();
    bar->setValue(bar->value() + (beyond < 0 ? -rows : rows));
    // The selection follows to the row now at the edge.
    dragSelectTo(QPoint(m_dragPoint.x(), std::clamp(m_dragPoint.y(), 0, height - 1)));
}

void TextView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_selecting) {
        m_selecting = false;
        m_autoScroll.stop();
        m_history.endRun();
        caretMoved();
        offerPrimarySelection();
        event->accept();
        return;
    }
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        pastePrimarySelection(event->position().toPoint());
        event->accept();
        return;
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void TextView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    m_selecting = false;
    const QPoint at = event->position().toPoint();
    const auto [begin, end] = m_content.wordAt(positionAt(at));
    select(begin, end);
    offerPrimarySelection();
    m_sinceDoubleClick.start();
    m_doubleClickAt = at;
    event->accept();
}

void TextView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        m_zoomDelta = 0;
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // A step is what one notch of a common wheel turns; a touchpad turns in
    // smaller amounts that add up.
    m_zoomDelta += event->angleDelta().y();
    const int steps = m_zoomDelta / QWheelEvent::DefaultDeltasPerStep;
    m_zoomDelta -= steps * QWheelEvent::DefaultDeltasPerStep;
    if (steps != 0)
        emit zoomRequested(steps);
    event->accept();
}

void TextView::contextMenuEvent(QContextMenuEvent *event)
{
    commitPreedit();
    const bool selected = m_caret != m_anchor;
    QMenu menu(this);
    // The words and keys a desktop shows in a German text field's menu.
    auto add
        = [&](const QString &text, QKeySequence::StandardKey key, bool enabled, const std::function<void()> &handler) {
              const QKeySequence shortcut(key);
              QAction *action = menu.addAction(
                  shortcut.isEmpty() ? text : text + QLatin1Char('\t') + shortcut.toString(QKeySequence::NativeText));
              action->setEnabled(enabled);
              connect(action, &QAction::triggered, this, handler);
          };
    add(QStringLiteral("&Rückgängig"), QKeySequence::Undo, m_history.canUndo(), [this] { undo(); });
    add(QStringLiteral("Wieder&herstellen"), QKeySequence::Redo, m_history.canRedo(), [this] { redo(); });
    menu.addSeparator();
    add(QStringLiteral("&Ausschneiden"), QKeySequence::Cut, selected, [this] { cut(); });
    add(QStringLiteral("&Kopieren"), QKeySequence::Copy, selected, [this] { copy(); });
    add(QStringLiteral("Einf&ügen"), QKeySequence::Paste, !QGuiApplication::clipboard()->text().isEmpty(),
        [this] { paste(); });
    add(QStringLiteral("Löschen"), QKeySequence::UnknownKey, selected,
        [this] { replaceSelection(QString(), EditKind::Other); });
    menu.addSeparator();
    add(QStringLiteral("Alles auswählen"), QKeySequence::SelectAll, length() > 0, [this] { selectAll(); });
    emit contextMenuShowing(&menu);
    menu.exec(event->globalPos());
}

} // namespace textengine
