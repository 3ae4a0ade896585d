#pragma once

#include <QString>
#include <QtGlobal>

// The variables shared by start-up, the windows and the chooser for the
// whole run.
struct AppState
{
    QString AppDir;
    QString AppExe;
    QString AppTitle;
    QString IniFile;
    QString FilePattern;
    QString StartPath;
    QString CurrentFile;
    QString CssFile;
    QString ChooserFile;
    QString ChooserCaption;
    qint16 ChooserResult = 0;
};

// The one instance for the run.
AppState &App();

// Chooser outcomes.
inline constexpr qint16 ChooserOpen = 1;
inline constexpr qint16 ChooserPicked = 0;
inline constexpr qint16 ChooserCancelled = 99;
