#include "platform/profile.h"
#include "tests/testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using testsupport::readAll;
using testsupport::writeAll;

namespace {

const QString defaultText = QStringLiteral("dflt");

int modeOf(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 07777);
}

bool setMode(const QString &path, int mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode_t(mode)) == 0;
}

struct stat statOf(const QString &path)
{
    struct stat info
    {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        info.st_mode = 0;
    return info;
}

constexpr uid_t nobodyUser = 65534;
constexpr gid_t nobodyGroup = 65534;

QString helperPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/helper_profilewriter");
}

} // namespace

class TestProfile : public QObject
{
    Q_OBJECT

private slots:
    void readValue_data();
    void readValue();
    void defaultAnswer_data();
    void defaultAnswer();
    void readMissingFile();
    void readNonRegularFile_data();
    void readNonRegularFile();
    void writeValue_data();
    void writeValue();
    void writeCreatesFile();
    void writeSeveralAsOneByOne_data();
    void writeSeveralAsOneByOne();
    void writeRejectsEntry_data();
    void writeRejectsEntry();
    void writeKeepsPermissions_data();
    void writeKeepsPermissions();
    void writeRefusesReadOnlyFile();
    void writeKeepsLinksAndOwners_data();
    void writeKeepsLinksAndOwners();
    void writeAsOtherUser_data();
    void writeAsOtherUser();
    void binaryGarbage_data();
    void binaryGarbage();
    void largeFile_data();
    void largeFile();
    void longValue_data();
    void longValue();
    void concurrentWriters();
    void concurrentNewKeys();
    void lockOfDeadWriter();
};

