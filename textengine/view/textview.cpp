#include "textengine/view/textview.h"

#include "textengine/view/primaryselection.h"
#include "textengine/view/textaccessible.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace textengine {

TextView::TextView(QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_layouts(m_content)
    , m_rows(m_content, m_layouts)
{
    installAccessibleFactory();
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_layouts.setFont(font(), viewport());
    m_layouts.setWidth(viewport()->width() - textLeft() - margin);
    m_rows.reset();
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TextView::scrolled);
    updateScrollBar();
}

TextView::~TextView()
{
    keepPrimarySelection();
}

bool TextView::setText(const QString &text)
{
    if (m_content.equals(text))
        return false;
    keepPrimarySelection();
    const QString oldText = accessibleText(this);
    if (m_preedit.isActive())
        QGuiApplication::inputMethod()->reset();
    m_preedit = {};
    m_layouts.setPreedit({});
    m_content.setText(text);
    if (m_formatSource)
        m_formatSource->textReset();
    m_history.clear();
    m_caret = m_anchor = 0;
    m_goalX = -1;
    m_top = Row();
    // One reset at the width the new line count's numbers leave.
    updateLineNumberDigits();
    m_layouts.setWidth(viewport()->width() - textLeft() - margin);
    m_rows.reset();
    updateScrollBar();
    viewport()->update();
    textReplacedForAccessibility(this, oldText);
    updateMicroFocus();
    emit textReset();
    emit caretPositionChanged();
    return true;
}

QString TextView::selectedText() const
{
    return m_content.mid(selectionStart(), selectionEnd() - selectionStart());
}

void TextView::setCaretPosition(int position)
{
    select(position, position);
}

void TextView::select(int anchor, int caret)
{
    m_anchor = m_content.snap(anchor);
    m_caret = m_content.snap(caret);
    m_goalX = -1;
    m_history.endRun();
    caretMoved();
}

int TextView::visualRowCount(int line)
{
    return m_rows.lineRows(std::clamp(line, 0, lineCount() - 1));
}

std::pair<int, int> TextView::rowRange(int position)
{
    const Row row = m_rows.rowOf(std::clamp(position, 0, length()));
    return {m_rows.rowStart(row), m_rows.rowEnd(row)};
}

void TextView::setMarkSource(MarkSource source)
{
    m_markSource = std::move(source);
    viewport()->update();
}

void TextView::relayout()
{
    // The row at the top keeps its first character on screen.
    const int topPosition = m_rows.rowStart(m_rows.clamp(m_top));
    m_layouts.setWidth(viewport()->width() - textLeft() - margin);
    m_rows.reset();
    m_top = m_rows.rowOf(topPosition);
    updateScrollBar();
    viewport()->update();
    updateMicroFocus();
}

void TextView::updateScrollBar()
{
    const int visible = visibleRows();
    QScrollBar *bar = verticalScrollBar();
    m_syncingScrollBar = true;
    bar->setRange(0, std::max(0, m_rows.totalRows() - visible));
    bar->setPageStep(visible);
    bar->setSingleStep(1);
    bar->setValue(m_rows.rowNumber(m_top));
    m_syncingScrollBar = false;
}

void TextView::scrolled(int value)
{
    if (m_syncingScrollBar)
        return;
    m_top = m_rows.rowAt(value);
    viewport()->update();
    updateMicroFocus();
}

int TextView::visibleRows() const
{
    return std::max(1, (viewport()->height() - margin) / m_layouts.rowHeight());
}

void TextView::ensureVisible(int position)
{
    const Row row = m_rows.rowOf(position);
    const int distance = m_rows.distance(m_top, row, visibleRows() + 2);
    if (distance < 0) {
        m_top = row;
    } else if (distance >= visibleRows()) {
        Row top = row;
        for (int i = 1; i < visibleRows() && m_rows.previous(top); ++i) {}
        m_top = top;
    }
    updateScrollBar();
}

void TextView::showPosition(int position)
{
    ensureVisible(std::clamp(position, 0, length()));
    viewport()->update();
    updateMicroFocus();
}

