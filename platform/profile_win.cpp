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
    if (!inifile::isWritableEntry(section, key, value))
        return false;
    // The system service does not coordinate processes; our instances do.
    const profilelock::SingleWriteLock lock(file);
    if (!lock.held())
        return false;
    return WritePrivateProfileStringW(wide(section), wide(key), wide(inifile::storedForm(value)), wide(file)) != 0;
}

} // namespace platform