void TestProfile::readValue_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("value");

    const QString none = defaultText;
    QTest::newRow("plain") << QByteArray("[S]\r\nKey=Value\r\n") << "S"
                           << "Key" << 100 << 5 << "Value";
    QTest::newRow("section other case") << QByteArray("[SECTION]\r\nkey=v\r\n") << "Section"
                                        << "KEY" << 100 << 1 << "v";
    QTest::newRow("non-ASCII names other case") << QByteArray("[Größe]\r\nÄrger=1\r\n") << "GRÖßE"
                                                << "ärger" << 100 << 1 << "1";
    QTest::newRow("first section wins") << QByteArray("[S]\r\na=1\r\n[s]\r\na=2\r\nb=3\r\n") << "S"
                                        << "b" << 100 << 4 << none;
    QTest::newRow("first key wins") << QByteArray("[S]\r\na=1\r\nA=2\r\n") << "S"
                                    << "a" << 100 << 1 << "1";
    QTest::newRow("blanks around names and value") << QByteArray("  [ S ] \t\r\n \t a \t=\t v w \t\r\n") << "S"
                                                   << "a" << 100 << 3 << "v w";
    QTest::newRow("blanks around requested names") << QByteArray("[S]\r\na=1\r\n") << " S\t"
                                                   << "\ta " << 100 << 1 << "1";
    QTest::newRow("double quotes") << QByteArray("[S]\r\na=\"x y\"\r\n") << "S"
                                   << "a" << 100 << 3 << "x y";
    QTest::newRow("single quotes") << QByteArray("[S]\r\na='x'\r\n") << "S"
                                   << "a" << 100 << 1 << "x";
    QTest::newRow("quotes outside blanks") << QByteArray("[S]\r\na= \"x\" \r\n") << "S"
                                           << "a" << 100 << 1 << "x";
    QTest::newRow("blanks inside quotes kept") << QByteArray("[S]\r\na=\" x \"\r\n") << "S"
                                               << "a" << 100 << 3 << " x ";
    QTest::newRow("one pair removed") << QByteArray("[S]\r\na=\"\"x\"\"\r\n") << "S"
                                      << "a" << 100 << 3 << "\"x\"";
    QTest::newRow("mismatched quotes kept") << QByteArray("[S]\r\na=\"x'\r\n") << "S"
                                            << "a" << 100 << 3 << "\"x'";
    QTest::newRow("lone quote kept") << QByteArray("[S]\r\na=\"\r\n") << "S"
                                     << "a" << 100 << 1 << "\"";
    QTest::newRow("empty quotes") << QByteArray("[S]\r\na=\"\"\r\n") << "S"
                                  << "a" << 100 << 0 << "";
    QTest::newRow("comment") << QByteArray("[S]\r\n;a=1\r\na=2\r\n") << "S"
                             << "a" << 100 << 1 << "2";
    QTest::newRow("indented comment") << QByteArray("[S]\r\n \t;a=1\r\n") << "S"
                                      << "a" << 100 << 4 << none;
    QTest::newRow("commented section") << QByteArray(";[S]\r\na=1\r\n") << "S"
                                       << "a" << 100 << 4 << none;
    QTest::newRow("hash is no comment") << QByteArray("[S]\r\n#a=1\r\n") << "S"
                                        << "#a" << 100 << 1 << "1";
    QTest::newRow("line without equals") << QByteArray("[S]\r\na\r\n") << "S"
                                         << "a" << 100 << 4 << none;
    QTest::newRow("empty key name") << QByteArray("[S]\r\n=1\r\n") << "S"
                                    << "" << 100 << 4 << none;
    QTest::newRow("before first section") << QByteArray("a=1\r\n[S]\r\nb=2\r\n") << "S"
                                          << "a" << 100 << 4 << none;
    QTest::newRow("key of the next section") << QByteArray("[S]\r\n[T]\r\na=1\r\n") << "S"
                                             << "a" << 100 << 4 << none;
    QTest::newRow("missing section") << QByteArray("[T]\r\na=1\r\n") << "S"
                                     << "a" << 100 << 4 << none;
    QTest::newRow("missing key") << QByteArray("[S]\r\nb=1\r\n") << "S"
                                 << "a" << 100 << 4 << none;
    QTest::newRow("empty value") << QByteArray("[S]\r\na=\r\n") << "S"
                                 << "a" << 100 << 0 << "";
    QTest::newRow("blank value") << QByteArray("[S]\r\na= \t \r\n") << "S"
                                 << "a" << 100 << 0 << "";
    QTest::newRow("empty file") << QByteArray() << "S"
                                << "a" << 100 << 4 << none;
    QTest::newRow("value holds equals") << QByteArray("[S]\r\na=b=c\r\n") << "S"
                                        << "a" << 100 << 3 << "b=c";
    QTest::newRow("LF file") << QByteArray("[S]\na=1\nb=2\n") << "S"
                             << "b" << 100 << 1 << "2";
    QTest::newRow("CR file") << QByteArray("[S]\ra=1\rb=2\r") << "S"
                             << "b" << 100 << 1 << "2";
    QTest::newRow("mixed line ends") << QByteArray("[S]\ra=1\nb=2\r\nc=3") << "S"
                                     << "c" << 100 << 1 << "3";
    QTest::newRow("no final line break") << QByteArray("[S]\r\na=12") << "S"
                                         << "a" << 100 << 2 << "12";
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[S]\r\na=1\r\n") << "S"
                                     << "a" << 100 << 1 << "1";
    QTest::newRow("text after section") << QByteArray("[S] ; note\r\na=1\r\n") << "S"
                                        << "a" << 100 << 1 << "1";
    QTest::newRow("bracket in section name") << QByteArray("[a]b]\r\nk=1\r\n") << "a]b"
                                             << "k" << 100 << 1 << "1";
    QTest::newRow("bracket without close starts no section") << QByteArray("[S]\r\n[x=1\r\na=2\r\n") << "S"
                                                             << "a" << 100 << 1 << "2";
    QTest::newRow("UTF-8 value") << QByteArray("[S]\r\na=Müller\r\n") << "S"
                                 << "a" << 100 << 6 << "Müller";
    QTest::newRow("invalid UTF-8 value") << QByteArray("[S]\r\na=x\xFF\r\n") << "S"
                                         << "a" << 100 << 2 << "x\uFFFD";
    QTest::newRow("cut to size") << QByteArray("[S]\r\na=abcdef\r\n") << "S"
                                 << "a" << 4 << 3 << "abc";
    QTest::newRow("fits exactly") << QByteArray("[S]\r\na=abc\r\n") << "S"
                                  << "a" << 4 << 3 << "abc";
    QTest::newRow("size one") << QByteArray("[S]\r\na=abc\r\n") << "S"
                              << "a" << 1 << 0 << "";
    QTest::newRow("size zero") << QByteArray("[S]\r\na=abc\r\n") << "S"
                               << "a" << 0 << 0 << "";
    QTest::newRow("default cut too") << QByteArray() << "S"
                                     << "a" << 3 << 2 << "df";
    QTest::newRow("cut keeps surrogate pair whole") << QByteArray("[S]\r\na=a\xF0\x9F\x98\x80\r\n") << "S"
                                                    << "a" << 3 << 1 << "a";
}

void TestProfile::readValue()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(int, size);
    QFETCH(int, count);
    QFETCH(QString, value);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("settings.ini");
    QVERIFY(writeAll(file, content));

    QString result = QStringLiteral("garbage");
    QCOMPARE(platform::readProfileString(section, key, defaultText, result, size, file), count);
    QCOMPARE(result, value);
    QCOMPARE(readAll(file), content);
}

