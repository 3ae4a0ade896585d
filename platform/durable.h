#pragma once

#include <QString>

class QFileDevice;

namespace platform {

// What was written to the file is on the disk, not only in the system's
// cache: it survives a power cut. File systems that cannot sync count as
// synced.
bool syncFile(const QFileDevice &file);
// The same for a folder's entries (a file created or renamed in it).
bool syncFolder(const QString &folder);

} // namespace platform
