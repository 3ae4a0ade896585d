#include "platform/filestamp.h"

#include <QFileDevice>

#include <io.h>
#include <windows.h>

namespace platform {

namespace {

// FILETIME counts 100 ns steps since 1601.
constexpr qint64 epochIn100Ns = 116444736000000000LL;

std::optional<FileStamp> stampOf(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    const qint64 written = (qint64(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime;
    return FileStamp{info.dwVolumeSerialNumber, (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
                     (qint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow, (written - epochIn100Ns) * 100};
}

} // namespace

std::optional<FileStamp> fileStamp(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    const HANDLE handle = CreateFileW(reinterpret_cast<LPCWSTR>(path.utf16()), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const std::optional<FileStamp> stamp = stampOf(handle);
    CloseHandle(handle);
    return stamp;
}

std::optional<FileStamp> fileStamp(const QFileDevice &file)
{
    if (file.handle() < 0)
        return std::nullopt;
    return stampOf(reinterpret_cast<HANDLE>(_get_osfhandle(file.handle())));
}

} // namespace platform
