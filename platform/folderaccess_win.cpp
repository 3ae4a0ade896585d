#include "platform/folderaccess.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace platform {

bool canCreateFilesIn(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    // The read-only attribute of a folder says nothing about its access
    // rights (Program Files has none); only a real attempt tells.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("brenwick-probe-XXXXXX")));
    return probe.open();
}

} // namespace platform
