// Nothing typed is lost: the recovery journal across the end of a run, other
// programs' changes to the open file, the questions before a save would
// overwrite what the pane never showed, and UTF-16 files.
#include "document/textdocument.h"
#include "platform/regularfile.h"
#include "tests/mainwindowcontrols.h"
#include "tests/testsupport.h"
#include "tests/uitestsupport.h"
#include "ui/chooser/frmfileselect.h"
#include "ui/main/frmtextedit.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using testsupport::MessageCapture;
using testsupport::ProgramRun;
using testsupport::readAll;
using testsupport::rowOf;
using testsupport::writeAll;

namespace {

const QString reloadQuestion = QStringLiteral("Die Datei „seite.html“ wurde von einem anderen Programm geändert. Neu "
                                              "laden? Ihre Änderungen gehen dabei verloren.");

// A folder with a document, and runs of the program one after the other
// that share their recovery journals, as one user's runs do.
struct Fixture
{
    QTemporaryDir dir;
    QString docs = dir.path() + QStringLiteral("/docs");
    QString state = dir.path() + QStringLiteral("/state");
    QString file = docs + QStringLiteral("/seite.html");
    std::unique_ptr<ProgramRun> run;

    Fixture() { QDir().mkpath(docs); }
    frmTextEdit *start()
    {
        run.reset();
        run = std::make_unique<ProgramRun>(dir.path(), QStringLiteral("Editor"), state);
        run->writeSettings({QStringLiteral("LastDir=") + docs + QDir::separator()});
        return run->start();
    }
    frmTextEdit *startWithDocument(const QByteArray &bytes = "<p>alt</p>\r\n")
    {
        writeAll(file, bytes);
        frmTextEdit *w = start();
        File2(w)->SetSelected(rowOf(File2(w), QStringLiteral("seite.html")), true);
        return w;
    }
    // The journals this run wrote, once they are on disk.
    QStringList journals() const
    {
        return QDir(state + QStringLiteral("/brenwick-editor")).entryList({QStringLiteral("*.journal")});
    }
    // Ends the run as a crash or a kill does: no close, nothing saved.
    void crash() { run.reset(); }
};

// Runs a shell command line as another program would.
void shell(const QString &command)
{
    QCOMPARE(QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), command}), 0);
}

} // namespace

class RecoveryTest : public QObject
{
    Q_OBJECT
private slots:
    void journalComesBack_data();
    void journalComesBack();
    void stylesheetComesBack();
    void journalGoes_data();
    void journalGoes();
    void otherProgramsChange_data();
    void otherProgramsChange();
    void ownSavesRaiseNoAlarm();
    void deletedFileIsWrittenAgain();
    void saveAsksFirst_data();
    void saveAsksFirst();
    void unreadableFileIsNotReplacedUnasked();
    void utf16FileRoundTrips();
    void closeAsksWhenNoJournalKeepsTheChanges_data();
    void closeAsksWhenNoJournalKeepsTheChanges();
};

void RecoveryTest::journalComesBack_data()
{
    QTest::addColumn<bool>("crash");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("changedSince");
    QTest::newRow("crash, recovered") << true << "Ja" << false;
    QTest::newRow("closed, recovered") << false << "Ja" << false;
    QTest::newRow("file changed since, recovered") << true << "Ja" << true;
    QTest::newRow("declined") << true << "Nein" << false;
}

void RecoveryTest::journalComesBack()
{
    QFETCH(bool, crash);
    QFETCH(QString, answer);
    QFETCH(bool, changedSince);
    Fixture f;
    frmTextEdit *w = f.startWithDocument();
    QTest::keyClicks(txtTXT(w), QStringLiteral("neu "));
    if (crash) {
        QTRY_COMPARE(f.journals().size(), 1);
        f.crash();
    } else {
        // The window closes without a question.
        f.run->close();
        QCOMPARE(f.journals().size(), 1);
    }
    if (changedSince)
        writeAll(f.file, "<p>fremd</p>\r\n");
    const QByteArray onDisk = readAll(f.file);

    MessageCapture messages;
    messages.answerQuestionsWith(answer);
    w = f.start();
    QCOMPARE(messages.messages().size(), 1);
    const QString question = messages.messages().first().prompt;
    QVERIFY2(QRegularExpression(QStringLiteral("^Für „seite.html“ gibt es nicht gespeicherte Änderungen vom "
                                               "\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d\\.%1 Wiederherstellen\\?$")
                                    .arg(changedSince ? QStringLiteral(" Die Datei wurde seitdem von einem anderen "
                                                                       "Programm geändert\\.")
                                                      : QString()))
                 .match(question)
                 .hasMatch(),
             qPrintable(question));
    QCOMPARE(messages.messages().first().buttons, QStringList({QStringLiteral("Ja"), QStringLiteral("Nein")}));
    QCOMPARE(readAll(f.file), onDisk);
    if (answer == u"Ja") {
        QCOMPARE(txtTXT(w)->Text(), QStringLiteral("neu <p>alt</p>\r\n"));
        QVERIFY(w->Changed());
        QVERIFY(cmdSave(w)->Enabled() && !File2(w)->isEnabled());
        QCOMPARE(File2(w)->FileName(), QStringLiteral("seite.html"));
        QCOMPARE(w->document().path(), f.file);
        // The journal is this run's own now.
        f.crash();
        MessageCapture again;
        f.start();
        QCOMPARE(again.messages().size(), 1);
    } else {
        QCOMPARE(txtTXT(w)->Text(), QString());
        QVERIFY(!w->Changed());
        QCOMPARE(f.journals().size(), 0);
    }
}

