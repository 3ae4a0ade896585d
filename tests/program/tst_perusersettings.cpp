// The real program, portable and installed: its settings file lies beside
// the executable when that folder takes new files, else in the per-user
// configuration folder, which the first write makes; an installation's
// folder is left as it was. The user's home is always a temporary folder.
#include "app/appstate.h"
#include "app/desktopidentity.h"
#include "forms/filelist.h"
#include "tests/editorprocess.h"
#include "tests/mainwindowcontrols.h"
#include "tests/testsupport.h"
#include "tests/uitestsupport.h"
#include "ui/main/frmtextedit.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using testsupport::readAll;
using testsupport::writeAll;

namespace {

const QByteArray header = "[Brenwick TXT-HTML-CSS-Editor]\r\n";

// Every entry below the folder with its bytes.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, QFileInfo(path).isDir() ? QByteArray("<dir>") : readAll(path));
    }
    return files;
}

QString value(const QByteArray &ini, const QString &key)
{
    for (const QByteArray &line : ini.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0 && QString::fromUtf8(line.left(equals)) == key)
            return QString::fromUtf8(line.mid(equals + 1)).trimmed();
    }
    return QStringLiteral("<missing>");
}

// The user the program runs as: nobody when the test runs as root, since
// root may write into every folder; else the test's own user.
struct Runner
{
    bool unprivileged = false;
    uid_t uid = 0;
    gid_t gid = 0;
};

bool giveTo(const QString &path, const Runner &runner)
{
    return !runner.unprivileged || ::chown(QFile::encodeName(path).constData(), runner.uid, runner.gid) == 0;
}

} // namespace

class PerUserSettingsTest : public QObject
{
    Q_OBJECT
private slots:
    void programRuns_data();
    void programRuns();
    void folderMadeAtFirstWriteOnly();
};

void PerUserSettingsTest::programRuns_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QByteArray>("besideBefore");
    QTest::addColumn<QByteArray>("perUserBefore");
    QTest::addColumn<bool>("perUser");
    QTest::addColumn<QString>("dark");
    QTest::addColumn<QString>("lastDir");

    const QByteArray remembered = header + "Dark=1\r\nLastDir=%docs%/\r\n";
    QTest::newRow("portable: writable folder") << "portable" << QByteArray() << QByteArray() << false << "0"
                                               << "%exe%/";
    QTest::newRow("portable: per-user file not read") << "portable" << QByteArray() << remembered << false << "0"
                                                      << "%exe%/";
    QTest::newRow("read-only folder") << "read-only" << QByteArray() << QByteArray() << true << "0"
                                      << "%home%/";
    QTest::newRow("read-only folder: file beside not read") << "read-only" << remembered << QByteArray() << true << "0"
                                                            << "%home%/";
    QTest::newRow("read-only folder: remembered settings") << "read-only" << QByteArray() << remembered << true << "1"
                                                           << "%docs%/";
    QTest::newRow("installed copy in a writable folder") << "installed" << QByteArray() << QByteArray() << true << "0"
                                                         << "%home%/";
}

