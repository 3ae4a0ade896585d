// Hostile file names and contents: the browser lists them, opening and
// saving work byte for byte, the shell open never runs what a name smuggles
// in, and nothing crashes.
#include "app/appstate.h"
#include "document/textdocument.h"
#include "forms/commandbutton.h"
#include "forms/filelist.h"
#include "forms/textbox.h"
#include "tests/mainwindowcontrols.h"
#include "tests/testsupport.h"
#include "tests/uitestsupport.h"
#include "ui/main/frmtextedit.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <fcntl.h>
#include <unistd.h>

using testsupport::native;
using testsupport::ProgramRun;
using testsupport::readAll;
using testsupport::rowOf;
using testsupport::writeAll;

class HostileTest : public QObject
{
    Q_OBJECT
private slots:
    void names_data();
    void names();
    void undecodableNameIsLeftOut();
    void shellOpenRunsNothing_data();
    void shellOpenRunsNothing();
    void contents_data();
    void contents();
};

void HostileTest::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("blanks") << " lead and trail .txt";
    QTest::newRow("leading dashes") << "--help.txt";
    QTest::newRow("quotes") << "say \"hi\" 'there'.txt";
    QTest::newRow("semicolon") << "a;b.txt";
    QTest::newRow("star and question mark") << "what*?.txt";
    QTest::newRow("newline") << "line\nbreak.txt";
    QTest::newRow("backslash") << "back\\slash.txt";
    QTest::newRow("umlauts") << "Größe ÄÖÜ.txt";
    QTest::newRow("dollar and backticks") << "$(touch pwned)`id`.txt";
    QTest::newRow("255 bytes") << QString(251, QLatin1Char('n')) + ".txt";
}

