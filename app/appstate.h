#pragma once

#include <QString>

// What start-up finds out once and the windows read for the whole run.
struct AppState
{
    QString AppDir;
    QString AppExe;
    QString AppTitle;
    QString IniFile;
    QString FilePattern;
};

// The one instance for the run.
AppState &App();
