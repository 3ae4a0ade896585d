#pragma once

#include "platform/filestamp.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace platform {

// The whole content of a regular file, or of the regular file a symbolic
// link leads to, also when it shrinks or grows while being read. Nothing for
// a missing path, for anything that is no regular file (opening a FIFO or a
// device for reading can block for ever or never end) and for a file that
// cannot be read; `error`, when given, then says why. `stamp`, when given,
// receives the stamp of the file opened, taken before its first byte is
// read: a change while it is read makes the stamp differ from the file's.
// No read waits for ever: one that moves no byte for a second (a device
// that waits for data, a network mount that is gone) counts as failed.
std::optional<QByteArray> readRegularFile(const QString &path, QString *error = nullptr, FileStamp *stamp = nullptr);

// Tests make reads stall: the hook runs where the read begins, on the thread
// that reads. Returns the hook it replaces.
using ReadHook = std::function<void(const QString &path)>;
ReadHook setReadHook(ReadHook hook);

} // namespace platform
