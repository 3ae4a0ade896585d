#include "forms/designfont.h"

#include <QFontDatabase>
#include <QFontInfo>

namespace forms {

QFont designFont(const QString &name, double points, bool bold)
{
    QFont font;
    if (name.compare(QLatin1String("Fixedsys"), Qt::CaseInsensitive) == 0) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        // Some platforms (the offscreen one among them) report their general
        // font as the fixed one; ask the font matcher for a monospace face.
        if (!QFontInfo(font).fixedPitch()) {
            font = QFont(QStringLiteral("monospace"));
            font.setStyleHint(QFont::TypeWriter);
            font.setFixedPitch(true);
        }
    } else if (name.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0) {
        font = QFont(QStringLiteral("Arial"));
        font.setStyleHint(QFont::SansSerif);
    } else {
        // "MS Sans Serif", and the symbol font whose captions the windows
        // replace by icons, use the system's GUI font.
        font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    }
    if (points > 0)
        font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace forms
