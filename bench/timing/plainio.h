#pragma once

#include <QString>

namespace timing {

// The plain cost of moving a file's bytes: one read() of the whole file,
// and one write() of the same bytes into a new file beside it, without and
// with fsync() (the editor's save syncs).
struct PlainIo
{
    double readMs = 0;
    double writeMs = 0;
    double writeSyncMs = 0;
    bool ok = false;
};

PlainIo measurePlainIo(const QString &path);

} // namespace timing
