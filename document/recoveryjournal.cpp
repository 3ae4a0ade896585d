#include "document/recoveryjournal.h"

#include "document/contentdigest.h"
#include "document/journalfolder.h"
#include "platform/durable.h"
#include "platform/regularfile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSaveFile>

#include <limits>

namespace document {

namespace {

// Edits reach the disk this long after the first of them at the latest.
constexpr int flushDelayMs = 500;

constexpr QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// The bytes as a new file that takes the path's place, in one step, only
// once it is on disk whole: until then the file there stays as it was.
bool writeDurably(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(ownerOnly) || file.write(bytes) != bytes.size()
        || !file.flush() || !platform::syncFile(file)) {
        file.cancelWriting();
        return false;
    }
    return file.commit() && platform::syncFolder(QFileInfo(path).absolutePath());
}

} // namespace

// The pane's files on disk; touched on the writer thread only.
struct RecoveryJournal::Disk
{
    QString journalFile;
    QString baseFile;
    // The journal on disk has a base and a header that later edits may
    // follow.
    bool valid = false;

    void remove()
    {
        valid = false;
        QFile::remove(journalFile);
        QFile::remove(baseFile);
    }

    // The base file, then the journal with its header and first edits. A
    // text base goes into the journal, which replaces the one before whole:
    // what that one kept stays on disk until its successor is.
    bool start(const Base &base, const QByteArray &header, const QByteArray &edits)
    {
        valid = false;
        if (base.kind == journal::BaseKind::Text) {
            const QByteArrayView bytes(reinterpret_cast<const char *>(base.text.constData()), base.text.size() * 2);
            if (bytes.size() > std::numeric_limits<quint32>::max() - 64)
                return false;
            valid = writeDurably(journalFile, header + journal::baseRecord(bytes) + edits);
            if (valid)
                QFile::remove(baseFile);
            return valid;
        }
        remove();
        if (base.kind != journal::BaseKind::Empty) {
            std::optional<QByteArray> bytes = platform::readRegularFile(base.file);
            if (!bytes || contentDigest(*bytes) != base.digest || !writeDurably(baseFile, *bytes))
                return false;
        }
        valid = writeDurably(journalFile, header + edits);
        return valid;
    }

    void append(const QByteArray &edits)
    {
        if (!valid)
            return;
        QFile file(journalFile);
        valid = file.open(QIODevice::WriteOnly | QIODevice::Append, ownerOnly) && file.write(edits) == edits.size()
            && file.flush() && platform::syncFile(file);
    }
};

RecoveryJournal::RecoveryJournal(JournalFolder &folder, const QString &pane, std::function<QString()> text,
                                 QObject *parent)
    : QObject(parent)
    , m_folder(folder)
    , m_text(std::move(text))
    , m_disk(std::make_shared<Disk>())
{
    m_disk->journalFile = folder.journalPath(pane);
    m_disk->baseFile = folder.basePath(pane);
    m_header.pane = pane;
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(flushDelayMs);
    connect(&m_flushTimer, &QTimer::timeout, this, &RecoveryJournal::flush);
}

RecoveryJournal::~RecoveryJournal() = default;

void RecoveryJournal::setBase(const Base &base, const journal::Header &header, bool unsaved)
{
    m_base = base;
    const QString pane = m_header.pane;
    m_header = header;
    m_header.pane = pane;
    discard();
    if (unsaved && m_folder.isUsable())
        start();
    else if (unsaved)
        m_lost = true;
}

void RecoveryJournal::record(int position, int removed, const QString &inserted)
{
    if (!m_folder.isUsable()) {
        m_lost = true;
        return;
    }
    m_pending += journal::editRecord({position, removed, inserted, QDateTime::currentMSecsSinceEpoch()});
    if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

void RecoveryJournal::recordWholeText()
{
    if (!m_folder.isUsable()) {
        m_lost = true;
        return;
    }
    m_base = {journal::BaseKind::Text, QString(), 0, QString(), true};
    // The journal on disk stays until the new one replaces it: a crash in
    // between still finds the text as it was before.
    m_flushTimer.stop();
    m_pending.clear();
    m_started = false;
    m_startPending = true;
    m_flushTimer.start();
}

void RecoveryJournal::discard()
{
    m_flushTimer.stop();
    m_pending.clear();
    m_startPending = false;
    m_started = false;
    m_lost = false;
    if (!m_onDisk)
        return;
    m_onDisk = false;
    m_folder.writer().post([disk = m_disk] { disk->remove(); });
}

void RecoveryJournal::flush()
{
    m_flushTimer.stop();
    if (!m_started && (m_startPending || !m_pending.isEmpty())) {
        start();
        return;
    }
    if (m_pending.isEmpty())
        return;
    m_folder.writer().post([disk = m_disk, edits = std::exchange(m_pending, QByteArray())] { disk->append(edits); });
}

void RecoveryJournal::start()
{
    m_started = true;
    m_onDisk = true;
    m_startPending = false;
    Base base = m_base;
    if (base.takeText) {
        // The text now holds the edits not yet written.
        base.text = m_text();
        m_pending.clear();
    }
    journal::Header header = m_header;
    header.baseKind = base.kind;
    QPointer<RecoveryJournal> self(this);
    m_folder.writer().post([disk = m_disk, base = std::move(base), header = journal::headerRecord(header),
                            edits = std::exchange(m_pending, QByteArray()), self] {
        if (disk->start(base, header, edits))
            return;
        QMetaObject::invokeMethod(QCoreApplication::instance(), [self] {
            if (self)
                emit self->baseLost();
        });
    });
}

bool RecoveryJournal::flushNow()
{
    flush();
    m_folder.writer().waitIdle();
    // The writer is idle: what it did is seen here.
    return !m_lost && (!m_started || m_disk->valid);
}

} // namespace document
