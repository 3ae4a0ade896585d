// The main window's controls at their designed places, the layout on resize
// and the two splitter bars.
#include "forms/checkbox.h"
#include "forms/commandbutton.h"
#include "forms/drivelist.h"
#include "forms/filelist.h"
#include "forms/folderlist.h"
#include "forms/label.h"
#include "forms/textbox.h"
#include "tests/mainwindowcontrols.h"
#include "tests/uitestsupport.h"
#include "ui/main/frmtextedit.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

using testsupport::ProgramRun;

namespace {
QHash<QString, forms::Placeable *> controls(frmTextEdit &w)
{
    return {
        {"frmButtonsCSS", frmButtonsCSS(&w)},
        {"cmdCancelCSS", cmdCancelCSS(&w)},
        {"cmdSaveCSS", cmdSaveCSS(&w)},
        {"cmdHTML", cmdHTML(&w)},
        {"chkGreen", chkGreen(&w)},
        {"chkDark", chkDark(&w)},
        {"chkPattern", chkPattern(&w)},
        {"txtPattern", txtPattern(&w)},
        {"cmdCSS", cmdCSS(&w)},
        {"cmdUmlaute", cmdUmlaute(&w)},
        {"chkJumpEnd", chkJumpEnd(&w)},
        {"cmdTop", cmdTop(&w)},
        {"cmdRefresh", cmdRefresh(&w)},
        {"File2", File2(&w)},
        {"frmButtons", frmButtons(&w)},
        {"cmdSave", cmdSave(&w)},
        {"cmdCancel", cmdCancel(&w)},
        {"dummy", dummy(&w)},
        {"Dir2", Dir2(&w)},
        {"Drive1", Drive1(&w)},
        {"txtCSS", txtCSS(&w)},
        {"txtTXT", txtTXT(&w)},
        {"lblSplitH", lblSplitH(&w)},
        {"lblSplitV", lblSplitV(&w)},
    };
}

forms::Placeable *control(frmTextEdit &w, const QString &name)
{
    return controls(w).value(name);
}

// A move over a label with the given buttons held, X and Y in pixels.
void moveOver(QWidget *target, QPoint pos, Qt::MouseButtons buttons)
{
    QMouseEvent event(QEvent::MouseMove, pos, target->mapToGlobal(pos), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void pressOn(QWidget *target, QPoint pos, Qt::MouseButton button)
{
    QMouseEvent event(QEvent::MouseButtonPress, pos, target->mapToGlobal(pos), button, button, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

const QColor barNormal(0xE0, 0xE0, 0xE0);
const QColor barLit(0xC0, 0xC0, 0xC0);
} // namespace

class LayoutTest : public QObject
{
    Q_OBJECT
private slots:
    void designGeometry_data();
    void designGeometry();
    void designLook();
    void layoutFromRemembered_data();
    void layoutFromRemembered();
    void resizeLaysOut();
    void tinyWindowSkipsNegativeSizes();
    void dragVerticalBar();
    void dragToFarLeft();
    void rightButtonOnlyHighlights();
    void dragHorizontalBar();
    void highlightReset();
    void tabOrder_data();
    void tabOrder();
};

void LayoutTest::designGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    const QList<QPair<QString, QRect>> rows = {
        {"frmButtonsCSS", {120, 7950, 2475, 1095}}, {"cmdCancelCSS", {120, 180, 2235, 375}},
        {"cmdSaveCSS", {120, 600, 2235, 375}},      {"cmdHTML", {10080, 30, 885, 375}},
        {"chkGreen", {12735, 75, 855, 255}},        {"chkDark", {11910, 75, 795, 255}},
        {"chkPattern", {2700, 90, 225, 255}},       {"txtPattern", {2940, 30, 1065, 330}},
        {"cmdCSS", {10980, 30, 705, 375}},          {"cmdUmlaute", {6780, 30, 3135, 375}},
        {"chkJumpEnd", {4200, 105, 1815, 195}},     {"cmdTop", {6180, 15, 435, 375}},
        {"cmdRefresh", {2250, 3375, 315, 315}},     {"File2", {120, 3330, 2490, 3240}},
        {"frmButtons", {120, 6720, 2475, 1095}},    {"cmdSave", {120, 600, 2235, 375}},
        {"cmdCancel", {120, 180, 2235, 375}},       {"dummy", {18120, -1080, 195, 195}},
        {"Dir2", {120, 420, 2475, 2640}},           {"Drive1", {120, 60, 2475, 345}},
        {"txtCSS", {2715, 7980, 4935, 1050}},       {"txtTXT", {2700, 390, 10920, 7455}},
        {"lblSplitH", {2595, 420, 135, 7395}},      {"lblSplitV", {120, 3195, 2475, 150}},
    };
    for (const auto &row : rows)
        QTest::newRow(qPrintable(row.first)) << row.first << row.second;
}

void LayoutTest::designGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    frmTextEdit window;
    forms::Placeable *c = control(window, name);
    QVERIFY(c);
    QCOMPARE(QRect(c->Left(), c->Top(), c->Width(), c->Height()), twips);
    // The widget stands where the twips say, 15 twips to a pixel.
    QCOMPARE(c->widget()->geometry().topLeft(), QPoint(qRound(twips.left() / 15.0), qRound(twips.top() / 15.0)));
}

void LayoutTest::designLook()
{
    frmTextEdit window;
    QCOMPARE(cmdSave(&window)->text(), QStringLiteral("SPEICHERN"));
    QCOMPARE(cmdCancel(&window)->text(), QStringLiteral("Abbrechen"));
    QCOMPARE(cmdUmlaute(&window)->text(), QStringLiteral("Umlaute in HTML-Umlaute übersetzen"));
    QCOMPARE(chkJumpEnd(&window)->text(), QStringLiteral("ans Ende springen"));
    QCOMPARE(chkJumpEnd(&window)->toolTip(), QStringLiteral("beim Öffnen zum Ende der Datei springen"));
    QCOMPARE(chkPattern(&window)->toolTip(), QStringLiteral("Eigene Dateiliste-Pattern aktivieren"));
    QCOMPARE(cmdTop(&window)->toolTip(), QStringLiteral("Immer im Vordergrund"));
    QCOMPARE(cmdRefresh(&window)->toolTip(), QStringLiteral("neu einlesen"));
    QCOMPARE(txtPattern(&window)->Text(), QStringLiteral("*.*;"));
    QCOMPARE(cmdHTML(&window)->BackColor(), QColor(0xC0, 0xFF, 0xC0));
    QCOMPARE(cmdCSS(&window)->BackColor(), QColor(0xE0, 0xE0, 0xE0));
    QCOMPARE(cmdRefresh(&window)->BackColor(), QColor(0xC0, 0xC0, 0xFF));
    QCOMPARE(File2(&window)->BackColor(), QColor(0xE0, 0xE0, 0xE0));
    QCOMPARE(File2(&window)->ForeColor(), QColor(0x00, 0x00, 0x80));
    QCOMPARE(Dir2(&window)->BackColor(), QColor(0x80, 0x80, 0x80));
    QCOMPARE(Dir2(&window)->ForeColor(), QColor(0xFF, 0xFF, 0xFF));
    QCOMPARE(Drive1(&window)->BackColor(), QColor(0x80, 0x80, 0x80));
    QCOMPARE(txtTXT(&window)->BackColor(), QColor(0xFF, 0xFF, 0xFF));
    QVERIFY(txtTXT(&window)->Visible());
    QVERIFY(!txtCSS(&window)->Visible());
    QVERIFY(frmButtons(&window)->Visible());
    QVERIFY(!frmButtonsCSS(&window)->Visible());
    QVERIFY(!cmdTop(&window)->icon().isNull());
    QVERIFY(!cmdRefresh(&window)->icon().isNull());
    QVERIFY(txtTXT(&window)->font().fixedPitch() || QFontInfo(txtTXT(&window)->font()).fixedPitch());
    QVERIFY(cmdSave(&window)->font().bold());
    // Every control without a caption has an accessible name.
    for (QWidget *w : {static_cast<QWidget *>(cmdTop(&window)), static_cast<QWidget *>(cmdRefresh(&window)),
                       static_cast<QWidget *>(chkPattern(&window)), static_cast<QWidget *>(File2(&window)),
                       static_cast<QWidget *>(Dir2(&window)), static_cast<QWidget *>(Drive1(&window)),
                       static_cast<QWidget *>(txtTXT(&window))})
        QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
    // A screen reader tells the two panes apart by name.
    QCOMPARE(QAccessible::queryAccessibleInterface(txtTXT(&window))->text(QAccessible::Name),
             QStringLiteral("Dokument"));
    QCOMPARE(QAccessible::queryAccessibleInterface(txtCSS(&window))->text(QAccessible::Name),
             QStringLiteral("Stylesheet"));
}

void LayoutTest::layoutFromRemembered_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("property");
    QTest::addColumn<int>("expected");

    const QStringList splitH{"SplitHLeft=3000", "Width=12000", "Top=0"};
    QTest::newRow("Dir2 width") << splitH << "Dir2"
                                << "Width" << 2880;
    QTest::newRow("txtTXT left") << splitH << "txtTXT"
                                 << "Left" << 3120;
    QTest::newRow("txtTXT width") << splitH << "txtTXT"
                                  << "Width" << 8670;
    QTest::newRow("cmdRefresh left") << splitH << "cmdRefresh"
                                     << "Left" << 2650;
    QTest::newRow("File2 width") << splitH << "File2"
                                 << "Width" << 2880;
    QTest::newRow("cmdSave width") << splitH << "cmdSave"
                                   << "Width" << 2640;
    const QStringList splitV{"SplitVTop=2775", "Height=8445", "Top=0"};
    QTest::newRow("File2 top") << splitV << "File2"
                               << "Top" << 2895;
    QTest::newRow("File2 height") << splitV << "File2"
                                  << "Height" << 4070;
    QTest::newRow("Dir2 height") << splitV << "Dir2"
                                 << "Height" << 2355;
    QTest::newRow("cmdRefresh top") << splitV << "cmdRefresh"
                                    << "Top" << 2925;
    QTest::newRow("first run: lblSplitV at 2775") << QStringList{} << "lblSplitV"
                                                  << "Top" << 2775;
    QTest::newRow("first run: lblSplitH designed") << QStringList{} << "lblSplitH"
                                                   << "Left" << 2595;
    QTest::newRow("txtTXT height from window") << splitV << "txtTXT"
                                               << "Height" << 8445 - 940;
    QTest::newRow("frmButtons top from window") << splitV << "frmButtons"
                                                << "Top" << 8445 - 1610;
    QTest::newRow("lblSplitH follows editor height") << splitV << "lblSplitH"
                                                     << "Height" << 8445 - 940;
}

void LayoutTest::layoutFromRemembered()
{
    QFETCH(QStringList, settings);
    QFETCH(QString, name);
    QFETCH(QString, property);
    QFETCH(int, expected);

    QTemporaryDir dir;
    ProgramRun run(dir.path());
    run.writeSettings(settings);
    frmTextEdit *window = run.start();
    forms::Placeable *c = control(*window, name);
    const QHash<QString, int> values
        = {{"Left", c->Left()}, {"Top", c->Top()}, {"Width", c->Width()}, {"Height", c->Height()}};
    QCOMPARE(values.value(property), expected);
}

void LayoutTest::resizeLaysOut()
{
    QTemporaryDir dir;
    ProgramRun run(dir.path());
    run.writeSettings({"Top=0", "Left=0"});
    frmTextEdit *window = run.start();
    window->SetWidth(15000);
    window->SetHeight(9000);
    QApplication::processEvents();

    const int L = lblSplitH(window)->Left();
    const int T = lblSplitV(window)->Top();
    QCOMPARE(txtTXT(window)->Left(), L + 120);
    QCOMPARE(txtTXT(window)->Width(), 15000 - L - 330);
    QCOMPARE(txtTXT(window)->Height(), 9000 - 940);
    QCOMPARE(txtTXT(window)->Top(), 390);
    QCOMPARE(txtCSS(window)->Left(), txtTXT(window)->Left());
    QCOMPARE(txtCSS(window)->Top(), txtTXT(window)->Top());
    QCOMPARE(txtCSS(window)->Width(), txtTXT(window)->Width());
    QCOMPARE(txtCSS(window)->Height(), txtTXT(window)->Height());
    QCOMPARE(frmButtons(window)->Top(), 9000 - 1610);
    QCOMPARE(frmButtonsCSS(window)->Top(), 9000 - 1610);
    QCOMPARE(frmButtons(window)->Width(), File2(window)->Width());
    QCOMPARE(File2(window)->Top(), T + 120);
    QCOMPARE(File2(window)->Height(), 9000 - T - 1600);
    QCOMPARE(lblSplitH(window)->Height(), 9000 - 940);
    // The top row and the drive list never move.
    QCOMPARE(cmdCSS(window)->Left(), 10980);
    QCOMPARE(Drive1(window)->Width(), 2475);
}

void LayoutTest::tinyWindowSkipsNegativeSizes()
{
    QTemporaryDir dir;
    ProgramRun run(dir.path());
    run.writeSettings({"Top=0", "Left=0"});
    frmTextEdit *window = run.start();
    const int editorHeight = txtTXT(window)->Height();
    const int fileHeight = File2(window)->Height();
    window->SetHeight(600);
    QApplication::processEvents();
    // Sizes that come out negative are refused; positions still follow.
    QCOMPARE(txtTXT(window)->Height(), editorHeight);
    QCOMPARE(File2(window)->Height(), fileHeight);
    QCOMPARE(frmButtons(window)->Top(), window->Height() - 1610);

    window->SetHeight(8445);
    QApplication::processEvents();
    QCOMPARE(txtTXT(window)->Height(), 8445 - 940);
}

void LayoutTest::dragVerticalBar()
{
    QTemporaryDir dir;
    ProgramRun run(dir.path());
    run.writeSettings({"Top=0", "Left=0", "Width=13620"});
    frmTextEdit *window = run.start();
    forms::Label *bar = lblSplitH(window);
    QCOMPARE(bar->Left(), 2595);

    // Grab the bar 4 pixels from its left edge and move 20 pixels right.
    pressOn(bar, QPoint(4, 100), Qt::LeftButton);
    moveOver(bar, QPoint(24, 100), Qt::LeftButton);
    QCOMPARE(bar->Left(), 2595 + 300);
    QCOMPARE(bar->BackColor(), barLit);
    QCOMPARE(Dir2(window)->Width(), 2895 - 120);
    QCOMPARE(File2(window)->Width(), 2895 - 120);
    QCOMPARE(lblSplitV(window)->Width(), 2895 - 120);
    QCOMPARE(txtTXT(window)->Left(), 2895 + 120);
    QCOMPARE(txtTXT(window)->Width(), 13620 - 2895 - 330);
    QCOMPARE(cmdRefresh(window)->Left(), 2895 - 350);
    QCOMPARE(cmdSave(window)->Width(), 2895 - 120 - 240);
    QCOMPARE(Drive1(window)->Width(), 2475);

    // The next resize keeps the new bar position.
    window->SetHeight(8000);
    QApplication::processEvents();
    QCOMPARE(bar->Left(), 2895);
    QCOMPARE(txtTXT(window)->Left(), 2895 + 120);
}

void LayoutTest::dragToFarLeft()
{
    QTemporaryDir dir;
    ProgramRun run(dir.path());
    run.writeSettings({"Top=0", "Left=0", "Width=13620"});
    frmTextEdit *window = run.start();
    forms::Label *bar = lblSplitH(window);
    const int dirWidth = Dir2(window)->Width();

    pressOn(bar, QPoint(0, 50), Qt::LeftButton);
    moveOver(bar, QPoint(-170, 50), Qt::LeftButton);
    QCOMPARE(bar->Left(), 2595 - 2550);
    // L below 120: widths would be negative and stay as they were.
    QCOMPARE(Dir2(window)->Width(), dirWidth);
    QCOMPARE(File2(window)->Width(), dirWidth);
    QCOMPARE(txtTXT(window)->Left(), 45 + 120);
    QCOMPARE(cmdRefresh(window)->Left(), 45 - 350);
}

void LayoutTest::rightButtonOnlyHighlights()
{
    QTemporaryDir dir;
    ProgramRun run(dir.path());
    frmTextEdit *window = run.start();
    forms::Label *bar = lblSplitH(window);
    pressOn(bar, QPoint(4, 100), Qt::RightButton);
    moveOver(bar, QPoint(40, 100), Qt::RightButton);
    QCOMPARE(bar->Left(), 2595);
    QCOMPARE(bar->BackColor(), barLit);
}

void LayoutTest::dragHorizontalBar()
{
    QTemporaryDir dir;
    ProgramRun run(dir.path());
    run.writeSettings({"Top=0", "Left=0", "Height=8445"});
    frmTextEdit *window = run.start();
    forms::Label *bar = lblSplitV(window);
    QCOMPARE(bar->Top(), 2775);

    pressOn(bar, QPoint(50, 2), Qt::LeftButton);
    moveOver(bar, QPoint(50, 12), Qt::LeftButton);
    QCOMPARE(bar->Top(), 2775 + 150);
    QCOMPARE(bar->BackColor(), barLit);
    QCOMPARE(Dir2(window)->Height(), 2925 - 420);
    QCOMPARE(File2(window)->Top(), 2925 + 120);
    QCOMPARE(File2(window)->Height(), 8445 - 2925 - 1600);
    QCOMPARE(cmdRefresh(window)->Top(), 2925 + 150);
}

void LayoutTest::highlightReset()
{
    QTemporaryDir dir;
    ProgramRun run(dir.path());
    frmTextEdit *window = run.start();
    moveOver(lblSplitH(window), QPoint(2, 2), Qt::NoButton);
    moveOver(lblSplitV(window), QPoint(2, 2), Qt::NoButton);
    QCOMPARE(lblSplitH(window)->BackColor(), barLit);

    // Buttons and check boxes leave the bars lit.
    moveOver(cmdCSS(window), QPoint(2, 2), Qt::NoButton);
    moveOver(chkDark(window), QPoint(2, 2), Qt::NoButton);
    QCOMPARE(lblSplitH(window)->BackColor(), barLit);

    // The document pane resets both.
    moveOver(txtTXT(window)->viewport(), QPoint(5, 5), Qt::NoButton);
    QCOMPARE(lblSplitH(window)->BackColor(), barNormal);
    QCOMPARE(lblSplitV(window)->BackColor(), barNormal);

    moveOver(lblSplitV(window), QPoint(2, 2), Qt::NoButton);
    moveOver(File2(window)->viewport(), QPoint(5, 5), Qt::NoButton);
    QCOMPARE(lblSplitV(window)->BackColor(), barNormal);

    moveOver(lblSplitV(window), QPoint(2, 2), Qt::NoButton);
    moveOver(Dir2(window)->viewport(), QPoint(5, 5), Qt::NoButton);
    QCOMPARE(lblSplitV(window)->BackColor(), barNormal);

    moveOver(lblSplitH(window), QPoint(2, 2), Qt::NoButton);
    moveOver(window, QPoint(1, 1), Qt::NoButton);
    QCOMPARE(lblSplitH(window)->BackColor(), barNormal);
}

void LayoutTest::tabOrder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("next");