// A missing key answers with the default: trailing spaces (only spaces)
// dropped, cut to size, its length counted.
void TestProfile::defaultAnswer_data()
{
    QTest::addColumn<QString>("defaultValue");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("value");
    QTest::newRow("trailing blanks dropped") << "default  " << 100 << 7 << "default";
    QTest::newRow("blanks inside kept") << "one two  " << 100 << 7 << "one two";
    QTest::newRow("leading blanks kept") << "  default" << 100 << 9 << "  default";
    QTest::newRow("a tab is no blank") << "default\t" << 100 << 8 << "default\t";
    QTest::newRow("cut to size") << "default" << 4 << 3 << "def";
    QTest::newRow("empty") << "" << 100 << 0 << "";
}

void TestProfile::defaultAnswer()
{
    QFETCH(QString, defaultValue);
    QFETCH(int, size);
    QFETCH(int, count);
    QFETCH(QString, value);
    QTemporaryDir dir;
    const QString file = dir.filePath("settings.ini");
    QVERIFY(writeAll(file, "[S]\r\nother=1\r\n"));
    QString result = QStringLiteral("garbage");
    QCOMPARE(platform::readProfileString("S", "missing", defaultValue, result, size, file), count);
    QCOMPARE(result, value);
}

void TestProfile::readMissingFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString result;
    QCOMPARE(platform::readProfileString("S", "a", defaultText, result, 100, dir.filePath("none.ini")), 4);
    QCOMPARE(result, defaultText);
    QVERIFY(!QFileInfo::exists(dir.filePath("none.ini")));
}

void TestProfile::readNonRegularFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder") << "folder";
    QTest::newRow("FIFO, which would block a reader") << "fifo";
}

void TestProfile::readNonRegularFile()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("settings.ini");
    if (kind == "folder")
        QVERIFY(QDir(dir.path()).mkdir("settings.ini"));
    else
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);

    QString result;
    QCOMPARE(platform::readProfileString("S", "a", defaultText, result, 100, path), 4);
    QCOMPARE(result, defaultText);
    QVERIFY(!platform::writeProfileString("S", "a", "1", path));
}

