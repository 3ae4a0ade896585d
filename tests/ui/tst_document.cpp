// The document pane through the real window: opening by a click in the
// file list, the change look and the browser lock, Save, Cancel and the
// caret rule.
#include "app/appstate.h"
#include "document/textdocument.h"
#include "forms/checkbox.h"
#include "forms/commandbutton.h"
#include "forms/drivelist.h"
#include "forms/filelist.h"
#include "forms/folderlist.h"
#include "forms/placeable.h"
#include "forms/textbox.h"
#include "tests/mainwindowcontrols.h"
#include "tests/testsupport.h"
#include "tests/uitestsupport.h"
#include "ui/main/frmtextedit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using testsupport::clickFile;
using testsupport::ProgramRun;
using testsupport::readAll;
using testsupport::rowOf;
using testsupport::writeAll;

namespace {

struct Fixture
{
    QTemporaryDir dir;
    QString docs;
    ProgramRun run;
    frmTextEdit *window = nullptr;

    Fixture()
        : docs(dir.path() + QStringLiteral("/docs"))
        , run(dir.path())
    {
        QDir().mkpath(docs);
    }
    QString file(const QString &name) const { return docs + QLatin1Char('/') + name; }
    frmTextEdit *start()
    {
        run.writeSettings({QStringLiteral("LastDir=") + QDir::toNativeSeparators(docs) + QDir::separator()});
        window = run.start();
        return window;
    }
};

bool looksChanged(frmTextEdit *w)
{
    return cmdSave(w)->Enabled() && cmdCancel(w)->Enabled() && cmdSave(w)->BackColor() == QColor(0x00, 0xC0, 0x00)
        && cmdCancel(w)->BackColor() == QColor(0xFF, 0x80, 0x80) && !Drive1(w)->isEnabled() && !Dir2(w)->isEnabled()
        && !File2(w)->isEnabled();
}

bool looksUnchanged(frmTextEdit *w)
{
    return !cmdSave(w)->Enabled() && !cmdCancel(w)->Enabled() && cmdSave(w)->BackColor() == forms::buttonFaceColor()
        && cmdCancel(w)->BackColor() == forms::buttonFaceColor() && Drive1(w)->isEnabled() && Dir2(w)->isEnabled()
        && File2(w)->isEnabled();
}
} // namespace

class DocumentTest : public QObject
{
    Q_OBJECT
private slots:
    void startsUnchanged();
    void openAndSave_data();
    void openAndSave();
    void typingLightsButtonsAndLocksBrowser();
    void lockedListsLookDisabled_data();
    void lockedListsLookDisabled();
    void cancelKeepsTextAndFile();
    void saveWithoutFileShowsMessage();
    void failedWriteKeepsChangesAndLock();
    void unreadableFileLeavesPaneEmpty();
    void clickWhileChangedKeepsCurrentFile();
    void jumpEndCaretRule();
    void keyboardMovesOpenFiles();
    void encodingKeptOnSave();
};

void DocumentTest::startsUnchanged()
{
    Fixture f;
    frmTextEdit *w = f.start();
    QVERIFY(looksUnchanged(w));
    QVERIFY(!w->Changed());
    QVERIFY(w->document().path().isEmpty());
    QCOMPARE(txtTXT(w)->Text(), QString());
    QCOMPARE(File2(w)->Path(), QDir::toNativeSeparators(f.docs));
}

