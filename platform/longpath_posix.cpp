#include "platform/longpath.h"

#include <QFileInfo>

namespace platform {

// Names here have no short forms: an existing path is already its long
// form. A dangling symbolic link exists as a name too.
std::optional<QString> storedLongPath(const QString &path, int limit)
{
    if (path.isEmpty() || path.size() >= limit)
        return std::nullopt;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return std::nullopt;
    return path;
}

bool fileNamesCaseInsensitive()
{
    return false;
}

} // namespace platform
