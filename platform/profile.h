#pragma once

#include <QList>
#include <QString>
#include <utility>

// The profile-string service: the settings file in INI form. Windows uses
// the system's own service; elsewhere our emulation follows its observable
// rules (names match case-insensitively, the first section and key of a name
// win, blanks around names and values are ignored, one pair of outer quotes
// is removed on reading, comments and foreign lines are kept).
namespace platform {

// Places the key's value, cut to size - 1 characters, in `value` and returns
// the number of characters placed (0 for an empty value). When the file,
// section or key is missing, the default takes the value's place, without
// its trailing spaces and cut the same way.
int readProfileString(const QString &section, const QString &key, const QString &defaultValue, QString &value, int size,
                      const QString &file);

// Creates the file, section and key as needed and replaces the key's value.
// Every other line stays as it was. The file is replaced atomically under a
// lock shared with other processes. Returns false when nothing was written.
bool writeProfileString(const QString &section, const QString &key, const QString &value, const QString &file);

// Several keys of one section, in the order given, with the bytes the single
// writes one after the other would leave; a key that cannot be written is
// skipped. Elsewhere than on Windows the file is replaced once, so that it
// holds either all the new values or none.
using ProfileEntries = QList<std::pair<QString, QString>>;
bool writeProfileStrings(const QString &section, const ProfileEntries &entries, const QString &file);

} // namespace platform
