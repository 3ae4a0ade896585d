#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Replaces the file's content with `bytes` so that a failure at any point
// leaves the old file byte for byte as it was: written to a temporary file
// beside it and renamed over it, or, where a rename would break what the
// user relies on (several hard links, another owner), written in place after
// the full size has been reserved on disk. Permission bits are kept, a
// symbolic link stays a link to the updated target, and only regular files
// or new paths are written. Returns false on any failure; shows nothing.
bool writeFileSafely(const QString &path, const QByteArray &bytes);

// Whether writeFileSafely may change the existing file (or the file a link
// leads to) at all: a regular file that this process may write and whose
// permission bits let someone write it. No write bit at all is the read-only
// attribute, which holds for root too.
bool mayReplaceFile(const QString &path);

} // namespace platform
