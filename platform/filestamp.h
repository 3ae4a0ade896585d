#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

class QFileDevice;

namespace platform {

// What the file system says of a file without reading it: which file it is
// (device and inode, or volume and file index), how big and when last
// written. Two equal stamps are the same file, unchanged as far as the file
// system can tell.
struct FileStamp
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0; // since the epoch
    bool operator==(const FileStamp &) const = default;
};

// The stamp of the regular file the path names, links followed; nothing for
// a missing path or anything else.
std::optional<FileStamp> fileStamp(const QString &path);
// The stamp of an open file.
std::optional<FileStamp> fileStamp(const QFileDevice &file);

} // namespace platform
