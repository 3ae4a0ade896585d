#pragma once

#include <QStringList>

namespace forms {

class FileMask;

// Names in a folder, sorted without regard to case (names that differ only
// in case keep a fixed order). Hidden entries only when asked for.
QStringList subfolderNames(const QString &folder, bool showHidden);
// Regular files and links to them whose names match the mask.
QStringList fileNames(const QString &folder, const FileMask &mask, bool showHidden);

void sortNamesIgnoringCase(QStringList &names);

} // namespace forms