void TestProfile::writeValue_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("empty file") << QByteArray() << "S"
                                << "k"
                                << "v" << QByteArray("[S]\r\nk=v\r\n");
    QTest::newRow("replace keeps spelling") << QByteArray("[SeC]\r\nKeY=old\r\n") << "sec"
                                            << "KEY"
                                            << "new" << QByteArray("[SeC]\r\nKeY=new\r\n");
    QTest::newRow("replace drops blanks of the line") << QByteArray("[S]\r\n  k \t=  old  \r\n") << "S"
                                                      << "k"
                                                      << "v" << QByteArray("[S]\r\nk=v\r\n");
    QTest::newRow("replace in LF file keeps other endings") << QByteArray("[S]\na=1\nb=2\n") << "S"
                                                            << "a"
                                                            << "3" << QByteArray("[S]\na=3\r\nb=2\n");
    QTest::newRow("new key in CR file") << QByteArray("[S]\ra=1\rb=2\r") << "S"
                                        << "c"
                                        << "3" << QByteArray("[S]\ra=1\rb=2\rc=3\r\n");
    QTest::newRow("new key after last key, not after blank or comment")
        << QByteArray("[S]\r\na=1\r\n\r\n; note\r\n[T]\r\nx=1\r\n") << "S"
        << "b"
        << "2" << QByteArray("[S]\r\na=1\r\nb=2\r\n\r\n; note\r\n[T]\r\nx=1\r\n");
    QTest::newRow("new key in section without keys") << QByteArray("[S]\r\n\r\n[T]\r\n") << "S"
                                                     << "b"
                                                     << "2" << QByteArray("[S]\r\nb=2\r\n\r\n[T]\r\n");
    QTest::newRow("new key, last line without break") << QByteArray("[S]\r\na=1") << "S"
                                                      << "b"
                                                      << "2" << QByteArray("[S]\r\na=1\r\nb=2\r\n");
    QTest::newRow("replace last line without break") << QByteArray("[S]\na=1") << "S"
                                                     << "a"
                                                     << "2" << QByteArray("[S]\na=2\r\n");
    QTest::newRow("new section at end") << QByteArray("[T]\r\nx=1\r\n\r\n") << "S"
                                        << "k"
                                        << "v" << QByteArray("[T]\r\nx=1\r\n\r\n[S]\r\nk=v\r\n");
    QTest::newRow("new section, file without final break") << QByteArray("[T]\nx=1") << "S"
                                                           << "k"
                                                           << "v" << QByteArray("[T]\nx=1\r\n[S]\r\nk=v\r\n");
    QTest::newRow("new section after CR ending") << QByteArray("[T]\rx=1\r") << "S"
                                                 << "k"
                                                 << "v" << QByteArray("[T]\rx=1\r[S]\r\nk=v\r\n");
    QTest::newRow("first section is written") << QByteArray("[S]\r\na=1\r\n[s]\r\na=2\r\n") << "S"
                                              << "a"
                                              << "3" << QByteArray("[S]\r\na=3\r\n[s]\r\na=2\r\n");
    QTest::newRow("new key goes to first section") << QByteArray("[S]\r\na=1\r\n[s]\r\nb=2\r\n") << "S"
                                                   << "b"
                                                   << "3" << QByteArray("[S]\r\na=1\r\nb=3\r\n[s]\r\nb=2\r\n");
    QTest::newRow("first key is written") << QByteArray("[S]\r\na=1\r\nA=2\r\n") << "S"
                                          << "A"
                                          << "3" << QByteArray("[S]\r\na=3\r\nA=2\r\n");
    QTest::newRow("key before first section untouched") << QByteArray("k=0\r\n[S]\r\n") << "S"
                                                        << "k"
                                                        << "v" << QByteArray("k=0\r\n[S]\r\nk=v\r\n");
    QTest::newRow("commented key untouched") << QByteArray("[S]\r\n;k=0\r\n") << "S"
                                             << "k"
                                             << "v" << QByteArray("[S]\r\nk=v\r\n;k=0\r\n");
    QTest::newRow("line without equals untouched") << QByteArray("[S]\r\nk\r\nx=1\r\n") << "S"
                                                   << "k"
                                                   << "v" << QByteArray("[S]\r\nk\r\nx=1\r\nk=v\r\n");
    QTest::newRow("names written without blanks") << QByteArray() << " S "
                                                  << "\tk "
                                                  << "v" << QByteArray("[S]\r\nk=v\r\n");
    QTest::newRow("value with blanks at the edges quoted") << QByteArray() << "S"
                                                           << "k"
                                                           << " v " << QByteArray("[S]\r\nk=\" v \"\r\n");
    QTest::newRow("value with own quotes quoted") << QByteArray() << "S"
                                                  << "k"
                                                  << "'q'" << QByteArray("[S]\r\nk=\"'q'\"\r\n");
    QTest::newRow("value with inner quote unchanged") << QByteArray() << "S"
                                                      << "k"
                                                      << "a\"b" << QByteArray("[S]\r\nk=a\"b\r\n");
    QTest::newRow("empty value") << QByteArray("[S]\r\nk=1\r\n") << "S"
                                 << "k"
                                 << "" << QByteArray("[S]\r\nk=\r\n");
    QTest::newRow("UTF-8 names and value") << QByteArray() << "Größe"
                                           << "Ärger"
                                           << "Müller" << QByteArray("[Größe]\r\nÄrger=Müller\r\n");
    QTest::newRow("invalid UTF-8 elsewhere kept byte for byte")
        << QByteArray("[S]\r\nx=\xFF\xFE\r\n\x80\r\n") << "S"
        << "k"
        << "v" << QByteArray("[S]\r\nx=\xFF\xFE\r\nk=v\r\n\x80\r\n");
    QTest::newRow("byte order mark kept") << QByteArray("\xEF\xBB\xBF[S]\r\nk=1\r\n") << "S"
                                          << "k"
                                          << "2" << QByteArray("\xEF\xBB\xBF[S]\r\nk=2\r\n");
    QTest::newRow("only a byte order mark") << QByteArray("\xEF\xBB\xBF") << "S"
                                            << "k"
                                            << "v" << QByteArray("\xEF\xBB\xBF[S]\r\nk=v\r\n");
    QTest::newRow("same value, CR LF file unchanged") << QByteArray("[S]\r\nk=v\r\n") << "S"
                                                      << "k"
                                                      << "v" << QByteArray("[S]\r\nk=v\r\n");
    QTest::newRow("same value, line rewritten with CR LF") << QByteArray("[S]\nk=v\n") << "S"
                                                           << "k"
                                                           << "v" << QByteArray("[S]\nk=v\r\n");
}

void TestProfile::writeValue()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("settings.ini");
    QVERIFY(writeAll(file, before));

    QVERIFY(platform::writeProfileString(section, key, value, file));
    QCOMPARE(readAll(file), after);
    QVERIFY(!QFileInfo::exists(file + ".lock"));

    QString back;
    const int count = platform::readProfileString(section, key, defaultText, back, 100, file);
    QCOMPARE(count, int(value.size()));
    QCOMPARE(back, value);
}

