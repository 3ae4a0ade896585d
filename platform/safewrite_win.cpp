#include "platform/safewrite.h"

#include <QSaveFile>

#include <windows.h>

#include <string>

namespace platform {

namespace {

// Several hard links: a rename would split them, so the file is written in
// place, after its new size has been reserved on disk.
bool hasSeveralLinks(const std::wstring &path)
{
    const HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool several = GetFileInformationByHandle(file, &info) && info.nNumberOfLinks > 1;
    CloseHandle(file);
    return several;
}

bool setSize(HANDLE file, qint64 size)
{
    LARGE_INTEGER position;
    position.QuadPart = size;
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

bool writeInPlace(const std::wstring &path, const QByteArray &bytes)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER oldSize{};
    bool ok = GetFileSizeEx(file, &oldSize) != 0;
    // Growing the file first reserves the space; a full disk fails here,
    // before an old byte is overwritten.
    if (ok && bytes.size() > oldSize.QuadPart && !setSize(file, bytes.size())) {
        setSize(file, oldSize.QuadPart);
        ok = false;
    }
    if (ok) {
        LARGE_INTEGER start{};
        ok = SetFilePointerEx(file, start, nullptr, FILE_BEGIN) != 0;
        qsizetype done = 0;
        while (ok && done < bytes.size()) {
            DWORD written = 0;
            const DWORD chunk = DWORD(qMin<qsizetype>(bytes.size() - done, 1 << 30));
            ok = WriteFile(file, bytes.constData() + done, chunk, &written, nullptr) && written == chunk;
            done += written;
        }
        ok = ok && setSize(file, bytes.size()) && FlushFileBuffers(file);
    }
    CloseHandle(file);
    return ok;
}

bool writeReplacing(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    // commit() does not notice a short write, so every count is checked.
    const qint64 written = bytes.isEmpty() ? 0 : file.write(bytes);
    if (written != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

bool writeFileSafely(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        return false;
    const std::wstring native = path.toStdWString();
    const DWORD attributes = GetFileAttributesW(native.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return (error == ERROR_FILE_NOT_FOUND) && writeReplacing(path, bytes);
    }
    if (!mayReplaceFile(path))
        return false;
    if (hasSeveralLinks(native))
        return writeInPlace(native, bytes);
    return writeReplacing(path, bytes);
}

bool mayReplaceFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    const DWORD attributes = GetFileAttributesW(path.toStdWString().c_str());
    return attributes != INVALID_FILE_ATTRIBUTES
        && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_READONLY)) == 0;
}

} // namespace platform
