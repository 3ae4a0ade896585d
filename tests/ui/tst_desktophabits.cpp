// Desktop habits of the main window: the file named on the command line
// opened, Ctrl+S, zoom, an undoable umlaut conversion, the stylesheet's
// name on "CSS", and both windows as a screen reader sees them.
#include "document/textdocument.h"
#include "tests/mainwindowcontrols.h"
#include "tests/testsupport.h"
#include "tests/uitestsupport.h"
#include "ui/chooser/frmfileselect.h"
#include "ui/main/frmtextedit.h"

#include <QAccessible>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

using testsupport::ProgramRun;
using testsupport::readAll;
using testsupport::rowOf;
using testsupport::writeAll;

namespace {

struct Fixture
{
    QTemporaryDir dir;
    QString docs = dir.path() + QStringLiteral("/docs");
    ProgramRun run{dir.path()};
    Fixture()
    {
        QDir().mkpath(docs);
        writeAll(docs + QStringLiteral("/brief.txt"), "Grüße\r\n");
        writeAll(docs + QStringLiteral("/seite.php"), "<?php ?>\r\n");
        run.writeSettings({QStringLiteral("LastDir=") + docs + QDir::separator()});
    }
    // The window's keys work in the active window.
    frmTextEdit *start()
    {
        frmTextEdit *w = run.start();
        w->activateWindow();
        return QTest::qWaitForWindowActive(w) ? w : nullptr;
    }
};

// Every interface below `parent`, depth first.
void collect(QAccessibleInterface *parent, QList<QAccessibleInterface *> &all)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface *child = parent->child(i);
        if (!child)
            continue;
        all.append(child);
        collect(child, all);
    }
}

QAccessibleInterface *accessibleOf(QObject *control)
{
    return QAccessible::queryAccessibleInterface(control);
}

} // namespace

class DesktopHabitsTest : public QObject
{
    Q_OBJECT
private slots:
    void openOption_data();
    void openOption();
    void saveKey();
    void zoom();
    void umlautConversionIsOneUndoStep();
    void stylesheetNamedOnCss();
    void screenReadersSeeBothWindows();
};

void DesktopHabitsTest::openOption_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("listed");
    QTest::newRow("listed file") << "brief.txt" << true;
    // The pattern leaves it out of the list; it opens all the same.
    QTest::newRow("file the list leaves out") << "seite.php" << false;
}

void DesktopHabitsTest::openOption()
{
    QFETCH(QString, name);
    QFETCH(bool, listed);
    Fixture f;
    const QString path = f.docs + QLatin1Char('/') + name;
    frmTextEdit *w = f.run.start(QStringLiteral("--open ") + path);
    QCOMPARE(File2(w)->Path(), f.docs);
    QCOMPARE(w->document().path(), path);
    QCOMPARE(txtTXT(w)->Text(), QString::fromUtf8(readAll(path)));
    QVERIFY(!w->Changed());
    QCOMPARE(File2(w)->FileName(), listed ? name : QString());
}

void DesktopHabitsTest::saveKey()
{
    Fixture f;
    frmTextEdit *w = f.start();
    QVERIFY(w);
    File2(w)->SetSelected(rowOf(File2(w), QStringLiteral("brief.txt")), true);
    // Nothing to save: the key does nothing.
    QTest::keyClick(File2(w), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!w->Changed());
    QTest::keyClicks(txtTXT(w), QStringLiteral("Liebe "));
    // From the text box and from the browser list alike.
    QTest::keyClick(txtTXT(w), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!w->Changed());
    QCOMPARE(readAll(f.docs + QStringLiteral("/brief.txt")), QByteArray("Liebe Grüße\r\n"));
}

