#include "textengine/view/textaccessible.h"

#include "textengine/model/textcontent.h"
#include "textengine/view/textview.h"

#include <QAccessible>
#include <QTextBoundaryFinder>
#include <algorithm>

namespace textengine {

namespace {

// Sentences are looked for this far around a position within its line.
constexpr int sentenceReach = 4096;

QAccessibleInterface *accessibleTextView(const QString &, QObject *object)
{
    if (auto *view = qobject_cast<TextView *>(object))
        return new TextViewAccessible(view);
    return nullptr;
}

} // namespace

AccessibleOffsets::AccessibleOffsets(const TextContent &content)
    : m_content(content)
    , m_mapped(content.onlyCrLf())
{
}

int AccessibleOffsets::toAccessible(int position) const
{
    position = std::clamp(position, 0, m_content.size());
    // Every line break before the position is one CR LF pair.
    return m_mapped ? position - m_content.lineOf(position) : position;
}

int AccessibleOffsets::toPosition(int offset) const
{
    offset = std::clamp(offset, 0, count());
    if (!m_mapped)
        return offset;
    // The last line whose start, counted without CRs, is at or before it.
    int low = 0;
    int high = m_content.lineCount() - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (m_content.lineStart(middle) - middle <= offset)
            low = middle;
        else
            high = middle - 1;
    }
    return offset + low;
}

int AccessibleOffsets::count() const
{
    return m_mapped ? m_content.size() - (m_content.lineCount() - 1) : m_content.size();
}

QString AccessibleOffsets::text(int from, int to) const
{
    QString text = m_content.mid(from, to - from);
    if (m_mapped)
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

TextViewAccessible::TextViewAccessible(TextView *view)
    : QAccessibleWidget(view, QAccessible::EditableText)
{
}

TextView *TextViewAccessible::view() const
{
    return static_cast<TextView *>(widget());
}

void *TextViewAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TextViewAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.multiLine = true;
    state.selectableText = true;
    state.focusable = true;
    return state;
}

QString TextViewAccessible::text(QAccessible::Text type) const
{
    // The document itself is read through the text interface, piece by
    // piece; a value would copy all of it at every question.
    if (type == QAccessible::Value)
        return QString();
    return QAccessibleWidget::text(type);
}

void TextViewAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    const TextView *text = view();
    if (selectionIndex != 0 || text->selectionStart() == text->selectionEnd())
        return;
    const AccessibleOffsets offsets(text->content());
    *startOffset = offsets.toAccessible(text->selectionStart());
    *endOffset = offsets.toAccessible(text->selectionEnd());
}

int TextViewAccessible::selectionCount() const
{
    return view()->selectionStart() == view()->selectionEnd() ? 0 : 1;
}

void TextViewAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void TextViewAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        view()->setCaretPosition(view()->caretPosition());
}

void TextViewAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    const AccessibleOffsets offsets(view()->content());
    view()->select(offsets.toPosition(startOffset), offsets.toPosition(endOffset));
}

int TextViewAccessible::cursorPosition() const
{
    return AccessibleOffsets(view()->content()).toAccessible(view()->caretPosition());
}

void TextViewAccessible::setCursorPosition(int position)
{
    view()->setCaretPosition(AccessibleOffsets(view()->content()).toPosition(position));
}

QString TextViewAccessible::text(int startOffset, int endOffset) const
{
    const AccessibleOffsets offsets(view()->content());
    return offsets.text(offsets.toPosition(startOffset), offsets.toPosition(std::max(startOffset, endOffset)));
}

int TextViewAccessible::characterCount() const
{
    return AccessibleOffsets(view()->content()).count();
}

std::pair<int, int> TextViewAccessible::rangeAt(int position, QAccessible::TextBoundaryType boundaryType) const
{
    const TextContent &content = view()->content();
    const int size = content.size();
    position = std::clamp(position, 0, size);
    const int line = content.lineOf(position);
    // A line's piece of text ends with its line break.
    auto withBreak = [&content, size](int line, int end) {
        if (end == content.lineEnd(line) && line + 1 < content.lineCount())
            return content.lineStart(line + 1);
        return std::min(end, size);
    };
    switch (boundaryType) {
    case QAccessible::CharBoundary: {
        const int start = content.snap(position);
        return {start, content.nextPosition(start)};
    }
    case QAccessible::WordBoundary:
        return content.wordAt(position);
    case QAccessible::SentenceBoundary: {
        const int first = std::max(content.lineStart(line), position - sentenceReach);
        const int last = std::min(content.lineEnd(line), position + sentenceReach);
        QTextBoundaryFinder finder(QTextBoundaryFinder::Sentence, content.mid(first, last - first));
        finder.setPosition(position - first);
        const qsizetype start = finder.isAtBoundary() ? finder.position() : finder.toPreviousBoundary();
        finder.setPosition(position - first);
        const qsizetype end = finder.toNextBoundary();
        return {first + static_cast<int>(std::max<qsizetype>(0, start)),
                withBreak(line, end < 0 ? last : first + static_cast<int>(end))};
    }
    case QAccessible::LineBoundary: {
        const auto [start, end] = view()->rowRange(position);
        return {start, withBreak(content.lineOf(start), end)};
    }
    case QAccessible::ParagraphBoundary:
        return {content.lineStart(line), withBreak(line, content.lineEnd(line))};
    case QAccessible::NoBoundary:
        break;
    }
    return {0, size};
}

