#include "textengine/view/textview.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QTextCharFormat>

namespace textengine {

namespace {

// The input method sees this much of the caret's line on each side: a
// line may be megabytes long.
constexpr int surroundingReach = 512;
// A longer selection is not handed over.
constexpr int selectionLimit = 4096;

} // namespace

void TextView::setPreedit(Preedit preedit)
{
    const int before = m_preedit.isActive() ? m_preedit.position : -1;
    m_preedit = std::move(preedit);
    m_layouts.setPreedit(m_preedit);
    // The segments that showed the old composition and show the new one are
    // laid out again with it.
    if (before >= 0)
        m_rows.relayout(std::min(before, length()));
    if (m_preedit.isActive())
        m_rows.relayout(m_preedit.position);
    if (before >= 0 || m_preedit.isActive())
        updateScrollBar();
    viewport()->update();
}

void TextView::commitPreedit()
{
    if (!m_preedit.isActive())
        return;
    QGuiApplication::inputMethod()->commit();
    if (!m_preedit.isActive())
        return;
    // No input method took it: what the user composed goes into the text
    // rather than being lost, and the input method starts afresh.
    const QString text = m_preedit.text;
    setPreedit({});
    replaceSelection(text, EditKind::Other);
    QGuiApplication::inputMethod()->reset();
}

void TextView::inputMethodEvent(QInputMethodEvent *event)
{
    const int replacementLength = event->replacementLength();
    if (replacementLength > 0 || !event->commitString().isEmpty()) {
        if (m_preedit.isActive())
            setPreedit({});
        if (replacementLength > 0 && m_caret == m_anchor) {
            // Whole clusters: a range that starts or ends inside one takes
            // all of it.
            const int from = m_caret + event->replacementStart();
            m_anchor = m_content.snap(from);
            m_caret = std::max(m_anchor, m_content.snapForward(from + replacementLength));
        }
        replaceSelection(event->commitString(), EditKind::Typing);
    }
    Preedit preedit;
    preedit.position = m_caret;
    preedit.text = event->preeditString();
    int start = 0;
    surroundingText(&start);
    for (const QInputMethodEvent::Attribute &attribute : event->attributes()) {
        switch (attribute.type) {
        case QInputMethodEvent::TextFormat: {
            const QTextCharFormat format = attribute.value.value<QTextFormat>().toCharFormat();
            if (format.isValid())
                preedit.formats << QTextLayout::FormatRange{attribute.start, attribute.length, format};
            break;
        }
        case QInputMethodEvent::Cursor:
            preedit.cursor = std::clamp(attribute.start, 0, static_cast<int>(preedit.text.size()));
            preedit.cursorVisible = attribute.length != 0;
            break;
        case QInputMethodEvent::Selection:
            // Relative to the surrounding text handed to the input method.
            m_anchor = m_content.snap(start + attribute.start);
            m_caret = m_content.snap(start + attribute.start + attribute.length);
            preedit.position = m_caret;
            break;
        default:
            break;
        }
    }
    setPreedit(preedit.text.isEmpty() ? Preedit() : preedit);
    caretMoved();
    event->accept();
}

QString TextView::surroundingText(int *start) const
{
    const int line = m_content.lineOf(m_caret);
    // Whole clusters at both ends, so that no surrogate pair is cut.
    const int from = m_content.snap(std::max(m_content.lineStart(line), m_caret - surroundingReach));
    int to = std::min(m_content.lineEnd(line), m_caret + surroundingReach);
    if (m_content.snap(to) != to)
        to = m_content.nextPosition(m_content.snap(to));
    *start = from;
    return m_content.mid(from, to - from);
}

QVariant TextView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    auto *self = const_cast<TextView *>(this);
    int start = 0;
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImHints:
        return static_cast<int>(Qt::ImhMultiLine);
    case Qt::ImCursorRectangle:
        return QRectF(self->caretRectAt(m_caret));
    case Qt::ImAnchorRectangle:
        return QRectF(self->caretRectAt(m_anchor));
    case Qt::ImFont:
        return m_layouts.font();
    case Qt::ImAbsolutePosition:
        return m_caret;
    case Qt::ImCursorPosition: {
        surroundingText(&start);
        return m_caret - start;
    }
    case Qt::ImAnchorPosition: {
        const QString text = surroundingText(&start);
        return std::clamp(m_anchor - start, 0, static_cast<int>(text.size()));
    }
    case Qt::ImSurroundingText:
        return surroundingText(&start);
    case Qt::ImTextBeforeCursor: {
        const QString text = surroundingText(&start);
        return text.left(m_caret - start);
    }
    case Qt::ImTextAfterCursor: {
        const QString text = surroundingText(&start);
        return text.mid(m_caret - start);
    }
    case Qt::ImCurrentSelection:
        return selectionEnd() - selectionStart() <= selectionLimit ? selectedText() : QString();
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

} // namespace textengine
