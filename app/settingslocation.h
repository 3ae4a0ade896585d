#pragma once

#include <QString>

// Where the settings file lies, chosen once at start-up from its place
// beside the executable: that place when the executable's folder takes new
// files and is no installation's (the portable case), else a file of the
// same name in the per-user configuration location.
QString SettingsFileLocation(const QString &besideExecutable);

// Before a write: creates the per-user configuration folder, and any of its
// missing parents, for the user alone, when the file lies in it. The folder
// of any other file is never created.
void CreateSettingsFolderFor(const QString &file);

// The folder the browser starts in when none is remembered: the
// executable's folder in the portable case; an installed program's folder
// holds no documents, so with per-user settings it is the home folder.
// Both folders end in a separator.
QString FirstRunFolder(const QString &executableFolder, const QString &settingsFile);
