// The window "Suchen und Ersetzen" driven by keys: on two bare text views,
// and in the editor's main window with its panes.
#include "forms/commandbutton.h"
#include "forms/filelist.h"
#include "forms/textbox.h"
#include "platform/window.h"
#include "tests/uitestsupport.h"
#include "textengine/view/textview.h"
#include "ui/find/findsession.h"
#include "ui/find/findwindow.h"
#include "ui/main/frmtextedit.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

using textengine::TextView;

namespace {

// Types text that may hold umlauts, which QTest::keyClicks cannot.
void type(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// An owner window with two panes, the second hidden, and the find window.
struct Panes
{
    QWidget owner;
    TextView *first = new TextView(&owner);
    TextView *second = new TextView(&owner);
    FindWindow *find = new FindWindow(&owner);
    bool ok = false;

    explicit Panes(const QString &text)
    {
        auto *layout = new QVBoxLayout(&owner);
        layout->addWidget(first);
        layout->addWidget(second);
        second->hide();
        first->setText(text);
        find->addPane(first);
        find->addPane(second);
        owner.resize(400, 300);
        owner.show();
        owner.activateWindow();
        first->setFocus();
        ok = QTest::qWaitForWindowActive(&owner);
    }
    QLineEdit *field(const char *name) const { return find->findChild<QLineEdit *>(QLatin1String(name)); }
    QCheckBox *box(const char *name) const { return find->findChild<QCheckBox *>(QLatin1String(name)); }
    QString status() const { return find->findChild<QLabel *>(QStringLiteral("status"))->text(); }
    // Ctrl+F in the pane, then the keys typed into "Suchen nach:".
    void search(TextView *pane, const QString &typed)
    {
        QTest::keyClick(pane, Qt::Key_F, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::activeWindow(), find);
        type(field("findField"), typed);
    }
};

QString selected(const TextView *view)
{
    return view->selectedText();
}

QList<QAccessible::Event> announced;
void recordEvent(QAccessibleEvent *event)
{
    if (event->object() && event->object()->objectName() == QLatin1String("status"))
        announced << event->type();
}

} // namespace

class TestFind : public QObject
{
    Q_OBJECT

private slots:
    void typingFindsCountsAndWraps();
    void noMatchAndInvalidExpressionMarkTheField_data();
    void noMatchAndInvalidExpressionMarkTheField();
    void selectionFillsTheFieldOrLimitsTheSearch();
    void replaceOneThenAllAsOneStep();
    void selectionFollowsEditsAndUndo();
    void countsABigTextBySlices();
    void actsOnThePaneShown();
    void f3FindsWithoutTheWindow();
    void statusIsAnnounced();
    void mainWindowOpensItAndReplacingMarksThePaneChanged();
};

void TestFind::typingFindsCountsAndWraps()
{
    Panes panes(QStringLiteral("Köln und KÖLN\r\nund köln"));
    QVERIFY(panes.ok);
    panes.first->setCaretPosition(5);
    panes.search(panes.first, QStringLiteral("köln"));
    QVERIFY(panes.find->isVisible());
    QCOMPARE(panes.first->selectionStart(), 9);
    QCOMPARE(panes.status(), QStringLiteral("Treffer 2 von 3"));
    QTest::keyClick(panes.field("findField"), Qt::Key_Return); // "Weitersuchen" is the default
    QCOMPARE(panes.first->selectionStart(), 19);
    QCOMPARE(panes.status(), QStringLiteral("Treffer 3 von 3"));
    QTest::keyClick(panes.find, Qt::Key_F3);
    QCOMPARE(panes.first->selectionStart(), 0);
    QCOMPARE(panes.status(), QStringLiteral("Treffer 1 von 3 – Vom Anfang an weitergesucht"));
    QTest::keyClick(panes.find, Qt::Key_Z, Qt::AltModifier); // "Zurück"
    QTRY_COMPARE(panes.first->selectionStart(), 19);
    QTRY_COMPARE(panes.status(), QStringLiteral("Treffer 3 von 3 – Vom Ende an weitergesucht"));
    QTest::keyClick(panes.find, Qt::Key_K, Qt::AltModifier); // with case
    QTRY_COMPARE(selected(panes.first), QStringLiteral("köln"));
    QTRY_COMPARE(panes.status(), QStringLiteral("Treffer 1 von 1"));
    QTest::keyClick(panes.find, Qt::Key_Escape);
    QVERIFY(!panes.find->isVisible());
}

void TestFind::noMatchAndInvalidExpressionMarkTheField_data()
{
    QTest::addColumn<bool>("regex");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("status");
    QTest::newRow("no match") << false << QStringLiteral("xyz") << QStringLiteral("Kein Treffer");
    QTest::newRow("invalid expression") << true << QStringLiteral("col(or") << QStringLiteral("an Stelle 7: ");
}

void TestFind::noMatchAndInvalidExpressionMarkTheField()
{
    QFETCH(bool, regex);
    QFETCH(QString, typed);
    QFETCH(QString, status);
    Panes panes(QStringLiteral("color"));
    QVERIFY(panes.ok);
    QTest::keyClick(panes.first, Qt::Key_H, Qt::ControlModifier);
    QTRY_COMPARE(QApplication::activeWindow(), panes.find);
    panes.box("regularExpression")->setChecked(regex);
    const QColor plain = panes.field("findField")->palette().color(QPalette::Base);
    type(panes.field("findField"), typed);
    QVERIFY2(panes.status().contains(status), qPrintable(panes.status()));
    QVERIFY(panes.field("findField")->palette().color(QPalette::Base) != plain);
    QTest::keyClick(panes.field("findField"), Qt::Key_Backspace);
    QTest::keyClick(panes.field("findField"), Qt::Key_Backspace);
    QTest::keyClick(panes.field("findField"), Qt::Key_Backspace);
    QCOMPARE(panes.field("findField")->palette().color(QPalette::Base), plain);
}

void TestFind::selectionFillsTheFieldOrLimitsTheSearch()
{
    Panes panes(QStringLiteral("ab ab\r\nab ab\r\nab"));
    QVERIFY(panes.ok);
    panes.first->select(3, 5);
    QTest::keyClick(panes.first, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(panes.field("findField")->text(), QStringLiteral("ab"));
    QVERIFY(!panes.box("inSelection")->isChecked());
    QCOMPARE(panes.status(), QStringLiteral("Treffer 2 von 5"));
    panes.find->close();
    panes.first->select(3, 12);
    QTest::keyClick(panes.first, Qt::Key_F, Qt::ControlModifier);
    QTRY_COMPARE(QApplication::activeWindow(), panes.find);
    QCOMPARE(panes.field("findField")->text(), QStringLiteral("ab"));
    QVERIFY(panes.box("inSelection")->isChecked());
    QCOMPARE(panes.status(), QStringLiteral("Treffer 1 von 3"));
    // Opened again over other lines, it searches those.
    panes.find->close();
    panes.owner.activateWindow(); // as the desktop gives the focus back
    QTRY_COMPARE(QApplication::activeWindow(), &panes.owner);
    panes.first->select(10, 16);
    QTest::keyClick(panes.first, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(panes.box("inSelection")->isChecked());
    QCOMPARE(panes.status(), QStringLiteral("Treffer 1 von 2"));
    QTRY_COMPARE(QApplication::activeWindow(), panes.find);
    QTest::keyClick(panes.find, Qt::Key_L, Qt::AltModifier); // "Alle ersetzen", nothing typed: removes
    QTRY_COMPARE(panes.first->text(), QStringLiteral("ab ab\r\nab \r\n"));
    QTRY_COMPARE(panes.status(), QStringLiteral("2 Stellen ersetzt"));
}

void TestFind::replaceOneThenAllAsOneStep()
{
    Panes panes(QStringLiteral("Grüße, GRÜSSE, grüsse"));
    QVERIFY(panes.ok);
    panes.search(panes.first, QStringLiteral("grüße"));
    QTest::keyClicks(panes.field("replaceField"), QStringLiteral("Hallo"));
    QTest::keyClick(panes.find, Qt::Key_E, Qt::AltModifier); // "Ersetzen"
    QTRY_COMPARE(panes.first->text(), QStringLiteral("Hallo, GRÜSSE, grüsse"));
    QTRY_COMPARE(selected(panes.first), QStringLiteral("GRÜSSE"));
    QTest::keyClick(panes.find, Qt::Key_L, Qt::AltModifier);
    QTRY_COMPARE(panes.first->text(), QStringLiteral("Hallo, Hallo, Hallo"));
    QTRY_COMPARE(panes.status(), QStringLiteral("2 Stellen ersetzt"));
    panes.first->undo();
    QCOMPARE(panes.first->text(), QStringLiteral("Hallo, GRÜSSE, grüsse"));
    panes.first->redo();
    QCOMPARE(panes.first->text(), QStringLiteral("Hallo, Hallo, Hallo"));
    // Groups of a regular expression.
    panes.box("regularExpression")->setChecked(true);
    panes.field("findField")->setText(QStringLiteral("(H)(allo)"));
    panes.field("replaceField")->setText(QStringLiteral("$2\\1"));
    QTest::keyClick(panes.find, Qt::Key_L, Qt::AltModifier);
    QTRY_COMPARE(panes.first->text(), QStringLiteral("alloH, alloH, alloH"));
}

void TestFind::selectionFollowsEditsAndUndo()
{
    Panes panes(QStringLiteral("aa\r\naa\r\naa\r\naa\r\n"));
    QVERIFY(panes.ok);
    panes.first->select(4, 8); // the second line, with its break
    panes.search(panes.first, QStringLiteral("a"));
    QVERIFY(panes.box("inSelection")->isChecked());
    QTest::keyClicks(panes.field("replaceField"), QStringLiteral("xyz"));
    QTest::keyClick(panes.find, Qt::Key_L, Qt::AltModifier);
    QTRY_COMPARE(panes.first->text(), QStringLiteral("aa\r\nxyzxyz\r\naa\r\naa\r\n"));
    // Undone, the range is the line again, not as long as the replaced one.
    panes.first->undo();
    panes.field("replaceField")->setText(QStringLiteral("Q"));
    QTest::keyClick(panes.find, Qt::Key_L, Qt::AltModifier);
    QTRY_COMPARE(panes.first->text(), QStringLiteral("aa\r\nQQ\r\naa\r\naa\r\n"));
    // Text typed before it moves it on.
    panes.first->replace(0, 0, QStringLiteral("a\r\n"));
    panes.field("findField")->setText(QStringLiteral("Q"));
    panes.field("replaceField")->setText(QStringLiteral("R"));
    QTest::keyClick(panes.find, Qt::Key_L, Qt::AltModifier);
    QTRY_COMPARE(panes.first->text(), QStringLiteral("a\r\naa\r\nRR\r\naa\r\naa\r\n"));
}

// Megabytes are counted in slices between events (on two cores), and the
// count is the one a plain run over the text gives.
void TestFind::countsABigTextBySlices()
{
    QString text;
    int lines = 0;
    for (; text.size() < 5'000'000; ++lines)
        text += QStringLiteral("Zeile %1: Grüße aus Köln, %2\r\n").arg(lines).arg(lines % 7 ? "köln" : "Kölner");
    const int expected = lines + lines - (lines + 6) / 7;
    Panes panes(text);
    QVERIFY(panes.ok);
    panes.search(panes.first, QStringLiteral("köln"));
    QTest::keyClick(panes.find, Qt::Key_G, Qt::AltModifier); // whole words
    QTRY_COMPARE(panes.status(), QStringLiteral("Treffer 1 von %1").arg(QLocale(QLocale::German).toString(expected)));
}

void TestFind::actsOnThePaneShown()
{
    Panes panes(QStringLiteral("abc"));
    QVERIFY(panes.ok);
    panes.second->setText(QStringLiteral("x abc"));
    panes.search(panes.first, QStringLiteral("abc"));
    QCOMPARE(panes.first->selectionStart(), 0);
    panes.first->hide();
    panes.second->show();
    QTest::keyClick(panes.find, Qt::Key_F3);
    QCOMPARE(panes.second->selectionStart(), 2);
    QCOMPARE(panes.find->session()->view(), panes.second);
}

void TestFind::f3FindsWithoutTheWindow()
{
    Panes panes(QStringLiteral("ab ab ab"));
    QVERIFY(panes.ok);
    QTest::keyClick(panes.first, Qt::Key_F3); // nothing searched yet: the window opens
    QVERIFY(panes.find->isVisible());
    QTest::keyClicks(panes.field("findField"), QStringLiteral("ab"));
    panes.find->close();
    QTest::keyClick(panes.first, Qt::Key_F3);
    QCOMPARE(panes.first->selectionStart(), 3);
    QTest::keyClick(panes.first, Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(panes.first->selectionStart(), 0);
    QVERIFY(!panes.find->isVisible());
}

void TestFind::statusIsAnnounced()
{
    Panes panes(QStringLiteral("ab ab"));
    QVERIFY(panes.ok);
    // As when a screen reader is listening: the events go to the recorder.
    QPlatformAccessibility *platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
    QVERIFY(platform);
    platform->setActive(true);
    announced.clear();
    QAccessible::installUpdateHandler(recordEvent);
    panes.search(panes.first, QStringLiteral("ab"));
    QAccessible::installUpdateHandler(nullptr);
    platform->setActive(false);
    QVERIFY(announced.contains(QAccessible::NameChanged));
    QCOMPARE(panes.find->findChild<QLabel *>(QStringLiteral("status"))->accessibleName(),
             QStringLiteral("Treffer 1 von 2"));
    QCOMPARE(panes.field("findField")->accessibleName(), QStringLiteral("Suchen nach"));
    QCOMPARE(panes.box("entities")->accessibleName(), QStringLiteral("Umlaute und HTML-Entitäten gleich behandeln"));
}

void TestFind::mainWindowOpensItAndReplacingMarksThePaneChanged()
{
    QTemporaryDir dir;
    testsupport::ProgramRun run(dir.path());
    frmTextEdit *window = run.start();
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto *document = window->findChild<forms::TextBox *>(QStringLiteral("txtTXT"));
    auto *save = window->findChild<forms::CommandButton *>(QStringLiteral("cmdSave"));
    auto *cancel = window->findChild<forms::CommandButton *>(QStringLiteral("cmdCancel"));
    auto *files = window->findChild<forms::FileList *>(QStringLiteral("File2"));
    type(document, QStringLiteral("Müller"));
    QTest::mouseClick(cancel, Qt::LeftButton);
    QVERIFY(!save->Enabled() && files->isEnabled());
    QMenu menu;
    emit document->contextMenuShowing(&menu);
    QAction *entry = nullptr;
    for (QAction *action : menu.actions()) {
        if (action->text().startsWith(QStringLiteral("Suchen und Ersetzen…")))
            entry = action;
    }
    QVERIFY(entry);
    entry->trigger();
    auto *find = window->findChild<FindWindow *>();
    QTRY_COMPARE(QApplication::activeWindow(), find);
    find->findChild<QCheckBox *>(QStringLiteral("entities"))->setChecked(true);
    type(find->findChild<QLineEdit *>(QStringLiteral("findField")), QStringLiteral("M&uuml;ller"));
    QTest::keyClick(find, Qt::Key_L, Qt::AltModifier);
    QTRY_COMPARE(document->Text(), QString());
    QVERIFY(save->Enabled() && !files->isEnabled());
    QTest::mouseClick(window->findChild<forms::CommandButton *>(QStringLiteral("cmdTop")), Qt::LeftButton);
    QVERIFY(platform::isWindowTopmost(find));
    const QPointer<FindWindow> kept(find);
    run.close();
    QVERIFY(!kept || !kept->isVisible());
}

QTEST_MAIN(TestFind)
#include "tst_find.moc"
