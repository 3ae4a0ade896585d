// The whole run in one process: Main restores the working state, the checks
// look at the window, the close writes the settings file for the next start.
#include "app/appstate.h"
#include "document/textdocument.h"
#include "forms/checkbox.h"
#include "forms/drivelist.h"
#include "forms/filelist.h"
#include "forms/folderlist.h"
#include "forms/label.h"
#include "forms/placeable.h"
#include "forms/textbox.h"
#include "tests/mainwindowcontrols.h"
#include "tests/testsupport.h"
#include "tests/uitestsupport.h"
#include "ui/main/frmtextedit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/inotify.h>
#include <unistd.h>

using testsupport::native;
using testsupport::ProgramRun;
using testsupport::readAll;
using testsupport::writeAll;

namespace {

QString withSeparator(const QString &path)
{
    QString p = native(path);
    if (!p.endsWith(QDir::separator()))
        p += QDir::separator();
    return p;
}

const QStringList nineKeys = {"LastDir", "Top", "Left", "Height", "Width", "Dark", "Green", "SplitHLeft", "SplitVTop"};

QStringList keysInFile(const QString &ini)
{
    QStringList keys;
    for (const QByteArray &line : readAll(ini).split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            keys << QString::fromUtf8(line.left(equals));
    }
    return keys;
}
} // namespace

class RunTest : public QObject
{
    Q_OBJECT
private slots:
    void firstRunWritesNineKeysInOrder();
    void closeWritesWindowState();
    void driveRootHasOneSeparator();
    void twoRunsWriteTheSameValues();
    void unsavedEditsAreLostOnClose();
    void commandLine_data();
    void commandLine();
    void hostileCommandLine_data();
    void hostileCommandLine();
    void lastCssLoadedUnchanged();
    void options_data();
    void options();
    void splitterOutsideWindow_data();
    void splitterOutsideWindow();
    void vanishedFolderAndStylesheet();
    void readOnlySettingsFile();
};

void RunTest::firstRunWritesNineKeysInOrder()
{
    QTemporaryDir dir;
    ProgramRun run(dir.path());
    frmTextEdit *w = run.start();
    QCOMPARE(File2(w)->Path(), native(dir.path()));
    QVERIFY(w->stylesheet().path().isEmpty());
    QCOMPARE(txtCSS(w)->Text(), QString());
    QCOMPARE(chkDark(w)->Value(), 0);
    QCOMPARE(chkGreen(w)->Value(), 0);
    run.close();

    QCOMPARE(keysInFile(run.iniPath()), nineKeys);
    const QByteArray bytes = readAll(run.iniPath());
    QVERIFY(bytes.startsWith("[Brenwick TXT-HTML-CSS-Editor]\r\n"));
    QCOMPARE(run.setting("LastDir"), withSeparator(dir.path()));
    QCOMPARE(run.setting("Top"), QStringLiteral("674"));
    QCOMPARE(run.setting("Left"), QStringLiteral("870"));
    QCOMPARE(run.setting("Height"), QStringLiteral("8445"));
    QCOMPARE(run.setting("Width"), QStringLiteral("13620"));
    QCOMPARE(run.setting("SplitHLeft"), QStringLiteral("2595"));
    QCOMPARE(run.setting("SplitVTop"), QStringLiteral("2775"));
}

void RunTest::closeWritesWindowState()
{
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/Web");
    ProgramRun run(dir.path());
    run.writeSettings({"LastCSS=/somewhere/site.css", "Top=1200", "Left=2400", "Height=8445", "Width=13740", "Green=1",
                       "LastDir=" + withSeparator(dir.path() + "/Web")});
    frmTextEdit *w = run.start();
    // Every write of the file, whether by rename or in place, is seen here.
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    QVERIFY(watch >= 0);
    QVERIFY(::inotify_add_watch(watch, QFile::encodeName(dir.path()).constData(), IN_MOVED_TO | IN_CLOSE_WRITE) >= 0);
    run.close();
    Q_UNUSED(w);
    int writes = 0;
    alignas(inotify_event) char buffer[8192];
    for (ssize_t got; (got = ::read(watch, buffer, sizeof buffer)) > 0;) {
        for (char *at = buffer; at < buffer + got;) {
            const auto *event = reinterpret_cast<const inotify_event *>(at);
            if (event->len > 0 && QFile::decodeName(event->name) == QFileInfo(run.iniPath()).fileName())
                ++writes;
            at += sizeof(inotify_event) + event->len;
        }
    }
    ::close(watch);
    // One replace: a crash during the close leaves all old or all new values.
    QCOMPARE(writes, 1);
    QCOMPARE(run.setting("LastDir"), withSeparator(dir.path() + "/Web"));
    QCOMPARE(run.setting("Top"), QStringLiteral("1200"));
    QCOMPARE(run.setting("Left"), QStringLiteral("2400"));
    QCOMPARE(run.setting("Height"), QStringLiteral("8445"));
    QCOMPARE(run.setting("Width"), QStringLiteral("13740"));
    QCOMPARE(run.setting("Dark"), QStringLiteral("0"));
    QCOMPARE(run.setting("Green"), QStringLiteral("1"));
    QCOMPARE(run.setting("SplitHLeft"), QStringLiteral("2595"));
    QCOMPARE(run.setting("SplitVTop"), QStringLiteral("2775"));
    QCOMPARE(run.setting("LastCSS"), QStringLiteral("/somewhere/site.css"));
}

