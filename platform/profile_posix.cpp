#include "platform/profile.h"

#include "platform/inifile.h"
#include "platform/profilelock.h"
#include "platform/regularfile.h"
#include "platform/safewrite.h"

#include <QFile>

#include <cerrno>
#include <optional>

#include <sys/stat.h>

namespace platform {

int readProfileString(const QString &section, const QString &key, const QString &defaultValue, QString &value, int size,
                      const QString &file)
{
    const std::optional<QByteArray> text = readRegularFile(file);
    const std::optional<QString> found = text ? inifile::findValue(*text, section, key) : std::nullopt;
    return inifile::placeAnswer(found ? *found : inifile::defaultAnswer(defaultValue), size, value);
}

bool writeProfileString(const QString &section, const QString &key, const QString &value, const QString &file)
{
    return writeProfileStrings(section, {{key, value}}, file);
}

bool writeProfileStrings(const QString &section, const ProfileEntries &entries, const QString &file)
{
    ProfileEntries writable;
    for (const auto &[key, value] : entries) {
        if (inifile::isWritableEntry(section, key, value))
            writable.append({key, value});
    }
    if (writable.isEmpty())
        return false;
    const profilelock::SingleWriteLock lock(file);
    if (!lock.held())
        return false;

    struct stat info;
    const bool exists = ::stat(QFile::encodeName(file).constData(), &info) == 0;
    if (!exists && errno != ENOENT)
        return false;
    // A file the write would refuse is refused also when it holds the values
    // already.
    if (exists && !mayReplaceFile(file))
        return false;

    const std::optional<QByteArray> text = exists ? readRegularFile(file) : QByteArray();
    if (!text)
        return false;
    QByteArray updated = *text;
    for (const auto &[key, value] : writable)
        updated = inifile::withValue(updated, section, key, value);
    if (exists && updated == *text)
        return true;
    // Written as a document is saved: a failure at any point leaves the old
    // file as it was, and the new one is on disk before it takes its place.
    return writeFileSafely(file, updated);
}

} // namespace platform