void DocumentTest::openAndSave_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("saved");

    QTest::newRow("CR LF lines round trip") << QByteArray("a\r\nb\r\n") << "a\r\nb\r\n" << QByteArray("a\r\nb\r\n");
    QTest::newRow("no final line end") << QByteArray("a\r\nb") << "a\r\nb\r\n" << QByteArray("a\r\nb\r\n");
    QTest::newRow("LF lines become CR LF") << QByteArray("a\nb\n") << "a\r\nb\r\n\r\n" << QByteArray("a\r\nb\r\n");
    QTest::newRow("tabs become spaces") << QByteArray("a\t\tb\r\n") << "a  b\r\n" << QByteArray("a  b\r\n");
    QTest::newRow("empty lines at end trimmed on save") << QByteArray("a\r\nb\r\n\r\n\r\n") << "a\r\nb\r\n\r\n\r\n"
                                                        << QByteArray("a\r\nb\r\n");
    QTest::newRow("empty file") << QByteArray() << "" << QByteArray("\r\n");
    QTest::newRow("lone CR") << QByteArray("a\rb") << "a\r\nb\r\n" << QByteArray("a\r\nb\r\n");
    QTest::newRow("umlauts in UTF-8") << QByteArray("Gr\xc3\xbc\xc3\x9f"
                                                    "e\r\n")
                                      << "Grüße\r\n"
                                      << QByteArray("Gr\xc3\xbc\xc3\x9f"
                                                    "e\r\n");
    QTest::newRow("umlauts in Windows-1252") << QByteArray("Gr\xfc\xdf"
                                                           "e\r\n")
                                             << "Grüße\r\n"
                                             << QByteArray("Gr\xfc\xdf"
                                                           "e\r\n");
}

void DocumentTest::openAndSave()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, shown);
    QFETCH(QByteArray, saved);

    Fixture f;
    QVERIFY(writeAll(f.file("doc.txt"), content));
    frmTextEdit *w = f.start();
    clickFile(w, "doc.txt");

    QCOMPARE(txtTXT(w)->Text(), shown);
    QCOMPARE(w->document().path(), QDir::toNativeSeparators(f.file("doc.txt")));
    QVERIFY(looksUnchanged(w));
    QCOMPARE(txtTXT(w)->SelStart(), 0);
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(File2(w)));

    // An edit and its undo leave the same text; Save writes the trimmed copy.
    QTest::keyClick(txtTXT(w), Qt::Key_X);
    QTest::keyClick(txtTXT(w), Qt::Key_Backspace);
    QVERIFY(w->Changed());
    QTest::mouseClick(cmdSave(w), Qt::LeftButton);
    QCOMPARE(readAll(f.file("doc.txt")), saved);
    QCOMPARE(txtTXT(w)->Text(), shown);
    QVERIFY(looksUnchanged(w));
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(dummy(w)));
}

void DocumentTest::typingLightsButtonsAndLocksBrowser()
{
    Fixture f;
    writeAll(f.file("a.txt"), "alpha\r\n");
    frmTextEdit *w = f.start();
    clickFile(w, "a.txt");
    txtTXT(w)->setFocus();
    QTest::keyClicks(txtTXT(w), "Z");
    QVERIFY(w->Changed());
    QVERIFY(looksChanged(w));
    // The pattern box and refresh stay usable.
    QVERIFY(chkPattern(w)->isEnabled());
    QVERIFY(cmdRefresh(w)->isEnabled());
    QTest::mouseClick(cmdSave(w), Qt::LeftButton);
    QCOMPARE(readAll(f.file("a.txt")), QByteArray("Zalpha\r\n"));
}

void DocumentTest::lockedListsLookDisabled_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QColor>("back");
    QTest::addColumn<QColor>("fore");
    QTest::newRow("Drive1") << "Drive1" << QColor(0x80, 0x80, 0x80) << QColor(0xFF, 0xFF, 0xFF);
    QTest::newRow("Dir2") << "Dir2" << QColor(0x80, 0x80, 0x80) << QColor(0xFF, 0xFF, 0xFF);
    QTest::newRow("File2") << "File2" << QColor(0xE0, 0xE0, 0xE0) << QColor(0x00, 0x00, 0x80);
}