QString TextViewAccessible::answer(std::pair<int, int> range, int *startOffset, int *endOffset) const
{
    const AccessibleOffsets offsets(view()->content());
    *startOffset = offsets.toAccessible(range.first);
    *endOffset = offsets.toAccessible(range.second);
    return offsets.text(range.first, range.second);
}

QString TextViewAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                         int *endOffset) const
{
    const AccessibleOffsets offsets(view()->content());
    const int position = offsets.toPosition(offset);
    if (boundaryType == QAccessible::CharBoundary && position >= view()->length()) {
        *startOffset = *endOffset = offsets.count();
        return QString();
    }
    return answer(rangeAt(position, boundaryType), startOffset, endOffset);
}

QString TextViewAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                             int *endOffset) const
{
    const AccessibleOffsets offsets(view()->content());
    const auto at = rangeAt(offsets.toPosition(offset), boundaryType);
    if (at.first <= 0) {
        *startOffset = *endOffset = 0;
        return QString();
    }
    return answer(rangeAt(view()->content().previousPosition(at.first), boundaryType), startOffset, endOffset);
}

QString TextViewAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                            int *endOffset) const
{
    const AccessibleOffsets offsets(view()->content());
    const auto at = rangeAt(offsets.toPosition(offset), boundaryType);
    if (at.second >= view()->length()) {
        *startOffset = *endOffset = offsets.count();
        return QString();
    }
    return answer(rangeAt(at.second, boundaryType), startOffset, endOffset);
}

QRect TextViewAccessible::characterRect(int offset) const
{
    TextView *text = view();
    const int position = AccessibleOffsets(text->content()).toPosition(offset);
    const QRect before = text->caretRectAt(position);
    if (before.isNull())
        return QRect();
    const QRect after = text->caretRectAt(text->content().nextPosition(position));
    QRect box = before;
    // The character ends where the caret after it stands, when that is on
    // the same row; a right-to-left character ends to the left.
    if (!after.isNull() && after.top() == before.top() && after.left() != before.left())
        box = QRect(QPoint(std::min(before.left(), after.left()), before.top()),
                    QPoint(std::max(before.left(), after.left()) - 1, before.bottom()));
    return QRect(text->mapToGlobal(box.topLeft()), box.size());
}

int TextViewAccessible::offsetAtPoint(const QPoint &point) const
{
    TextView *text = view();
    const QPoint local = text->mapFromGlobal(point);
    if (!text->rect().contains(local))
        return -1;
    return AccessibleOffsets(text->content()).toAccessible(text->characterAt(local));
}

void TextViewAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    const AccessibleOffsets offsets(view()->content());
    view()->showPosition(offsets.toPosition(endIndex));
    view()->showPosition(offsets.toPosition(startIndex));
}

QString TextViewAccessible::attributes(int, int *startOffset, int *endOffset) const
{
    // One look for the whole text.
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}

void TextViewAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void TextViewAccessible::insertText(int offset, const QString &text)
{
    replaceText(offset, offset, text);
}

void TextViewAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    const AccessibleOffsets offsets(view()->content());
    view()->replace(offsets.toPosition(startOffset), offsets.toPosition(endOffset), text);
}

void installAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleTextView);
        return true;
    }();
    Q_UNUSED(installed);
}

QString accessibleText(const TextView *view)
{
    if (!QAccessible::isActive())
        return QString();
    const AccessibleOffsets offsets(view->content());
    return offsets.text(0, view->length());
}

void textReplacedForAccessibility(TextView *view, const QString &oldText)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleTextUpdateEvent event(view, 0, oldText, accessibleText(view));
    QAccessible::updateAccessibility(&event);
}

void textEditedForAccessibility(TextView *view, int position, const QString &removed, const QString &inserted)
{
    if (!QAccessible::isActive())
        return;
    const int offset = AccessibleOffsets(view->content()).toAccessible(position);
    QString gone = removed;
    gone.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QString added = inserted;
    added.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (gone.isEmpty()) {
        QAccessibleTextInsertEvent event(view, offset, added);
        QAccessible::updateAccessibility(&event);
    } else if (added.isEmpty()) {
        QAccessibleTextRemoveEvent event(view, offset, gone);
        QAccessible::updateAccessibility(&event);
    } else {
        QAccessibleTextUpdateEvent event(view, offset, gone, added);
        QAccessible::updateAccessibility(&event);
    }
}

void caretMovedForAccessibility(TextView *view)
{
    if (!QAccessible::isActive())
        return;
    const AccessibleOffsets offsets(view->content());
    QAccessibleTextCursorEvent caret(view, offsets.toAccessible(view->caretPosition()));
    QAccessible::updateAccessibility(&caret);
    QAccessibleTextSelectionEvent selection(view, offsets.toAccessible(view->selectionStart()),
                                            offsets.toAccessible(view->selectionEnd()));
    QAccessible::updateAccessibility(&selection);
}

} // namespace textengine
