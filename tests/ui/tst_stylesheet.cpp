// The stylesheet pane through the real window and the real chooser, which
// the tests answer while the pane waits for it.
#include "document/textdocument.h"
#include "forms/checkbox.h"
#include "forms/commandbutton.h"
#include "forms/drivelist.h"
#include "forms/filelist.h"
#include "forms/folderlist.h"
#include "forms/label.h"
#include "forms/placeable.h"
#include "forms/textbox.h"
#include "tests/mainwindowcontrols.h"
#include "tests/testsupport.h"
#include "tests/uitestsupport.h"
#include "ui/chooser/frmfileselect.h"
#include "ui/main/frmtextedit.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <sys/resource.h>

using testsupport::native;
using testsupport::ProgramRun;
using testsupport::readAll;
using testsupport::rowOf;
using testsupport::writeAll;

namespace {

// Answers the chooser that the last press on "CSS" opened.
void pick(frmTextEdit *window, const QString &folder, const QString &name)
{
    frmFileSelect *chooser = window->chooser();
    QVERIFY(chooser && chooser->isVisible());
    chooser->Dir1->SetPath(folder);
    chooser->File1->SetSelected(rowOf(chooser->File1, name), true);
    QTest::mouseClick(chooser->Command1, Qt::LeftButton);
}

void cancel(frmTextEdit *window)
{
    frmFileSelect *chooser = window->chooser();
    QVERIFY(chooser && chooser->isVisible());
    QTest::mouseClick(chooser->Command2, Qt::LeftButton);
}

void pressCss(frmTextEdit *window, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mousePress(cmdCSS(window), button);
    QTest::mouseRelease(cmdCSS(window), button);
}

bool documentView(frmTextEdit *w)
{
    return w->ViewCSS() == 0 && txtTXT(w)->Visible() && !txtCSS(w)->Visible() && frmButtons(w)->Visible()
        && !frmButtonsCSS(w)->Visible() && cmdHTML(w)->BackColor() == QColor(0xC0, 0xFF, 0xC0)
        && cmdCSS(w)->BackColor() == QColor(0xE0, 0xE0, 0xE0);
}

bool stylesheetView(frmTextEdit *w)
{
    return w->ViewCSS() == 1 && !txtTXT(w)->Visible() && txtCSS(w)->Visible() && !frmButtons(w)->Visible()
        && frmButtonsCSS(w)->Visible() && cmdHTML(w)->BackColor() == QColor(0xE0, 0xE0, 0xE0)
        && cmdCSS(w)->BackColor() == QColor(0xC0, 0xFF, 0xC0);
}

struct Fixture
{
    QTemporaryDir dir;
    ProgramRun run;
    frmTextEdit *window = nullptr;
    Fixture()
        : run(dir.path())
    {
        QDir().mkpath(path("css"));
        writeAll(path("css/site.css"), "body {\n\tcolor: red;\n}\n");
        writeAll(path("css/other.css"), "p { margin: 0; }\r\n");
    }
    QString path(const QString &relative) const { return dir.path() + QLatin1Char('/') + relative; }
    frmTextEdit *start(const QStringList &extra = {})
    {
        run.writeSettings(QStringList{QStringLiteral("LastDir=") + native(dir.path()) + QDir::separator()} + extra);
        window = run.start();
        return window;
    }
};
} // namespace

class StylesheetTest : public QObject
{
    Q_OBJECT
private slots:
    void emptyPaneAsksAndCancelKeepsDocumentView();
    void pickLoadsSwitchesAndRemembers();
    void nonEmptyPaneSwitchesWithoutReading();
    void rightPressAlwaysAsks();
    void pressInStylesheetViewAsks();
    void rememberedStylesheetLoadsWithoutAsking();
    void editSaveCancel();
    void htmlKeepsUnsavedStylesheet();
    void secondPressWhileChooserOpen();
    void cssComesBackUpAfterChooser_data();
    void cssComesBackUpAfterChooser();
    void closingMainWindowClosesChooser();
    void openChooserDoesNotSpin();
};

void StylesheetTest::emptyPaneAsksAndCancelKeepsDocumentView()
{
    Fixture f;
    frmTextEdit *w = f.start({"LastCSS=" + native(f.path("css/missing.css"))});
    pressCss(w);
    cancel(w);
    QVERIFY(documentView(w));
    QCOMPARE(w->stylesheet().path(), native(f.path("css/missing.css")));
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(dummy(w)));
    QCOMPARE(f.run.setting("LastCSS"), native(f.path("css/missing.css")));
}

