// The real executable as its own process: the settings file is named after
// it, and the end of a desktop session (SIGTERM) closes the main window so
// the working state is saved.
#include "program/commandline.h"
#include "tests/editorprocess.h"
#include "tests/mainwindowcontrols.h"
#include "tests/testsupport.h"
#include "tests/uitestsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

using testsupport::editorStartTimeoutMs;
using testsupport::waitUntilTerminable;

class ProcessTest : public QObject
{
    Q_OBJECT
private slots:
    void terminationSavesState();
    void concurrentInstances();
    void endedEditorOffersItsText_data();
    void endedEditorOffersItsText();
    void commandLine_data();
    void commandLine();
    void optionsNeedNoWindow_data();
    void optionsNeedNoWindow();
};

void ProcessTest::terminationSavesState()
{
#ifndef Q_OS_LINUX
    QSKIP("the sign that the editor takes SIGTERM is read from /proc");
#endif
    QTemporaryDir dir;
    const QString exe = dir.path() + QStringLiteral("/Editor");
    QVERIFY(QFile::copy(QStringLiteral(BRENWICK_EDITOR_BINARY), exe));
    QDir().mkpath(dir.path() + QStringLiteral("/Meine Texte"));
    testsupport::writeAll(dir.path() + QStringLiteral("/Meine Texte/brief.txt"), "x\r\n");

    QProcess editor;
    editor.setProcessEnvironment(testsupport::offscreenEnvironment(dir.path() + QStringLiteral("/state")));
    // One argument with a blank: the command line stays one path.
    editor.start(exe, {dir.path() + QStringLiteral("/Meine Texte/brief.txt")});
    QVERIFY(editor.waitForStarted(10000));
    QVERIFY(waitUntilTerminable(editor));
    editor.terminate();
    QVERIFY(editor.waitForFinished(10000));
    QCOMPARE(editor.exitStatus(), QProcess::NormalExit);
    QCOMPARE(editor.exitCode(), 0);

    const QByteArray ini = testsupport::readAll(dir.path() + QStringLiteral("/Editor.ini"));
    QVERIFY2(ini.startsWith("[Brenwick TXT-HTML-CSS-Editor]\r\n"), ini.constData());
    QVERIFY2(
        ini.contains(QString(QStringLiteral("LastDir=") + dir.path() + QStringLiteral("/Meine Texte/\r\n")).toUtf8()),
        ini.constData());
    for (const char *key :
         {"Top=", "Left=", "Height=8445", "Width=", "Dark=0", "Green=0", "SplitHLeft=2595", "SplitVTop=2775"})
        QVERIFY2(ini.contains(key), key);
}

namespace {
// One start of the editor in `folder`, ended as the desktop ends a session,
// with the settings file as it was right after.
struct Run
{
    QString folder;
    bool closedCleanly = false;
    QByteArray ini;
};

Run runOnce(const QString &exe, const QString &folder)
{
    Run run;
    run.folder = folder;
    QProcess editor;
    editor.setProcessEnvironment(testsupport::offscreenEnvironment(folder + QStringLiteral("/state")));
    editor.start(exe, {folder + QStringLiteral("/x.txt")});
    if (!editor.waitForStarted(10000))
        return run;
    if (!waitUntilTerminable(editor)) {
        editor.kill();
        editor.waitForFinished(10000);
        return run;
    }
    editor.terminate();
    run.closedCleanly = editor.waitForFinished(editorStartTimeoutMs) && editor.exitStatus() == QProcess::NormalExit
        && editor.exitCode() == 0;
    run.ini = testsupport::readAll(QFileInfo(exe).absolutePath() + QStringLiteral("/Editor.ini"));
    return run;
}

QMap<QString, QString> parse(const QByteArray &ini, int *keyLines)
{
    QMap<QString, QString> values;
    *keyLines = 0;
    for (QByteArray line : ini.split('\n')) {
        line = line.trimmed();
        const qsizetype equals = line.indexOf('=');
        if (equals > 0) {
            ++*keyLines;
            values.insert(QString::fromUtf8(line.left(equals)), QString::fromUtf8(line.mid(equals + 1)));
        }
    }
    return values;
}
} // namespace

