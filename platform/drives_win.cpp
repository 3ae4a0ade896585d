#include "platform/drives.h"
#include "platform/drivestate.h"

#include <QDir>
#include <QFileInfo>

#include <cwchar>
#include <iterator>
#include <string>

#include <windows.h>

namespace platform {

namespace {

bool isDriveSpec(const QString &path)
{
    return path.size() == 2 && path.at(1) == u':' && path.at(0).isLetter() && path.at(0).unicode() < 128;
}

QStringList logicalDrives()
{
    QStringList drives;
    wchar_t buffer[512] = {};
    const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(std::size(buffer) - 1), buffer);
    if (length == 0 || length >= std::size(buffer))
        return drives;
    // "C:\<NUL>D:\<NUL><NUL>"
    for (const wchar_t *entry = buffer; *entry; entry += wcslen(entry) + 1) {
        const QString root = QString::fromWCharArray(entry);
        if (root.size() >= 2 && isDriveSpec(root.left(2)))
            drives.append(root.left(2).toLower());
    }
    return drives;
}

} // namespace

QStringList drives()
{
    if (!drivestate::overrideList().isEmpty())
        return drivestate::overrideList();
    return logicalDrives();
}

QString driveOf(const QString &path)
{
    const QString head = path.left(2);
    return isDriveSpec(head) ? head.toLower() : QString();
}

bool driveReadable(const QString &drive)
{
    if (!isDriveSpec(drive))
        return false;
    const std::wstring root = (drive + u'\\').toStdWString();
    // No "insert a disk" box for an empty drive: the answer is just no.
    DWORD previousMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previousMode);
    const BOOL present = GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0);
    SetThreadErrorMode(previousMode, nullptr);
    return present != 0 && QFileInfo(QString::fromStdWString(root)).isReadable();
}

QString currentFolderOfDrive(const QString &drive)
{
    const QString key = drive.toLower();
    const QString remembered = drivestate::rememberedFolder(key);
    return remembered.isEmpty() ? key + u'\\' : remembered;
}

void rememberFolder(const QString &folder)
{
    const QString drive = driveOf(folder);
    if (!drive.isEmpty())
        drivestate::remember(drive, QDir::toNativeSeparators(QDir::cleanPath(folder)));
}

std::optional<QString> folderForDriveSpec(const QString &path)
{
    if (!isDriveSpec(path))
        return std::nullopt;
    return currentFolderOfDrive(path);
}

} // namespace platform
