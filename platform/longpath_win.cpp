#include "platform/longpath.h"

#include <windows.h>

#include <vector>

namespace platform {

std::optional<QString> storedLongPath(const QString &path, int limit)
{
    if (path.isEmpty() || limit <= 0)
        return std::nullopt;
    std::vector<wchar_t> buffer(size_t(limit), L'\0');
    const std::wstring wide = path.toStdWString();
    const DWORD length = GetLongPathNameW(wide.c_str(), buffer.data(), DWORD(limit));
    // 0: the path cannot be resolved; limit or more: the buffer was too
    // small and holds nothing.
    if (length == 0 || length >= DWORD(limit))
        return std::nullopt;
    return QString::fromWCharArray(buffer.data(), qsizetype(length));
}

bool fileNamesCaseInsensitive()
{
    return true;
}

} // namespace platform
