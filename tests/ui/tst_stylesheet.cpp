// The stylesheet pane through the real window and the real chooser, which
// the tests answer while the pane waits for it.
#include "app/appstate.h"
#include "forms/checkbox.h"
#include "forms/commandbutton.h"
#include "forms/drivelist.h"
#include "forms/filelist.h"
#include "forms/folderlist.h"
#include "forms/label.h"
#include "forms/placeable.h"
#include "forms/textbox.h"
#include "tests/testsupport.h"
#include "tests/uitestsupport.h"
#include "ui/chooser/frmfileselect.h"
#include "ui/main/frmtextedit.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <sys/resource.h>

using testsupport::native;
using testsupport::ProgramRun;
using testsupport::readAll;
using testsupport::rowOf;
using testsupport::writeAll;

namespace {

// Runs `answer` on the chooser once it is open.
void whenChooserOpens(frmTextEdit *window, std::function<void(frmFileSelect *)> answer)
{
    auto *timer = new QTimer(window);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, window, [window, timer, answer] {
        if (frmFileSelect *chooser = window->chooser(); chooser && chooser->isVisible()) {
            timer->stop();
            timer->deleteLater();
            answer(chooser);
        }
    });
    timer->start();
}

void pick(frmTextEdit *window, const QString &folder, const QString &name)
{
    whenChooserOpens(window, [folder, name](frmFileSelect *chooser) {
        chooser->Dir1->SetPath(folder);
        chooser->File1->SetSelected(rowOf(chooser->File1, name), true);
        QTest::mouseClick(chooser->Command1, Qt::LeftButton);
    });
}

void cancel(frmTextEdit *window)
{
    whenChooserOpens(window, [](frmFileSelect *chooser) { QTest::mouseClick(chooser->Command2, Qt::LeftButton); });
}

void pressCss(frmTextEdit *window, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mousePress(window->cmdCSS, button);
    QTest::mouseRelease(window->cmdCSS, button);
}

bool documentView(frmTextEdit *w)
{
    return w->ViewCSS() == 0 && w->txtTXT->Visible() && !w->txtCSS->Visible() && w->frmButtons->Visible()
        && !w->frmButtonsCSS->Visible() && w->cmdHTML->BackColor() == QColor(0xC0, 0xFF, 0xC0)
        && w->cmdCSS->BackColor() == QColor(0xE0, 0xE0, 0xE0);
}

bool stylesheetView(frmTextEdit *w)
{
    return w->ViewCSS() == 1 && !w->txtTXT->Visible() && w->txtCSS->Visible() && !w->frmButtons->Visible()
        && w->frmButtonsCSS->Visible() && w->cmdHTML->BackColor() == QColor(0xE0, 0xE0, 0xE0)
        && w->cmdCSS->BackColor() == QColor(0xC0, 0xFF, 0xC0);
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
    void secondPressWhileWaiting();
    void cssComesBackUpAfterChooser_data();
    void cssComesBackUpAfterChooser();
    void closingMainWindowEndsWait();
    void waitDoesNotSpin();
};

void StylesheetTest::emptyPaneAsksAndCancelKeepsDocumentView()
{
    Fixture f;
    frmTextEdit *w = f.start({"LastCSS=" + native(f.path("css/missing.css"))});
    cancel(w);
    pressCss(w);
    QCOMPARE(App().ChooserResult, ChooserCancelled);
    QVERIFY(documentView(w));
    QCOMPARE(App().CssFile, native(f.path("css/missing.css")));
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->dummy));
    QCOMPARE(f.run.setting("LastCSS"), native(f.path("css/missing.css")));
}

void StylesheetTest::pickLoadsSwitchesAndRemembers()
{
    Fixture f;
    frmTextEdit *w = f.start();
    pick(w, native(f.path("css")), "site.css");
    pressCss(w);
    QCOMPARE(App().CssFile, native(f.path("css/site.css")));
    QCOMPARE(f.run.setting("LastCSS"), native(f.path("css/site.css")));
    // Tabs as spaces, LF made CR LF, and no pending changes.
    QCOMPARE(w->txtCSS->Text(), QStringLiteral("body {\r\n color: red;\r\n}\r\n\r\n"));
    QVERIFY(!w->ChangedCSS());
    QVERIFY(!w->cmdSaveCSS->Enabled());
    QVERIFY(stylesheetView(w));
}