void PerUserSettingsTest::programRuns()
{
#ifndef Q_OS_LINUX
    QSKIP("the sign that the editor takes SIGTERM is read from /proc");
#endif
    QFETCH(QString, layout);
    QFETCH(QByteArray, besideBefore);
    QFETCH(QByteArray, perUserBefore);
    QFETCH(bool, perUser);
    QFETCH(QString, dark);
    QFETCH(QString, lastDir);

    Runner runner;
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (layout == QLatin1String("read-only") && geteuid() == 0) {
        const struct passwd *nobody = ::getpwnam("nobody");
        const struct group *nogroup = ::getgrnam("nogroup");
        if (setpriv.isEmpty() || !nobody || !nogroup)
            QSKIP("a read-only folder for root needs setpriv (util-linux) and the user nobody");
        runner = {true, nobody->pw_uid, nogroup->gr_gid};
    }

    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                      | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
    const bool installed = layout == QLatin1String("installed");
    const QString exeFolder = dir.path() + (installed ? QStringLiteral("/usr/bin") : QStringLiteral("/app"));
    const QString exeName = installed ? QStringLiteral("brenwick-editor") : QStringLiteral("Editor");
    const QString exe = exeFolder + QLatin1Char('/') + exeName;
    const QString home = dir.path() + QStringLiteral("/home");
    const QString docs = dir.path() + QStringLiteral("/docs");
    const QString runtime = dir.path() + QStringLiteral("/runtime");
    const QString config = home + QStringLiteral("/.config/brenwick-editor");
    QVERIFY(QDir().mkpath(exeFolder) && QDir().mkpath(home) && QDir().mkpath(docs) && QDir().mkpath(runtime));
    QVERIFY(QFile::copy(QStringLiteral(BRENWICK_EDITOR_BINARY), exe));
    if (installed) {
        QVERIFY(QDir().mkpath(dir.path() + QStringLiteral("/usr/share/applications")));
        QVERIFY(writeAll(dir.path() + QStringLiteral("/usr/share/applications/") + DesktopFileName()
                             + QStringLiteral(".desktop"),
                         "[Desktop Entry]\n"));
    }
    auto placed = [&](QByteArray bytes) { return bytes.replace("%docs%", docs.toUtf8()); };
    if (!besideBefore.isEmpty())
        QVERIFY(writeAll(exeFolder + QLatin1Char('/') + exeName + QStringLiteral(".ini"), placed(besideBefore)));
    if (!perUserBefore.isEmpty()) {
        QVERIFY(QDir().mkpath(config));
        QVERIFY(writeAll(config + QLatin1Char('/') + exeName + QStringLiteral(".ini"), placed(perUserBefore)));
        for (const QString &path :
             {home + QStringLiteral("/.config"), config, config + QLatin1Char('/') + exeName + QStringLiteral(".ini")})
            QVERIFY(giveTo(path, runner));
    }
    QVERIFY(giveTo(home, runner) && giveTo(runtime, runner));
    QVERIFY(QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    if (layout == QLatin1String("read-only"))
        QVERIFY(QFile::setPermissions(exeFolder,
                                      QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                          | QFile::ReadOther | QFile::ExeOther));
    const QMap<QString, QByteArray> exeFolderBefore = snapshot(exeFolder);

    QProcess editor;
    QProcessEnvironment env = testsupport::offscreenEnvironment(home + QStringLiteral("/.local/state"));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    editor.setProcessEnvironment(env);
    editor.setProcessChannelMode(QProcess::MergedChannels);
    if (runner.unprivileged)
        editor.start(setpriv,
                     {QStringLiteral("--reuid=%1").arg(runner.uid), QStringLiteral("--regid=%1").arg(runner.gid),
                      QStringLiteral("--clear-groups"), exe});
    else
        editor.start(exe, {});
    QVERIFY(editor.waitForStarted(10000));
    if (!testsupport::waitUntilTerminable(editor)) {
        const QByteArray output = editor.readAll();
        if (runner.unprivileged && output.contains("Permission denied"))
            QSKIP("the editor cannot be run as nobody from this folder");
        QFAIL(output.constData());
    }
    editor.terminate();
    QVERIFY(editor.waitForFinished(testsupport::editorStartTimeoutMs));
    QVERIFY2(editor.exitStatus() == QProcess::NormalExit && editor.exitCode() == 0, editor.readAll().constData());

    const QString ini = (perUser ? config : exeFolder) + QLatin1Char('/') + exeName + QStringLiteral(".ini");
    const QByteArray written = readAll(ini);
    QVERIFY2(written.startsWith(header), qPrintable(ini));
    QCOMPARE(value(written, QStringLiteral("Dark")), dark);
    lastDir.replace(QLatin1String("%exe%"), exeFolder)
        .replace(QLatin1String("%home%"), home)
        .replace(QLatin1String("%docs%"), docs);
    QCOMPARE(value(written, QStringLiteral("LastDir")), lastDir);
    QCOMPARE(value(written, QStringLiteral("Height")), QStringLiteral("8445"));

    if (perUser) {
        // The executable's folder, settings file beside it included, is as it was.
        QCOMPARE(snapshot(exeFolder), exeFolderBefore);
        if (perUserBefore.isEmpty())
            QCOMPARE(QFileInfo(config).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
                     QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        struct stat info;
        QCOMPARE(::stat(QFile::encodeName(ini).constData(), &info), 0);
        QCOMPARE(info.st_uid, runner.unprivileged ? runner.uid : geteuid());
    } else {
        // The per-user file, if any, is neither read nor written.
        if (perUserBefore.isEmpty())
            QVERIFY(!QFileInfo::exists(home + QStringLiteral("/.config")));
        else
            QCOMPARE(readAll(config + QLatin1Char('/') + exeName + QStringLiteral(".ini")), placed(perUserBefore));
    }
}

// Start-up only decides where the file lies; the folder comes with the
// first write, at the latest when the window closes.
void PerUserSettingsTest::folderMadeAtFirstWriteOnly()
{
    QTemporaryDir dir;
    const QString home = dir.path() + QStringLiteral("/home");
    QVERIFY(QDir().mkpath(home));
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/.config")));
    QCoreApplication::setApplicationName(ApplicationName());
    const QString bin = dir.path() + QStringLiteral("/usr/bin");
    QVERIFY(QDir().mkpath(bin) && QDir().mkpath(dir.path() + QStringLiteral("/usr/share/applications")));
    QVERIFY(writeAll(dir.path() + QStringLiteral("/usr/share/applications/") + DesktopFileName()
                         + QStringLiteral(".desktop"),
                     "[Desktop Entry]\n"));

    testsupport::ProgramRun program(bin, QStringLiteral("brenwick-editor"));
    frmTextEdit *window = program.start();
    const QString ini = home + QStringLiteral("/.config/brenwick-editor/brenwick-editor.ini");
    QCOMPARE(App().IniFile, QDir::toNativeSeparators(ini));
    QVERIFY(!QFileInfo::exists(home + QStringLiteral("/.config")));
    // With no remembered folder the browser starts at home, not among the
    // installation's programs.
    QCOMPARE(QDir::cleanPath(File2(window)->Path()), QDir::cleanPath(home));

    program.close();
    QVERIFY(readAll(ini).startsWith(header));
    QCOMPARE(QDir(bin).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

QTEST_MAIN(PerUserSettingsTest)
#include "tst_perusersettings.moc"
