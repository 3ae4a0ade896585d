#pragma once

#include <QString>

// How the desktop knows the program.

// The desktop entry's name without ".desktop", set by the build, which
// gives the installed icon and metainfo the same name. The window names it
// so that the taskbar groups the window with its launcher.
QString DesktopFileName();

// The name of the program's own folder in the per-user configuration
// location.
QString ApplicationName();

// Whether the executable in this folder is the copy an installation put in
// place: the program's desktop entry lies where the install rules put it
// relative to the executable's folder (<prefix>/share/applications beside
// <prefix>/bin).
bool IsInstalledCopy(const QString &executableFolder);