void ProcessTest::concurrentInstances()
{
#ifndef Q_OS_LINUX
    QSKIP("the sign that the editor takes SIGTERM is read from /proc");
#endif
    QTemporaryDir dir;
    const QString exe = dir.path() + QStringLiteral("/Editor");
    QVERIFY(QFile::copy(QStringLiteral(BRENWICK_EDITOR_BINARY), exe));
    // A folder of its own for every run: the LastDir in the settings file
    // tells which run wrote it.
    constexpr int runsPerInstance = 50;
    QStringList foldersA, foldersB;
    for (int i = 0; i < runsPerInstance; ++i) {
        foldersA << dir.path() + QStringLiteral("/A%1").arg(i);
        foldersB << dir.path() + QStringLiteral("/B%1").arg(i);
        QVERIFY(QDir().mkpath(foldersA.last()) && QDir().mkpath(foldersB.last()));
    }

    // Two instances side by side, each started and closed again and again.
    QList<Run> runsB;
    QThread *other = QThread::create([&] {
        for (const QString &folder : std::as_const(foldersB))
            runsB << runOnce(exe, folder);
    });
    other->start();
    QList<Run> runs;
    for (const QString &folder : std::as_const(foldersA))
        runs << runOnce(exe, folder);
    other->wait();
    delete other;
    runs << runsB;

    int ownSettings = 0;
    for (const Run &run : std::as_const(runs)) {
        QVERIFY2(run.closedCleanly, qPrintable(run.folder));
        if (run.ini.isEmpty())
            continue;
        int keyLines = 0;
        const QMap<QString, QString> values = parse(run.ini, &keyLines);
        QVERIFY2(run.ini.startsWith("[Brenwick TXT-HTML-CSS-Editor]\r\n"), run.ini.constData());
        QCOMPARE(keyLines, 9);
        const QString lastDir = values.value(QStringLiteral("LastDir"));
        QVERIFY2(lastDir.endsWith(QLatin1Char('/')), qPrintable(lastDir));
        const QString writer = lastDir.chopped(1);
        QVERIFY2(foldersA.contains(writer) || foldersB.contains(writer), qPrintable(lastDir));
        QCOMPARE(values.value(QStringLiteral("Height")), QStringLiteral("8445"));
        QCOMPARE(values.value(QStringLiteral("SplitVTop")), QStringLiteral("2775"));
        if (writer == run.folder)
            ++ownSettings;
    }
    // The other instance may save between a run's end and the read, but not
    // nearly every time: a run that ended without saving leaves no trace of
    // its own.
    QVERIFY2(ownSettings * 2 > runs.size(),
             qPrintable(QStringLiteral("%1 of %2 runs saved their settings").arg(ownSettings).arg(runs.size())));
}

void ProcessTest::endedEditorOffersItsText_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGKILL") << SIGKILL;
    // The end of the session, of the terminal, and Ctrl+C close the window.
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP") << SIGHUP;
    QTest::newRow("SIGINT") << SIGINT;
}

void ProcessTest::endedEditorOffersItsText()
{
#ifndef Q_OS_LINUX
    QSKIP("the sign that the editor takes SIGTERM is read from /proc");
#endif
    QFETCH(int, signal);
    const bool kill = signal == SIGKILL;
    QTemporaryDir dir;
    const QString state = dir.path() + QStringLiteral("/state");
    testsupport::writeAll(dir.path() + QStringLiteral("/seite.html"), "<p>alt</p>\r\n");

    QProcess typist;
    typist.setProcessEnvironment(testsupport::offscreenEnvironment(state));
    typist.start(QCoreApplication::applicationDirPath() + QStringLiteral("/helper_typist"),
                 {dir.path(), state, QStringLiteral("seite.html")});
    QVERIFY(typist.waitForStarted(10000));
    // A kill leaves what reached the disk; a SIGTERM closes the window,
    // which writes what the journal has not yet.
    const QByteArray sign = kill ? "journaled" : "typed";
    QVERIFY(QTest::qWaitFor(
        [&] { return typist.readAllStandardOutput().contains(sign) || typist.state() != QProcess::Running; },
        editorStartTimeoutMs));
    if (kill) {
        typist.kill();
        QVERIFY(typist.waitForFinished(10000));
    } else {
        QVERIFY(waitUntilTerminable(typist));
        QCOMPARE(::kill(pid_t(typist.processId()), signal), 0);
        QVERIFY(typist.waitForFinished(editorStartTimeoutMs));
        QCOMPARE(typist.exitStatus(), QProcess::NormalExit);
    }

    testsupport::MessageCapture messages;
    messages.answerQuestionsWith(QStringLiteral("Ja"));
    testsupport::ProgramRun again(dir.path(), QStringLiteral("Editor"), state);
    frmTextEdit *window = again.start();
    QCOMPARE(messages.messages().size(), 1);
    QCOMPARE(txtTXT(window)->Text(), QStringLiteral("getippt <p>alt</p>\r\n"));
    QVERIFY(window->Changed());
    QCOMPARE(testsupport::readAll(dir.path() + QStringLiteral("/seite.html")), QByteArray("<p>alt</p>\r\n"));
}

