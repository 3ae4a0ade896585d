#include "platform/longpath.h"
#include "support/paths.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace support;

class TestPaths : public QObject
{
    Q_OBJECT

private slots:
    void addBackslash_data();
    void addBackslash();
    void addBackslashChangesTheCallersVariable();
    void folderOf_data();
    void folderOf();
    void fileNameOf_data();
    void fileNameOf();
    void titleCasePath_data();
    void titleCasePath();
    void longPathOfExistingPath();
    void longPathOfMissingPathOnCaseSensitiveSystem();
    void longPathOfMissingPathWhereCaseInsensitive();
    void longPathOfEmptyPath();
    void storedLongPath_data();
    void storedLongPath();
};

namespace {
const QChar windows = u'\\';
const QChar posix = u'/';
} // namespace

void TestPaths::addBackslash_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("expected");

    QTest::newRow("windows empty") << "" << windows << "\\";
    QTest::newRow("windows folder") << "C:\\Web" << windows << "C:\\Web\\";
    QTest::newRow("windows folder with separator") << "C:\\Web\\" << windows << "C:\\Web\\";
    QTest::newRow("windows drive") << "C:" << windows << "C:\\";
    QTest::newRow("windows forward slash is no separator") << "C:/Web/" << windows << "C:/Web/\\";
    QTest::newRow("posix empty") << "" << posix << "/";
    QTest::newRow("posix folder") << "/tmp" << posix << "/tmp/";
    QTest::newRow("posix folder with separator") << "/tmp/" << posix << "/tmp/";
    QTest::newRow("posix root") << "/" << posix << "/";
}

void TestPaths::addBackslash()
{
    QFETCH(QString, path);
    QFETCH(QChar, separator);
    QFETCH(QString, expected);

    QCOMPARE(AddBackslash(path, separator), expected);
}

void TestPaths::addBackslashChangesTheCallersVariable()
{
    QString path = QStringLiteral("C:\\Web");
    QString &result = AddBackslash(path, windows);
    QCOMPARE(path, QStringLiteral("C:\\Web\\"));
    QCOMPARE(&result, &path);

    QString unchanged = QStringLiteral("C:\\Web\\");
    AddBackslash(unchanged, windows);
    QCOMPARE(unchanged, QStringLiteral("C:\\Web\\"));
}

void TestPaths::folderOf_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("expected");

    QTest::newRow("windows file") << "C:\\Web\\site.css" << windows << "C:\\Web\\";
    QTest::newRow("windows folder with separator") << "C:\\Web\\" << windows << "C:\\";
    QTest::newRow("windows folder") << "C:\\Web" << windows << "C:\\";
    QTest::newRow("windows drive root") << "C:\\" << windows << "C:\\";
    QTest::newRow("windows bare name") << "site.css" << windows << "site.css\\";
    QTest::newRow("windows empty") << "" << windows << "\\";
    QTest::newRow("windows deeper file") << "C:\\Web\\css\\a.css" << windows << "C:\\Web\\css\\";
    QTest::newRow("windows forward slash is no separator") << "C:\\Web/x.css" << windows << "C:\\";
    QTest::newRow("windows rooted folder keeps its root") << "\\Web\\a.css" << windows << "\\Web\\";
    QTest::newRow("windows file in the root") << "\\a.css" << windows << "\\";
    QTest::newRow("network file") << "\\\\server\\share\\a.css" << windows << "\\\\server\\share\\";
    QTest::newRow("network subfolder") << "\\\\server\\share\\sub\\" << windows << "\\\\server\\share\\";
    QTest::newRow("network share root") << "\\\\server\\share\\" << windows << "\\\\server\\share\\";
    QTest::newRow("network share without separator") << "\\\\server\\share" << windows << "\\\\server\\share\\";
    QTest::newRow("posix file") << "/tmp/a" << posix << "/tmp/";
    QTest::newRow("posix file in the root") << "/a" << posix << "/";
    QTest::newRow("posix root") << "/" << posix << "/";
    QTest::newRow("posix folder with separator") << "/home/web/" << posix << "/home/";
    QTest::newRow("posix bare name") << "site.css" << posix << "site.css/";
    QTest::newRow("posix empty") << "" << posix << "/";
    QTest::newRow("posix backslash is no separator") << "/tmp/a\\b" << posix << "/tmp/";
}

void TestPaths::folderOf()
{
    QFETCH(QString, path);
    QFETCH(QChar, separator);
    QFETCH(QString, expected);

    const QString before = path;
    QCOMPARE(FolderOf(path, separator), expected);
    QCOMPARE(path, before);
}

