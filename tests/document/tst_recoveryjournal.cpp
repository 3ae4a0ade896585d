// The recovery journal: what a pane held comes back from the disk after its
// run ended, whatever the text started from, and only from runs that are
// gone.
#include "document/contentdigest.h"
#include "document/journalfolder.h"
#include "document/recoveryjournal.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using document::JournalFolder;
using document::RecoveryJournal;
using document::journal::BaseKind;

namespace {

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// One edit: the characters [position, position + removed) become `inserted`.
struct Edit
{
    int position;
    int removed;
    QString inserted;
};

} // namespace

Q_DECLARE_METATYPE(QList<Edit>)

class TestRecoveryJournal : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void textComesBack_data();
    void textComesBack();
    void cutOffJournalReadsToItsLastWholeEdit();
    void discardedJournalIsNotOffered();
    void runningCopiesKeepTheirJournals();
    void lostBaseIsReplacedByTheText();
    void wholeTextReplacesTheJournalInOneStep_data();
    void wholeTextReplacesTheJournalInOneStep();
    void changesNoJournalKeepsAreReported();
    void unfinishedWritesOfEndedRunsAreRemoved();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString state() const { return m_dir->filePath(QStringLiteral("state")); }
};

void TestRecoveryJournal::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestRecoveryJournal::textComesBack_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<Edit>>("edits");
    QTest::addColumn<QString>("expected");

    const QList<Edit> typing = {{0, 0, QStringLiteral("Ä")}, {1, 0, QStringLiteral("b\r\n")}, {2, 2, QString()}};
    QTest::newRow("typed before any file")
        << int(BaseKind::Empty) << QByteArray() << QString() << typing << QStringLiteral("Äb");
    // The clean-ups of reading: tabs as spaces, every line ended by CR LF.
    QTest::newRow("file as read") << int(BaseKind::FileAsRead) << QByteArray("a\tb\nc") << QString()
                                  << QList<Edit>{{0, 1, QStringLiteral("x")}} << QStringLiteral("x b\r\nc\r\n");
    // Windows-1252 bytes that happen to be valid UTF-8 read back as written.
    QTest::newRow("file as saved, with the line ends the save left out")
        << int(BaseKind::FileAsSaved) << QByteArray("M\xC3\xBC\r\n") << QStringLiteral("\r\n\r\n")
        << QList<Edit>{{3, 0, QStringLiteral("!")}} << QStringLiteral("MÃ¼!\r\n\r\n");
    QTest::newRow("the text itself") << int(BaseKind::Text) << QByteArray() << QStringLiteral("Text\r\n")
                                     << QList<Edit>{{4, 2, QString()}, {0, 0, QStringLiteral("Ein ")}}
                                     << QStringLiteral("Ein Text");
}

void TestRecoveryJournal::textComesBack()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, file);
    QFETCH(QString, text);
    QFETCH(QList<Edit>, edits);
    QFETCH(QString, expected);

    const QString path = m_dir->filePath(QStringLiteral("seite.html"));
    QVERIFY(writeBytes(path, file));
    {
        JournalFolder folder(state());
        QVERIFY(folder.isUsable());
        RecoveryJournal journal(folder, QStringLiteral("document"), [] { return QString(); });
        document::journal::Header header;
        header.path = path;
        header.baseKind = BaseKind(kind);
        header.savedEncoding = support::TextEncoding::Windows1252;
        header.savedTail = kind == int(BaseKind::FileAsSaved) ? text : QString();
        const QString baseText = kind == int(BaseKind::Text) ? text : QString();
        journal.setBase({BaseKind(kind), path, document::contentDigest(file), baseText, false}, header);
        for (const Edit &edit : edits)
            journal.record(edit.position, edit.removed, edit.inserted);
        journal.flushNow();
        // Gone without a word, as a crashed run.
    }
    JournalFolder next(state());
    const QList<JournalFolder::Orphan> orphans = next.takeOrphans();
    QCOMPARE(orphans.size(), 1);
    QCOMPARE(orphans.first().contents.header.path, path);
    QCOMPARE(orphans.first().text(), std::optional(expected));
    QFileInfo journalFile(orphans.first().journalFile);
    QCOMPARE(journalFile.permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());
    next.release(orphans);
    QVERIFY(JournalFolder(state()).takeOrphans().isEmpty());
}

void TestRecoveryJournal::cutOffJournalReadsToItsLastWholeEdit()
{
    QString journalFile;
    {
        JournalFolder folder(state());
        RecoveryJournal journal(folder, QStringLiteral("stylesheet"), [] { return QString(); });
        journal.record(0, 0, QStringLiteral("body"));
        journal.flushNow();
        journal.record(4, 0, QStringLiteral(" { }"));
        journal.flushNow();
        journalFile = folder.journalPath(QStringLiteral("stylesheet"));
    }
    // A power cut in the middle of the last write.
    QFile file(journalFile);
    QVERIFY(file.resize(file.size() - 3));
    JournalFolder next(state());
    const QList<JournalFolder::Orphan> orphans = next.takeOrphans();
    QCOMPARE(orphans.size(), 1);
    QCOMPARE(orphans.first().text(), std::optional(QStringLiteral("body")));
}

void TestRecoveryJournal::discardedJournalIsNotOffered()
{
    {
        JournalFolder folder(state());
        RecoveryJournal journal(folder, QStringLiteral("document"), [] { return QString(); });
        journal.record(0, 0, QStringLiteral("x"));
        journal.flushNow();
        // Saved, cancelled or undone.
        journal.discard();
        journal.flushNow();
    }
    QVERIFY(JournalFolder(state()).takeOrphans().isEmpty());
}