void RunTest::driveRootHasOneSeparator()
{
    QTemporaryDir dir;
    ProgramRun run(dir.path());
    run.writeSettings({"LastDir=" + native(QDir::rootPath())});
    frmTextEdit *w = run.start();
    QCOMPARE(File2(w)->Path(), native(QDir::rootPath()));
    run.close();
    QCOMPARE(run.setting("LastDir"), native(QDir::rootPath()));
}

void RunTest::twoRunsWriteTheSameValues()
{
    QTemporaryDir dir;
    QStringList first;
    {
        ProgramRun run(dir.path());
        run.writeSettings(
            {"Top=300", "Left=450", "Height=7000", "Width=12000", "SplitHLeft=3000", "SplitVTop=2500", "Dark=1"});
        run.start();
        run.close();
        for (const QString &key : nineKeys)
            first << run.setting(key).value_or(QStringLiteral("<missing>"));
    }
    ProgramRun run(dir.path());
    run.start();
    run.close();
    QStringList second;
    for (const QString &key : nineKeys)
        second << run.setting(key).value_or(QStringLiteral("<missing>"));
    QCOMPARE(second, first);
    QCOMPARE(first.at(1), QStringLiteral("300"));
    QCOMPARE(first.at(7), QStringLiteral("3000"));
}

void RunTest::unsavedEditsAreLostOnClose()
{
    QTemporaryDir dir;
    writeAll(dir.path() + "/a.txt", "alpha\r\n");
    ProgramRun run(dir.path());
    frmTextEdit *w = run.start();
    File2(w)->SetSelected(0, true);
    QCOMPARE(txtTXT(w)->Text(), QStringLiteral("alpha\r\n"));
    QTest::keyClicks(txtTXT(w), "unsaved");
    QVERIFY(w->Changed());
    run.close();
    QVERIFY(!w->isVisible());
    QCOMPARE(readAll(dir.path() + "/a.txt"), QByteArray("alpha\r\n"));
}

void RunTest::commandLine_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("folder");

    QTest::newRow("a file") << "Texte/brief.txt"
                            << "Texte";
    QTest::newRow("a folder with separator") << "Texte/"
                                             << "";
    QTest::newRow("a folder without separator") << "Texte"
                                                << "";
    QTest::newRow("a missing file in an existing folder") << "Texte/neu.txt"
                                                          << "Texte";
}

void RunTest::commandLine()
{
    QFETCH(QString, argument);
    QFETCH(QString, folder);

    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/Texte");
    QDir().mkpath(dir.path() + "/Remembered");
    writeAll(dir.path() + "/Texte/brief.txt", "Brief\r\n");
    ProgramRun run(dir.path());
    run.writeSettings({"LastDir=" + withSeparator(dir.path() + "/Remembered")});
    frmTextEdit *w = run.start(native(dir.path() + "/" + argument));

    const QString expected = folder.isEmpty() ? native(dir.path()) : native(dir.path() + "/" + folder);
    QCOMPARE(File2(w)->Path(), expected);
    QCOMPARE(Dir2(w)->Path(), expected);
    QCOMPARE(txtTXT(w)->Text(), QString());
    QVERIFY(w->document().path().isEmpty());
    QCOMPARE(File2(w)->FileName(), QString());
}

void RunTest::hostileCommandLine_data()
{
    QTest::addColumn<QString>("argument");
    QTest::newRow("quoted path") << "\"Texte/brief.txt\"";
    QTest::newRow("5000 characters") << QString(5000, QLatin1Char('x'));
    QTest::newRow("newlines") << "Tex\nte/bri\nef.txt";
    QTest::newRow("only blanks") << "   ";
    QTest::newRow("missing drive or mount") << "/no/such/mount/anywhere/file.txt";
}

// A command line that names nothing usable: the failing browser steps are
// skipped, no message appears and the window works.
void RunTest::hostileCommandLine()
{
    QFETCH(QString, argument);
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/Texte");
    writeAll(dir.path() + "/Texte/brief.txt", "Brief\r\n");
    ProgramRun run(dir.path());
    testsupport::MessageCapture messages;
    const QString commandLine = argument.startsWith(QLatin1Char('/')) || argument.startsWith(QLatin1Char(' '))
        ? argument
        : native(dir.path() + "/" + argument);
    frmTextEdit *w = run.start(argument.startsWith(QLatin1Char('"'))
                                   ? QStringLiteral("\"") + native(dir.path()) + "/Texte/brief.txt\""
                                   : commandLine);
    QVERIFY(w->isVisible());
    QCOMPARE(messages.messages().size(), 0);
    QVERIFY(w->document().path().isEmpty());
    QTest::keyClicks(txtTXT(w), "ok");
    QVERIFY(w->Changed());
    run.close();
    QVERIFY(run.setting("LastDir").has_value());
}