void StylesheetTest::pickLoadsSwitchesAndRemembers()
{
    Fixture f;
    frmTextEdit *w = f.start();
    pressCss(w);
    pick(w, native(f.path("css")), "site.css");
    QCOMPARE(w->stylesheet().path(), native(f.path("css/site.css")));
    QCOMPARE(f.run.setting("LastCSS"), native(f.path("css/site.css")));
    // Tabs as spaces, LF made CR LF, and no pending changes.
    QCOMPARE(txtCSS(w)->Text(), QStringLiteral("body {\r\n color: red;\r\n}\r\n\r\n"));
    QVERIFY(!w->ChangedCSS());
    QVERIFY(!cmdSaveCSS(w)->Enabled());
    QVERIFY(stylesheetView(w));
}

void StylesheetTest::nonEmptyPaneSwitchesWithoutReading()
{
    Fixture f;
    frmTextEdit *w = f.start();
    pressCss(w);
    pick(w, native(f.path("css")), "other.css");
    QTest::mousePress(cmdHTML(w), Qt::LeftButton);
    QVERIFY(documentView(w));
    writeAll(f.path("css/other.css"), "changed on disk\r\n");
    pressCss(w);
    QVERIFY(stylesheetView(w));
    QCOMPARE(txtCSS(w)->Text(), QStringLiteral("p { margin: 0; }\r\n"));
    QVERIFY(w->chooser() == nullptr || !w->chooser()->isVisible());
}

void StylesheetTest::rightPressAlwaysAsks()
{
    Fixture f;
    frmTextEdit *w = f.start();
    pressCss(w);
    pick(w, native(f.path("css")), "other.css");
    QTest::mousePress(cmdHTML(w), Qt::LeftButton);

    pressCss(w, Qt::RightButton);
    cancel(w);
    QVERIFY(documentView(w));
    QCOMPARE(txtCSS(w)->Text(), QStringLiteral("p { margin: 0; }\r\n"));

    pressCss(w, Qt::RightButton);
    pick(w, native(f.path("css")), "site.css");
    QVERIFY(stylesheetView(w));
    QCOMPARE(w->stylesheet().path(), native(f.path("css/site.css")));
    QVERIFY(txtCSS(w)->Text().startsWith(QStringLiteral("body {")));
}

void StylesheetTest::pressInStylesheetViewAsks()
{
    Fixture f;
    frmTextEdit *w = f.start();
    pressCss(w);
    pick(w, native(f.path("css")), "other.css");
    QVERIFY(stylesheetView(w));
    pressCss(w);
    pick(w, native(f.path("css")), "site.css");
    QCOMPARE(w->stylesheet().path(), native(f.path("css/site.css")));
}

void StylesheetTest::rememberedStylesheetLoadsWithoutAsking()
{
    Fixture f;
    frmTextEdit *w = f.start({"LastCSS=" + native(f.path("css/other.css"))});
    // Start-up filled the hidden pane already; clear it to see the load.
    QCOMPARE(txtCSS(w)->Text(), QStringLiteral("p { margin: 0; }\r\n"));
    txtCSS(w)->SetText(QString());
    w->NoChangesCSS();
    pressCss(w);
    QVERIFY(stylesheetView(w));
    QCOMPARE(txtCSS(w)->Text(), QStringLiteral("p { margin: 0; }\r\n"));
    QVERIFY(!w->ChangedCSS());
}