void TestRecoveryJournal::runningCopiesKeepTheirJournals()
{
    JournalFolder running(state());
    RecoveryJournal journal(running, QStringLiteral("document"), [] { return QString(); });
    journal.record(0, 0, QStringLiteral("mein"));
    journal.flushNow();
    JournalFolder other(state());
    QVERIFY(other.takeOrphans().isEmpty());
}

void TestRecoveryJournal::lostBaseIsReplacedByTheText()
{
    const QString path = m_dir->filePath(QStringLiteral("a.txt"));
    QVERIFY(writeBytes(path, "alt\r\n"));
    {
        JournalFolder folder(state());
        QString paneText = QStringLiteral("alt\r\n");
        RecoveryJournal journal(folder, QStringLiteral("document"), [&paneText] { return paneText; });
        QSignalSpy lost(&journal, &RecoveryJournal::baseLost);
        document::journal::Header header;
        header.baseKind = BaseKind::FileAsRead;
        journal.setBase({BaseKind::FileAsRead, path, document::contentDigest("alt\r\n"), QString(), false}, header);
        // Another program rewrites the file before the base is copied.
        QVERIFY(writeBytes(path, "fremd\r\n"));
        paneText = QStringLiteral("alt!\r\n");
        journal.record(3, 0, QStringLiteral("!"));
        journal.flushNow();
        QTRY_COMPARE(lost.count(), 1);
        journal.recordWholeText();
        journal.flushNow();
    }
    JournalFolder next(state());
    const QList<JournalFolder::Orphan> orphans = next.takeOrphans();
    QCOMPARE(orphans.size(), 1);
    QCOMPARE(orphans.first().text(), std::optional(QStringLiteral("alt!\r\n")));
}

void TestRecoveryJournal::wholeTextReplacesTheJournalInOneStep_data()
{
    QTest::addColumn<bool>("flushed");
    QTest::addColumn<QString>("expected");
    // A run that ends before the new journal is written still leaves the
    // text as it was before the replacement.
    QTest::newRow("ended before the flush") << false << QStringLiteral("alt!\r\n");
    QTest::newRow("ended after the flush") << true << QStringLiteral("NEU!\r\n");
}

void TestRecoveryJournal::wholeTextReplacesTheJournalInOneStep()
{
    QFETCH(bool, flushed);
    QFETCH(QString, expected);
    const QString path = m_dir->filePath(QStringLiteral("a.txt"));
    QVERIFY(writeBytes(path, "alt\r\n"));
    {
        JournalFolder folder(state());
        QString paneText = QStringLiteral("alt!\r\n");
        RecoveryJournal journal(folder, QStringLiteral("document"), [&paneText] { return paneText; });
        document::journal::Header header;
        header.baseKind = BaseKind::FileAsRead;
        journal.setBase({BaseKind::FileAsRead, path, document::contentDigest("alt\r\n"), QString(), false}, header);
        journal.record(3, 0, QStringLiteral("!"));
        QVERIFY(journal.flushNow());
        // Replace all, or the umlaut conversion.
        paneText = QStringLiteral("NEU!\r\n");
        journal.recordWholeText();
        if (flushed)
            QVERIFY(journal.flushNow());
    }
    JournalFolder next(state());
    const QList<JournalFolder::Orphan> orphans = next.takeOrphans();
    QCOMPARE(orphans.size(), 1);
    QCOMPARE(orphans.first().text(), std::optional(expected));
    // The old base file goes with the journal it belonged to.
    QCOMPARE(QFile::exists(orphans.first().baseFile), !flushed);
}

void TestRecoveryJournal::changesNoJournalKeepsAreReported()
{
    // The state folder cannot be made: a file stands where it would be.
    QVERIFY(writeBytes(state(), "kein Ordner"));
    JournalFolder folder(state());
    RecoveryJournal journal(folder, QStringLiteral("document"), [] { return QString(); });
    QVERIFY(journal.flushNow());
    journal.record(0, 0, QStringLiteral("x"));
    QVERIFY(!journal.flushNow());
    // Saved or discarded: nothing is left to lose.
    journal.discard();
    QVERIFY(journal.flushNow());
}

void TestRecoveryJournal::unfinishedWritesOfEndedRunsAreRemoved()
{
    QString ended;
    {
        JournalFolder folder(state());
        RecoveryJournal journal(folder, QStringLiteral("document"), [] { return QString(); });
        journal.record(0, 0, QStringLiteral("x"));
        QVERIFY(journal.flushNow());
        ended = folder.journalPath(QStringLiteral("document"));
    }
    // What a run left that ended in the middle of writing, beside what a
    // running copy is writing now.
    JournalFolder running(state());
    const QStringList unfinished = {ended + QStringLiteral(".AbCdEf"),
                                    QString(ended).replace(QStringLiteral(".journal"), QStringLiteral(".base.GhIjKl"))};
    const QString busy = running.journalPath(QStringLiteral("document")) + QStringLiteral(".MnOpQr");
    for (const QString &file : unfinished + QStringList{busy})
        QVERIFY(writeBytes(file, "halb"));
    JournalFolder next(state());
    const QList<JournalFolder::Orphan> orphans = next.takeOrphans();
    QCOMPARE(orphans.size(), 1);
    for (const QString &file : unfinished)
        QVERIFY2(!QFile::exists(file), qPrintable(file));
    QVERIFY(QFile::exists(busy));
    QVERIFY(QFile::exists(ended));
}

QTEST_GUILESS_MAIN(TestRecoveryJournal)
#include "tst_recoveryjournal.moc"
