// The column of line numbers at the view's left, drawn with the text.
#include "textengine/view/textview.h"

#include <QFontMetricsF>
#include <QGlyphRun>
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

bool TextView::updateLineNumberDigits()
{
    const int digits = static_cast<int>(QString::number(lineCount()).size());
    if (digits == m_lineNumberDigits)
        return false;
    m_lineNumberDigits = digits;
    return true;
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
    const QColor base = palette().color(QPalette::Base);
    const QColor numbers = m_lineNumberColor.isValid()
        ? m_lineNumberColor
        : QColor::fromRgbF((text.redF() + base.redF()) / 2, (text.greenF() + base.greenF()) / 2,
                           (text.blueF() + base.blueF()) / 2);
    const QColor caretLine = m_caretLineNumberColor.isValid() ? m_caretLineNumberColor : text;
    // The glyphs of the ten digits, looked up once per font.
    for (int bold = 0; bold < 2; ++bold) {
        Digits &digits = m_digits[static_cast<size_t>(bold)];
        QFont shown = font();
        shown.setBold(bold);
        if (digits.source == shown && digits.font.isValid())
            continue;
        digits.source = shown;
        const QRawFont raw = QRawFont::fromFont(shown);
        digits.font = raw;
        const QList<quint32> glyphs = raw.glyphIndexesForString(QStringLiteral("0123456789"));
        for (int d = 0; d < 10 && d < glyphs.size(); ++d)
            digits.glyphs[static_cast<size_t>(d)] = glyphs[d];
        digits.advance = glyphs.size() == 10 ? raw.advancesForGlyphIndexes({glyphs[0]}).value(0).x() : 0;
    }
    const int caretLineIndex = m_content.lineOf(m_caret);
    const qreal right = textLeft() - 2 * margin;
    const qreal ascent = QFontMetricsF(font(), viewport()).ascent();
    const int rowHeight = m_layouts.rowHeight();
    const int rows = (viewport()->height() - margin + rowHeight - 1) / rowHeight;
    Row row = m_rows.clamp(m_top);
    for (int drawn = 0; drawn < rows; ++drawn) {
        const int y = margin + drawn * rowHeight;
        // A wrapped or cut line shows its number on its first row only.
        if (row.segment == 0 && row.index == 0 && y < area.bottom() + 1 && y + rowHeight > area.top()) {
            const bool current = row.line == caretLineIndex;
            const Digits &digits = m_digits[current ? 1 : 0];
            const QString number = QString::number(row.line + 1);
            painter.setPen(current ? caretLine : numbers);
            if (digits.advance > 0) {
                QList<quint32> glyphs;
                QList<QPointF> positions;
                for (qsizetype i = 0; i < number.size(); ++i) {
                    glyphs.append(digits.glyphs[static_cast<size_t>(number[i].unicode() - u'0')]);
                    positions.append(QPointF(i * digits.advance, 0));
                }
                QGlyphRun run;
                run.setRawFont(digits.font);
                run.setGlyphIndexes(glyphs);
                run.setPositions(positions);
                painter.drawGlyphRun(QPointF(right - number.size() * digits.advance, y + ascent), run);
            } else {
                // A font without the digits' glyphs of its own: through text.
                QFont shown = font();
                shown.setBold(current);
                painter.setFont(shown);
                const qreal width = QFontMetricsF(shown, viewport()).horizontalAdvance(number);
                painter.drawText(QPointF(right - width, y + ascent), number);
                painter.setFont(font());
            }
        }
        if (!m_rows.next(row))
            break;
    }
}

} // namespace textengine
