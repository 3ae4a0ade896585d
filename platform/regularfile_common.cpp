#include "platform/regularfile.h"

#include <QFile>
#include <QFileInfo>

namespace platform {

namespace {

std::optional<QByteArray> failed(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return std::nullopt;
}

} // namespace

std::optional<QByteArray> readRegularFile(const QString &path, QString *error, FileStamp *stamp)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return failed(error, QStringLiteral("not a readable file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return failed(error, file.errorString());
    if (stamp) {
        const std::optional<FileStamp> opened = fileStamp(file);
        if (!opened)
            return failed(error, QStringLiteral("not a readable file"));
        *stamp = *opened;
    }

    QByteArray bytes(file.size(), Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const qint64 count = file.read(bytes.data() + got, bytes.size() - got);
        if (count < 0)
            return failed(error, file.errorString());
        if (count == 0)
            break; // the file shrank while being read
        got += qsizetype(count);
    }
    bytes.truncate(got);
    // The file may also have grown.
    const QByteArray rest = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failed(error, file.errorString());
    bytes.append(rest);
    return bytes;
}

} // namespace platform
