#include "platform/drivestate.h"

#include "platform/drives.h"

#include <QFileInfo>
#include <QHash>

#include <utility>

namespace platform {

namespace {

struct DriveState
{
    QStringList overrideList;
    QHash<QString, QString> currentFolders;
};

DriveState &state()
{
    static DriveState s;
    return s;
}

} // namespace

namespace drivestate {

const QStringList &overrideList()
{
    return state().overrideList;
}

QString rememberedFolder(const QString &drive)
{
    const QString remembered = state().currentFolders.value(drive);
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir())
        return remembered;
    return {};
}

void remember(const QString &drive, const QString &folder)
{
    state().currentFolders.insert(drive, folder);
}

} // namespace drivestate

QStringList setDrivesOverride(QStringList drives)
{
    // Remembered folders belong to the drives they were shown on.
    state().currentFolders.clear();
    return std::exchange(state().overrideList, std::move(drives));
}

} // namespace platform
