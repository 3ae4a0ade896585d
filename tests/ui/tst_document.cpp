// The document pane through the real window: opening by a click in the
// file list, the change look and the browser lock, Save, Cancel and the
// caret rule.
#include "app/appstate.h"
#include "forms/checkbox.h"
#include "forms/commandbutton.h"
#include "forms/drivelist.h"
#include "forms/filelist.h"
#include "forms/folderlist.h"
#include "forms/placeable.h"
#include "forms/textbox.h"
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
    return w->cmdSave->Enabled() && w->cmdCancel->Enabled() && w->cmdSave->BackColor() == QColor(0x00, 0xC0, 0x00)
        && w->cmdCancel->BackColor() == QColor(0xFF, 0x80, 0x80) && !w->Drive1->isEnabled() && !w->Dir2->isEnabled()
        && !w->File2->isEnabled();
}

bool looksUnchanged(frmTextEdit *w)
{
    return !w->cmdSave->Enabled() && !w->cmdCancel->Enabled() && w->cmdSave->BackColor() == forms::buttonFaceColor()
        && w->cmdCancel->BackColor() == forms::buttonFaceColor() && w->Drive1->isEnabled() && w->Dir2->isEnabled()
        && w->File2->isEnabled();
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
    QVERIFY(App().CurrentFile.isEmpty());
    QCOMPARE(w->txtTXT->Text(), QString());
    QCOMPARE(w->File2->Path(), QDir::toNativeSeparators(f.docs));
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

    QCOMPARE(w->txtTXT->Text(), shown);
    QCOMPARE(App().CurrentFile, QDir::toNativeSeparators(f.file("doc.txt")));
    QVERIFY(looksUnchanged(w));
    QCOMPARE(w->txtTXT->SelStart(), 0);
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->File2));

    // An edit and its undo leave the same text; Save writes the trimmed copy.
    QTest::keyClick(w->txtTXT, Qt::Key_X);
    QTest::keyClick(w->txtTXT, Qt::Key_Backspace);
    QVERIFY(w->Changed());
    QTest::mouseClick(w->cmdSave, Qt::LeftButton);
    QCOMPARE(readAll(f.file("doc.txt")), saved);
    QCOMPARE(w->txtTXT->Text(), shown);
    QVERIFY(looksUnchanged(w));
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->dummy));
}

void DocumentTest::typingLightsButtonsAndLocksBrowser()
{
    Fixture f;
    writeAll(f.file("a.txt"), "alpha\r\n");
    frmTextEdit *w = f.start();
    clickFile(w, "a.txt");
    w->txtTXT->setFocus();
    QTest::keyClicks(w->txtTXT, "Z");
    QVERIFY(w->Changed());
    QVERIFY(looksChanged(w));
    // The pattern box and refresh stay usable.
    QVERIFY(w->chkPattern->isEnabled());
    QVERIFY(w->cmdRefresh->isEnabled());
    QTest::mouseClick(w->cmdSave, Qt::LeftButton);
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

    QTest::keyClicks(w->txtTXT, "Z");
    QVERIFY(!widget->isEnabled());
    // Greyed text: neither the list's own text colour nor its background.
    QVERIFY2(shown(QPalette::Text) != fore && shown(QPalette::Text) != back, qPrintable(shown(QPalette::Text).name()));
    QCOMPARE(shown(QPalette::Base), back);

    QTest::mouseClick(w->cmdCancel, Qt::LeftButton);
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
    QTest::keyClicks(w->txtTXT, "Q");
    QTest::mouseClick(w->cmdCancel, Qt::LeftButton);
    QCOMPARE(w->txtTXT->Text(), QStringLiteral("Qalpha\r\n"));
    QVERIFY(looksUnchanged(w));
    QCOMPARE(readAll(f.file("a.txt")), QByteArray("alpha\r\n"));
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->dummy));
    // Another file replaces the edits without a question.
    clickFile(w, "b.txt");
    QCOMPARE(w->txtTXT->Text(), QStringLiteral("beta\r\n"));
}