void StylesheetTest::editSaveCancel()
{
    Fixture f;
    frmTextEdit *w = f.start();
    pressCss(w);
    pick(w, native(f.path("css")), "site.css");
    QTest::keyClicks(txtCSS(w), "/*x*/");
    QVERIFY(w->ChangedCSS());
    QCOMPARE(cmdSaveCSS(w)->BackColor(), QColor(0x00, 0xC0, 0x00));
    QCOMPARE(cmdCancelCSS(w)->BackColor(), QColor(0xFF, 0x80, 0x80));
    QVERIFY(cmdSaveCSS(w)->Enabled());
    // The stylesheet never locks the browser.
    QVERIFY(File2(w)->isEnabled() && Dir2(w)->isEnabled() && Drive1(w)->isEnabled());

    QTest::mouseClick(cmdCancelCSS(w), Qt::LeftButton);
    QVERIFY(!w->ChangedCSS());
    QCOMPARE(cmdSaveCSS(w)->BackColor(), forms::buttonFaceColor());
    QVERIFY(txtCSS(w)->Text().startsWith(QStringLiteral("/*x*/body")));
    QCOMPARE(readAll(f.path("css/site.css")), QByteArray("body {\n\tcolor: red;\n}\n"));

    QTest::keyClicks(txtCSS(w), " ");
    QTest::mouseClick(cmdSaveCSS(w), Qt::LeftButton);
    QCOMPARE(readAll(f.path("css/site.css")), QByteArray("/*x*/ body {\r\n color: red;\r\n}\r\n"));
    QVERIFY(!w->ChangedCSS());
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(dummy(w)));
}

void StylesheetTest::htmlKeepsUnsavedStylesheet()
{
    Fixture f;
    frmTextEdit *w = f.start();
    pressCss(w);
    pick(w, native(f.path("css")), "other.css");
    QTest::keyClicks(txtCSS(w), "X");
    QTest::mousePress(cmdHTML(w), Qt::RightButton);
    QVERIFY(documentView(w));
    pressCss(w);
    QVERIFY(stylesheetView(w));
    QCOMPARE(txtCSS(w)->Text(), QStringLiteral("Xp { margin: 0; }\r\n"));
    QVERIFY(w->ChangedCSS());
}

void StylesheetTest::secondPressWhileChooserOpen()
{
    Fixture f;
    frmTextEdit *w = f.start();
    pressCss(w);
    const QPointer<frmFileSelect> first = w->chooser();
    QVERIFY(first);
    for (int i = 0; i < 20; ++i)
        pressCss(w);
    QCOMPARE(w->chooser(), first.data());
    int shown = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        shown += qobject_cast<frmFileSelect *>(widget) && widget->isVisible();
    QCOMPARE(shown, 1);
    pick(w, native(f.path("css")), "site.css");
    QCOMPARE(w->stylesheet().path(), native(f.path("css/site.css")));
    QVERIFY(stylesheetView(w));
}

void StylesheetTest::cssComesBackUpAfterChooser_data()
{
    QTest::addColumn<bool>("picked");
    QTest::newRow("picked") << true;
    QTest::newRow("cancelled") << false;
}

void StylesheetTest::cssComesBackUpAfterChooser()
{
    QFETCH(bool, picked);
    Fixture f;
    frmTextEdit *w = f.start();
    // As with a real mouse: the press opens the chooser, the release
    // arrives while it is open, then the chooser answers.
    QTest::mousePress(cmdCSS(w), Qt::LeftButton);
    QVERIFY(w->chooser());
    QTest::mouseRelease(cmdCSS(w), Qt::LeftButton);
    if (picked)
        pick(w, native(f.path("css")), "site.css");
    else
        cancel(w);
    QCOMPARE(w->ViewCSS(), picked ? 1 : 0);
    QVERIFY(!cmdCSS(w)->isDown());
}

void StylesheetTest::closingMainWindowClosesChooser()
{
    Fixture f;
    frmTextEdit *w = f.start();
    pressCss(w);
    const QPointer<frmFileSelect> chooser = w->chooser();
    QVERIFY(chooser);
    w->close();
    QTRY_VERIFY(chooser.isNull());
    QVERIFY(!w->isVisible());
    QVERIFY(f.run.setting("Top").has_value());
    QCOMPARE(f.run.setting("LastCSS"), std::nullopt);
}

void StylesheetTest::openChooserDoesNotSpin()
{
    Fixture f;
    frmTextEdit *w = f.start();
    auto cpu = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    };
    pressCss(w);
    QVERIFY(w->chooser());
    // One second of the event loop with the chooser open is the measure.
    const double before = cpu();
    bool measured = false;
    QTimer::singleShot(1000, [&measured] { measured = true; });
    QTRY_VERIFY_WITH_TIMEOUT(measured, 5000);
    const double cpuSeconds = cpu() - before;
    // A spinning loop would use the whole second.
    QVERIFY2(cpuSeconds < 0.3, qPrintable(QString::number(cpuSeconds)));
    cancel(w);
}

QTEST_MAIN(StylesheetTest)
#include "tst_stylesheet.moc"
