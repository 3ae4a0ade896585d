#include "platform/filestamp.h"

#include <QFile>

#include <sys/stat.h>

namespace platform {

namespace {

std::optional<FileStamp> stampOf(const struct stat &info)
{
    if (!S_ISREG(info.st_mode))
        return std::nullopt;
    return FileStamp{quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size),
                     qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

} // namespace

std::optional<FileStamp> fileStamp(const QString &path)
{
    struct stat info;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return stampOf(info);
}

std::optional<FileStamp> fileStamp(const QFileDevice &file)
{
    struct stat info;
    if (file.handle() < 0 || ::fstat(file.handle(), &info) != 0)
        return std::nullopt;
    return stampOf(info);
}

} // namespace platform
