#pragma once

#include <QString>

namespace platform {

// Whether this process may create files in the folder: it exists, is a
// folder, and neither its permissions nor a read-only mount stand in the way.
bool canCreateFilesIn(const QString &folder);

} // namespace platform