int TextView::firstVisibleLine()
{
    m_top = m_rows.clamp(m_top);
    return m_top.line;
}

void TextView::scrollToLine(int line)
{
    m_top = m_rows.clamp({line, 0, 0});
    updateScrollBar();
    viewport()->update();
    updateMicroFocus();
}

void TextView::caretMoved()
{
    ensureVisible(m_caret);
    restartBlink();
    viewport()->update();
    updateMicroFocus();
    caretMovedForAccessibility(this);
    emit caretPositionChanged();
}

void TextView::goToLine(int line)
{
    line = std::clamp(line, 0, lineCount() - 1);
    setCaretPosition(m_content.lineStart(line));
    Row top = m_rows.rowOf(m_content.lineStart(line));
    for (int i = 0; i < visibleRows() / 2 && m_rows.previous(top); ++i) {}
    m_top = top;
    updateScrollBar();
    viewport()->update();
    updateMicroFocus();
}

std::pair<int, int> TextView::visibleRange()
{
    m_top = m_rows.clamp(m_top);
    Row last = m_top;
    for (int i = 1; i < visibleRows() + 1 && m_rows.next(last); ++i) {}
    return {m_rows.rowStart(m_top), m_rows.rowEnd(last)};
}

void TextView::setFormatSource(TextFormatSource *source)
{
    if (m_formatSource == source)
        return;
    m_formatSource = source;
    m_layouts.setFormatSource(source);
    formatsChanged(0, length());
}

void TextView::formatsChanged(int from, int to)
{
    if (from >= to && !(from == to && to == length()))
        return;
    m_rows.relayout(from, to);
    updateScrollBar();
    viewport()->update();
}

void TextView::setExtraFormats(const QList<ExtraFormat> &formats)
{
    if (formats.isEmpty() && m_extraFormats.isEmpty())
        return;
    m_extraFormats = formats;
    viewport()->update();
}

bool TextView::isRightToLeft(Row row)
{
    return m_rows.segment(row.line, row.segment).direction == Qt::RightToLeft;
}

qreal TextView::xOf(Row row, int position)
{
    const Segment segment = m_rows.segment(row.line, row.segment);
    return m_layouts.layout(segment).caretX(row.index, position - segment.from);
}

int TextView::positionInRow(Row row, qreal x, bool onCharacter)
{
    const Segment segment = m_rows.segment(row.line, row.segment);
    return segment.from + m_layouts.layout(segment).positionAt(row.index, x, onCharacter);
}

int TextView::positionAt(const QPoint &point, bool onCharacter)
{
    m_top = m_rows.clamp(m_top);
    Row row = m_top;
    int steps = static_cast<int>(std::floor(qreal(point.y() - margin) / m_layouts.rowHeight()));
    for (; steps > 0 && m_rows.next(row); --steps) {}
    for (; steps < 0 && m_rows.previous(row); ++steps) {}
    return positionInRow(row, point.x() - textLeft(), onCharacter);
}

int TextView::characterAt(const QPoint &point)
{
    return positionAt(point - viewport()->pos(), true);
}

std::optional<QRectF> TextView::caretBox(int position)
{
    m_top = m_rows.clamp(m_top);
    const Row row = m_rows.rowOf(std::clamp(position, 0, length()));
    const int distance = m_rows.distance(m_top, row, visibleRows() + 2);
    if (distance < 0 || distance > visibleRows() + 1)
        return std::nullopt;
    const Segment segment = m_rows.segment(row.line, row.segment);
    const SegmentLayout &layout = m_layouts.layout(segment);
    qreal x = layout.caretX(row.index, position - segment.from);
    if (position == m_caret && m_preedit.isActive()) {
        if (const auto preeditX = layout.preeditCaretX(row.index))
            x = *preeditX;
    }
    // The x is exact: on a high-resolution screen the caret sits on the
    // glyph edge, between the device pixels of one logical pixel.
    return QRectF(textLeft() + x, margin + distance * m_layouts.rowHeight(), 1, m_layouts.rowHeight());
}

QRect TextView::caretRectAt(int position)
{
    const std::optional<QRectF> box = caretBox(position);
    return box ? box->toAlignedRect().translated(viewport()->pos()) : QRect();
}

