// Saving the document and the stylesheet through the real window when the
// file system refuses: the message appears exactly when the save failed,
// the old bytes stay, nothing is left behind, and the window goes on.
#include "app/appstate.h"
#include "document/textdocument.h"
#include "forms/commandbutton.h"
#include "forms/filelist.h"
#include "forms/textbox.h"
#include "tests/faultinjection.h"
#include "tests/mainwindowcontrols.h"
#include "tests/testsupport.h"
#include "tests/uitestsupport.h"
#include "ui/main/frmtextedit.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <unistd.h>

using testsupport::native;
using testsupport::ProgramRun;
using testsupport::readAll;
using testsupport::writeAll;

namespace {

// Every file below the folder with its bytes, to see that nothing else was
// written or left behind.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, QFileInfo(path).isDir() ? QByteArray("<dir>") : readAll(path));
    }
    return files;
}

const QByteArray oldBytes = "old line one\r\nold line two\r\n";

// How a fault is brought about on the folder that holds the file; an empty
// text when it could be, else the reason it cannot be here.
using Fault = std::function<QString(const QString &folder, const QString &file)>;
} // namespace

class SaveFaultsTest : public QObject
{
    Q_OBJECT
private slots:
    void faults_data();
    void faults();
    void symbolicLinkStaysLink_data();
    void symbolicLinkStaysLink();
    void unreadableForUnprivilegedUser();
};

void SaveFaultsTest::faults_data()
{
    QTest::addColumn<bool>("stylesheet");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("fails");

    for (const bool css : {false, true}) {
        const char *pane = css ? "stylesheet" : "document";
        for (const char *fault : {"read-only file", "read-only file system", "missing folder",
                                  "file replaced by folder", "immutable file", "full file system", "no fault"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(pane), QLatin1String(fault))))
                << css << QString::fromLatin1(fault) << (QLatin1String(fault) != QLatin1String("no fault"));
        }
    }
}

void SaveFaultsTest::faults()
{
    QFETCH(bool, stylesheet);
    QFETCH(QString, fault);
    QFETCH(bool, fails);

    QTemporaryDir dir;
    testsupport::FileSystemFaults faults;
    const QString folder = dir.path() + QStringLiteral("/files");
    QDir().mkpath(folder);
    if (fault.contains(QLatin1String("file system")) && !faults.mountSmallFileSystem(folder, 65536))
        QSKIP("mounting a small tmpfs needs root and a machine that allows it");
    const QString name = stylesheet ? QStringLiteral("site.css") : QStringLiteral("doc.txt");
    const QString file = folder + QLatin1Char('/') + name;
    QVERIFY(writeAll(file, oldBytes));

    ProgramRun program(dir.path());
    program.writeSettings(
        {QStringLiteral("LastDir=") + native(folder) + QDir::separator(), QStringLiteral("LastCSS=") + native(file)});
    frmTextEdit *w = program.start();
    forms::TextBox *box = stylesheet ? txtCSS(w) : txtTXT(w);
    forms::CommandButton *save = stylesheet ? cmdSaveCSS(w) : cmdSave(w);
    if (stylesheet) {
        w->cmdCSS_MouseDown(1, 0, 0, 0);
        QCOMPARE(w->ViewCSS(), 1);
    } else {
        File2(w)->SetSelected(0, true);
    }
    QCOMPARE(box->Text(), QString::fromLatin1(oldBytes));

    // An edit big enough not to fit on the small file system.
    const QString edit
        = fault == QLatin1String("full file system") ? QString(100000, QLatin1Char('x')) : QStringLiteral("new ");
    box->insertPlainText(edit);

    if (fault == QLatin1String("read-only file")) {
        QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    } else if (fault == QLatin1String("read-only file system")) {
        QVERIFY(faults.remountReadOnly(folder));
    } else if (fault == QLatin1String("missing folder")) {
        QVERIFY(QDir(folder).removeRecursively());
    } else if (fault == QLatin1String("file replaced by folder")) {
        QVERIFY(QFile::remove(file));
        QVERIFY(QDir().mkdir(file));
    } else if (fault == QLatin1String("immutable file")) {
        if (!faults.makeImmutable(file))
            QSKIP("chattr +i is not available here (needs root and a file system with attributes)");
    }
    const QMap<QString, QByteArray> before = snapshot(dir.path());

    testsupport::MessageCapture messages;
    // A folder in the file's place is another program's change: the save
    // asks first, and is told to go on.
    messages.answerQuestionsWith(QStringLiteral("Überschreiben"));
    QTest::mouseClick(save, Qt::LeftButton);
    QList<testsupport::CapturedMessage> shown = messages.messages();
    if (fault == QLatin1String("file replaced by folder")) {
        QVERIFY(!shown.isEmpty());
        QCOMPARE(shown.takeFirst().buttons,
                 QStringList({QStringLiteral("Überschreiben"), QStringLiteral("Abbrechen")}));
    }

    if (!fails) {
        QCOMPARE(shown.size(), 0);
        QCOMPARE(readAll(file), (QStringLiteral("new ") + QString::fromLatin1(oldBytes)).toUtf8().trimmed() + "\r\n");
        return;
    }
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().prompt, QStringLiteral("Fehler beim Schreiben der Datei. "));
    QCOMPARE(shown.first().style, 48);
    // Nothing written, nothing left behind, old bytes where there were any.
    QMap<QString, QByteArray> after = snapshot(dir.path());
    after.remove(program.iniPath());
    QMap<QString, QByteArray> expected = before;
    expected.remove(program.iniPath());
    QCOMPARE(after, expected);
    if (QFileInfo(file).isFile())
        QCOMPARE(readAll(file), oldBytes);
    // Nothing was saved: the pane keeps the text and its changes-pending
    // look; the document also keeps the browser locked.
    QVERIFY(box->Text().startsWith(edit));
    QVERIFY(stylesheet ? w->ChangedCSS() : w->Changed());
    QVERIFY(save->Enabled());
    QCOMPARE(save->BackColor(), QColor(0x00, 0xC0, 0x00));
    QCOMPARE(File2(w)->isEnabled(), stylesheet);
}

