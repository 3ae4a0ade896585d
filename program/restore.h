#pragma once

#include "ui/main/windowstate.h"

#include <QString>

// The working state kept in the settings file, as start-up hands it to the
// main window. A path on the command line names the browser's folder
// instead of the remembered one.
WindowState RememberedWindowState(const QString &commandLine);