void DocumentTest::lockedListsLookDisabled()
{
    QFETCH(QString, list);
    QFETCH(QColor, back);
    QFETCH(QColor, fore);
    Fixture f;
    frmTextEdit *w = f.start();
    QWidget *widget = w->findChild<QWidget *>(list);
    QVERIFY(widget);
    auto shown = [widget](QPalette::ColorRole role) {
        return widget->palette().color(widget->isEnabled() ? QPalette::Active : QPalette::Disabled, role);
    };

    QTest::keyClicks(txtTXT(w), "Z");
    QVERIFY(!widget->isEnabled());
    // Greyed text: neither the list's own text colour nor its background.
    QVERIFY2(shown(QPalette::Text) != fore && shown(QPalette::Text) != back, qPrintable(shown(QPalette::Text).name()));
    QCOMPARE(shown(QPalette::Base), back);

    QTest::mouseClick(cmdCancel(w), Qt::LeftButton);
    QVERIFY(widget->isEnabled());
    QCOMPARE(shown(QPalette::Text), fore);
    QCOMPARE(shown(QPalette::Base), back);
}

void DocumentTest::cancelKeepsTextAndFile()
{
    Fixture f;
    writeAll(f.file("a.txt"), "alpha\r\n");
    writeAll(f.file("b.txt"), "beta\r\n");
    frmTextEdit *w = f.start();
    clickFile(w, "a.txt");
    QTest::keyClicks(txtTXT(w), "Q");
    QTest::mouseClick(cmdCancel(w), Qt::LeftButton);
    QCOMPARE(txtTXT(w)->Text(), QStringLiteral("Qalpha\r\n"));
    QVERIFY(looksUnchanged(w));
    QCOMPARE(readAll(f.file("a.txt")), QByteArray("alpha\r\n"));
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(dummy(w)));
    // Another file replaces the edits without a question.
    clickFile(w, "b.txt");
    QCOMPARE(txtTXT(w)->Text(), QStringLiteral("beta\r\n"));
}

void DocumentTest::saveWithoutFileShowsMessage()
{
    Fixture f;
    frmTextEdit *w = f.start();
    testsupport::MessageCapture messages;
    QTest::keyClicks(txtTXT(w), "text");
    QVERIFY(looksChanged(w));
    QTest::mouseClick(cmdSave(w), Qt::LeftButton);
    QCOMPARE(messages.messages().size(), 1);
    QCOMPARE(messages.messages().first().prompt, QStringLiteral("Fehler beim Schreiben der Datei. "));
    QCOMPARE(messages.messages().first().style, 48);
    QCOMPARE(messages.messages().first().title, QStringLiteral("Brenwick TXT-HTML-CSS-Editor"));
    QVERIFY(looksChanged(w));
    QCOMPARE(txtTXT(w)->Text(), QStringLiteral("text"));
}

void DocumentTest::failedWriteKeepsChangesAndLock()
{
    Fixture f;
    writeAll(f.file("a.txt"), "alpha\r\n");
    writeAll(f.file("b.txt"), "beta\r\n");
    frmTextEdit *w = f.start();
    clickFile(w, "a.txt");
    // The file is replaced by a folder behind the editor's back.
    QFile::remove(f.file("a.txt"));
    QDir().mkdir(f.file("a.txt"));
    testsupport::MessageCapture messages;
    QTest::keyClicks(txtTXT(w), "Z");
    QTest::mouseClick(cmdSave(w), Qt::LeftButton);
    QCOMPARE(messages.messages().size(), 1);
    QVERIFY(QFileInfo(f.file("a.txt")).isDir());
    // Nothing was saved: the changes stay pending and the browser locked, so
    // a click in the file list cannot replace the text.
    QVERIFY(w->Changed());
    QVERIFY(looksChanged(w));
    clickFile(w, "b.txt");
    QCOMPARE(txtTXT(w)->Text(), QStringLiteral("Zalpha\r\n"));
    QCOMPARE(w->document().path(), QDir::toNativeSeparators(f.file("a.txt")));

    // Once the cause is gone, saving again succeeds.
    QDir().rmdir(f.file("a.txt"));
    QTest::mouseClick(cmdSave(w), Qt::LeftButton);
    QCOMPARE(messages.messages().size(), 1);
    QCOMPARE(readAll(f.file("a.txt")), QByteArray("Zalpha\r\n"));
    QVERIFY(looksUnchanged(w));
}