void SaveFaultsTest::symbolicLinkStaysLink_data()
{
    QTest::addColumn<bool>("stylesheet");
    QTest::newRow("document") << false;
    QTest::newRow("stylesheet") << true;
}

void SaveFaultsTest::symbolicLinkStaysLink()
{
    QFETCH(bool, stylesheet);
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + QStringLiteral("/real"));
    QDir().mkpath(dir.path() + QStringLiteral("/links"));
    const QString target = dir.path() + QStringLiteral("/real/target.css");
    const QString link = dir.path() + QStringLiteral("/links/link.css");
    QVERIFY(writeAll(target, oldBytes));
    QVERIFY(QFile::link(target, link));

    ProgramRun program(dir.path());
    program.writeSettings(
        {QStringLiteral("LastDir=") + native(dir.path() + QStringLiteral("/links")) + QDir::separator(),
         QStringLiteral("LastCSS=") + native(link)});
    frmTextEdit *w = program.start();
    forms::TextBox *box = stylesheet ? txtCSS(w) : txtTXT(w);
    if (stylesheet)
        w->cmdCSS_MouseDown(1, 0, 0, 0);
    else
        File2(w)->SetSelected(0, true);
    box->insertPlainText(QStringLiteral("new "));
    testsupport::MessageCapture messages;
    QTest::mouseClick(stylesheet ? cmdSaveCSS(w) : cmdSave(w), Qt::LeftButton);
    QCOMPARE(messages.messages().size(), 0);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readAll(target), QByteArray("new old line one\r\nold line two\r\n"));
}

void SaveFaultsTest::unreadableForUnprivilegedUser()
{
    // Root reads every file, so this part runs as the user nobody in a
    // process of its own: this same test program, asked for this one case.
    if (qEnvironmentVariableIsSet("BRENWICK_AS_NOBODY")) {
        const QString folder = qEnvironmentVariable("BRENWICK_AS_NOBODY");
        ProgramRun program(folder);
        program.writeSettings(
            {QStringLiteral("LastDir=") + native(folder + QStringLiteral("/files")) + QDir::separator()});
        frmTextEdit *w = program.start();
        File2(w)->SetSelected(0, true);
        QCOMPARE(w->document().path(), native(folder + QStringLiteral("/files/secret.txt")));
        QCOMPARE(txtTXT(w)->Text(), QString());
        QVERIFY(!w->Changed());
        // Saving over a file nobody may write fails with the message.
        txtTXT(w)->insertPlainText(QStringLiteral("x"));
        testsupport::MessageCapture messages;
        QTest::mouseClick(cmdSave(w), Qt::LeftButton);
        QCOMPARE(messages.messages().size(), 1);
        return;
    }
    if (geteuid() != 0)
        QSKIP("switching to the user nobody needs root; as an ordinary user the file would be readable to us");
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty())
        QSKIP("setpriv (util-linux) is not installed");

    QTemporaryDir dir;
    QFile::setPermissions(dir.path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::WriteOther
                              | QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    QDir().mkpath(dir.path() + QStringLiteral("/files"));
    QFile::setPermissions(dir.path() + QStringLiteral("/files"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    const QString secret = dir.path() + QStringLiteral("/files/secret.txt");
    QVERIFY(writeAll(secret, "only for root\r\n"));
    QFile::setPermissions(secret, QFile::ReadOwner | QFile::WriteOwner);

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("BRENWICK_AS_NOBODY"), dir.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), dir.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(setpriv,
                {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"), QStringLiteral("--clear-groups"),
                 QCoreApplication::applicationFilePath(), QStringLiteral("unreadableForUnprivilegedUser")});
    QVERIFY(child.waitForFinished(60000));
    const QByteArray output = child.readAll();
    if (output.contains("Permission denied") && child.exitCode() != 0 && !output.contains("Totals"))
        QSKIP("the test program cannot be run as nobody from its build folder");
    QVERIFY2(child.exitCode() == 0, output.constData());
    QCOMPARE(readAll(secret), QByteArray("only for root\r\n"));
}

QTEST_MAIN(SaveFaultsTest)
#include "tst_savefaults.moc"
