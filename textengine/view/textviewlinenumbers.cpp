// The column of line numbers at the view's left, drawn with the text.
#include "textengine/view/textview.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace textengine {

int TextView::lineNumberWidth() const
{
    if (!m_lineNumbersShown)
        return 0;
    // The digits of the last line's number, then a gap before the text.
    return static_cast<int>(std::ceil(m_lineNumberDigits * QFontMetricsF(font()).horizontalAdvance(QLatin1Char('9'))))
        + 2 * margin;
}

int TextView::textLeft() const
{
    return margin + lineNumberWidth();
}

void TextView::updateLineNumberWidth()
{
    const int digits = static_cast<int>(QString::number(lineCount()).size());
    if (digits == m_lineNumberDigits)
        return;
    m_lineNumberDigits = digits;
    if (m_lineNumbersShown)
        relayout();
}

void TextView::setLineNumbersShown(bool shown)
{
    if (shown == m_lineNumbersShown)
        return;
    m_lineNumbersShown = shown;
    m_lineNumberDigits = static_cast<int>(QString::number(lineCount()).size());
    relayout();
}

void TextView::setLineNumberColors(const QColor &numbers, const QColor &caretLine)
{
    m_lineNumberColor = numbers;
    m_caretLineNumberColor = caretLine;
    viewport()->update();
}

void TextView::paintLineNumbers(QPainter &painter, const QRect &area)
{
    const QColor text = palette().color(QPalette::Text);
    // Without colours of its own, the numbers are the text's colour half
    // way to the background.
    const QColor numbers = m_lineNumberColor.isValid()
        ? m_lineNumberColor
        : QColor::fromRgbF((text.redF() + palette().color(QPalette::Base).redF()) / 2,
                           (text.greenF() + palette().color(QPalette::Base).greenF()) / 2,
                           (text.blueF() + palette().color(QPalette::Base).blueF()) / 2);
    const QColor caretLine = m_caretLineNumberColor.isValid() ? m_caretLineNumberColor : text;
    QFont bold = font();
    bold.setBold(true);
    const int caretLineIndex = m_content.lineOf(m_caret);
    const qreal right = textLeft() - 2 * margin;
    const int rowHeight = m_layouts.rowHeight();
    const int rows = (viewport()->height() - margin + rowHeight - 1) / rowHeight;
    Row row = m_rows.clamp(m_top);
    for (int drawn = 0; drawn < rows; ++drawn) {
        const int y = margin + drawn * rowHeight;
        // A wrapped or cut line shows its number on its first row only.
        if (row.segment == 0 && row.index == 0 && y < area.bottom() + 1 && y + rowHeight > area.top()) {
            const bool current = row.line == caretLineIndex;
            painter.setFont(current ? bold : font());
            painter.setPen(current ? caretLine : numbers);
            const QString number = QString::number(row.line + 1);
            const qreal width = QFontMetricsF(painter.font(), viewport()).horizontalAdvance(number);
            painter.drawText(QPointF(right - width, y + QFontMetricsF(font(), viewport()).ascent()), number);
        }
        if (!m_rows.next(row))
            break;
    }
    painter.setFont(font());
}

} // namespace textengine
