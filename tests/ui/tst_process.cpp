// The real executable as its own process: the settings file is named after
// it, and the end of a desktop session (SIGTERM) closes the main window so
// the working state is saved.
#include "tests/testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class ProcessTest : public QObject
{
    Q_OBJECT
private slots:
    void terminationSavesState();
};

void ProcessTest::terminationSavesState()
{
#ifdef Q_OS_WIN
    QSKIP("the end of a session is a window message on Windows");
#endif
    QTemporaryDir dir;
    const QString exe = dir.path() + QStringLiteral("/Editor");
    QVERIFY(QFile::copy(QStringLiteral(BRENWICK_EDITOR_BINARY), exe));
    QDir().mkpath(dir.path() + QStringLiteral("/Meine Texte"));
    testsupport::writeAll(dir.path() + QStringLiteral("/Meine Texte/brief.txt"), "x\r\n");

    QProcess editor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    editor.setProcessEnvironment(env);
    // One argument with a blank: the command line stays one path.
    editor.start(exe, {dir.path() + QStringLiteral("/Meine Texte/brief.txt")});
    QVERIFY(editor.waitForStarted(10000));
    QTest::qWait(1500);
    QCOMPARE(editor.state(), QProcess::Running);
    editor.terminate();
    QVERIFY(editor.waitForFinished(10000));
    QCOMPARE(editor.exitStatus(), QProcess::NormalExit);
    QCOMPARE(editor.exitCode(), 0);

    const QByteArray ini = testsupport::readAll(dir.path() + QStringLiteral("/Editor.ini"));
    QVERIFY2(ini.startsWith("[Brenwick TXT-HTML-CSS-Editor]\r\n"), ini.constData());
    QVERIFY2(ini.contains(QString(QStringLiteral("LastDir=") + dir.path() + QStringLiteral("/Meine Texte/\r\n")).toUtf8()),
             ini.constData());
    for (const char *key : {"Top=", "Left=", "Height=8445", "Width=", "Dark=0", "Green=0", "SplitHLeft=2595",
                            "SplitVTop=2775"})
        QVERIFY2(ini.contains(key), key);
}

QTEST_MAIN(ProcessTest)
#include "tst_process.moc"
