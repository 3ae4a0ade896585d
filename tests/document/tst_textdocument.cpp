// One open file: what it reads and writes, and whether it notices that the
// file on disk is no longer the one read or written.
#include "document/contentdigest.h"
#include "document/textdocument.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

using document::DiskState;
using document::TextDocument;

namespace {

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Sets the file's modification time, to the nanosecond.
bool setModified(const QString &path, qint64 ns)
{
    const timespec times[2] = {{0, UTIME_OMIT}, {time_t(ns / 1'000'000'000), long(ns % 1'000'000'000)}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

qint64 modifiedNs(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
}

// Moves the file's time stamp a minute on, as a touch would.
bool touch(const QString &path)
{
    const qint64 now = modifiedNs(path);
    return now >= 0 && setModified(path, now + 60'000'000'000);
}

} // namespace

class TestTextDocument : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void digestMatchesThePublicFunction_data();
    void digestMatchesThePublicFunction();
    void loadAndSaveKeepTheEncoding();
    void failedLoadKeepsThePath();
    void diskChecks_data();
    void diskChecks();
    void stampAgeDecidesWhetherBytesAreCompared_data();
    void stampAgeDecidesWhetherBytesAreCompared();
    void saveMakesTheFileKnown();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return m_dir->filePath(name); }
};

void TestTextDocument::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestTextDocument::digestMatchesThePublicFunction_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<quint64>("digest");
    // The values xxhsum -H64 prints for these bytes.
    QByteArray ramp;
    for (int round = 0; round < 3; ++round)
        for (int byte = 0; byte < 256; ++byte)
            ramp.append(char(byte));
    QTest::newRow("empty") << QByteArray() << Q_UINT64_C(0xef46db3751d8e999);
    QTest::newRow("one byte") << QByteArray("a") << Q_UINT64_C(0xd24ec4f1a98c6e5b);
    QTest::newRow("three bytes") << QByteArray("abc") << Q_UINT64_C(0x44bc2cf5ad770999);
    QTest::newRow("stripes and a tail") << QByteArray("The quick brown fox jumps over the lazy dog")
                                        << Q_UINT64_C(0x0b242d361fda71bc);
    QTest::newRow("zeros") << QByteArray(100, '\0') << Q_UINT64_C(0x17bb1103c92c502f);
    QTest::newRow("every byte value") << ramp << Q_UINT64_C(0x8e03c838c596036f);
}

void TestTextDocument::digestMatchesThePublicFunction()
{
    QFETCH(QByteArray, bytes);
    QFETCH(quint64, digest);
    QCOMPARE(document::contentDigest(bytes), digest);
}

void TestTextDocument::loadAndSaveKeepTheEncoding()
{
    const QString file = path(QStringLiteral("a.txt"));
    QVERIFY(writeBytes(file,
                       "M\xFC"
                       "ller\n"));
    TextDocument doc;
    const std::optional<QString> text = doc.load(file);
    QVERIFY(text);
    QCOMPARE(*text, QStringLiteral("Müller\n\r\n"));
    QCOMPARE(doc.encoding(), support::TextEncoding::Windows1252);
    QCOMPARE(doc.path(), file);
    QVERIFY(doc.isKnown());
    doc.setModified(true);
    const QString edited = QStringLiteral("Müllerin");
    const QStringView pieces[] = {QStringView(edited)};
    QVERIFY(doc.save(pieces));
    QVERIFY(!doc.isModified());
    QCOMPARE(readBytes(file), QByteArray("M\xFCllerin\r\n"));
}

void TestTextDocument::failedLoadKeepsThePath()
{
    TextDocument doc;
    const QString folder = path(QStringLiteral("folder.css"));
    QVERIFY(QDir().mkdir(folder));
    QVERIFY(!doc.load(folder));
    QCOMPARE(doc.path(), folder);
    QCOMPARE(doc.encoding(), support::TextEncoding::Default);
    // A folder is there but was never read; while it stays, nothing changes.
    QVERIFY(!doc.isKnown());
    QVERIFY(doc.identity().readFailed);
    QCOMPARE(doc.checkDisk(), DiskState::Same);
    // A file where nothing could be read is another program's.
    QVERIFY(QDir().rmdir(folder));
    QVERIFY(writeBytes(folder, "x"));
    QCOMPARE(doc.checkDisk(), DiskState::Changed);

    // A missing file is known to be missing; a save creates it unasked.
    QVERIFY(!doc.load(path(QStringLiteral("new.txt"))));
    QVERIFY(doc.isKnown());
    QVERIFY(!doc.identity().readFailed);
    QCOMPARE(doc.checkDisk(), DiskState::Same);
    QVERIFY(writeBytes(path(QStringLiteral("new.txt")), "x"));
    QCOMPARE(doc.checkDisk(), DiskState::Changed);

    // Read again and failed, the file keeps the encoding its text is in.
    const QString utf16 = path(QStringLiteral("utf16.txt"));
    QVERIFY(writeBytes(utf16,
                       QByteArray("\xFF\xFE"
                                  "A\0",
                                  4)));
    QVERIFY(doc.load(utf16));
    QCOMPARE(doc.encoding(), support::TextEncoding::Utf16LeBom);
    QVERIFY(QFile::remove(utf16));
    QVERIFY(QDir().mkdir(utf16));
    QVERIFY(!doc.load(utf16));
    QCOMPARE(doc.encoding(), support::TextEncoding::Utf16LeBom);
}