void TestProfile::writeSeveralAsOneByOne_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("no file") << false << QByteArray();
    QTest::newRow("empty file") << true << QByteArray();
    QTest::newRow("keys in other case, one missing")
        << true << QByteArray("[brenwick]\r\nlastdir=/alt/\r\nTOP=1\r\nleft=2\r\nHeight=3\r\nDark=0\r\n");
    QTest::newRow("sections around, comments, foreign lines")
        << true
        << QByteArray("; Einstellungen\r\nlose Zeile\r\n[Andere]\r\nTop=7\r\n[Brenwick]\r\n;Top=0\r\nX=1\r\n"
                      "[Dritte]\r\nY=2\r\n");
    QTest::newRow("LF file") << true << QByteArray("[Brenwick]\nTop=1\nWidth=9\n[Z]\nA=1\n");
    QTest::newRow("CR file without a last line break") << true << QByteArray("[Brenwick]\rTop=1\rLeft=4");
    QTest::newRow("duplicate sections and keys")
        << true << QByteArray("[Brenwick]\r\nTop=1\r\nTop=2\r\n[BRENWICK]\r\nLeft=3\r\n");
}

void TestProfile::writeSeveralAsOneByOne()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, before);
    // The keys and values a close writes, with a value that needs quotes and
    // a key no profile can hold, which both ways skip.
    const platform::ProfileEntries entries = {{"LastDir", "/home/anna/Texte/"},
                                              {"Top", "1200"},
                                              {"Left", "-15"},
                                              {"Height", "8445"},
                                              {"Bad=Key", "1"},
                                              {"Width", "13800"},
                                              {"Dark", " 1 "},
                                              {"Green", "0"},
                                              {"SplitHLeft", "2595"},
                                              {"SplitVTop", "2775"}};
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString oneByOne = dir.filePath("one-by-one.ini");
    const QString atOnce = dir.filePath("at-once.ini");
    if (exists) {
        QVERIFY(writeAll(oneByOne, before));
        QVERIFY(writeAll(atOnce, before));
    }
    for (const auto &[key, value] : entries)
        platform::writeProfileString("Brenwick", key, value, oneByOne);
    QVERIFY(platform::writeProfileStrings("Brenwick", entries, atOnce));
    QCOMPARE(readAll(atOnce), readAll(oneByOne));
    QVERIFY(!QFileInfo::exists(atOnce + ".lock"));
}

void TestProfile::writeCreatesFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("new.ini");
    QVERIFY(platform::writeProfileString("Sec", "Key", "1", file));
    QVERIFY(platform::writeProfileString("Sec", "Other", "2", file));
    QCOMPARE(readAll(file), QByteArray("[Sec]\r\nKey=1\r\nOther=2\r\n"));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    QCOMPARE(modeOf(file), int(0666 & ~mask));
}

void TestProfile::writeRejectsEntry_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("empty section") << ""
                                   << "k"
                                   << "v";
    QTest::newRow("blank section") << " \t"
                                   << "k"
                                   << "v";
    QTest::newRow("line break in section") << "S\r\n[T"
                                           << "k"
                                           << "v";
    QTest::newRow("empty key") << "S"
                               << ""
                               << "v";
    QTest::newRow("equals in key") << "S"
                                   << "a=b"
                                   << "v";
    QTest::newRow("comment key") << "S"
                                 << ";k"
                                 << "v";
    QTest::newRow("key that reads as section") << "S"
                                               << "[T]"
                                               << "v";
    QTest::newRow("line feed in key") << "S"
                                      << "k\nx"
                                      << "v";
    QTest::newRow("line feed in value") << "S"
                                        << "k"
                                        << "v\n[T]\nx=1";
    QTest::newRow("carriage return in value") << "S"
                                              << "k"
                                              << "v\rw";
}

void TestProfile::writeRejectsEntry()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("settings.ini");
    const QByteArray before("[S]\r\nk=1\r\n");
    QVERIFY(writeAll(file, before));
    QVERIFY(!platform::writeProfileString(section, key, value, file));
    QCOMPARE(readAll(file), before);
}

void TestProfile::writeKeepsPermissions_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("0600") << 0600;
    QTest::newRow("0640") << 0640;
    QTest::newRow("0666") << 0666;
    QTest::newRow("0755") << 0755;
    QTest::newRow("0200 write only") << 0200;
}

void TestProfile::writeKeepsPermissions()
{
    QFETCH(int, mode);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("settings.ini");
    QVERIFY(writeAll(file, "[S]\r\nk=1\r\n"));
    QVERIFY(setMode(file, mode));
    QVERIFY(platform::writeProfileString("S", "k", "2", file));
    QCOMPARE(modeOf(file), mode);
    QVERIFY(setMode(file, 0600));
    QCOMPARE(readAll(file), QByteArray("[S]\r\nk=2\r\n"));
}