void DocumentTest::saveWithoutFileShowsMessage()
{
    Fixture f;
    frmTextEdit *w = f.start();
    testsupport::MessageCapture messages;
    QTest::keyClicks(w->txtTXT, "text");
    QVERIFY(looksChanged(w));
    QTest::mouseClick(w->cmdSave, Qt::LeftButton);
    QCOMPARE(messages.messages().size(), 1);
    QCOMPARE(messages.messages().first().prompt, QStringLiteral("Fehler beim Schreiben der Datei. "));
    QCOMPARE(messages.messages().first().style, 48);
    QCOMPARE(messages.messages().first().title, QStringLiteral("Brenwick TXT-HTML-CSS-Editor"));
    QVERIFY(looksChanged(w));
    QCOMPARE(w->txtTXT->Text(), QStringLiteral("text"));
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
    QTest::keyClicks(w->txtTXT, "Z");
    QTest::mouseClick(w->cmdSave, Qt::LeftButton);
    QCOMPARE(messages.messages().size(), 1);
    QVERIFY(QFileInfo(f.file("a.txt")).isDir());
    // Nothing was saved: the changes stay pending and the browser locked, so
    // a click in the file list cannot replace the text.
    QVERIFY(w->Changed());
    QVERIFY(looksChanged(w));
    clickFile(w, "b.txt");
    QCOMPARE(w->txtTXT->Text(), QStringLiteral("Zalpha\r\n"));
    QCOMPARE(App().CurrentFile, QDir::toNativeSeparators(f.file("a.txt")));

    // Once the cause is gone, saving again succeeds.
    QDir().rmdir(f.file("a.txt"));
    QTest::mouseClick(w->cmdSave, Qt::LeftButton);
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
    QCOMPARE(w->txtTXT->Text(), QString());
    QVERIFY(looksUnchanged(w));
    QCOMPARE(App().CurrentFile, QDir::toNativeSeparators(f.file("gone.txt")));
}

void DocumentTest::clickWhileChangedKeepsCurrentFile()
{
    Fixture f;
    writeAll(f.file("a.txt"), "alpha\r\n");
    writeAll(f.file("b.txt"), "beta\r\n");
    frmTextEdit *w = f.start();
    clickFile(w, "a.txt");
    QTest::keyClicks(w->txtTXT, "EDIT ");
    // A Click raised by code while the document holds changes must not point
    // the later save at another file.
    w->File2->SetSelected(rowOf(w->File2, "b.txt"), true);
    QCOMPARE(App().CurrentFile, QDir::toNativeSeparators(f.file("a.txt")));
    QCOMPARE(w->txtTXT->Text(), QStringLiteral("EDIT alpha\r\n"));
    QTest::mouseClick(w->cmdSave, Qt::LeftButton);
    QCOMPARE(readAll(f.file("a.txt")), QByteArray("EDIT alpha\r\n"));
    QCOMPARE(readAll(f.file("b.txt")), QByteArray("beta\r\n"));
    // Double-click and drops do nothing while changed either.
}

void DocumentTest::jumpEndCaretRule()
{
    Fixture f;
    writeAll(f.file("a.txt"), "first\r\nsecond\r\n");
    frmTextEdit *w = f.start();
    QTest::mouseClick(w->chkJumpEnd, Qt::LeftButton);
    QCOMPARE(w->chkJumpEnd->Value(), 1);
    clickFile(w, "a.txt");
    QCOMPARE(w->txtTXT->SelStart(), int(QStringLiteral("first\r\nsecond\r\n").size()));
    QTest::mouseClick(w->chkJumpEnd, Qt::LeftButton);
    QCOMPARE(w->chkJumpEnd->Value(), 0);
    QCOMPARE(w->txtTXT->SelStart(), 1);
    QTest::mouseClick(w->chkJumpEnd, Qt::LeftButton);
    QCOMPARE(w->txtTXT->SelStart(), 15);
}

void DocumentTest::keyboardMovesOpenFiles()
{
    Fixture f;
    writeAll(f.file("a.txt"), "A\r\n");
    writeAll(f.file("b.txt"), "B\r\n");
    writeAll(f.file("c.txt"), "C\r\n");
    frmTextEdit *w = f.start();
    clickFile(w, "a.txt");
    QCOMPARE(w->txtTXT->Text(), QStringLiteral("A\r\n"));
    QTest::keyClick(w->File2, Qt::Key_Down);
    QCOMPARE(w->txtTXT->Text(), QStringLiteral("B\r\n"));
    QTest::keyClick(w->File2, Qt::Key_Down);
    QCOMPARE(w->txtTXT->Text(), QStringLiteral("C\r\n"));
    QCOMPARE(App().CurrentFile, QDir::toNativeSeparators(f.file("c.txt")));
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->File2));
}

void DocumentTest::encodingKeptOnSave()
{
    Fixture f;
    writeAll(f.file("latin.txt"), "caf\xe9\r\n");
    frmTextEdit *w = f.start();
    clickFile(w, "latin.txt");
    w->txtTXT->insertPlainText(QStringLiteral("ä"));
    QTest::mouseClick(w->cmdSave, Qt::LeftButton);
    QCOMPARE(readAll(f.file("latin.txt")),
             QByteArray("\xe4"
                        "caf\xe9\r\n"));
}

QTEST_MAIN(DocumentTest)
#include "tst_document.moc"