void RecoveryTest::stylesheetComesBack()
{
    Fixture f;
    const QString css = f.docs + QStringLiteral("/site.css");
    writeAll(css, "p { }\r\n");
    frmTextEdit *w = f.start();
    w->cmdCSS_MouseDown(2, 0, 0, 0);
    frmFileSelect *chooser = w->chooser();
    QVERIFY(chooser);
    chooser->Dir1->SetPath(f.docs);
    chooser->File1->SetSelected(rowOf(chooser->File1, QStringLiteral("site.css")), true);
    QTest::mouseClick(chooser->Command1, Qt::LeftButton);
    QTest::keyClicks(txtCSS(w), QStringLiteral("b "));
    QTRY_COMPARE(f.journals().size(), 1);
    f.crash();

    MessageCapture messages;
    messages.answerQuestionsWith(QStringLiteral("Ja"));
    w = f.start();
    QCOMPARE(messages.messages().size(), 1);
    QVERIFY2(messages.messages().first().prompt.startsWith(QStringLiteral("Für „site.css“")),
             qPrintable(messages.messages().first().prompt));
    QCOMPARE(w->ViewCSS(), 1);
    QCOMPARE(txtCSS(w)->Text(), QStringLiteral("b p { }\r\n"));
    QVERIFY(w->ChangedCSS());
    QCOMPARE(f.run->setting(QStringLiteral("LastCSS")), css);
}

void RecoveryTest::journalGoes_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("saved") << "save";
    QTest::newRow("cancelled") << "cancel";
    QTest::newRow("undone") << "undo";
    QTest::newRow("another file opened") << "open";
}

void RecoveryTest::journalGoes()
{
    QFETCH(QString, how);
    Fixture f;
    writeAll(f.docs + QStringLiteral("/b.txt"), "b\r\n");
    frmTextEdit *w = f.startWithDocument();
    QTest::keyClicks(txtTXT(w), QStringLiteral("xy"));
    QTRY_COMPARE(f.journals().size(), 1);
    if (how == u"save") {
        QTest::mouseClick(cmdSave(w), Qt::LeftButton);
    } else if (how == u"cancel") {
        QTest::mouseClick(cmdCancel(w), Qt::LeftButton);
    } else if (how == u"undo") {
        QTest::keyClick(txtTXT(w), Qt::Key_Z, Qt::ControlModifier);
    } else {
        QTest::mouseClick(cmdCancel(w), Qt::LeftButton);
        File2(w)->SetSelected(rowOf(File2(w), QStringLiteral("b.txt")), true);
        QCOMPARE(txtTXT(w)->Text(), QStringLiteral("b\r\n"));
    }
    f.run->close();
    QCOMPARE(f.journals().size(), 0);
    MessageCapture messages;
    f.start();
    QCOMPARE(messages.messages().size(), 0);
}

void RecoveryTest::otherProgramsChange_data()
{
    QTest::addColumn<QString>("write");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<QString>("answer");
    for (const char *write : {"cat neu.html > seite.html", "cp neu.html x.tmp && mv x.tmp seite.html"}) {
        const QString kind
            = QString::fromLatin1(write).contains(u"mv") ? QStringLiteral("by rename") : QStringLiteral("in place");
        QTest::newRow(qPrintable(kind + QStringLiteral(", unchanged pane"))) << write << false << "";
        QTest::newRow(qPrintable(kind + QStringLiteral(", reload"))) << write << true << "Neu laden";
        QTest::newRow(qPrintable(kind + QStringLiteral(", keep"))) << write << true << "Behalten";
    }
}

