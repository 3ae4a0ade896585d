#include "platform/profile.h"
#include "platform/profilelock.h"

#include <QDeadlineTimer>
#include <QLockFile>
#include <QSet>
#include <QThread>

namespace platform {

namespace {
// Writers hold the lock for milliseconds; this only bounds a pathological wait.
constexpr int lockWaitMs = 20000;
constexpr int lockPollMs = 5;

QSet<QString> &heldFiles()
{
    static QSet<QString> files;
    return files;
}
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

bool heldByGroup(const QString &file)
{
    return heldFiles().contains(file);
}

SingleWriteLock::SingleWriteLock(const QString &file)
{
    if (heldByGroup(file)) {
        m_held = true;
        return;
    }
    m_lock = std::make_unique<QLockFile>(lockPathFor(file));
    m_held = acquire(*m_lock);
}

SingleWriteLock::~SingleWriteLock() = default;

} // namespace profilelock

ProfileWriteGroup::ProfileWriteGroup(const QString &file)
    : m_lock(std::make_unique<QLockFile>(profilelock::lockPathFor(file)))
    , m_file(file)
{
    if (profilelock::heldByGroup(file) || !profilelock::acquire(*m_lock))
        m_lock.reset();
    else
        heldFiles().insert(file);
}

ProfileWriteGroup::~ProfileWriteGroup()
{
    if (m_lock)
        heldFiles().remove(m_file);
}

bool ProfileWriteGroup::locked() const
{
    return m_lock != nullptr;
}

} // namespace platform