void TestProfile::writeRefusesReadOnlyFile()
{
    // Refused also for root, who could replace it: the bits say "do not change".
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("settings.ini");
    const QByteArray before("[S]\r\nk=1\r\n");
    QVERIFY(writeAll(file, before));
    QVERIFY(setMode(file, 0444));
    QVERIFY(!platform::writeProfileString("S", "k", "2", file));
    QVERIFY(!platform::writeProfileString("S", "new", "2", file));
    QCOMPARE(readAll(file), before);
    QCOMPARE(modeOf(file), 0444);
}

// The settings file is replaced by the same careful routine as a document:
// what the user set up around it survives a write.
void TestProfile::writeKeepsLinksAndOwners_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("sameInode");

    QTest::newRow("second hard link, written in place") << "hard link" << true;
    QTest::newRow("symbolic link stays a link") << "symbolic link" << false;
    QTest::newRow("file of another user, written in place by root") << "other user" << true;
    QTest::newRow("file of another group, replaced by root") << "other group" << false;
}

void TestProfile::writeKeepsLinksAndOwners()
{
    QFETCH(QString, kind);
    QFETCH(bool, sameInode);
    if ((kind == "other user" || kind == "other group") && ::geteuid() != 0)
        QSKIP("giving a file to another user or group needs root");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString real = dir.filePath("real.ini");
    const QString settings = dir.filePath("settings.ini");
    QVERIFY(writeAll(real, "[S]\r\nk=1\r\n"));
    QVERIFY(setMode(real, 0640));
    if (kind == "hard link") {
        QCOMPARE(::link(QFile::encodeName(real).constData(), QFile::encodeName(settings).constData()), 0);
    } else if (kind == "symbolic link") {
        QVERIFY(QFile::link(real, settings));
    } else {
        QVERIFY(QFile::rename(real, settings));
        const uid_t owner = kind == "other user" ? nobodyUser : ::geteuid();
        QCOMPARE(::chown(QFile::encodeName(settings).constData(), owner, nobodyGroup), 0);
    }
    const struct stat before = statOf(settings);

    QVERIFY(platform::writeProfileString("S", "k", "2", settings));

    const struct stat after = statOf(settings);
    QCOMPARE(readAll(settings), QByteArray("[S]\r\nk=2\r\n"));
    QCOMPARE(after.st_ino == before.st_ino, sameInode);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    QCOMPARE(int(after.st_mode & 07777), 0640);
    QCOMPARE(after.st_nlink, before.st_nlink);
    if (kind == "hard link" || kind == "symbolic link")
        QCOMPARE(readAll(real), QByteArray("[S]\r\nk=2\r\n"));
    if (kind == "symbolic link")
        QVERIFY(QFileInfo(settings).isSymLink());
}

void TestProfile::writeAsOtherUser_data()
{
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<bool>("written");

    QTest::newRow("writable folder and file") << 0777 << true << 0666 << true;
    QTest::newRow("writable folder, new file") << 0777 << false << 0 << true;
    QTest::newRow("read-only folder, writable file") << 0755 << true << 0666 << false;
    QTest::newRow("read-only folder, new file") << 0755 << false << 0 << false;
    QTest::newRow("writable folder, file of another user") << 0777 << true << 0644 << false;
}

// Runs the writer as an unprivileged user: as root every folder is writable.
void TestProfile::writeAsOtherUser()
{
    QFETCH(int, folderMode);
    QFETCH(bool, fileExists);
    QFETCH(int, fileMode);
    QFETCH(bool, written);

    const QString setpriv = QStandardPaths::findExecutable("setpriv");
    const bool root = ::geteuid() == 0;
    if (root && setpriv.isEmpty())
        QSKIP("running as root without setpriv: no way to act as an unprivileged user");
    if (!root && fileExists && fileMode == 0644)
        QSKIP("needs root to create a file owned by another user");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("settings.ini");
    const QByteArray before("[S]\r\nk=1\r\n");
    if (fileExists) {
        QVERIFY(writeAll(file, before));
        QVERIFY(setMode(file, fileMode));
    }
    QVERIFY(setMode(dir.path(), folderMode));

    QProcess writer;
    if (root) {
        writer.start(setpriv,
                     {"--reuid=nobody", "--regid=nogroup", "--clear-groups", helperPath(), file, "S", "k", "2"});
    } else {
        writer.start(helperPath(), {file, "S", "k", "2"});
    }
    QVERIFY2(writer.waitForFinished(120000), qPrintable(writer.errorString()));
    QCOMPARE(writer.exitStatus(), QProcess::NormalExit);
    QVERIFY(setMode(dir.path(), 0700));

    QCOMPARE(writer.exitCode(), written ? 0 : 1);
    if (written) {
        QCOMPARE(readAll(file), QByteArray("[S]\r\nk=2\r\n"));
    } else if (fileExists) {
        QCOMPARE(readAll(file), before);
        QCOMPARE(modeOf(file), fileMode);
    } else {
        QVERIFY(!QFileInfo::exists(file));
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             written || fileExists ? QStringList{"settings.ini"} : QStringList{});
}

