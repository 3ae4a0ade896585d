#include "platform/profile.h"
#include "platform/profilelock.h"

#include "platform/inifile.h"

#include <vector>

#include <windows.h>

namespace platform {

namespace {

LPCWSTR wide(const QString &text)
{
    return reinterpret_cast<LPCWSTR>(text.utf16());
}

} // namespace

int readProfileString(const QString &section, const QString &key, const QString &defaultValue, QString &value, int size,
                      const QString &file)
{
    if (size < 2 || !inifile::isValidSection(section) || !inifile::isValidKey(key))
        return inifile::placeAnswer(inifile::defaultAnswer(defaultValue), size, value);
    // The service itself answers a missing key with the default, its
    // trailing blanks dropped, and counts it.
    std::vector<wchar_t> buffer(size_t(size), L'\0');
    const DWORD count = GetPrivateProfileStringW(wide(section), wide(key), wide(defaultValue), buffer.data(),
                                                 DWORD(size), wide(file));
    return inifile::placeAnswer(QString::fromWCharArray(buffer.data(), int(count)), size, value);
}

bool writeProfileString(const QString &section, const QString &key, const QString &value, const QString &file)
{
    return writeProfileStrings(section, {{key, value}}, file);
}

bool writeProfileStrings(const QString &section, const ProfileEntries &entries, const QString &file)
{
    // The system service does not coordinate processes; our instances do.
    // It writes one key at a time, so the group lands as a whole against
    // other instances, but not against a power cut.
    const profilelock::SingleWriteLock lock(file);
    if (!lock.held())
        return false;
    bool written = false;
    for (const auto &[key, value] : entries) {
        if (inifile::isWritableEntry(section, key, value)
            && WritePrivateProfileStringW(wide(section), wide(key), wide(inifile::storedForm(value)), wide(file)) != 0)
            written = true;
    }
    return written;
}

} // namespace platform
