#include "forms/textview.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <functional>
#include <limits>

namespace forms {

namespace {

bool isRedo(const QKeyEvent *event)
{
    return event->matches(QKeySequence::Redo)
        || (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier);
}

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
    static const QKeySequence::StandardKey keys[] = {
        QKeySequence::Undo, QKeySequence::Cut, QKeySequence::Copy, QKeySequence::Paste, QKeySequence::SelectAll,
        QKeySequence::Delete, QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord,
        QKeySequence::MoveToNextWord, QKeySequence::MoveToPreviousWord, QKeySequence::MoveToStartOfDocument,
        QKeySequence::MoveToEndOfDocument, QKeySequence::SelectNextWord, QKeySequence::SelectPreviousWord,
        QKeySequence::SelectStartOfDocument, QKeySequence::SelectEndOfDocument};
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
        replaceSelection(event->text(), true);
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
        deleteTo(m_content.previousWordStart(m_caret));
    } else if (event->matches(QKeySequence::DeleteEndOfWord)) {
        ensureCrLf();
        deleteTo(m_content.nextWordStart(m_caret));
    } else if (event->key() == Qt::Key_Backspace && !(event->modifiers() & Qt::ControlModifier)) {
        deletePreviousChar();
    } else if (event->matches(QKeySequence::Delete)
               || (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier)) {
        ensureCrLf();
        deleteTo(m_content.nextPosition(m_caret));
    } else if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
               && !(event->modifiers() & Qt::ControlModifier)) {
        replaceSelection(QStringLiteral("\r\n"), false);
    } else {
        return false;
    }
    return true;
}

bool TextView::handleMoveKey(QKeyEvent *event)
{
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool collapse = m_caret != m_anchor && !extend;
    auto matches = [event](QKeySequence::StandardKey move, QKeySequence::StandardKey select) {
        return event->matches(move) || event->matches(select);
    };
    if (matches(QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar)) {
        moveCaret(collapse ? selectionEnd() : m_content.nextPosition(m_caret), extend);
    } else if (matches(QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar)) {
        moveCaret(collapse ? selectionStart() : m_content.previousPosition(m_caret), extend);
    } else if (matches(QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord)) {
        moveCaret(m_content.nextWordStart(m_caret), extend);
    } else if (matches(QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord)) {
        moveCaret(m_content.previousWordStart(m_caret), extend);
    } else if (matches(QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine)) {
        moveCaret(rowStart(rowOf(m_caret)), extend);
    } else if (matches(QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine)) {
        const Row row = rowOf(m_caret);
        moveCaret(positionInRow(row, std::numeric_limits<qreal>::max()), extend);
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
        Row row = rowOf(m_caret);
        const qreal goal = m_goalX >= 0 ? m_goalX : xOf(row, m_caret);
        int moved = 0;
        for (; moved < rows && nextRow(row); ++moved) {
        }
        for (; moved > rows && previousRow(row); --moved) {
        }
        if (std::abs(rows) > 1) {
            // A page key scrolls the view by the rows the caret moved.
            QScrollBar *bar = verticalScrollBar();
            bar->setValue(bar->value() + moved);
        }
        moveCaret(positionInRow(row, goal), extend);
        m_goalX = goal;
    }
    return true;
}

void TextView::moveCaret(int position, bool extend)
{
    m_caret = m_content.snap(position);
    if (!extend)
        m_anchor = m_caret;
    m_goalX = -1;
    m_history.endTyping();
    ensureCaretVisible();
    restartBlink();
    viewport()->update();
}

void TextView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    m_selecting = true;
    moveCaret(positionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
    event->accept();
}

void TextView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_selecting || !(event->buttons() & Qt::LeftButton)) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    QScrollBar *bar = verticalScrollBar();
    if (at.y() < 0)
        bar->setValue(bar->value() - 1);
    else if (at.y() > viewport()->height())
        bar->setValue(bar->value() + 1);
    m_caret = m_content.snap(positionAt(at));
    m_goalX = -1;
    viewport()->update();
    event->accept();
}

void TextView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_selecting) {
        m_selecting = false;
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
    const auto [begin, end] = m_content.wordAt(positionAt(event->position().toPoint()));
    select(begin, end);
    event->accept();
}

void TextView::contextMenuEvent(QContextMenuEvent *event)
{
    const bool selected = m_caret != m_anchor;
    QMenu menu(this);
    auto add = [&](const QString &text, bool enabled, const std::function<void()> &handler) {
        QAction *action = menu.addAction(text);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, handler);
    };
    add(QStringLiteral("Rückgängig"), m_history.canUndo(), [this] { undo(); });
    menu.addSeparator();
    add(QStringLiteral("Ausschneiden"), selected, [this] { cut(); });
    add(QStringLiteral("Kopieren"), selected, [this] { copy(); });
    add(QStringLiteral("Einfügen"), !QGuiApplication::clipboard()->text().isEmpty(), [this] { paste(); });
    add(QStringLiteral("Löschen"), selected, [this] { replaceSelection(QString(), false); });
    menu.addSeparator();
    add(QStringLiteral("Alles auswählen"), length() > 0, [this] { selectAll(); });
    menu.exec(event->globalPos());
}

void TextView::inputMethodEvent(QInputMethodEvent *event)
{
    if (event->replacementLength() > 0 && m_caret == m_anchor) {
        const int from = m_content.snap(m_caret + event->replacementStart());
        select(from, m_content.snap(from + event->replacementLength()));
    }
    if (!event->commitString().isEmpty() || (m_caret != m_anchor && event->replacementLength() > 0))
        replaceSelection(event->commitString(), true);
    m_preedit = event->preeditString();
    viewport()->update();
    event->accept();
}

QVariant TextView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    auto *self = const_cast<TextView *>(this);
    // The input method sees the caret's line, cut to a window around the
    // caret: a line may be megabytes long.
    const int line = m_content.lineOf(m_caret);
    const int from = std::max(m_content.lineStart(line), m_caret - 512);
    const int to = std::min(m_content.lineEnd(line), m_caret + 512);
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImHints:
        return static_cast<int>(Qt::ImhMultiLine);
    case Qt::ImCursorRectangle:
        return QRectF(self->caretRect().translated(viewport()->pos()));
    case Qt::ImFont:
        return m_widths.font();
    case Qt::ImCursorPosition:
        return m_caret - from;
    case Qt::ImAnchorPosition:
        return std::clamp(m_anchor, from, to) - from;
    case Qt::ImSurroundingText:
        return m_content.mid(from, to - from);
    case Qt::ImCurrentSelection:
        return selectionEnd() - selectionStart() <= 4096 ? selectedText() : QString();
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

} // namespace forms