void DocumentTest::unreadableFileLeavesPaneEmpty()
{
    Fixture f;
    writeAll(f.file("a.txt"), "alpha\r\n");
    writeAll(f.file("gone.txt"), "soon gone\r\n");
    frmTextEdit *w = f.start();
    clickFile(w, "a.txt");
    QFile::remove(f.file("gone.txt"));
    clickFile(w, "gone.txt");
    QCOMPARE(txtTXT(w)->Text(), QString());
    QVERIFY(looksUnchanged(w));
    QCOMPARE(w->document().path(), QDir::toNativeSeparators(f.file("gone.txt")));
}

void DocumentTest::clickWhileChangedKeepsCurrentFile()
{
    Fixture f;
    writeAll(f.file("a.txt"), "alpha\r\n");
    writeAll(f.file("b.txt"), "beta\r\n");
    frmTextEdit *w = f.start();
    clickFile(w, "a.txt");
    QTest::keyClicks(txtTXT(w), "EDIT ");
    // A Click raised by code while the document holds changes must not point
    // the later save at another file.
    File2(w)->SetSelected(rowOf(File2(w), "b.txt"), true);
    QCOMPARE(w->document().path(), QDir::toNativeSeparators(f.file("a.txt")));
    QCOMPARE(txtTXT(w)->Text(), QStringLiteral("EDIT alpha\r\n"));
    QTest::mouseClick(cmdSave(w), Qt::LeftButton);
    QCOMPARE(readAll(f.file("a.txt")), QByteArray("EDIT alpha\r\n"));
    QCOMPARE(readAll(f.file("b.txt")), QByteArray("beta\r\n"));
    // Double-click and drops do nothing while changed either.
}

void DocumentTest::jumpEndCaretRule()
{
    Fixture f;
    writeAll(f.file("a.txt"), "first\r\nsecond\r\n");
    frmTextEdit *w = f.start();
    QTest::mouseClick(chkJumpEnd(w), Qt::LeftButton);
    QCOMPARE(chkJumpEnd(w)->Value(), 1);
    clickFile(w, "a.txt");
    QCOMPARE(txtTXT(w)->SelStart(), int(QStringLiteral("first\r\nsecond\r\n").size()));
    QTest::mouseClick(chkJumpEnd(w), Qt::LeftButton);
    QCOMPARE(chkJumpEnd(w)->Value(), 0);
    QCOMPARE(txtTXT(w)->SelStart(), 1);
    QTest::mouseClick(chkJumpEnd(w), Qt::LeftButton);
    QCOMPARE(txtTXT(w)->SelStart(), 15);
}

void DocumentTest::keyboardMovesOpenFiles()
{
    Fixture f;
    writeAll(f.file("a.txt"), "A\r\n");
    writeAll(f.file("b.txt"), "B\r\n");
    writeAll(f.file("c.txt"), "C\r\n");
    frmTextEdit *w = f.start();
    clickFile(w, "a.txt");
    QCOMPARE(txtTXT(w)->Text(), QStringLiteral("A\r\n"));
    QTest::keyClick(File2(w), Qt::Key_Down);
    QCOMPARE(txtTXT(w)->Text(), QStringLiteral("B\r\n"));
    QTest::keyClick(File2(w), Qt::Key_Down);
    QCOMPARE(txtTXT(w)->Text(), QStringLiteral("C\r\n"));
    QCOMPARE(w->document().path(), QDir::toNativeSeparators(f.file("c.txt")));
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(File2(w)));
}

void DocumentTest::encodingKeptOnSave()
{
    Fixture f;
    writeAll(f.file("latin.txt"), "caf\xe9\r\n");
    frmTextEdit *w = f.start();
    clickFile(w, "latin.txt");
    txtTXT(w)->insertPlainText(QStringLiteral("ä"));
    QTest::mouseClick(cmdSave(w), Qt::LeftButton);
    QCOMPARE(readAll(f.file("latin.txt")),
             QByteArray("\xe4"
                        "caf\xe9\r\n"));
}

QTEST_MAIN(DocumentTest)
#include "tst_document.moc"
