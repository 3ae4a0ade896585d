#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Drives as the browser shows them. Windows: drive letters ("c:"), the drive
// of a path is its first two characters. Elsewhere: the mounted file systems
// a user works on ("/" and the mounts under it that hold user data), and the
// drive of a path is the longest mount point that is a prefix of it.
namespace platform {

QStringList drives();

// The drive that holds `path`, or the empty text when none does.
QString driveOf(const QString &path);

// Whether the drive can be read now (a medium is present, the mount answers).
bool driveReadable(const QString &drive);

// The drive's current folder: the last folder shown on it during this run,
// else its root. Folder lists record it through rememberFolder().
QString currentFolderOfDrive(const QString &drive);
void rememberFolder(const QString &folder);

// When `path` names a drive itself rather than a folder (Windows "c:"),
// the folder it stands for: the drive's current folder.
std::optional<QString> folderForDriveSpec(const QString &path);

// Tests replace the list of drives (and with it driveOf); an empty list
// returns to the real ones. Returns the list it replaces.
QStringList setDrivesOverride(QStringList drives);

} // namespace platform
