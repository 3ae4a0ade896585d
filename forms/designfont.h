#pragma once

#include <QFont>
#include <QString>

namespace forms {

// Maps a design font name onto this system: "MS Sans Serif" is the default
// GUI font, "Arial" a sans-serif, "Fixedsys" the fixed-pitch font.
QFont designFont(const QString &name, double points, bool bold = false);

} // namespace forms