void RunTest::lastCssLoadedUnchanged()
{
    QTemporaryDir dir;
    writeAll(dir.path() + "/site.css", "a {\n\tb: c;\n}");
    ProgramRun run(dir.path());
    run.writeSettings({"LastCSS=" + native(dir.path() + "/site.css")});
    frmTextEdit *w = run.start();
    QCOMPARE(w->stylesheet().path(), native(dir.path() + "/site.css"));
    QCOMPARE(txtCSS(w)->Text(), QStringLiteral("a {\r\n b: c;\r\n}\r\n"));
    QVERIFY(!txtCSS(w)->Visible());
    QCOMPARE(w->ViewCSS(), 0);
    QVERIFY(!w->Changed());
    QVERIFY(!w->ChangedCSS());
}

void RunTest::options_data()
{
    QTest::addColumn<QString>("green");
    QTest::addColumn<QString>("dark");
    QTest::addColumn<int>("greenValue");
    QTest::addColumn<int>("darkValue");
    QTest::addColumn<QColor>("fore");

    QTest::newRow("both on") << "1"
                             << "1" << 1 << 1 << forms::rgb(0x00FF00);
    QTest::newRow("green only") << "1"
                                << "0" << 1 << 0 << forms::rgb(0x004000);
    QTest::newRow("half rounds to even") << "0.5"
                                         << "1.5" << 0 << 2 << forms::rgb(0x000000);
    QTest::newRow("negative is no box value") << "-1"
                                              << "1" << 0 << 1 << forms::rgb(0xE0E0E0);
    QTest::newRow("text counts as 0") << "abc"
                                      << "3" << 0 << 0 << forms::rgb(0x000000);
}

void RunTest::options()
{
    QFETCH(QString, green);
    QFETCH(QString, dark);
    QFETCH(int, greenValue);
    QFETCH(int, darkValue);
    QFETCH(QColor, fore);

    QTemporaryDir dir;
    ProgramRun run(dir.path());
    run.writeSettings({"Green=" + green, "Dark=" + dark});
    frmTextEdit *w = run.start();
    QCOMPARE(chkGreen(w)->Value(), greenValue);
    QCOMPARE(chkDark(w)->Value(), darkValue);
    QCOMPARE(txtTXT(w)->ForeColor(), fore);
    QCOMPARE(txtCSS(w)->ForeColor(), fore);
}

void RunTest::splitterOutsideWindow_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");

    QTest::newRow("far left") << "SplitHLeft=-99999" << 2595 << 2775;
    QTest::newRow("far right") << "SplitHLeft=99999999" << 2595 << 2775;
    QTest::newRow("above") << "SplitVTop=-5" << 2595 << 2775;
    QTest::newRow("text") << "SplitVTop=abc" << 2595 << 0;
}

void RunTest::splitterOutsideWindow()
{
    QFETCH(QString, setting);
    QFETCH(int, left);
    QFETCH(int, top);

    QTemporaryDir dir;
    ProgramRun run(dir.path());
    run.writeSettings({setting});
    frmTextEdit *w = run.start();
    QCOMPARE(lblSplitH(w)->Left(), left);
    QCOMPARE(lblSplitV(w)->Top(), top);
    QVERIFY(txtTXT(w)->Left() >= 0);
}

void RunTest::vanishedFolderAndStylesheet()
{
    QTemporaryDir dir;
    ProgramRun run(dir.path());
    QDir().mkpath(dir.path() + "/folder.css");
    run.writeSettings(
        {"LastDir=" + withSeparator(dir.path() + "/gone"), "LastCSS=" + native(dir.path() + "/folder.css")});
    frmTextEdit *w = run.start();
    QVERIFY(w->isVisible());
    QVERIFY(File2(w)->Path() != native(dir.path() + "/gone"));
    QCOMPARE(txtCSS(w)->Text(), QString());
    QCOMPARE(w->stylesheet().path(), native(dir.path() + "/folder.css"));
    QVERIFY(!w->ChangedCSS());
}

void RunTest::readOnlySettingsFile()
{
    QTemporaryDir dir;
    ProgramRun run(dir.path());
    run.writeSettings({"Top=100", "Left=100"});
    QFile::setPermissions(run.iniPath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    frmTextEdit *w = run.start();
    QCOMPARE(w->Top(), 100);
    run.close();
    QVERIFY(!w->isVisible());
}

QTEST_MAIN(RunTest)
#include "tst_run.moc"
