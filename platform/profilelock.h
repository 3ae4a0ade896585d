#pragma once

#include <QString>

class QLockFile;

// The lock beside the settings file that every writer holds, shared by the
// profile service and its write groups.
namespace platform::profilelock {

QString lockPathFor(const QString &file);

// Waits for the lock in short steps, so that two busy writers take turns;
// false when the lock cannot be created or is never let go.
bool acquire(QLockFile &lock);

// Whether a write group of this process holds the file's lock now.
bool heldByGroup(const QString &file);

} // namespace platform::profilelock
