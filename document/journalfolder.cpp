#include "document/journalfolder.h"

#include "platform/regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QUuid>

namespace document {

namespace {

const QString journalSuffix = QStringLiteral(".journal");

QString lockPath(const QString &folder, const QString &run)
{
    return folder + QLatin1Char('/') + run + QStringLiteral(".lock");
}

// Held while its process lives: a lock of a process that is gone, however
// old, can be taken.
std::unique_ptr<QLockFile> tryLock(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

// The run a file of the folder belongs to: its name up to the pane.
QString runOf(const QString &fileName)
{
    const QString stem = fileName.section(QLatin1Char('.'), 0, 0);
    const qsizetype dash = stem.lastIndexOf(QLatin1Char('-'));
    return dash > 0 ? stem.left(dash) : QString();
}

} // namespace

JournalFolder::JournalFolder(const QString &folder)
    : m_folder(QDir::cleanPath(folder))
    , m_run(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    if (!QDir().mkpath(m_folder))
        return;
    QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_lock = tryLock(lockPath(m_folder, m_run));
}

JournalFolder::~JournalFolder()
{
    m_writer.waitIdle();
}

QString JournalFolder::journalPath(const QString &pane) const
{
    return m_folder + QLatin1Char('/') + m_run + QLatin1Char('-') + pane + journalSuffix;
}

QString JournalFolder::basePath(const QString &pane) const
{
    return m_folder + QLatin1Char('/') + m_run + QLatin1Char('-') + pane + QStringLiteral(".base");
}

bool JournalFolder::takeRun(const QString &run)
{
    if (run.isEmpty() || run == m_run)
        return false;
    if (m_taken.count(run))
        return true;
    std::unique_ptr<QLockFile> lock = tryLock(lockPath(m_folder, run));
    if (!lock)
        return false; // that run is alive
    m_taken.emplace(run, std::move(lock));
    return true;
}

QList<JournalFolder::Orphan> JournalFolder::takeOrphans()
{
    const QDir folder(m_folder);
    // A run that ended while it wrote a file left the unfinished copy
    // (the name with a suffix of the safe write): it never held anything.
    for (const QString &name : folder.entryList(
             {QLatin1Char('*') + journalSuffix + QStringLiteral(".*"), QStringLiteral("*.base.*")}, QDir::Files)) {
        if (takeRun(runOf(name)))
            QFile::remove(folder.filePath(name));
    }
    std::map<QString, Orphan> newest;
    const QFileInfoList files = folder.entryInfoList({QLatin1Char('*') + journalSuffix}, QDir::Files, QDir::Name);
    for (const QFileInfo &file : files) {
        const QString name = file.completeBaseName();
        const QString run = runOf(file.fileName());
        if (!takeRun(run))
            continue;
        const std::optional<QByteArray> bytes = platform::readRegularFile(file.filePath());
        std::optional<journal::Contents> contents = bytes ? journal::parse(*bytes) : std::nullopt;
        if (!contents)
            continue;
        Orphan orphan{run, file.filePath(), file.path() + QLatin1Char('/') + name + QStringLiteral(".base"),
                      std::move(*contents), file.lastModified()};
        if (!orphan.contents.edits.isEmpty())
            orphan.lastChange = QDateTime::fromMSecsSinceEpoch(orphan.contents.edits.last().timeMs);
        const QString pane = orphan.contents.header.pane;
        const auto known = newest.find(pane);
        if (known == newest.end() || known->second.lastChange < orphan.lastChange)
            newest.insert_or_assign(pane, std::move(orphan));
    }
    QList<Orphan> orphans;
    for (auto &[pane, orphan] : newest)
        orphans.append(std::move(orphan));
    return orphans;
}

void JournalFolder::release(const QList<Orphan> &removed)
{
    for (const Orphan &orphan : removed) {
        QFile::remove(orphan.journalFile);
        QFile::remove(orphan.baseFile);
    }
    // Letting go removes the lock files: what a run left and nobody took is
    // offered again at a later start.
    m_taken.clear();
}

std::optional<QString> JournalFolder::Orphan::text() const
{
    QByteArray base;
    if (contents.base) {
        base = *contents.base;
    } else if (contents.header.baseKind != journal::BaseKind::Empty) {
        std::optional<QByteArray> bytes = platform::readRegularFile(baseFile);
        if (!bytes)
            return std::nullopt;
        base = std::move(*bytes);
    }
    return journal::replay(journal::baseText(contents.header, base), contents.edits);
}

} // namespace document
