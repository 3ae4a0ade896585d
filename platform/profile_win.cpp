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

int readProfileString(const QString &section, const QString &key, const QString &defaultValue,
                      QString &value, int size, const QString &file)
{
    value = inifile::cutToSize(defaultValue, size);
    if (size < 2 || !inifile::isValidSection(section) || !inifile::isValidKey(key))
        return 0;
    std::vector<wchar_t> buffer(size_t(size), L'\0');
    const DWORD count = GetPrivateProfileStringW(wide(section), wide(key), L"", buffer.data(), DWORD(size),
                                                 wide(file));
    return inifile::takeFound(QString::fromWCharArray(buffer.data(), int(count)), size, value);
}

bool writeProfileString(const QString &section, const QString &key, const QString &value,
                        const QString &file)
{
    if (!inifile::isWritableEntry(section, key, value))
        return false;
    // The system service does not coordinate processes; our instances do.
    const profilelock::SingleWriteLock lock(file);
    if (!lock.held())
        return false;
    return WritePrivateProfileStringW(wide(section), wide(key), wide(inifile::storedForm(value)), wide(file))
        != 0;
}

} // namespace platform
