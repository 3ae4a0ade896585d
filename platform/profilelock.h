#pragma once

#include <QString>
#include <memory>

class QLockFile;

// The lock beside the settings file that every writer holds.
namespace platform::profilelock {

QString lockPathFor(const QString &file);

// Waits for the lock in short steps, so that two busy writers take turns;
// false when the lock cannot be created or is never let go.
bool acquire(QLockFile &lock);

// The lock for one write, let go at the end of the scope.
class SingleWriteLock
{
public:
    explicit SingleWriteLock(const QString &file);
    ~SingleWriteLock();
    SingleWriteLock(const SingleWriteLock &) = delete;
    SingleWriteLock &operator=(const SingleWriteLock &) = delete;

    bool held() const { return m_held; }

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_held = false;
};

} // namespace platform::profilelock
