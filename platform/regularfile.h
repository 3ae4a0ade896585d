#pragma once

#include "platform/filestamp.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// The whole content of a regular file, or of the regular file a symbolic
// link leads to, also when it shrinks or grows while being read. Nothing for
// a missing path, for anything that is no regular file (opening a FIFO or a
// device for reading can block for ever or never end) and for a file that
// cannot be read; `error`, when given, then says why. `stamp`, when given,
// receives the stamp of the file opened, taken before its first byte is
// read: a change while it is read makes the stamp differ from the file's.
std::optional<QByteArray> readRegularFile(const QString &path, QString *error = nullptr, FileStamp *stamp = nullptr);

} // namespace platform
