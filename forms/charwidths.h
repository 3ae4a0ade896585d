#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <algorithm>
#include <array>
#include <vector>

namespace forms {

// Advances of single characters in one font, cached: the text view places
// every character itself and measures each distinct one only once.
class CharWidths
{
public:
    CharWidths();
    void setFont(const QFont &font);
    const QFont &font() const { return m_font; }
    const QFontMetricsF &metrics() const { return m_metrics; }

    qreal advance(char32_t codePoint);
    // The advance of a tab that starts at x within its row.
    qreal tabAdvance(qreal x);
    // The advance of an average character, for estimates.
    qreal average() { return std::max<qreal>(1, advance(U'x')); }

    // Characters drawn as a placeholder: control characters, separators the
    // font cannot show, halves of broken surrogate pairs.
    static bool isPlaceholder(char32_t codePoint);
    // Characters that can be drawn together in one run with their summed
    // advances (no shaping, no combining marks).
    static bool isSimple(char16_t c) { return (c >= 0x20 && c < 0x7f) || (c >= 0xa0 && c < 0x300 && c != 0xad); }
    static QChar placeholder() { return QChar(0x00b7); }

private:
    qreal measure(char32_t codePoint) const;

    QFont m_font;
    QFontMetricsF m_metrics;
    // Every width is measured when first asked for: a font set while a
    // window is built may be replaced before anything is drawn.
    std::array<float, 128> m_ascii{};
    std::vector<float> m_bmp;
    QHash<char32_t, qreal> m_astral;
};

} // namespace forms