void ProcessTest::commandLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("open");
    const int start = int(CommandLine::Action::Start);
    const int wrong = int(CommandLine::Action::Wrong);
    QTest::newRow("nothing") << "" << start << "" << false;
    QTest::newRow("a path with blanks is one path")
        << "/home/a/Meine Texte/b.txt" << start << "/home/a/Meine Texte/b.txt" << false;
    QTest::newRow("open") << "--open /home/a/b c.txt" << start << "/home/a/b c.txt" << true;
    QTest::newRow("open, quoted as on Windows")
        << "--open \"C:\\Web\\a b.html\"" << start << "C:\\Web\\a b.html" << true;
    QTest::newRow("open without a file") << "--open" << wrong << "" << true;
    QTest::newRow("a path that begins with a dash") << "-- -notizen.txt" << start << "-notizen.txt" << false;
    QTest::newRow("or with ./") << "./-notizen.txt" << start << "./-notizen.txt" << false;
    QTest::newRow("help") << "--help" << int(CommandLine::Action::Help) << "" << false;
    QTest::newRow("version") << "--version" << int(CommandLine::Action::Version) << "" << false;
    QTest::newRow("unknown option") << "-x" << wrong << "" << false;
    QTest::newRow("an option's name as a path's start") << "--openfile" << wrong << "" << false;
}

void ProcessTest::commandLine()
{
    QFETCH(QString, text);
    QFETCH(int, action);
    QFETCH(QString, path);
    QFETCH(bool, open);
    const CommandLine command = ParseCommandLine(text);
    QCOMPARE(int(command.action), action);
    if (action == int(CommandLine::Action::Start)) {
        QCOMPARE(command.path, path);
        QCOMPARE(command.open, open);
    }
}

void ProcessTest::optionsNeedNoWindow_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("printed");
    QTest::newRow("help") << "--help" << 0 << "Aufruf: brenwick-editor [PFAD]";
    QTest::newRow("version") << "--version" << 0 << "Brenwick TXT-HTML-CSS-Editor ";
    QTest::newRow("unknown option") << "--hilfe" << 2 << "Aufruf: brenwick-editor [PFAD]";
}

void ProcessTest::optionsNeedNoWindow()
{
    QFETCH(QString, option);
    QFETCH(int, exitCode);
    QFETCH(QString, printed);
    QTemporaryDir dir;
    const QString exe = dir.path() + QStringLiteral("/Editor");
    QVERIFY(QFile::copy(QStringLiteral(BRENWICK_EDITOR_BINARY), exe));
    QProcess editor;
    // Without a display any window would end the program with an error.
    QProcessEnvironment env = testsupport::offscreenEnvironment(dir.path() + QStringLiteral("/state"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    editor.setProcessEnvironment(env);
    editor.start(exe, {option});
    QVERIFY(editor.waitForFinished(editorStartTimeoutMs));
    QCOMPARE(editor.exitStatus(), QProcess::NormalExit);
    QCOMPARE(editor.exitCode(), exitCode);
    const QString out
        = QString::fromLocal8Bit(exitCode == 0 ? editor.readAllStandardOutput() : editor.readAllStandardError());
    QVERIFY2(out.startsWith(printed), qPrintable(out));
    // Nothing was written beside the program.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Editor")});
}

QTEST_MAIN(ProcessTest)
#include "tst_process.moc"
