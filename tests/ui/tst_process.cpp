// The real executable as its own process: the settings file is named after
// it, and the end of a desktop session (SIGTERM) closes the main window so
// the working state is saved.
#include "tests/testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

class ProcessTest : public QObject
{
    Q_OBJECT
private slots:
    void terminationSavesState();
    void concurrentInstances();
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

namespace {
// Starts the editor in `folder`, lets it come up, and ends it as the desktop
// does at logout.
void runOnce(const QString &exe, const QString &folder)
{
    QProcess editor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    editor.setProcessEnvironment(env);
    editor.start(exe, {folder + QStringLiteral("/x.txt")});
    if (!editor.waitForStarted(10000))
        return;
    QTest::qWait(150);
    editor.terminate();
    editor.waitForFinished(10000);
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
#ifdef Q_OS_WIN
    QSKIP("the end of a session is a window message on Windows");
#endif
    QTemporaryDir dir;
    const QString exe = dir.path() + QStringLiteral("/Editor");
    QVERIFY(QFile::copy(QStringLiteral(BRENWICK_EDITOR_BINARY), exe));
    const QString a = dir.path() + QStringLiteral("/A");
    const QString b = dir.path() + QStringLiteral("/B");
    QDir().mkpath(a);
    QDir().mkpath(b);

    // Two instances on the folders, each closing 50 times, side by side.
    QThread *other = QThread::create([&] {
        for (int i = 0; i < 50; ++i)
            runOnce(exe, b);
    });
    other->start();
    QByteArrayList seen;
    for (int i = 0; i < 50; ++i) {
        runOnce(exe, a);
        seen << testsupport::readAll(dir.path() + QStringLiteral("/Editor.ini"));
    }
    other->wait();
    delete other;
    seen << testsupport::readAll(dir.path() + QStringLiteral("/Editor.ini"));

    for (const QByteArray &ini : std::as_const(seen)) {
        if (ini.isEmpty())
            continue;
        int keyLines = 0;
        const QMap<QString, QString> values = parse(ini, &keyLines);
        QVERIFY2(ini.startsWith("[Brenwick TXT-HTML-CSS-Editor]\r\n"), ini.constData());
        QCOMPARE(keyLines, 9);
        const QString lastDir = values.value(QStringLiteral("LastDir"));
        QVERIFY2(lastDir == a + QLatin1Char('/') || lastDir == b + QLatin1Char('/'), qPrintable(lastDir));
        QCOMPARE(values.value(QStringLiteral("Height")), QStringLiteral("8445"));
        QCOMPARE(values.value(QStringLiteral("SplitVTop")), QStringLiteral("2775"));
    }
    QVERIFY(!seen.last().isEmpty());
}

QTEST_MAIN(ProcessTest)
#include "tst_process.moc"