void StylesheetTest::nonEmptyPaneSwitchesWithoutReading()
{
    Fixture f;
    frmTextEdit *w = f.start();
    pick(w, native(f.path("css")), "other.css");
    pressCss(w);
    QTest::mousePress(w->cmdHTML, Qt::LeftButton);
    QVERIFY(documentView(w));
    writeAll(f.path("css/other.css"), "changed on disk\r\n");
    pressCss(w);
    QVERIFY(stylesheetView(w));
    QCOMPARE(w->txtCSS->Text(), QStringLiteral("p { margin: 0; }\r\n"));
    QVERIFY(w->chooser() == nullptr || !w->chooser()->isVisible());
}

void StylesheetTest::rightPressAlwaysAsks()
{
    Fixture f;
    frmTextEdit *w = f.start();
    pick(w, native(f.path("css")), "other.css");
    pressCss(w);
    QTest::mousePress(w->cmdHTML, Qt::LeftButton);

    cancel(w);
    pressCss(w, Qt::RightButton);
    QVERIFY(documentView(w));
    QCOMPARE(w->txtCSS->Text(), QStringLiteral("p { margin: 0; }\r\n"));

    pick(w, native(f.path("css")), "site.css");
    pressCss(w, Qt::RightButton);
    QVERIFY(stylesheetView(w));
    QCOMPARE(App().CssFile, native(f.path("css/site.css")));
    QVERIFY(w->txtCSS->Text().startsWith(QStringLiteral("body {")));
}

void StylesheetTest::pressInStylesheetViewAsks()
{
    Fixture f;
    frmTextEdit *w = f.start();
    pick(w, native(f.path("css")), "other.css");
    pressCss(w);
    QVERIFY(stylesheetView(w));
    pick(w, native(f.path("css")), "site.css");
    pressCss(w);
    QCOMPARE(App().CssFile, native(f.path("css/site.css")));
}

void StylesheetTest::rememberedStylesheetLoadsWithoutAsking()
{
    Fixture f;
    frmTextEdit *w = f.start({"LastCSS=" + native(f.path("css/other.css"))});
    // Start-up filled the hidden pane already; clear it to see the load.
    QCOMPARE(w->txtCSS->Text(), QStringLiteral("p { margin: 0; }\r\n"));
    w->txtCSS->SetText(QString());
    w->NoChangesCSS();
    pressCss(w);
    QVERIFY(stylesheetView(w));
    QCOMPARE(w->txtCSS->Text(), QStringLiteral("p { margin: 0; }\r\n"));
    QVERIFY(!w->ChangedCSS());
}

void StylesheetTest::editSaveCancel()
{
    Fixture f;
    frmTextEdit *w = f.start();
    pick(w, native(f.path("css")), "site.css");
    pressCss(w);
    QTest::keyClicks(w->txtCSS, "/*x*/");
    QVERIFY(w->ChangedCSS());
    QCOMPARE(w->cmdSaveCSS->BackColor(), QColor(0x00, 0xC0, 0x00));
    QCOMPARE(w->cmdCancelCSS->BackColor(), QColor(0xFF, 0x80, 0x80));
    QVERIFY(w->cmdSaveCSS->Enabled());
    // The stylesheet never locks the browser.
    QVERIFY(w->File2->isEnabled() && w->Dir2->isEnabled() && w->Drive1->isEnabled());

    QTest::mouseClick(w->cmdCancelCSS, Qt::LeftButton);
    QVERIFY(!w->ChangedCSS());
    QCOMPARE(w->cmdSaveCSS->BackColor(), forms::buttonFaceColor());
    QVERIFY(w->txtCSS->Text().startsWith(QStringLiteral("/*x*/body")));
    QCOMPARE(readAll(f.path("css/site.css")), QByteArray("body {\n\tcolor: red;\n}\n"));

    QTest::keyClicks(w->txtCSS, " ");
    QTest::mouseClick(w->cmdSaveCSS, Qt::LeftButton);
    QCOMPARE(readAll(f.path("css/site.css")), QByteArray("/*x*/ body {\r\n color: red;\r\n}\r\n"));
    QVERIFY(!w->ChangedCSS());
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->dummy));
}