void TestTextDocument::diskChecks_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<DiskState>("expected");
    QTest::newRow("nothing") << "nothing" << DiskState::Same;
    QTest::newRow("touched, same bytes") << "touch" << DiskState::Same;
    QTest::newRow("same bytes put in place by rename") << "rename same" << DiskState::Same;
    QTest::newRow("other bytes of the same size") << "same size" << DiskState::Changed;
    QTest::newRow("other bytes of the same size, same time stamp") << "same stamp" << DiskState::Changed;
    QTest::newRow("other bytes by rename") << "rename other" << DiskState::Changed;
    QTest::newRow("longer") << "append" << DiskState::Changed;
    QTest::newRow("deleted") << "delete" << DiskState::Missing;
    QTest::newRow("swapped for a link to another file") << "link" << DiskState::Changed;
    QTest::newRow("swapped for a folder") << "folder" << DiskState::Changed;
}

void TestTextDocument::diskChecks()
{
    QFETCH(QString, change);
    QFETCH(DiskState, expected);
    const QString file = path(QStringLiteral("page.html"));
    const QString other = path(QStringLiteral("other.html"));
    QVERIFY(writeBytes(file, "<p>eins</p>\r\n"));
    TextDocument doc;
    QVERIFY(doc.load(file));

    if (change == u"touch") {
        QVERIFY(touch(file));
    } else if (change.startsWith(u"rename")) {
        QVERIFY(writeBytes(other, change == u"rename same" ? "<p>eins</p>\r\n" : "<p>zwei</p>\r\n"));
        QVERIFY(::rename(QFile::encodeName(other).constData(), QFile::encodeName(file).constData()) == 0);
    } else if (change == u"same size") {
        QVERIFY(writeBytes(file, "<p>drei</p>\r\n"));
        QVERIFY(touch(file));
    } else if (change == u"same stamp") {
        // Written again within one tick of the clock the stamps come from.
        const qint64 before = modifiedNs(file);
        QVERIFY(writeBytes(file, "<p>drei</p>\r\n"));
        QVERIFY(setModified(file, before));
    } else if (change == u"append") {
        QVERIFY(writeBytes(file, "<p>eins</p>\r\n<p>zwei</p>\r\n"));
    } else if (change == u"delete") {
        QVERIFY(QFile::remove(file));
    } else if (change == u"link") {
        QVERIFY(writeBytes(other, "<p>eins</p>\r\n"));
        QVERIFY(touch(other));
        QVERIFY(writeBytes(path(QStringLiteral("x")), "<p>fremd</p>\r\n"));
        QVERIFY(QFile::remove(file));
        QVERIFY(QFile::link(path(QStringLiteral("x")), file));
    } else if (change == u"folder") {
        QVERIFY(QFile::remove(file));
        QVERIFY(QDir().mkdir(file));
    }
    QCOMPARE(doc.checkDisk(), expected);
    // Asking again gives the same answer.
    QCOMPARE(doc.checkDisk(), expected);
}

void TestTextDocument::stampAgeDecidesWhetherBytesAreCompared_data()
{
    QTest::addColumn<qint64>("ageMs");
    QTest::addColumn<bool>("wholeSeconds");
    QTest::addColumn<bool>("stampSuffices");
    // A stamp with a fraction of a second comes from a file system with fine
    // stamps; one without may come from one that keeps two seconds.
    QTest::newRow("fine stamp, as young as the read") << qint64(-200) << false << false;
    QTest::newRow("fine stamp, a second old") << qint64(1000) << false << true;
    QTest::newRow("whole seconds, a second old") << qint64(1000) << true << false;
    QTest::newRow("whole seconds, a minute old") << qint64(60'000) << true << true;
}

void TestTextDocument::stampAgeDecidesWhetherBytesAreCompared()
{
    QFETCH(qint64, ageMs);
    QFETCH(bool, wholeSeconds);
    QFETCH(bool, stampSuffices);
    constexpr qint64 second = 1'000'000'000;
    const QString file = path(QStringLiteral("page.html"));
    QVERIFY(writeBytes(file, "<p>eins</p>\r\n"));
    qint64 stamp = document::stampClockNs() - ageMs * 1'000'000;
    if (wholeSeconds)
        stamp = stamp / second * second;
    else if (stamp % second == 0)
        stamp += 1;
    QVERIFY(setModified(file, stamp));
    TextDocument doc;
    QVERIFY(doc.load(file));
    const std::optional<DiskState> quick = doc.quickCheck();
    QCOMPARE(quick.has_value(), stampSuffices);
    if (quick)
        QCOMPARE(*quick, DiskState::Same);
    // Either way the whole check finds the file unchanged.
    QCOMPARE(doc.checkDisk(), DiskState::Same);
}

void TestTextDocument::saveMakesTheFileKnown()
{
    const QString file = path(QStringLiteral("b.txt"));
    QVERIFY(writeBytes(file, "alt\r\n"));
    TextDocument doc;
    doc.setPath(file);
    QVERIFY(!doc.isKnown());
    const QString text = QStringLiteral("neu");
    const QStringView pieces[] = {QStringView(text)};
    // Our own saves never count as another program's change.
    for (int i = 0; i < 50; ++i) {
        QVERIFY(doc.save(pieces));
        QCOMPARE(doc.checkDisk(), DiskState::Same);
    }
    QVERIFY(writeBytes(file, "fremd\r\n"));
    QCOMPARE(doc.checkDisk(), DiskState::Changed);
}

QTEST_GUILESS_MAIN(TestTextDocument)
#include "tst_textdocument.moc"
