#include "platform/folderaccess.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool canCreateFilesIn(const QString &folder)
{
    const QByteArray path = QFile::encodeName(folder);
    struct stat info;
    if (path.isEmpty() || ::stat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    // access() answers for the real user and knows read-only mounts (EROFS).
    return ::access(path.constData(), W_OK | X_OK) == 0;
}

} // namespace platform