void StylesheetTest::htmlKeepsUnsavedStylesheet()
{
    Fixture f;
    frmTextEdit *w = f.start();
    pick(w, native(f.path("css")), "other.css");
    pressCss(w);
    QTest::keyClicks(w->txtCSS, "X");
    QTest::mousePress(w->cmdHTML, Qt::RightButton);
    QVERIFY(documentView(w));
    pressCss(w);
    QVERIFY(stylesheetView(w));
    QCOMPARE(w->txtCSS->Text(), QStringLiteral("Xp { margin: 0; }\r\n"));
    QVERIFY(w->ChangedCSS());
}

void StylesheetTest::secondPressWhileWaiting()
{
    Fixture f;
    frmTextEdit *w = f.start();
    int presses = 0;
    whenChooserOpens(w, [w, &presses, &f](frmFileSelect *) {
        for (int i = 0; i < 20; ++i, ++presses)
            pressCss(w);
        pick(w, native(f.path("css")), "site.css");
    });
    pressCss(w);
    QCOMPARE(presses, 20);
    QVERIFY(!w->waitingForChooser());
    QCOMPARE(App().CssFile, native(f.path("css/site.css")));
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
    // As with a real mouse: the press starts the wait, the release arrives
    // while the pane waits, then the chooser answers.
    const QString folder = native(f.path("css"));
    whenChooserOpens(w, [w, picked, folder](frmFileSelect *chooser) {
        QTest::mouseRelease(w->cmdCSS, Qt::LeftButton);
        if (picked) {
            chooser->Dir1->SetPath(folder);
            chooser->File1->SetSelected(rowOf(chooser->File1, "site.css"), true);
        }
        QTest::mouseClick(picked ? chooser->Command1 : chooser->Command2, Qt::LeftButton);
    });
    QTest::mousePress(w->cmdCSS, Qt::LeftButton);
    QCOMPARE(w->ViewCSS(), picked ? 1 : 0);
    QVERIFY(!w->cmdCSS->isDown());
}

void StylesheetTest::closingMainWindowEndsWait()
{
    Fixture f;
    frmTextEdit *w = f.start();
    QPointer<frmFileSelect> seen;
    whenChooserOpens(w, [w, &seen](frmFileSelect *chooser) {
        seen = chooser;
        w->close();
    });
    pressCss(w);
    QCOMPARE(App().ChooserResult, ChooserCancelled);
    QTRY_VERIFY(seen.isNull());
    QVERIFY(!w->isVisible());
    QVERIFY(f.run.setting("Top").has_value());
}

void StylesheetTest::waitDoesNotSpin()
{
    Fixture f;
    frmTextEdit *w = f.start();
    double cpuSeconds = -1;
    whenChooserOpens(w, [&cpuSeconds](frmFileSelect *chooser) {
        auto cpu = [] {
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
                + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        };
        const double before = cpu();
        QPointer<frmFileSelect> target(chooser);
        QTimer::singleShot(1000, [target, before, cpu, &cpuSeconds] {
            cpuSeconds = cpu() - before;
            if (target)
                QTest::mouseClick(target->Command2, Qt::LeftButton);
        });
    });
    pressCss(w);
    QVERIFY(cpuSeconds >= 0);
    // Idle waiting: a spinning loop would use the whole second.
    QVERIFY2(cpuSeconds < 0.3, qPrintable(QString::number(cpuSeconds)));
}

QTEST_MAIN(StylesheetTest)
#include "tst_stylesheet.moc"
