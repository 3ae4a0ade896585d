#include "platform/profile.h"

#include "platform/inifile.h"
#include "platform/profilelock.h"
#include "platform/regularfile.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Whether an existing file may be replaced: a regular file that we may write
// and whose permission bits let someone write it (root would be allowed to
// replace a read-only file, which the user meant to protect).
bool mayReplace(const QByteArray &nativePath, const struct stat &info)
{
    return S_ISREG(info.st_mode) && (info.st_mode & 0222) != 0 && ::access(nativePath.constData(), W_OK) == 0;
}

bool replaceFile(const QString &path, const QByteArray &bytes, const struct stat *oldInfo)
{
    QSaveFile save(path);
    if (!save.open(QIODevice::WriteOnly))
        return false;
    if (save.write(bytes) != bytes.size()) {
        save.cancelWriting();
        return false;
    }
    if (oldInfo) {
        // The new file takes the old one's place, so it keeps its mode and,
        // where we may set it, its owner.
        const int handle = save.handle();
        if (::fchmod(handle, oldInfo->st_mode & 07777) != 0) {
            save.cancelWriting();
            return false;
        }
        if (::geteuid() == 0)
            (void)::fchown(handle, oldInfo->st_uid, oldInfo->st_gid);
    }
    return save.commit();
}

} // namespace

int readProfileString(const QString &section, const QString &key, const QString &defaultValue,
                      QString &value, int size, const QString &file)
{
    const std::optional<QByteArray> text = readRegularFile(file);
    const std::optional<QString> found = text ? inifile::findValue(*text, section, key) : std::nullopt;
    return inifile::placeAnswer(found ? *found : inifile::defaultAnswer(defaultValue), size, value);
}

bool writeProfileString(const QString &section, const QString &key, const QString &value,
                        const QString &file)
{
    if (!inifile::isWritableEntry(section, key, value))
        return false;
    const profilelock::SingleWriteLock lock(file);
    if (!lock.held())
        return false;

    const QByteArray nativePath = QFile::encodeName(file);
    struct stat info;
    const bool exists = ::stat(nativePath.constData(), &info) == 0;
    if (!exists && errno != ENOENT)
        return false;
    if (exists && !mayReplace(nativePath, info))
        return false;

    const std::optional<QByteArray> text = exists ? readRegularFile(file) : QByteArray();
    if (!text)
        return false;
    const QByteArray updated = inifile::withValue(*text, section, key, value);
    if (exists && updated == *text)
        return true;
    return replaceFile(file, updated, exists ? &info : nullptr);
}

} // namespace platform
