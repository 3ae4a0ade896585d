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

namespace document {

namespace {

// Edits reach the disk this long after the first of them at the latest.
constexpr int flushDelayMs = 500;

constexpr QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// The bytes as a new file that takes the path's place only once it is on
// disk whole.
bool writeDurably(const QString &path, const QByteArray &bytes)
{
    const QString temporary = path + QStringLiteral(".new");
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate, ownerOnly) || file.write(bytes) != bytes.size()
        || !file.flush() || !platform::syncFile(file)) {
        file.remove();
        return false;
    }
    file.close();
    QFile::remove(path);
    if (!QFile::rename(temporary, path))
        return false;
    return platform::syncFolder(QFileInfo(path).absolutePath());
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

    // The base file, then the journal with its header and first edits.
    bool start(const Base &base, const QByteArray &header, const QByteArray &edits)
    {
        remove();
        QByteArray baseBytes;
        switch (base.kind) {
        case journal::BaseKind::Empty:
            break;
        case journal::BaseKind::FileAsRead:
        case journal::BaseKind::FileAsSaved: {
            std::optional<QByteArray> bytes = platform::readRegularFile(base.file);
            if (!bytes || contentDigest(*bytes) != base.digest)
                return false;
            baseBytes = std::move(*bytes);
            break;
        }
        case journal::BaseKind::Text:
            baseBytes = QByteArray(reinterpret_cast<const char *>(base.text.constData()), base.text.size() * 2);
            break;
        }
        if (base.kind != journal::BaseKind::Empty && !writeDurably(baseFile, baseBytes))
            return false;
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
}

void RecoveryJournal::record(int position, int removed, const QString &inserted)
{
    if (!m_folder.isUsable())
        return;
    m_pending += journal::editRecord({position, removed, inserted, QDateTime::currentMSecsSinceEpoch()});
    if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

void RecoveryJournal::recordWholeText()
{
    if (!m_folder.isUsable())
        return;
    m_base = {journal::BaseKind::Text, QString(), 0, QString(), true};
    discard();
    m_startPending = true;
    m_flushTimer.start();
}

void RecoveryJournal::discard()
{
    m_flushTimer.stop();
    m_pending.clear();
    m_startPending = false;
    if (!m_started)
        return;
    m_started = false;
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

void RecoveryJournal::flushNow()
{
    flush();
    m_folder.writer().waitIdle();
}

} // namespace document
