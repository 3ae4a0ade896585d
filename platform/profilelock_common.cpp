#include "platform/profilelock.h"

#include <QDeadlineTimer>
#include <QLockFile>
#include <QThread>

namespace platform {

namespace {
// Writers hold the lock for milliseconds; this only bounds a pathological wait.
constexpr int lockWaitMs = 20000;
constexpr int lockPollMs = 5;

} // namespace

namespace profilelock {

QString lockPathFor(const QString &file)
{
    return file + QStringLiteral(".lock");
}

bool acquire(QLockFile &lock)
{
    const QDeadlineTimer deadline(lockWaitMs);
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false; // no permission in the folder, or a holder that never lets go
        QThread::msleep(lockPollMs);
    }
    return true;
}

SingleWriteLock::SingleWriteLock(const QString &file)
{
    m_lock = std::make_unique<QLockFile>(lockPathFor(file));
    m_held = acquire(*m_lock);
}

SingleWriteLock::~SingleWriteLock() = default;

} // namespace profilelock

} // namespace platform
