#include "app/desktopidentity.h"

#include <QDir>
#include <QFileInfo>

QString DesktopFileName()
{
    return QStringLiteral(BRENWICK_DESKTOP_ID);
}

QString ApplicationName()
{
    return QStringLiteral("brenwick-editor");
}

bool IsInstalledCopy(const QString &executableFolder)
{
    const QString entry = QDir(executableFolder)
                              .filePath(QStringLiteral(BRENWICK_DESKTOP_ENTRIES_FROM_BINDIR "/") + DesktopFileName()
                                        + QStringLiteral(".desktop"));
    return QFileInfo(entry).isFile();
}