    // The control table's TabIndex; frames and labels take no focus.
    const QList<std::tuple<QString, int, bool>> table = {
        {"frmButtonsCSS", 25, false}, {"cmdCancelCSS", 27, true}, {"cmdSaveCSS", 26, true}, {"cmdHTML", 23, true},
        {"chkGreen", 22, true},       {"chkDark", 21, true},      {"chkPattern", 20, true}, {"txtPattern", 19, true},
        {"cmdCSS", 17, true},         {"cmdUmlaute", 16, true},   {"chkJumpEnd", 13, true}, {"cmdTop", 12, true},
        {"cmdRefresh", 8, true},      {"File2", 6, true},         {"frmButtons", 9, false}, {"cmdSave", 11, true},
        {"cmdCancel", 10, true},      {"dummy", 7, true},         {"Dir2", 5, true},        {"Drive1", 4, true},
        {"txtCSS", 24, true},         {"txtTXT", 18, true},       {"lblSplitH", 15, false}, {"lblSplitV", 14, false},
    };
    QMap<int, QString> stops;
    for (const auto &[name, index, focus] : table)
        if (focus)
            stops.insert(index, name);
    // Tab goes to the next higher TabIndex, from the last back to the first.
    for (const auto &[name, index, focus] : table) {
        const auto after = stops.upperBound(index);
        QTest::newRow(qPrintable(name)) << name << (!focus ? QString() : after == stops.end() ? stops.first() : *after);
    }
}

void LayoutTest::tabOrder()
{
    QFETCH(QString, name);
    QFETCH(QString, next);
    frmTextEdit window;
    QList<QWidget *> all;
    for (forms::Placeable *each : controls(window))
        all << each->widget();
    QWidget *from = control(window, name)->widget();
    if (next.isEmpty()) {
        QVERIFY(!(from->focusPolicy() & Qt::TabFocus));
        return;
    }
    QWidget *reached = testsupport::nextTabStop(from, all);
    QVERIFY(reached);
    QCOMPARE(reached->objectName(), next);
}

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
