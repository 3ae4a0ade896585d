#include "forms/charwidths.h"

#include <QChar>
#include <cmath>

namespace forms {

CharWidths::CharWidths()
    : m_metrics(QFont())
{
    setFont(QFont());
}

void CharWidths::setFont(const QFont &font)
{
    m_font = font;
    // Kerning would make a drawn run differ from the sum of its advances.
    m_font.setKerning(false);
    m_metrics = QFontMetricsF(m_font);
    m_ascii.fill(-1.0f);
    m_bmp.clear();
    m_astral.clear();
}

qreal CharWidths::advance(char32_t codePoint)
{
    if (codePoint < m_ascii.size()) {
        float &width = m_ascii[codePoint];
        if (width < 0)
            width = static_cast<float>(measure(codePoint));
        return width;
    }
    if (codePoint <= 0xffff) {
        if (m_bmp.empty())
            m_bmp.assign(0x10000, -1.0f);
        float &width = m_bmp[codePoint];
        if (width < 0)
            width = static_cast<float>(measure(codePoint));
        return width;
    }
    auto it = m_astral.constFind(codePoint);
    if (it == m_astral.constEnd())
        it = m_astral.insert(codePoint, measure(codePoint));
    return it.value();
}

qreal CharWidths::tabAdvance(qreal x)
{
    const qreal tabStop = 8 * std::max<qreal>(1, advance(U' '));
    const qreal next = (std::floor(x / tabStop) + 1) * tabStop;
    return next - x;
}

bool CharWidths::isPlaceholder(char32_t codePoint)
{
    if (codePoint < 0x20 || (codePoint >= 0x7f && codePoint < 0xa0))
        return true;
    return codePoint == 0x2028 || codePoint == 0x2029 || (codePoint >= 0xd800 && codePoint <= 0xdfff)
        || codePoint == 0xfffe || codePoint == 0xffff;
}

qreal CharWidths::measure(char32_t codePoint) const
{
    if (isPlaceholder(codePoint))
        return m_metrics.horizontalAdvance(placeholder());
    if (QChar::isMark(codePoint))
        return 0;
    return m_metrics.horizontalAdvance(QString::fromUcs4(&codePoint, 1));
}

} // namespace forms
