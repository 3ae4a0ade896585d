// Window options: the colour scheme of both editors, always on top and the
// umlaut conversion of the document.
#include "forms/checkbox.h"
#include "forms/commandbutton.h"
#include "forms/filelist.h"
#include "forms/placeable.h"
#include "forms/textbox.h"
#include "platform/window.h"
#include "tests/mainwindowcontrols.h"
#include "tests/uitestsupport.h"
#include "ui/main/frmtextedit.h"

#include <QTemporaryDir>
#include <QTest>

using testsupport::ProgramRun;

class OptionsTest : public QObject
{
    Q_OBJECT
private slots:
    void colourScheme_data();
    void colourScheme();
    void schemeByClicks();
    void alwaysOnTopToggles();
    void umlautsConvertHiddenDocument();
    void umlautsWithoutConvertibleText();
};

void OptionsTest::colourScheme_data()
{
    QTest::addColumn<int>("dark");
    QTest::addColumn<int>("green");
    QTest::addColumn<QColor>("back");
    QTest::addColumn<QColor>("fore");

    QTest::newRow("neither") << 0 << 0 << forms::rgb(0xFFFFFF) << forms::rgb(0x000000);
    QTest::newRow("green") << 0 << 1 << forms::rgb(0xFFFFFF) << forms::rgb(0x004000);
    QTest::newRow("dark") << 1 << 0 << forms::rgb(0x000000) << forms::rgb(0xE0E0E0);
    QTest::newRow("dark and green") << 1 << 1 << forms::rgb(0x000000) << forms::rgb(0x00FF00);
    QTest::newRow("greyed dark counts as off") << 2 << 1 << forms::rgb(0xFFFFFF) << forms::rgb(0x004000);
    QTest::newRow("greyed green counts as off") << 1 << 2 << forms::rgb(0x000000) << forms::rgb(0xE0E0E0);
}

void OptionsTest::colourScheme()
{
    QFETCH(int, dark);
    QFETCH(int, green);
    QFETCH(QColor, back);
    QFETCH(QColor, fore);

    QTemporaryDir dir;
    ProgramRun run(dir.path());
    frmTextEdit *w = run.start();
    // The stylesheet view shows while the scheme changes.
    w->cmdHTML_MouseDown(1, 0, 0, 0);
    chkGreen(w)->SetValue(green);
    chkDark(w)->SetValue(dark);
    for (forms::TextBox *box : {txtTXT(w), txtCSS(w)}) {
        QCOMPARE(box->BackColor(), back);
        QCOMPARE(box->ForeColor(), fore);
        QCOMPARE(box->palette().color(QPalette::Base), back);
        QCOMPARE(box->palette().color(QPalette::Text), fore);
    }
    // Nothing else changes colour.
    QCOMPARE(File2(w)->palette().color(QPalette::Base).isValid(), true);
    QCOMPARE(cmdCSS(w)->BackColor(), forms::rgb(0xE0E0E0));
}

void OptionsTest::schemeByClicks()
{
    QTemporaryDir dir;
    ProgramRun run(dir.path());
    frmTextEdit *w = run.start();
    QTest::mouseClick(chkDark(w), Qt::LeftButton);
    QTest::mouseClick(chkGreen(w), Qt::LeftButton);
    QCOMPARE(txtTXT(w)->ForeColor(), forms::rgb(0x00FF00));
    // Unticking Dark with Green ticked gives dark green on white, not black.
    QTest::mouseClick(chkDark(w), Qt::LeftButton);
    QCOMPARE(txtTXT(w)->BackColor(), forms::rgb(0xFFFFFF));
    QCOMPARE(txtTXT(w)->ForeColor(), forms::rgb(0x004000));
    QCOMPARE(txtCSS(w)->ForeColor(), forms::rgb(0x004000));
}

void OptionsTest::alwaysOnTopToggles()
{
    QTemporaryDir dir;
    ProgramRun run(dir.path());
    frmTextEdit *w = run.start();
    txtTXT(w)->SetText(QStringLiteral("kept"));
    const QRect before = w->geometry();
    QCOMPARE(w->OnTop(), 0);
    QVERIFY(!platform::isWindowTopmost(w));
    QTest::mouseClick(cmdTop(w), Qt::LeftButton);
    QCOMPARE(w->OnTop(), 1);
    QVERIFY(platform::isWindowTopmost(w));
    QVERIFY(w->isVisible());
    QCOMPARE(w->geometry(), before);
    QCOMPARE(txtTXT(w)->Text(), QStringLiteral("kept"));
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(dummy(w)));
    QTest::mouseClick(cmdTop(w), Qt::LeftButton);
    QCOMPARE(w->OnTop(), 0);
    QVERIFY(!platform::isWindowTopmost(w));
    QCOMPARE(cmdTop(w)->toolTip(), QStringLiteral("Immer im Vordergrund"));
}

void OptionsTest::umlautsConvertHiddenDocument()
{
    QTemporaryDir dir;
    ProgramRun run(dir.path());
    frmTextEdit *w = run.start();
    txtTXT(w)->SetText(QStringLiteral("Grüße aus Köln\r\n"));
    w->NoChanges();
    txtCSS(w)->SetText(QStringLiteral("/* Grüße */"));
    w->NoChangesCSS();
    // The stylesheet view shows; the hidden document is converted all the same.
    w->cmdCSS_MouseDown(1, 0, 0, 0);
    QCOMPARE(w->ViewCSS(), 1);
    QTest::mouseClick(cmdUmlaute(w), Qt::LeftButton);
    QCOMPARE(txtTXT(w)->Text(), QStringLiteral("Gr&uuml;&szlig;e aus K&ouml;ln\r\n"));
    QCOMPARE(txtCSS(w)->Text(), QStringLiteral("/* Grüße */"));
    QVERIFY(w->Changed());
    QVERIFY(!w->ChangedCSS());
}

void OptionsTest::umlautsWithoutConvertibleText()
{
    QTemporaryDir dir;
    ProgramRun run(dir.path());
    frmTextEdit *w = run.start();
    txtTXT(w)->SetText(QStringLiteral("a &lt; b & CAFÉ"));
    w->NoChanges();
    QTest::mouseClick(cmdUmlaute(w), Qt::LeftButton);
    QCOMPARE(txtTXT(w)->Text(), QStringLiteral("a &lt; b & CAFÉ"));
    QVERIFY(!w->Changed());
}

QTEST_MAIN(OptionsTest)
#include "tst_options.moc"
