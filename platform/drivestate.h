#pragma once

#include <QString>
#include <QStringList>

// What the drive services of every platform remember during a run: the
// drives tests put in place of the real ones, and the folder last shown on
// each drive.
namespace platform::drivestate {

// Empty when the real drives hold.
const QStringList &overrideList();

// The folder last shown on the drive, while it still exists; else empty.
// A folder removed since it was shown no longer stands for its drive.
QString rememberedFolder(const QString &drive);
void remember(const QString &drive, const QString &folder);

} // namespace platform::drivestate