void TextView::paintEvent(QPaintEvent *event)
{
    m_rows.trim(m_top.line);
    m_top = m_rows.clamp(m_top);
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    const int rowHeight = m_layouts.rowHeight();
    const int rows = (viewport()->height() - margin + rowHeight - 1) / rowHeight;
    Row row = m_top;
    for (int drawn = 0; drawn < rows;) {
        // The rows of one segment go out together: its layout shapes them
        // as one paragraph.
        const Segment segment = m_rows.segment(row.line, row.segment);
        const int count = std::min(static_cast<int>(segment.rows->size()) - row.index, rows - drawn);
        const int y = margin + drawn * rowHeight;
        if (y + count * rowHeight > event->rect().top() && y < event->rect().bottom() + 1)
            paintSegmentRows(painter, row, count, y);
        drawn += count;
        row.index += count - 1;
        if (!m_rows.next(row))
            break;
    }
    const bool showCaret = m_preedit.isActive() ? m_preedit.cursorVisible : hasFocus() && m_caretShown;
    if (const std::optional<QRectF> caret = caretBox(m_caret); caret && showCaret)
        painter.fillRect(*caret, palette().color(QPalette::Text));
    if (m_lineNumbersShown && event->rect().left() < textLeft())
        paintLineNumbers(painter, event->rect());
}

void TextView::paintSegmentRows(QPainter &painter, Row first, int rows, int y)
{
    const Segment segment = m_rows.segment(first.line, first.segment);
    const int last = first.index + rows - 1;
    const int rowHeight = m_layouts.rowHeight();
    const SegmentLayout &layout = m_layouts.layout(segment);
    const QPointF topLeft(textLeft(), y - first.index * rowHeight);
    // The layers' formats, then the marks pulled for what is painted.
    QList<QTextLayout::FormatRange> marks;
    for (const ExtraFormat &extra : m_extraFormats) {
        const int start = std::max(extra.start, segment.from);
        const int end = std::min(extra.end, segment.to);
        if (start < end)
            marks.append({start - segment.from, end - start, extra.format});
    }
    if (m_markSource) {
        for (QTextLayout::FormatRange mark : m_markSource(segment.from, segment.to)) {
            mark.start -= segment.from;
            marks.append(mark);
        }
    }
    layout.draw(painter, topLeft, first.index, last, selectionStart() - segment.from, selectionEnd() - segment.from,
                palette(), marks);
    // A selected line break shows as a blank's width after the line's end.
    const bool lineEnds = segment.to == m_content.lineEnd(first.line) && last + 1 == layout.rowCount();
    if (lineEnds && selectionStart() <= segment.to && selectionEnd() > segment.to && first.line + 1 < lineCount()) {
        const qreal end = layout.lineEndX(last);
        const qreal width = m_layouts.spaceWidth();
        const qreal left = segment.direction == Qt::RightToLeft ? end - width : end;
        painter.fillRect(QRectF(textLeft() + left, y + (last - first.index) * rowHeight, width, rowHeight),
                         palette().color(QPalette::Highlight));
    }
}

void TextView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (viewport()->width() - textLeft() - margin != m_layouts.width())
        relayout();
    else
        updateScrollBar();
}

void TextView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_layouts.setFont(font(), viewport());
        relayout();
    } else if (event->type() == QEvent::PaletteChange) {
        viewport()->update();
    }
}

void TextView::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    restartBlink();
    viewport()->update();
}

void TextView::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_blink.stop();
    viewport()->update();
}

void TextView::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_autoScroll.timerId()) {
        autoScroll();
        return;
    }
    if (event->timerId() != m_blink.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    m_caretShown = !m_caretShown;
    if (const std::optional<QRectF> caret = caretBox(m_caret))
        viewport()->update(caret->toAlignedRect().adjusted(-1, 0, 1, 0));
}

void TextView::restartBlink()
{
    m_caretShown = true;
    const int period = QApplication::cursorFlashTime() / 2;
    if (hasFocus() && period > 0)
        m_blink.start(period, this);
    else
        m_blink.stop();
}

} // namespace textengine
