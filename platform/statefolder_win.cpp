#include "platform/statefolder.h"

#include <QDir>
#include <QStandardPaths>

namespace platform {

QString stateFolder(const QString &name)
{
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                                    + QLatin1Char('/') + name);
}

} // namespace platform
