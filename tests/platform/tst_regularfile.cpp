#include "platform/regularfile.h"
#include "tests/testsupport.h"

#include <QDir>
#include <QFile>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

class TestRegularFile : public QObject
{
    Q_OBJECT

private slots:
    void wholeContent_data();
    void wholeContent();
    void stalledReadFails();
};

void TestRegularFile::wholeContent_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("file") << "file" << true << QByteArray("a\r\nb\0c", 6);
    QTest::newRow("empty file") << "empty file" << true << QByteArray();
    QTest::newRow("link to a file") << "link" << true << QByteArray("a\r\nb\0c", 6);
    QTest::newRow("missing") << "missing" << false << QByteArray();
    QTest::newRow("empty path") << "empty path" << false << QByteArray();
    QTest::newRow("folder") << "folder" << false << QByteArray();
    QTest::newRow("FIFO, which would block a reader") << "fifo" << false << QByteArray();
    QTest::newRow("dangling link") << "dangling link" << false << QByteArray();
}

void TestRegularFile::wholeContent()
{
    QFETCH(QString, kind);
    QFETCH(bool, read);
    QFETCH(QByteArray, content);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("file.txt");
    QString path = dir.filePath("read.txt");
    if (kind == "file" || kind == "empty file") {
        QVERIFY(testsupport::writeAll(path, content));
    } else if (kind == "link") {
        QVERIFY(testsupport::writeAll(file, content));
        QVERIFY(QFile::link(file, path));
    } else if (kind == "empty path") {
        path.clear();
    } else if (kind == "folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    } else if (kind == "dangling link") {
        QVERIFY(QFile::link(file, path));
    }

    QString error;
    const std::optional<QByteArray> bytes = platform::readRegularFile(path, &error);
    QCOMPARE(bytes.has_value(), read);
    if (read) {
        QCOMPARE(*bytes, content);
        QVERIFY(error.isEmpty());
    } else {
        QVERIFY(!error.isEmpty());
    }
}

void TestRegularFile::stalledReadFails()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("stalled.txt");
    QVERIFY(testsupport::writeAll(path, "x"));
    // The reading thread waits as a device without data or a lost network
    // mount would; the caller gives up on it.
    auto stall = std::make_shared<QSemaphore>();
    const testsupport::ScopedOverride<platform::ReadHook> hook(platform::setReadHook,
                                                               [stall](const QString &) { stall->acquire(); });
    QString error;
    QVERIFY(!platform::readRegularFile(path, &error));
    QCOMPARE(error, QStringLiteral("the read stalled"));
    stall->release();
}

QTEST_GUILESS_MAIN(TestRegularFile)
#include "tst_regularfile.moc"
