#pragma once

#include <QAccessibleWidget>
#include <QString>

namespace textengine {

class TextContent;
class TextView;

// Offsets as screen readers count them: every line break is one "\n", as
// in Qt's own text widgets, so the CR of a CR LF pair is not counted.
// (A text that still holds lone CRs or LFs next to CR LF pairs, which the
// view rewrites at the first edit, is shown as it is.)
class AccessibleOffsets
{
public:
    explicit AccessibleOffsets(const TextContent &content);
    int toAccessible(int position) const;
    int toPosition(int offset) const;
    int count() const;
    // The characters [from, to) of the document, line breaks as "\n".
    QString text(int from, int to) const;

private:
    const TextContent &m_content;
    bool m_mapped;
};

// What a screen reader sees of a text view: its text with caret and
// selection, text by character, word, sentence, line and paragraph, the
// place of each character on screen, and edits.
class TextViewAccessible :
    public QAccessibleWidget,
    public QAccessibleTextInterface,
    public QAccessibleEditableTextInterface
{
public:
    explicit TextViewAccessible(TextView *view);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(QAccessible::Text type) const override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                             int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                            int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                         int *endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    TextView *view() const;
    // The piece of text of the given kind around a document position.
    std::pair<int, int> rangeAt(int position, QAccessible::TextBoundaryType boundaryType) const;
    QString answer(std::pair<int, int> range, int *startOffset, int *endOffset) const;
};

// Makes screen readers use TextViewAccessible for every text view.
void installAccessibleFactory();

// What the view tells a screen reader, when one listens. `oldText` is the
// whole text before it was replaced (accessibleText() of the view then).
QString accessibleText(const TextView *view);
void textReplacedForAccessibility(TextView *view, const QString &oldText);
void textEditedForAccessibility(TextView *view, int position, const QString &removed, const QString &inserted);
void caretMovedForAccessibility(TextView *view);

} // namespace textengine
