// Runs on a virtual X display: the primary selection is X11's own, the
// offscreen platform has none.
#include "textengine/view/textview.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

using textengine::TextView;

class TestPrimarySelection : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void selectingOffersTheText_data();
    void selectingOffersTheText();
    void middleClickPastesAtThePointer();
    void selectionOutlivesAnEdit();

private:
    void showView(TextView &view);
};

void TestPrimarySelection::initTestCase()
{
    QVERIFY2(QGuiApplication::clipboard()->supportsSelection(), "the platform has no primary selection");
}

void TestPrimarySelection::showView(TextView &view)
{
    view.resize(400, 200);
    view.setText(QStringLiteral("eins zwei drei\r\nvier fünf"));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setFocus();
}

void TestPrimarySelection::selectingOffersTheText_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("offered");
    QTest::newRow("double click") << "double" << QStringLiteral("zwei");
    QTest::newRow("Shift and arrows") << "keys" << QStringLiteral("eins");
    QTest::newRow("select all, lines with LF") << "all" << QStringLiteral("eins zwei drei\nvier fünf");
}

void TestPrimarySelection::selectingOffersTheText()
{
    QFETCH(QString, how);
    QFETCH(QString, offered);
    TextView view;
    showView(view);
    QGuiApplication::clipboard()->setText(QStringLiteral("vorher"), QClipboard::Selection);
    if (how == QLatin1String("double")) {
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, Qt::NoModifier,
                           view.caretRectAt(7).center() - view.viewport()->pos());
    } else if (how == QLatin1String("keys")) {
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
    } else {
        QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    }
    QTRY_COMPARE(QGuiApplication::clipboard()->text(QClipboard::Selection), offered);
    // The ordinary clipboard is not touched.
    QVERIFY(QGuiApplication::clipboard()->text(QClipboard::Clipboard) != offered);
}

void TestPrimarySelection::middleClickPastesAtThePointer()
{
    TextView view;
    showView(view);
    QGuiApplication::clipboard()->setText(QStringLiteral("neu\nund"), QClipboard::Selection);
    QTRY_COMPARE(QGuiApplication::clipboard()->text(QClipboard::Selection), QStringLiteral("neu\nund"));
    view.setCaretPosition(0);
    const QPoint at = view.caretRectAt(20).center() - view.viewport()->pos();
    QTest::mouseClick(view.viewport(), Qt::MiddleButton, Qt::NoModifier, at);
    QCOMPARE(view.text(), QStringLiteral("eins zwei drei\r\nvierneu\r\nund fünf"));
    QCOMPARE(view.caretPosition(), 28);
}

void TestPrimarySelection::selectionOutlivesAnEdit()
{
    TextView view;
    showView(view);
    view.select(5, 9);
    QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
    QTRY_COMPARE(QGuiApplication::clipboard()->text(QClipboard::Selection), QStringLiteral("zwei "));
    // The text offered is the one selected, even once the view has changed.
    QTest::keyClick(&view, Qt::Key_X);
    QCOMPARE(view.text(), QStringLiteral("eins xdrei\r\nvier fünf"));
    QCOMPARE(QGuiApplication::clipboard()->text(QClipboard::Selection), QStringLiteral("zwei "));
}

QTEST_MAIN(TestPrimarySelection)
#include "tst_primaryselection.moc"