void RecoveryTest::otherProgramsChange()
{
    QFETCH(QString, write);
    QFETCH(bool, edited);
    QFETCH(QString, answer);
    Fixture f;
    QByteArray lines, newLines;
    for (int i = 0; i < 200; ++i) {
        lines += "<p>Zeile " + QByteArray::number(i) + "</p>\r\n";
        newLines += "<p>neu " + QByteArray::number(i) + "</p>\r\n";
    }
    writeAll(f.docs + QStringLiteral("/neu.html"), newLines);
    frmTextEdit *w = f.startWithDocument(lines);
    txtTXT(w)->SetSelStart(txtTXT(w)->content().lineStart(150) + 3);
    const int topLine = txtTXT(w)->firstVisibleLine();
    if (edited)
        QTest::keyClicks(txtTXT(w), QStringLiteral("X"));
    w->activateWindow();
    QTRY_VERIFY(w->isActiveWindow());

    MessageCapture messages;
    messages.answerQuestionsWith(answer);
    shell(QStringLiteral("cd '%1' && %2").arg(f.docs, write));
    if (!edited) {
        QTRY_COMPARE(txtTXT(w)->Text(), QString::fromLatin1(newLines));
        QVERIFY(!w->Changed());
        QCOMPARE(messages.messages().size(), 0);
        // The caret stays in its line, the view where it was.
        QCOMPARE(txtTXT(w)->SelStart(), txtTXT(w)->content().lineStart(150));
        QCOMPARE(txtTXT(w)->firstVisibleLine(), topLine);
        return;
    }
    QTRY_COMPARE(messages.messages().size(), 1);
    QCOMPARE(messages.messages().first().prompt, reloadQuestion);
    if (answer == u"Neu laden") {
        QCOMPARE(txtTXT(w)->Text(), QString::fromLatin1(newLines));
        QVERIFY(!w->Changed());
    } else {
        QVERIFY(txtTXT(w)->Text().contains(u"<p>XZeile 150</p>"));
        QVERIFY(w->Changed());
        // Asked once for this change, not at every look.
        w->activateWindow();
        QApplication::processEvents();
        QCOMPARE(messages.messages().size(), 1);
    }
}

void RecoveryTest::ownSavesRaiseNoAlarm()
{
    Fixture f;
    frmTextEdit *w = f.startWithDocument();
    QSignalSpy reloads(txtTXT(w), &forms::TextBox::textReset);
    MessageCapture messages;
    for (int i = 0; i < 1000; ++i) {
        QTest::keyClick(txtTXT(w), Qt::Key_X);
        QTest::mouseClick(cmdSave(w), Qt::LeftButton);
        QApplication::processEvents();
    }
    // The last save's own look at the disk comes and goes too.
    QTRY_VERIFY(!w->Changed());
    w->activateWindow();
    QApplication::processEvents();
    QCOMPARE(messages.messages().size(), 0);
    QCOMPARE(reloads.count(), 0);
    QCOMPARE(readAll(f.file), QByteArray(1000, 'x') + "<p>alt</p>\r\n");
}

void RecoveryTest::deletedFileIsWrittenAgain()
{
    Fixture f;
    frmTextEdit *w = f.startWithDocument();
    QVERIFY(QFile::remove(f.file));
    QTRY_VERIFY(w->Changed());
    QCOMPARE(txtTXT(w)->Text(), QStringLiteral("<p>alt</p>\r\n"));
    QVERIFY(cmdSave(w)->Enabled());
    MessageCapture messages;
    QTest::mouseClick(cmdSave(w), Qt::LeftButton);
    QCOMPARE(messages.messages().size(), 0);
    QCOMPARE(readAll(f.file), QByteArray("<p>alt</p>\r\n"));
}

void RecoveryTest::saveAsksFirst_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("overwrite") << "Überschreiben";
    QTest::newRow("cancel") << "Abbrechen";
}