void TestPaths::fileNameOf_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("expected");

    QTest::newRow("windows file") << "C:\\Web\\site.css" << windows << "site.css";
    QTest::newRow("windows folder with separator") << "C:\\Web\\" << windows << "Web";
    QTest::newRow("windows drive root") << "C:\\" << windows << "C:";
    QTest::newRow("windows bare name") << "site.css" << windows << "site.css";
    QTest::newRow("windows empty") << "" << windows << "";
    QTest::newRow("windows forward slash is no separator") << "C:\\Web/x.css" << windows << "Web/x.css";
    QTest::newRow("network file") << "\\\\server\\share\\a.css" << windows << "a.css";
    QTest::newRow("posix file") << "/tmp/site.css" << posix << "site.css";
    QTest::newRow("posix folder with separator") << "/tmp/web/" << posix << "web";
    QTest::newRow("posix root") << "/" << posix << "";
    QTest::newRow("posix bare name") << "site.css" << posix << "site.css";
    QTest::newRow("posix empty") << "" << posix << "";
}

void TestPaths::fileNameOf()
{
    QFETCH(QString, path);
    QFETCH(QChar, separator);
    QFETCH(QString, expected);

    QCOMPARE(FileNameOf(path, separator), expected);
}

void TestPaths::titleCasePath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("expected");

    QTest::newRow("windows example") << "x:\\mein ordner\\neue-datei (kopie)_v2.TXT" << windows
                                     << "X:\\Mein Ordner\\Neue-Datei (Kopie)_V2.txt";
    QTest::newRow("empty") << "" << windows << "";
    QTest::newRow("one letter") << "x" << windows << "X";
    QTest::newRow("all capitals lowered") << "C:\\WEB\\INDEX.HTML" << windows << "C:\\Web\\Index.html";
    QTest::newRow("umlauts") << QStringLiteral("ä-ölbild ÜBER") << windows << QStringLiteral("Ä-Ölbild Über");
    QTest::newRow("forward slash starts no word in windows style") << "a/b\\c" << windows << "A/b\\C";
    QTest::newRow("posix separator") << "/home/user name/x_y" << posix << "/Home/User Name/X_Y";
    QTest::newRow("backslash starts no word in posix style") << "a\\b/c" << posix << "A\\b/C";
    QTest::newRow("digits and punctuation stay") << "1.a (2)b" << windows << "1.a (2)b";
    QTest::newRow("letter outside the basic plane")
        << QStringLiteral("x\\\U00010428\U00010428") << windows << QStringLiteral("X\\\U00010400\U00010428");
}

void TestPaths::titleCasePath()
{
    QFETCH(QString, path);
    QFETCH(QChar, separator);
    QFETCH(QString, expected);

    QCOMPARE(TitleCasePath(path, separator), expected);
}

void TestPaths::longPathOfExistingPath()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Mixed Case neue-datei.TXT"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QCOMPARE(LongPathOf(path, posix), path);
}

void TestPaths::longPathOfMissingPathOnCaseSensitiveSystem()
{
    if (platform::fileNamesCaseInsensitive())
        QSKIP("file names are matched without regard to case here");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("mein ordner/neue-datei (kopie)_v2.TXT"));

    QCOMPARE(LongPathOf(path, posix), path);
}

void TestPaths::longPathOfMissingPathWhereCaseInsensitive()
{
    if (!platform::fileNamesCaseInsensitive())
        QSKIP("file names are case-sensitive here; a title-cased copy would name another file");
    const QString missing = QStringLiteral("x:\\mein ordner\\neue-datei (kopie)_v2.TXT");

    QCOMPARE(LongPathOf(missing, windows), QStringLiteral("X:\\Mein Ordner\\Neue-Datei (Kopie)_V2.txt"));
}

void TestPaths::longPathOfEmptyPath()
{
    QCOMPARE(LongPathOf(QString(), windows), QString());
    QCOMPARE(LongPathOf(QString(), posix), QString());
}

void TestPaths::storedLongPath_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("create");
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("resolved");

    QTest::newRow("existing file") << "file.txt" << true << 260 << true;
    QTest::newRow("missing file") << "missing.txt" << false << 260 << false;
    QTest::newRow("existing file longer than the limit") << "file.txt" << true << 8 << false;
}

void TestPaths::storedLongPath()
{
    QFETCH(QString, name);
    QFETCH(bool, create);
    QFETCH(int, limit);
    QFETCH(bool, resolved);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(name);
    if (create) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    const std::optional<QString> stored = platform::storedLongPath(path, limit);
    QCOMPARE(stored.has_value(), resolved);
    if (resolved)
        QCOMPARE(QFile(*stored).exists(), true);
}

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
