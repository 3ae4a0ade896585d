// Syntax colouring, line numbers, going to a line and matching through the
// real window: the panes' context-menu options and their settings keys, the
// language by the file's extension, Ctrl+G and the marking, by keys.
#include "forms/syntaxcolouring.h"
#include "forms/textbox.h"
#include "tests/mainwindowcontrols.h"
#include "tests/testsupport.h"
#include "tests/uitestsupport.h"
#include "ui/main/frmtextedit.h"

#include <QApplication>
#include <QDir>
#include <QInputDialog>
#include <QMenu>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using testsupport::clickFile;
using testsupport::ProgramRun;
using testsupport::writeAll;

Q_DECLARE_METATYPE(syntax::Language)

namespace {

forms::SyntaxColouring *colouring(forms::TextBox *pane)
{
    return pane->findChild<forms::SyntaxColouring *>();
}

// Opens the pane's context menu and picks the entry, as the user does.
bool pickEntry(forms::TextBox *pane, const QString &entry)
{
    bool picked = false;
    QTimer reader;
    reader.setInterval(10);
    QObject::connect(&reader, &QTimer::timeout, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        reader.stop();
        for (QAction *action : menu->actions()) {
            if (action->text() == entry) {
                action->trigger();
                picked = true;
            }
        }
        menu->close();
    });
    reader.start();
    const QPoint at(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, pane->viewport()->mapToGlobal(at));
    QApplication::sendEvent(pane->viewport(), &event);
    return picked;
}

struct Fixture
{
    QTemporaryDir dir;
    QString docs = dir.path() + QStringLiteral("/docs");
    void writeFile(const QString &name, const QByteArray &bytes) const
    {
        QDir().mkpath(docs);
        QVERIFY(writeAll(docs + QLatin1Char('/') + name, bytes));
    }
    frmTextEdit *start(ProgramRun &run) const
    {
        QDir().mkpath(docs);
        run.writeSettings({QStringLiteral("LastDir=") + QDir::toNativeSeparators(docs) + QDir::separator()});
        return run.start();
    }
};

} // namespace

class SyntaxOptionsTest : public QObject
{
    Q_OBJECT
private slots:
    void firstRunLooksAsBefore();
    void menuSwitchesBothPanesAndIsKept();
    void languageByExtension_data();
    void languageByExtension();
    void goToLine();
    void tagPartnerMarkedByKeys();
};

void SyntaxOptionsTest::firstRunLooksAsBefore()
{
    Fixture fixture;
    ProgramRun run(fixture.dir.path());
    frmTextEdit *w = fixture.start(run);
    for (forms::TextBox *pane : {txtTXT(w), txtCSS(w)}) {
        QVERIFY(!pane->lineNumbersShown());
        QVERIFY(!colouring(pane)->isEnabled());
    }
    run.close();
    QVERIFY(!run.setting(QStringLiteral("SyntaxHighlight")));
    QVERIFY(!run.setting(QStringLiteral("LineNumbers")));
}

void SyntaxOptionsTest::menuSwitchesBothPanesAndIsKept()
{
    Fixture fixture;
    {
        ProgramRun run(fixture.dir.path());
        frmTextEdit *w = fixture.start(run);
        const QRect place = txtTXT(w)->geometry();
        QVERIFY(pickEntry(txtTXT(w), QStringLiteral("Syntax hervorheben")));
        QVERIFY(pickEntry(txtCSS(w), QStringLiteral("Zeilennummern anzeigen")));
        for (forms::TextBox *pane : {txtTXT(w), txtCSS(w)}) {
            QVERIFY(colouring(pane)->isEnabled());
            QVERIFY(pane->lineNumbersShown());
        }
        // The numbers go inside the pane, which keeps its place and size.
        QCOMPARE(txtTXT(w)->geometry(), place);
        run.close();
        QCOMPARE(run.setting(QStringLiteral("SyntaxHighlight")), QStringLiteral("1"));
        QCOMPARE(run.setting(QStringLiteral("LineNumbers")), QStringLiteral("1"));
    }
    ProgramRun again(fixture.dir.path());
    frmTextEdit *w = again.start();
    QVERIFY(colouring(txtCSS(w))->isEnabled());
    QVERIFY(txtCSS(w)->lineNumbersShown());
    QVERIFY(pickEntry(txtTXT(w), QStringLiteral("Syntax hervorheben")));
    QVERIFY(!colouring(txtCSS(w))->isEnabled());
    again.close();
    QCOMPARE(again.setting(QStringLiteral("SyntaxHighlight")), QStringLiteral("0"));
    QCOMPARE(again.setting(QStringLiteral("LineNumbers")), QStringLiteral("1"));
}