void HostileTest::names()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString file = dir.path() + QLatin1Char('/') + name;
    QVERIFY2(writeAll(file, "inhalt\r\n"), qPrintable(file));

    ProgramRun run(dir.path());
    frmTextEdit *w = run.start();
    const int row = rowOf(File2(w), name);
    QVERIFY2(row >= 0, qPrintable(name));
    File2(w)->SetSelected(row, true);
    QCOMPARE(w->document().path(), native(file));
    QCOMPARE(txtTXT(w)->Text(), QStringLiteral("inhalt\r\n"));
    txtTXT(w)->insertPlainText(QStringLiteral("neues "));
    testsupport::MessageCapture messages;
    QTest::mouseClick(cmdSave(w), Qt::LeftButton);
    QCOMPARE(messages.messages().size(), 0);
    QCOMPARE(readAll(file), QByteArray("neues inhalt\r\n"));
    // Nothing else appeared in the folder (the settings file is not written
    // before the close).
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// A name that is no valid text in the system's encoding cannot be reached
// again through its decoded form: listing it would open, and save to, a
// different path. It is left out; everything else still lists and opens.
void HostileTest::undecodableNameIsLeftOut()
{
    QTemporaryDir dir;
    const QByteArray raw = QFile::encodeName(dir.path()) + "/bad\xff\xfe name.txt";
    const int fd = ::open(raw.constData(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    // The temporary folder cannot remove a name it cannot decode.
    const auto removeRaw = qScopeGuard([&raw] { ::unlink(raw.constData()); });
    QCOMPARE(::write(fd, "x\r\n", 3), ssize_t(3));
    ::close(fd);
    writeAll(dir.path() + "/good.txt", "good\r\n");

    ProgramRun run(dir.path());
    frmTextEdit *w = run.start();
    QCOMPARE(File2(w)->ListCount(), 1);
    File2(w)->SetSelected(0, true);
    QVERIFY(!w->Changed());
    QCOMPARE(txtTXT(w)->Text(), QStringLiteral("good\r\n"));
    QVERIFY(QFile::exists(QFile::decodeName(raw)) == false);
    QCOMPARE(::access(raw.constData(), F_OK), 0);
}

void HostileTest::shellOpenRunsNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("option and command") << "-x; touch pwned";
    QTest::newRow("command substitution") << "$(touch pwned)";
    QTest::newRow("backticks") << "`touch pwned`.txt";
    QTest::newRow("pipe") << "a | touch pwned.txt";
}

namespace {
// Records every call in a file of its own beside it: the number of
// arguments, then one argument a line. The rename publishes a record whole.
const QByteArray recordingOpener = "#!/bin/sh\n"
                                   "printf '%s\\n' \"$#\" \"$@\" > \"${0%/*}/part.$$\"\n"
                                   "mv \"${0%/*}/part.$$\" \"${0%/*}/call.$$\"\n";
} // namespace

void HostileTest::shellOpenRunsNothing()
{
#ifndef Q_OS_LINUX
    QSKIP("the desktop's opener is xdg-open on Linux");
#endif
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString file = dir.path() + QLatin1Char('/') + name;
    QVERIFY(writeAll(file, "x\r\n"));
    const QString opener = dir.path() + "/opener";
    QVERIFY(QDir().mkpath(opener));
    QVERIFY(writeAll(opener + "/xdg-open", recordingOpener));
    QVERIFY(QFile::setPermissions(opener + "/xdg-open", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    // The offscreen platform has no desktop services, so the real open runs
    // in a process of its own on a virtual X display, whose services start
    // the first xdg-open on PATH. Its display numbers start far from those
    // of the other test on a virtual display, so that the two never meet.
    QProcess helper;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PATH", opener + QLatin1Char(':') + env.value("PATH"));
    env.insert("QT_QPA_PLATFORM", "xcb");
    helper.setProcessEnvironment(env);
    helper.setWorkingDirectory(dir.path());
    helper.start("xvfb-run", {"-a", "-n", "200", QCoreApplication::applicationDirPath() + "/helper_shellopen", file});
    QVERIFY2(helper.waitForFinished(60000), qPrintable(helper.errorString()));
    QVERIFY2(helper.exitStatus() == QProcess::NormalExit && helper.exitCode() == 0,
             helper.readAllStandardError().constData());

    // The opener runs detached; every program the open started has been
    // started by the time the helper has ended.
    const auto calls = [&opener] { return QDir(opener).entryList({"call.*"}, QDir::Files); };
    QTRY_VERIFY_WITH_TIMEOUT(!calls().isEmpty(), 30000);
    QCOMPARE(calls().size(), 1);
    const QList<QByteArray> record = readAll(opener + QLatin1Char('/') + calls().first()).split('\n');
    QCOMPARE(record.value(0), QByteArray("1"));
    // xdg-open takes a file URL or a path.
    const QByteArray argument = record.value(1);
    QCOMPARE(argument.startsWith("file:") ? QUrl::fromEncoded(argument).toLocalFile() : QFile::decodeName(argument),
             file);
    for (const QString &folder : {dir.path(), opener})
        QVERIFY2(QDir(folder).entryList({"pwned*"}).isEmpty(), qPrintable(folder));
}

// Each file is opened, edited and edited back, and saved: what the save
// writes is the file as the load rules leave it.
void HostileTest::contents_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("saved");

    const QByteArray nul("a\0b\0\r\nc\r\n", 9);
    QTest::newRow("NUL bytes") << nul << nul;
    QTest::newRow("only CRs") << QByteArray(1000, '\r') << QByteArray("\r\n");
    QTest::newRow("only LFs") << QByteArray(1000, '\n') << QByteArray("\r\n");
    const QByteArray invalid("\xc3\x28 \xa0\xa1 \xf0\x28\x8c\xbc\r\n");
    QTest::newRow("invalid UTF-8") << invalid << invalid;
    const QByteArray oneLine = QByteArray(10 * 1024 * 1024, 'x') + "\r\n";
    QTest::newRow("one line of 10 MB") << oneLine << oneLine;
    // More lines than 16 bits count and than the view keeps wrapped; how
    // 100 MB fares is the timing program's to measure.
    const QByteArray line = "Zeile mit Gr\xC3\xBC\xC3\x9F"
                            "en aus K\xC3\xB6ln und einem Tab\t am Ende;\r\n";
    const QByteArray manyLines = line.repeated(100000);
    QTest::newRow("100,000 lines") << manyLines << QByteArray(manyLines).replace('\t', ' ');
}

void HostileTest::contents()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, saved);
    QTemporaryDir dir;
    const QString file = dir.path() + "/data.txt";
    QVERIFY(writeAll(file, bytes));
    ProgramRun run(dir.path());
    frmTextEdit *w = run.start();
    File2(w)->SetSelected(0, true);
    QVERIFY(!w->Changed());
    txtTXT(w)->insertPlainText(QStringLiteral("Z"));
    txtTXT(w)->deletePreviousChar();
    QTest::mouseClick(cmdSave(w), Qt::LeftButton);
    QVERIFY(readAll(file) == saved);
}

QTEST_MAIN(HostileTest)
#include "tst_hostile.moc"
