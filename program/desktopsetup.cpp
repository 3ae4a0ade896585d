#include "program/desktopsetup.h"

#include "app/desktopidentity.h"
#include "program/qtgermantexts.h"

#include <QApplication>

void SetUpForDesktop(QApplication &app)
{
    // Fixed names, so that a renamed executable keeps its per-user folder
    // and its windows still find their desktop entry.
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName(ApplicationName());
    QGuiApplication::setDesktopFileName(DesktopFileName());
    LoadQtGermanTexts(app);
}
