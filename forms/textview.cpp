#include "forms/textview.h"

#include "forms/wraplayout.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <limits>

namespace forms {

namespace {

// Blank pixels around the text, as a plain-text box leaves them.
constexpr int margin = 4;

} // namespace

TextView::TextView(QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_layouts(m_content, m_widths)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_widths.setFont(font());
    m_rowHeight = std::max(1, static_cast<int>(std::ceil(m_widths.metrics().lineSpacing())));
    m_layouts.reset(viewport()->width() - 2 * margin);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TextView::scrolled);
    updateScrollBar();
}

bool TextView::setText(const QString &text)
{
    if (m_content.equals(text))
        return false;
    m_content.setText(text);
    m_history.clear();
    m_caret = m_anchor = 0;
    m_goalX = -1;
    m_top = Row();
    m_preedit.clear();
    m_layouts.reset(viewport()->width() - 2 * margin);
    updateScrollBar();
    viewport()->update();
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
    m_history.endTyping();
    ensureCaretVisible();
    restartBlink();
    viewport()->update();
}

int TextView::visualRowCount(int line)
{
    return m_layouts.rowCount(std::clamp(line, 0, lineCount() - 1));
}

void TextView::relayout()
{
    m_layouts.reset(viewport()->width() - 2 * margin);
    updateScrollBar();
    viewport()->update();
}

void TextView::updateScrollBar()
{
    const int visible = visibleRows();
    QScrollBar *bar = verticalScrollBar();
    m_syncingScrollBar = true;
    bar->setRange(0, std::max(0, m_layouts.totalRows() - visible));
    bar->setPageStep(visible);
    bar->setSingleStep(1);
    bar->setValue(m_layouts.firstRow(m_top.line) + m_top.row);
    m_syncingScrollBar = false;
}

void TextView::scrolled(int value)
{
    if (m_syncingScrollBar)
        return;
    const int line = m_layouts.lineAtRow(value);
    const int row = value - m_layouts.firstRow(line);
    m_top = {line, std::clamp(row, 0, m_layouts.rowCount(line) - 1)};
    viewport()->update();
}

int TextView::visibleRows() const
{
    return std::max(1, (viewport()->height() - margin) / m_rowHeight);
}

void TextView::ensureCaretVisible()
{
    const Row caret = rowOf(m_caret);
    const int distance = rowDistance(m_top, caret);
    if (distance < 0) {
        m_top = caret;
    } else if (distance >= visibleRows()) {
        Row top = caret;
        for (int i = 1; i < visibleRows() && previousRow(top); ++i) {
        }
        m_top = top;
    }
    updateScrollBar();
}

int TextView::rowDistance(Row from, Row to)
{
    // Every line has a row at least, so lines far apart are rows far apart;
    // near ones are wrapped first so that the count is exact.
    const int limit = visibleRows() + 2;
    if (to.line - from.line > limit)
        return std::numeric_limits<int>::max() / 2;
    if (from.line - to.line > limit)
        return std::numeric_limits<int>::min() / 2;
    for (int line = std::min(from.line, to.line); line <= std::max(from.line, to.line); ++line)
        m_layouts.rows(line);
    return m_layouts.firstRow(to.line) + to.row - m_layouts.firstRow(from.line) - from.row;
}

void TextView::fixTop()
{
    m_top.line = std::clamp(m_top.line, 0, lineCount() - 1);
    m_top.row = std::clamp(m_top.row, 0, m_layouts.rowCount(m_top.line) - 1);
}

TextView::Row TextView::rowOf(int position)
{
    const int line = m_content.lineOf(position);
    const std::vector<int> &rows = m_layouts.rows(line);
    const int offset = position - m_content.lineStart(line);
    const auto row = std::upper_bound(rows.begin(), rows.end(), offset) - rows.begin() - 1;
    return {line, static_cast<int>(row)};
}

int TextView::rowStart(Row row)
{
    return m_content.lineStart(row.line) + m_layouts.rows(row.line)[static_cast<size_t>(row.row)];
}

int TextView::rowEnd(Row row)
{
    const std::vector<int> &rows = m_layouts.rows(row.line);
    if (static_cast<size_t>(row.row) + 1 < rows.size())
        return m_content.lineStart(row.line) + rows[static_cast<size_t>(row.row) + 1];
    return m_content.lineEnd(row.line);
}

bool TextView::isLastRow(Row row)
{
    return row.row + 1 >= m_layouts.rowCount(row.line);
}

bool TextView::nextRow(Row &row)
{
    if (!isLastRow(row)) {
        ++row.row;
        return true;
    }
    if (row.line + 1 >= lineCount())
        return false;
    row = {row.line + 1, 0};
    return true;
}

bool TextView::previousRow(Row &row)
{
    if (row.row > 0) {
        --row.row;
        return true;
    }
    if (row.line <= 0)
        return false;
    row.line -= 1;
    row.row = m_layouts.rowCount(row.line) - 1;
    return true;
}

qreal TextView::xOf(Row row, int position)
{
    const int lineEnd = m_content.lineEnd(row.line);
    qreal x = 0;
    for (int i = rowStart(row); i < position && i < lineEnd;) {
        const Cluster cluster = clusterAt(m_content, i, lineEnd, x, m_widths);
        x += cluster.advance;
        i += cluster.length;
    }
    return x;
}

