#pragma once

#include "document/journalformat.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

namespace document {

class JournalFolder;

// Keeps what one pane holds safe on disk while it has unsaved changes: the
// text the changes started from (the base) beside a journal of the edits
// made since. Edits reach the disk, synced, half a second after they were
// made at the latest; the disk work runs on the folder's writer thread.
class RecoveryJournal : public QObject
{
    Q_OBJECT
public:
    // Where the base is to come from.
    struct Base
    {
        journal::BaseKind kind = journal::BaseKind::Empty;
        // FileAsRead, FileAsSaved: the file and the digest its bytes must have.
        QString file;
        quint64 digest = 0;
        // Text: the text itself, or when `takeText` is set the pane's text
        // as it is when the journal starts.
        QString text;
        bool takeText = false;
    };

    // `text` gives the pane's text as it is.
    RecoveryJournal(JournalFolder &folder, const QString &pane, std::function<QString()> text,
                    QObject *parent = nullptr);
    ~RecoveryJournal() override;

    // The text is now what `base` gives, and the header says which document
    // it is: the coming edits apply to it. What was journaled is deleted.
    // A text that holds unsaved changes already (recovered, or a whole new
    // text) is journaled at once.
    void setBase(const Base &base, const journal::Header &header, bool unsaved = false);
    // The characters [position, position + removed) became `inserted`.
    void record(int position, int removed, const QString &inserted);
    // The text was replaced whole: it is journaled anew, as it is then.
    void recordWholeText();
    // The changes are saved, discarded or undone: the journal is deleted,
    // and the base stays for the edits to come.
    void discard();
    // Everything recorded is on disk when this returns. What is not flushed
    // before the journal goes is lost, as by a crash. False when the journal
    // could not be written (no room, no folder).
    bool flushNow();

signals:
    // The base could not be kept (its file changed before it was copied):
    // the pane sets a new base from its text as it is now.
    void baseLost();

private:
    struct Disk;
    void flush();
    void start();

    JournalFolder &m_folder;
    std::function<QString()> m_text;
    std::shared_ptr<Disk> m_disk;
    Base m_base;
    journal::Header m_header;
    // Edit records not yet handed to the writer.
    QByteArray m_pending;
    // The journal on disk is to start (again) at the next flush.
    bool m_startPending = false;
    bool m_started = false;
    // Files of this journal lie on disk, current or not.
    bool m_onDisk = false;
    // Changes were made that no journal could keep (no usable folder).
    bool m_lost = false;
    QTimer m_flushTimer;
};

} // namespace document