void TestProfile::binaryGarbage_data()
{
    QTest::addColumn<QByteArray>("garbage");

    QRandomGenerator random(20240611);
    QByteArray noise(256 * 1024, '\0');
    for (char &c : noise)
        c = char(random.bounded(256));
    QTest::newRow("random bytes") << noise;

    QByteArray everyByte;
    for (int round = 0; round < 64; ++round) {
        for (int b = 0; b < 256; ++b)
            everyByte.append(char((b * 7 + round) % 256));
    }
    QTest::newRow("every byte value") << everyByte;
    QTest::newRow("NUL bytes only") << QByteArray(4096, '\0');
    QTest::newRow("line breaks only") << QByteArray("\r\r\n\n\r\n\r");
    QTest::newRow("brackets and equals") << QByteArray("[[[]]]===[=]\r\n]=[\r\n=\r\n[\r\n]");
}

void TestProfile::binaryGarbage()
{
    QFETCH(QByteArray, garbage);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("settings.ini");
    QVERIFY(writeAll(file, garbage));

    const QString section = QStringLiteral("Brenwick Settings");
    QString value;
    QCOMPARE(platform::readProfileString(section, "Key", defaultText, value, 2048, file), 4);
    QCOMPARE(value, defaultText);

    QVERIFY(platform::writeProfileString(section, "Key", "Value", file));
    const QByteArray after = readAll(file);
    const QByteArray added("[Brenwick Settings]\r\nKey=Value\r\n");
    QVERIFY(after.startsWith(garbage));
    QVERIFY(after.endsWith(added));
    const bool open = !garbage.isEmpty() && !garbage.endsWith('\n') && !garbage.endsWith('\r');
    QCOMPARE(after.size(), garbage.size() + (open ? 2 : 0) + added.size());
    QCOMPARE(platform::readProfileString(section, "key", defaultText, value, 2048, file), 5);
    QCOMPARE(value, QStringLiteral("Value"));
}

void TestProfile::largeFile_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");

    QTest::newRow("key in last section") << "Section 9999"
                                         << "Key 19";
    QTest::newRow("new key in first section") << "Section 0"
                                              << "Extra";
    QTest::newRow("new section") << "Brand New"
                                 << "Key";
}

// About 10 MB in 10,000 sections of 20 keys: reading and writing must finish
// (a quadratic scan would not within the test's time limit).
void TestProfile::largeFile()
{
    QFETCH(QString, section);
    QFETCH(QString, key);

    QByteArray content;
    content.reserve(11 * 1024 * 1024);
    const QByteArray filler(40, 'x');
    for (int s = 0; s < 10000; ++s) {
        content += "[Section " + QByteArray::number(s) + "]\r\n";
        for (int k = 0; k < 20; ++k)
            content += "Key " + QByteArray::number(k) + "=" + filler + QByteArray::number(s) + "\r\n";
    }
    QVERIFY(content.size() > 10 * 1000 * 1000);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("settings.ini");
    QVERIFY(writeAll(file, content));

    QVERIFY(platform::writeProfileString(section, key, "new value", file));
    const QByteArray after = readAll(file);

    QByteArray expected = content;
    const QByteArray newLine = key.toUtf8() + "=new value\r\n";
    if (section == "Section 9999") {
        expected.replace("Key 19=" + filler + "9999\r\n", newLine);
    } else if (section == "Section 0") {
        const QByteArray lastKey = "Key 19=" + filler + "0\r\n";
        expected.insert(expected.indexOf(lastKey) + lastKey.size(), newLine);
    } else {
        expected += "[" + section.toUtf8() + "]\r\n" + newLine;
    }
    QVERIFY(after == expected);

    QString value;
    QCOMPARE(platform::readProfileString(section.toUpper(), key.toLower(), defaultText, value, 2048, file), 9);
    QCOMPARE(value, QStringLiteral("new value"));
    QCOMPARE(platform::readProfileString("Section 5000", "Key 7", defaultText, value, 2048, file), 44);
    QCOMPARE(value, QString::fromLatin1(filler + "5000"));
}

