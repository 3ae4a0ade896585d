#include "forms/textbox.h"

#include "forms/form.h"
#include "forms/twips.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>

namespace forms {

namespace {

// The characters at which the document starts a new block when a text is
// set; a CR LF pair starts one block.
bool isBlockBreak(QChar ch)
{
    return ch == u'\n' || ch == u'\r' || ch == QChar::ParagraphSeparator || ch == QChar(0xfdd0)
        || ch == QChar(0xfdd1);
}

} // namespace

TextBox::TextBox(QWidget *parent)
    : QPlainTextEdit(parent)
    , Placeable(this)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_NoMousePropagation);
    initColors(palette().color(QPalette::Base), palette().color(QPalette::Text));
    connect(document(), &QTextDocument::contentsChange, this, &TextBox::documentEdited);
}

QString TextBox::Text() const
{
    if (!m_textCurrent) {
        // Rebuilt in one pass with CR LF between the document's blocks.
        QString text;
        const QTextDocument *doc = document();
        text.reserve(doc->characterCount() + doc->blockCount());
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
            if (block != doc->begin())
                text += QLatin1String("\r\n");
            text += block.text();
        }
        m_text = text;
        m_textCurrent = true;
    }
    return m_text;
}

void TextBox::SetText(const QString &text)
{
    if (text == Text())
        return;
    m_settingText = true;
    setPlainText(text);
    m_settingText = false;
    m_text = text;
    m_textCurrent = true;
    m_exact = true;
    recordLineStarts();
    emit Change();
}

int TextBox::SelStart() const
{
    return textPositionOf(textCursor().selectionStart());
}

void TextBox::SetSelStart(int position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(documentPositionOf(position));
    setTextCursor(cursor);
    ensureCursorVisible();
}

bool TextBox::SetFocus()
{
    return takeFocus(this);
}

void TextBox::applyColors()
{
    applyPaletteColors(QPalette::Base, QPalette::Text);
}

void TextBox::mouseMoveEvent(QMouseEvent *event)
{
    // The event arrives in viewport coordinates; the box's own are wanted.
    const QPointF at = event->position() + QPointF(viewport()->pos());
    emit MouseMove(buttonMask(event->buttons()), shiftMask(event->modifiers()), at.x() * TwipsPerPixel,
                   at.y() * TwipsPerPixel);
    QPlainTextEdit::mouseMoveEvent(event);
    event->accept();
}

void TextBox::documentEdited(int position, int charsRemoved, int charsAdded)
{
    Q_UNUSED(position);
    if (m_settingText || (charsRemoved == 0 && charsAdded == 0))
        return;
    m_textCurrent = false;
    m_exact = false;
    m_lineStarts.clear();
    emit Change();
}

void TextBox::recordLineStarts()
{
    // Where the text's lines start, needed only while its line breaks are not
    // all CR LF; otherwise a line's start follows from its block number.
    m_lineStarts.clear();
    QList<int> starts{0};
    bool allCrLf = true;
    const int length = m_text.size();
    for (int i = 0; i < length; ++i) {
        const QChar ch = m_text.at(i);
        if (!isBlockBreak(ch))
            continue;
        if (ch == u'\r' && i + 1 < length && m_text.at(i + 1) == u'\n')
            ++i;
        else
            allCrLf = false;
        starts.append(i + 1);
    }
    if (!allCrLf)
        m_lineStarts = std::move(starts);
}

int TextBox::lineStart(int blockNumber) const
{
    if (m_exact && !m_lineStarts.isEmpty())
        return m_lineStarts.at(blockNumber);
    return document()->findBlockByNumber(blockNumber).position() + blockNumber;
}

int TextBox::textPositionOf(int documentPosition) const
{
    const QTextBlock block = document()->findBlock(documentPosition);
    if (!block.isValid())
        return 0;
    return lineStart(block.blockNumber()) + (documentPosition - block.position());
}

int TextBox::documentPositionOf(int textPosition) const
{
    textPosition = std::max(textPosition, 0);
    // The last line that starts at or before the position.
    int low = 0;
    int high = document()->blockCount() - 1;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (lineStart(middle) <= textPosition)
            low = middle;
        else
            high = middle - 1;
    }
    const QTextBlock block = document()->findBlockByNumber(low);
    // A position inside a CR LF pair or beyond the end stays at the line's end.
    const int offset = std::min(textPosition - lineStart(low), block.length() - 1);
    return block.position() + offset;
}

LineTextBox::LineTextBox(QWidget *parent)
    : QLineEdit(parent)
    , Placeable(this)
{
    initColors(palette().color(QPalette::Base), palette().color(QPalette::Text));
    connect(this, &QLineEdit::textChanged, this, &LineTextBox::Change);
}

void LineTextBox::SetText(const QString &text)
{
    setText(text);
}

void LineTextBox::applyColors()
{
    applyPaletteColors(QPalette::Base, QPalette::Text);
}

} // namespace forms