void RecoveryTest::saveAsksFirst()
{
    QFETCH(QString, answer);
    Fixture f;
    frmTextEdit *w = f.startWithDocument();
    QTest::keyClicks(txtTXT(w), QStringLiteral("mein "));
    // Another copy of the editor, or any other program, saves meanwhile.
    writeAll(f.file, "<p>fremd</p>\r\n");
    MessageCapture messages;
    messages.answerQuestionsWith(answer);
    QTest::mouseClick(cmdSave(w), Qt::LeftButton);
    QCOMPARE(messages.messages().size(), 1);
    QCOMPARE(messages.messages().first().prompt,
             QStringLiteral("Die Datei „seite.html“ wurde inzwischen von einem anderen Programm geändert. Trotzdem "
                            "speichern und diese Änderungen überschreiben?"));
    const bool overwrite = answer == u"Überschreiben";
    QCOMPARE(readAll(f.file), overwrite ? QByteArray("mein <p>alt</p>\r\n") : QByteArray("<p>fremd</p>\r\n"));
    QCOMPARE(w->Changed(), !overwrite);
}

void RecoveryTest::unreadableFileIsNotReplacedUnasked()
{
    Fixture f;
    writeAll(f.file, "<p>geheim</p>\r\n");
    frmTextEdit *w = f.start();
    {
        // A read that never ends, as on a device or a lost network mount:
        // the window gives up on it and the pane stays empty.
        auto stall = std::make_shared<QSemaphore>();
        const testsupport::ScopedOverride<platform::ReadHook> hook(platform::setReadHook, [stall](const QString &path) {
            if (path.endsWith(QStringLiteral("seite.html")))
                stall->acquire();
        });
        File2(w)->SetSelected(rowOf(File2(w), QStringLiteral("seite.html")), true);
        stall->release(2);
    }
    QCOMPARE(txtTXT(w)->Text(), QString());
    QCOMPARE(w->document().path(), f.file);
    QTest::keyClicks(txtTXT(w), QStringLiteral("leer"));
    MessageCapture messages;
    QTest::mouseClick(cmdSave(w), Qt::LeftButton);
    QCOMPARE(messages.messages().size(), 1);
    QCOMPARE(messages.messages().first().prompt,
             QStringLiteral("Die Datei „seite.html“ konnte nicht gelesen werden. Trotzdem speichern und ihren Inhalt "
                            "ersetzen?"));
    QCOMPARE(readAll(f.file), QByteArray("<p>geheim</p>\r\n"));
    QVERIFY(w->Changed());
}

void RecoveryTest::utf16FileRoundTrips()
{
    Fixture f;
    // CR and LF bytes inside characters (U+0A0D, U+0D0A) are no line ends.
    const QByteArray bytes("\xFF\xFE\x0D\x0A\x0A\x0D<\0p\0>\0\r\0\n\0", 16);
    frmTextEdit *w = f.startWithDocument(bytes);
    QCOMPARE(w->document().encoding(), support::TextEncoding::Utf16LeBom);
    QTest::keyClick(txtTXT(w), Qt::Key_A);
    QTest::keyClick(txtTXT(w), Qt::Key_Backspace);
    QTest::mouseClick(cmdSave(w), Qt::LeftButton);
    QCOMPARE(readAll(f.file), bytes);
}

void RecoveryTest::closeAsksWhenNoJournalKeepsTheChanges_data()
{
    QTest::addColumn<bool>("journalUsable");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("closed");
    QTest::newRow("journal kept: no question") << true << "Abbrechen" << true;
    QTest::newRow("no journal, stay") << false << "Abbrechen" << false;
    QTest::newRow("no journal, close all the same") << false << "Schließen" << true;
}

void RecoveryTest::closeAsksWhenNoJournalKeepsTheChanges()
{
    QFETCH(bool, journalUsable);
    QFETCH(QString, answer);
    QFETCH(bool, closed);
    Fixture f;
    if (!journalUsable) {
        // A file stands where the journals' folder would be made.
        QVERIFY(QDir().mkpath(f.state));
        QVERIFY(writeAll(f.state + QStringLiteral("/brenwick-editor"), "kein Ordner"));
    }
    frmTextEdit *w = f.startWithDocument();
    QTest::keyClicks(txtTXT(w), QStringLiteral("neu "));
    MessageCapture messages;
    messages.answerQuestionsWith(answer);
    f.run->close();
    QCOMPARE(messages.messages().size(), journalUsable ? 0 : 1);
    if (!journalUsable)
        QCOMPARE(messages.messages().first().prompt,
                 QStringLiteral("Die nicht gespeicherten Änderungen an „seite.html“ konnten nicht für die "
                                "Wiederherstellung gesichert werden und gehen beim Schließen verloren. Trotzdem "
                                "schließen?"));
    QCOMPARE(w->isVisible(), !closed);
    QCOMPARE(txtTXT(w)->Text(), QStringLiteral("neu <p>alt</p>\r\n"));
}

QTEST_MAIN(RecoveryTest)
#include "tst_recovery.moc"