void TestProfile::longValue_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("count");

    QTest::newRow("3000 characters, buffer 2048") << 3000 << 2048 << 2047;
    QTest::newRow("3000 characters, buffer 4000") << 3000 << 4000 << 3000;
    QTest::newRow("2047 characters, buffer 2048") << 2047 << 2048 << 2047;
    QTest::newRow("2048 characters, buffer 2048") << 2048 << 2048 << 2047;
    QTest::newRow("one megabyte, buffer 2048") << 1024 * 1024 << 2048 << 2047;
}

void TestProfile::longValue()
{
    QFETCH(int, length);
    QFETCH(int, size);
    QFETCH(int, count);

    QString text;
    text.reserve(length);
    for (int i = 0; i < length; ++i)
        text.append(QChar(u'a' + i % 26));

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("settings.ini");
    QVERIFY(platform::writeProfileString("S", "Long", text, file));
    QVERIFY(platform::writeProfileString("S", "After", "1", file));

    QString value;
    QCOMPARE(platform::readProfileString("S", "Long", defaultText, value, size, file), count);
    QCOMPARE(value, text.first(count));
    QCOMPARE(platform::readProfileString("S", "After", defaultText, value, size, file), 1);
    QCOMPARE(value, QStringLiteral("1"));
}

// Two processes write different keys of one file 500 times each at the same
// time; the lock and the atomic replacement must lose neither's last value.
void TestProfile::concurrentWriters()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("settings.ini");
    QVERIFY(writeAll(file, "; shared settings\r\n[Other]\r\nx=1\r\n"));
    QVERIFY(QFileInfo(helperPath()).isExecutable());

    QProcess first;
    QProcess second;
    first.start(helperPath(), {file, "Shared", "First", "500"});
    second.start(helperPath(), {file, "Shared", "Second", "500"});
    QVERIFY2(first.waitForFinished(240000), qPrintable(first.errorString()));
    QVERIFY2(second.waitForFinished(240000), qPrintable(second.errorString()));
    QCOMPARE(first.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(second.exitCode(), 0);

    QString value;
    QCOMPARE(platform::readProfileString("Shared", "First", defaultText, value, 100, file), 3);
    QCOMPARE(value, QStringLiteral("500"));
    QCOMPARE(platform::readProfileString("Shared", "Second", defaultText, value, 100, file), 3);
    QCOMPARE(value, QStringLiteral("500"));

    const QByteArray after = readAll(file);
    QVERIFY(after.startsWith("; shared settings\r\n[Other]\r\nx=1\r\n[Shared]\r\n"));
    QCOMPARE(after.count("[Shared]"), 1);
    QCOMPARE(after.count("First="), 1);
    QCOMPARE(after.count("Second="), 1);
    QCOMPARE(after.count("\r\n"), 6);
    QVERIFY(!QFileInfo::exists(file + ".lock"));
}

// Each of two processes adds 300 keys of its own at the same time: any
// update lost between re-reading and replacing the file leaves a key missing.
void TestProfile::concurrentNewKeys()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("settings.ini");
    QVERIFY(QFileInfo(helperPath()).isExecutable());

    const int count = 300;
    QProcess first;
    QProcess second;
    first.start(helperPath(), {file, "Shared", "A", QString::number(count), "distinct"});
    second.start(helperPath(), {file, "Shared", "B", QString::number(count), "distinct"});
    QVERIFY2(first.waitForFinished(240000), qPrintable(first.errorString()));
    QVERIFY2(second.waitForFinished(240000), qPrintable(second.errorString()));
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(second.exitCode(), 0);

    QStringList missing;
    QString value;
    for (const QString &prefix : {QStringLiteral("A"), QStringLiteral("B")}) {
        for (int i = 1; i <= count; ++i) {
            if (platform::readProfileString("Shared", prefix + QString::number(i), defaultText, value, 100, file) == 0
                || value != QString::number(i)) {
                missing.append(prefix + QString::number(i));
            }
        }
    }
    QCOMPARE(missing, QStringList());
    QCOMPARE(readAll(file).count("\r\n"), 1 + 2 * count);
}

// A writer that died holding the lock must not block the settings for good.
void TestProfile::lockOfDeadWriter()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("settings.ini");
    const QString lockPath = file + ".lock";

    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        QLockFile lock(lockPath);
        ::_exit(lock.tryLock(0) ? 0 : 1); // ends without releasing the lock
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QVERIFY(QFileInfo::exists(lockPath));

    QVERIFY(platform::writeProfileString("S", "k", "1", file));
    QCOMPARE(readAll(file), QByteArray("[S]\r\nk=1\r\n"));
    QVERIFY(!QFileInfo::exists(lockPath));
}

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