int TextView::positionInRow(Row row, qreal x)
{
    const int lineEnd = m_content.lineEnd(row.line);
    const int end = rowEnd(row);
    qreal at = 0;
    int last = rowStart(row);
    for (int i = last; i < end;) {
        const Cluster cluster = clusterAt(m_content, i, lineEnd, at, m_widths);
        if (x < at + cluster.advance / 2)
            return i;
        at += cluster.advance;
        last = i;
        i += cluster.length;
    }
    // A wrapped row ends before its last character: its end is where the
    // next row starts.
    return isLastRow(row) ? end : last;
}

int TextView::positionAt(const QPoint &point)
{
    fixTop();
    Row row = m_top;
    int steps = static_cast<int>(std::floor(qreal(point.y() - margin) / m_rowHeight));
    for (; steps > 0 && nextRow(row); --steps) {
    }
    for (; steps < 0 && previousRow(row); ++steps) {
    }
    return positionInRow(row, point.x() - margin);
}

QRect TextView::caretRect()
{
    fixTop();
    const Row caret = rowOf(m_caret);
    const int distance = rowDistance(m_top, caret);
    if (distance < 0 || distance > visibleRows() + 1)
        return QRect();
    const int x = margin + static_cast<int>(std::round(xOf(caret, m_caret)));
    return QRect(x, margin + distance * m_rowHeight, 1, m_rowHeight);
}

void TextView::paintEvent(QPaintEvent *event)
{
    m_layouts.trim(m_top.line);
    fixTop();
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    painter.setFont(m_widths.font());
    Row row = m_top;
    for (int y = margin; y < viewport()->height(); y += m_rowHeight) {
        if (y + m_rowHeight > event->rect().top())
            paintRow(painter, row, y);
        if (!nextRow(row))
            break;
    }
    const QRect caret = caretRect();
    if (!caret.isNull()) {
        if (!m_preedit.isEmpty()) {
            QFont underlined = m_widths.font();
            underlined.setUnderline(true);
            painter.setFont(underlined);
            const QRectF box(caret.left(), caret.top(), m_widths.metrics().horizontalAdvance(m_preedit), m_rowHeight);
            painter.fillRect(box, palette().color(QPalette::Base));
            painter.setPen(palette().color(QPalette::Text));
            painter.drawText(QPointF(box.left(), caret.top() + m_widths.metrics().ascent()), m_preedit);
        } else if (hasFocus() && m_caretShown) {
            painter.fillRect(caret, palette().color(QPalette::Text));
        }
    }
}

void TextView::paintRow(QPainter &painter, Row row, int y)
{
    const int begin = rowStart(row);
    const int end = rowEnd(row);
    const int baseline = y + static_cast<int>(std::round(m_widths.metrics().ascent()));
    painter.setPen(palette().color(QPalette::Text));
    drawRun(painter, row, begin, end, baseline);

    const int from = std::max(selectionStart(), begin);
    // The line break belongs to the last row of its line.
    const bool breakSelected = isLastRow(row) && selectionEnd() > end && row.line + 1 < lineCount();
    const int to = std::min(selectionEnd(), end);
    if (from > to || (from == to && !breakSelected) || selectionStart() == selectionEnd())
        return;
    const qreal left = margin + xOf(row, from);
    qreal right = margin + xOf(row, to);
    if (breakSelected)
        right += m_widths.advance(U' ');
    const QRectF area(left, y, right - left, m_rowHeight);
    painter.fillRect(area, palette().color(QPalette::Highlight));
    painter.save();
    painter.setClipRect(area);
    painter.setPen(palette().color(QPalette::HighlightedText));
    drawRun(painter, row, begin, end, baseline);
    painter.restore();
}

void TextView::drawRun(QPainter &painter, Row row, int from, int to, int baseline)
{
    // Plain characters go out in runs; everything else (tabs, control
    // characters, combining sequences, other scripts) one by one at the place
    // the layout gave it, so that the caret always matches what is drawn.
    const int lineEnd = m_content.lineEnd(row.line);
    const QString chars = m_content.mid(from, to - from);
    const auto count = static_cast<int>(chars.size());
    QString run;
    qreal runX = 0;
    qreal x = 0;
    auto flush = [&] {
        if (!run.isEmpty())
            painter.drawText(QPointF(margin + runX, baseline), run);
        run.clear();
    };
    for (int i = 0; i < count;) {
        const char16_t c = chars.at(i).unicode();
        const bool marked = i + 1 < count && chars.at(i + 1).unicode() >= 0x300 && chars.at(i + 1).isMark();
        if (CharWidths::isSimple(c) && !marked) {
            if (run.isEmpty())
                runX = x;
            run += QChar(c);
            x += m_widths.advance(c);
            ++i;
            continue;
        }
        flush();
        const Cluster cluster = clusterAt(m_content, from + i, lineEnd, x, m_widths);
        if (c != u'\t') {
            const QString glyph = CharWidths::isPlaceholder(cluster.codePoint) ? QString(CharWidths::placeholder())
                                                                               : chars.mid(i, cluster.length);
            painter.drawText(QPointF(margin + x, baseline), glyph);
        }
        x += cluster.advance;
        i += cluster.length;
    }
    flush();
}

void TextView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (viewport()->width() - 2 * margin != m_layouts.width())
        relayout();
    else
        updateScrollBar();
}

void TextView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_widths.setFont(font());
        m_rowHeight = std::max(1, static_cast<int>(std::ceil(m_widths.metrics().lineSpacing())));
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
    if (event->timerId() != m_blink.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    m_caretShown = !m_caretShown;
    viewport()->update(caretRect().adjusted(-1, 0, 1, 0));
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

} // namespace forms
