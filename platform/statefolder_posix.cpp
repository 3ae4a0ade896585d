#include "platform/statefolder.h"

#include <QDir>

namespace platform {

QString stateFolder(const QString &name)
{
    // Only an absolute path counts, as the XDG base directories say.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(base + QLatin1Char('/') + name);
}

} // namespace platform
