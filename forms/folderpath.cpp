#include "forms/folderpath.h"

#include "platform/drives.h"

#include <QDir>
#include <QFileInfo>

namespace forms {

std::optional<QString> readableFolder(const QString &path)
{
    QString folder = path;
    if (const std::optional<QString> driveFolder = platform::folderForDriveSpec(path))
        folder = *driveFolder;
    if (folder.isEmpty())
        return std::nullopt;
    const QFileInfo info(QDir::fromNativeSeparators(folder));
    if (!info.isDir() || !info.isReadable())
        return std::nullopt;
    return QDir::toNativeSeparators(QDir::cleanPath(info.absoluteFilePath()));
}

} // namespace forms