void DesktopHabitsTest::zoom()
{
    Fixture f;
    frmTextEdit *w = f.start();
    QVERIFY(w);
    const qreal designed = txtTXT(w)->font().pointSizeF();
    QTest::keyClick(txtTXT(w), Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(File2(w), Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(txtTXT(w)->font().pointSizeF(), designed + 2);
    QCOMPARE(txtCSS(w)->font().pointSizeF(), designed + 2);
    QTest::keyClick(txtTXT(w), Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(w->zoom(), 1);
    // Two notches of the wheel with Ctrl.
    QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(txtTXT(w)->viewport(), &wheel);
    QCOMPARE(w->zoom(), 3);
    f.run.close();
    QCOMPARE(f.run.setting(QStringLiteral("Zoom")), QStringLiteral("3"));

    ProgramRun again(f.dir.path());
    w = again.start();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QCOMPARE(txtTXT(w)->font().pointSizeF(), designed + 3);
    QTest::keyClick(txtTXT(w), Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(txtTXT(w)->font().pointSizeF(), designed);
    again.close();
    QCOMPARE(again.setting(QStringLiteral("Zoom")), QStringLiteral("0"));
}

void DesktopHabitsTest::umlautConversionIsOneUndoStep()
{
    Fixture f;
    frmTextEdit *w = f.run.start();
    File2(w)->SetSelected(rowOf(File2(w), QStringLiteral("brief.txt")), true);
    QTest::mouseClick(cmdUmlaute(w), Qt::LeftButton);
    QCOMPARE(txtTXT(w)->Text(), QStringLiteral("Gr&uuml;&szlig;e\r\n"));
    QVERIFY(w->Changed());
    QTest::keyClick(txtTXT(w), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(txtTXT(w)->Text(), QStringLiteral("Grüße\r\n"));
    QVERIFY(w->Changed());
}

void DesktopHabitsTest::stylesheetNamedOnCss()
{
    Fixture f;
    const QString css = f.docs + QStringLiteral("/site.css");
    writeAll(css, "p { }\r\n");
    f.run.writeSettings({QStringLiteral("LastCSS=") + css});
    frmTextEdit *w = f.run.start();
    QCOMPARE(cmdCSS(w)->toolTip(), css);
    QCOMPARE(accessibleOf(cmdCSS(w))->text(QAccessible::Description), css);
    QCOMPARE(cmdCSS(w)->text(), QStringLiteral("CSS"));
}

void DesktopHabitsTest::screenReadersSeeBothWindows()
{
    Fixture f;
    frmTextEdit *w = f.run.start();
    QAccessibleInterface *window = accessibleOf(w);
    QCOMPARE(window->role(), QAccessible::Window);
    QList<QAccessibleInterface *> all;
    collect(window, all);
    for (QAccessibleInterface *control : std::as_const(all)) {
        if (!control->object())
            continue; // the entries of a list
        const QString name = control->object()->objectName();
        QVERIFY2(name != u"dummy" && !name.startsWith(u"lblSplit"), qPrintable(name));
        if (name.isEmpty() || name.startsWith(u"qt_"))
            continue; // the parts Qt's widgets are made of
        QVERIFY2(!control->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(name));
    }
    QCOMPARE(accessibleOf(Drive1(w))->text(QAccessible::Name), QStringLiteral("Laufwerk"));
    QCOMPARE(accessibleOf(Drive1(w))->text(QAccessible::Value), Drive1(w)->currentText());
    QCOMPARE(accessibleOf(frmButtons(w))->role(), QAccessible::Grouping);

    // The toggles say whether they are on.
    auto checked = [](QWidget *button) {
        const QAccessible::State state = accessibleOf(button)->state();
        return state.checkable && state.checked;
    };
    QVERIFY(!checked(cmdTop(w)));
    QTest::mouseClick(cmdTop(w), Qt::LeftButton);
    QVERIFY(checked(cmdTop(w)));
    QVERIFY(checked(cmdHTML(w)) && !checked(cmdCSS(w)));
    w->cmdCSS_MouseDown(2, 0, 0, 0);
    frmFileSelect *chooser = w->chooser();
    QVERIFY(chooser);
    QAccessibleInterface *dialog = accessibleOf(chooser);
    QCOMPARE(dialog->role(), QAccessible::Dialog);
    QCOMPARE(accessibleOf(chooser->Command1)->text(QAccessible::Name), QStringLiteral("Übernehmen"));
    QCOMPARE(accessibleOf(chooser->Command2)->text(QAccessible::Name), QStringLiteral("Abbrechen"));
    chooser->File1->SetPath(f.docs);
    writeAll(f.docs + QStringLiteral("/site.css"), "p { }\r\n");
    chooser->File1->Refresh();
    chooser->File1->SetSelected(rowOf(chooser->File1, QStringLiteral("site.css")), true);
    QTest::mouseClick(chooser->Command1, Qt::LeftButton);
    QVERIFY(!checked(cmdHTML(w)) && checked(cmdCSS(w)));
}

QTEST_MAIN(DesktopHabitsTest)
#include "tst_desktophabits.moc"
