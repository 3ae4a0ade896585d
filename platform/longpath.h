#pragma once

#include <QString>
#include <optional>

namespace platform {

// The path's long form as stored on disk, or nothing when the path cannot
// be resolved (it does not exist, or the long form is longer than `limit`).
std::optional<QString> storedLongPath(const QString &path, int limit = 260);

// True where the file system matches names without regard to case.
bool fileNamesCaseInsensitive();

} // namespace platform