void SyntaxOptionsTest::languageByExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<syntax::Language>("language");
    QTest::newRow("html") << "page.html" << syntax::Language::Html;
    QTest::newRow("htm in capitals") << "INDEX.HTM" << syntax::Language::Html;
    QTest::newRow("css") << "site.css" << syntax::Language::Css;
    QTest::newRow("text") << "notes.txt" << syntax::Language::Plain;
}

void SyntaxOptionsTest::languageByExtension()
{
    QFETCH(QString, name);
    QFETCH(syntax::Language, language);
    Fixture fixture;
    fixture.writeFile(name, "<p>x</p>");
    ProgramRun run(fixture.dir.path());
    frmTextEdit *w = fixture.start(run);
    clickFile(w, name);
    QCOMPARE(colouring(txtTXT(w))->language(), language);
    QCOMPARE(colouring(txtCSS(w))->language(), syntax::Language::Css);
}

void SyntaxOptionsTest::goToLine()
{
    Fixture fixture;
    QByteArray lines;
    for (int i = 1; i <= 1200; ++i)
        lines += "Zeile " + QByteArray::number(i) + "\r\n";
    fixture.writeFile(QStringLiteral("long.txt"), lines);
    ProgramRun run(fixture.dir.path());
    frmTextEdit *w = fixture.start(run);
    clickFile(w, QStringLiteral("long.txt"));
    QString title;
    QString label;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        title = dialog->windowTitle();
        label = dialog->labelText();
        auto *number = dialog->findChild<QSpinBox *>();
        number->selectAll();
        QTest::keyClicks(number, QStringLiteral("1000"));
        QTest::keyClick(number, Qt::Key_Return);
    });
    QTest::keyClick(w, Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(title, QStringLiteral("Gehe zu Zeile"));
    QCOMPARE(label, QStringLiteral("Zeile (1–1.201):"));
    forms::TextBox *pane = txtTXT(w);
    QCOMPARE(pane->caretPosition(), pane->content().lineStart(999));
    // The line stands in the middle of the pane.
    const int middle = pane->viewport()->height() / 2;
    const int y = pane->caretRectAt(pane->caretPosition()).center().y() - pane->viewport()->y();
    QVERIFY2(qAbs(y - middle) <= 2 * pane->caretRectAt(pane->caretPosition()).height(), qPrintable(QString::number(y)));
}

void SyntaxOptionsTest::tagPartnerMarkedByKeys()
{
    Fixture fixture;
    fixture.writeFile(QStringLiteral("page.html"), "<div>\r\n<p>(x)</p>\r\n</div>");
    ProgramRun run(fixture.dir.path());
    frmTextEdit *w = fixture.start(run);
    w->SetSyntaxHighlight(true);
    clickFile(w, QStringLiteral("page.html"));
    forms::TextBox *pane = txtTXT(w);
    QVERIFY(pane->SetFocus());
    auto marked = [pane] {
        QList<std::pair<int, int>> ranges;
        for (const textengine::ExtraFormat &format : pane->extraFormats())
            ranges.append({format.start, format.end});
        return ranges;
    };
    QTest::keyClick(pane, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(pane, Qt::Key_Right);
    QTest::keyClick(pane, Qt::Key_Right);
    QTRY_COMPARE(marked(), (QList<std::pair<int, int>>{{1, 4}, {21, 24}}));
    // On the next line, before "(": the bracket and its partner.
    QTest::keyClick(pane, Qt::Key_Down);
    QTest::keyClick(pane, Qt::Key_Right);
    QCOMPARE(marked(), (QList<std::pair<int, int>>{{10, 11}, {12, 13}}));
    // At the line's end, after "</p>": nothing.
    QTest::keyClick(pane, Qt::Key_End);
    QCOMPARE(marked(), (QList<std::pair<int, int>>{}));
}

QTEST_MAIN(SyntaxOptionsTest)
#include "tst_syntaxoptions.moc"
