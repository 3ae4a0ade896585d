#pragma once

#include "document/journalformat.h"
#include "document/journalwriter.h"

#include <QDateTime>
#include <QString>
#include <map>
#include <memory>

class QLockFile;

namespace document {

// The folder of one user's recovery journals. Each run writes journals of
// its own name and holds a lock on that name while it runs, so that two
// running copies never take each other's journals; the journals of a run
// that ended without saving or discarding its changes are left for the next
// start to offer.
class JournalFolder
{
public:
    explicit JournalFolder(const QString &folder);
    ~JournalFolder();
    JournalFolder(const JournalFolder &) = delete;
    JournalFolder &operator=(const JournalFolder &) = delete;

    // The folder exists (mode 0700) and this run's lock is held.
    bool isUsable() const { return m_lock != nullptr; }
    QString journalPath(const QString &pane) const;
    QString basePath(const QString &pane) const;
    JournalWriter &writer() { return m_writer; }

    // A journal another run left.
    struct Orphan
    {
        QString run;
        QString journalFile;
        QString baseFile;
        journal::Contents contents;
        // When its last change was made.
        QDateTime lastChange;
        // The text the pane held, or nothing when the base is gone or damaged.
        std::optional<QString> text() const;
    };
    // The newest journal of each pane that runs no longer running left. Their
    // runs' locks are held from now until release().
    QList<Orphan> takeOrphans();
    // Deletes these journals and lets go of the runs taken; their other
    // journals stay for a later start.
    void release(const QList<Orphan> &removed);

private:
    // Holds the lock of a run that has ended; false for this run or one
    // still alive.
    bool takeRun(const QString &run);

    QString m_folder;
    QString m_run;
    std::unique_ptr<QLockFile> m_lock;
    std::map<QString, std::unique_ptr<QLockFile>> m_taken;
    JournalWriter m_writer;
};

} // namespace document
