#include "forms/label.h"
#include "tests/forms/testfolder.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

using forms::Label;

class TestLabel : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_folder = std::make_unique<TestFolder>(); }
    void cleanup() { m_folder.reset(); }

    void mouseDownInTwips_data();
    void mouseDownInTwips();
    void mouseMoveWithoutButton();
    void keepsMovesWhileButtonHeld();
    void mousePointer();

private:
    std::unique_ptr<TestFolder> m_folder;
};

void TestLabel::mouseDownInTwips_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("mask");
    QTest::newRow("left near origin") << Qt::LeftButton << QPoint(1, 1) << 1;
    QTest::newRow("left inside") << Qt::LeftButton << QPoint(4, 100) << 1;
    QTest::newRow("right") << Qt::RightButton << QPoint(8, 3) << 2;
    QTest::newRow("middle") << Qt::MiddleButton << QPoint(1, 200) << 4;
}

void TestLabel::mouseDownInTwips()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, at);
    QFETCH(int, mask);
    QWidget window;
    window.resize(400, 600);
    Label bar(&window);
    bar.Place(2595, 420, 135, 7395);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy downs(&bar, &Label::MouseDown);
    QTest::mousePress(&bar, button, {}, at);
    QTest::mouseRelease(&bar, button, {}, at);
    QCOMPARE(downs.count(), 1);
    QCOMPARE(downs.at(0).at(0).toInt(), mask);
    QCOMPARE(downs.at(0).at(2).toDouble(), at.x() * 15.0);
    QCOMPARE(downs.at(0).at(3).toDouble(), at.y() * 15.0);
}

void TestLabel::mouseMoveWithoutButton()
{
    QWidget window;
    window.resize(400, 300);
    Label bar(&window);
    bar.Place(120, 3195, 2475, 150);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy moves(&bar, &Label::MouseMove);
    QTest::mouseMove(&bar, QPoint(30, 5));
    QTRY_VERIFY(!moves.isEmpty());
    const QList<QVariant> last = moves.last();
    QCOMPARE(last.at(0).toInt(), 0);
    QCOMPARE(last.at(2).toDouble(), 450.0);
    QCOMPARE(last.at(3).toDouble(), 75.0);
}

void TestLabel::keepsMovesWhileButtonHeld()
{
    QWidget window;
    window.resize(400, 600);
    Label bar(&window);
    bar.Place(2595, 420, 135, 7395);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy moves(&bar, &Label::MouseMove);
    QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(4, 50));
    // Dragged 40 pixels to the right, well outside the bar.
    QTest::mouseMove(&bar, QPoint(44, 50));
    QTRY_VERIFY(!moves.isEmpty());
    const QList<QVariant> last = moves.last();
    QCOMPARE(last.at(0).toInt(), 1);
    QCOMPARE(last.at(2).toDouble(), 44 * 15.0);
    QCOMPARE(last.at(3).toDouble(), 50 * 15.0);
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(44, 50));
}

void TestLabel::mousePointer()
{
    Label bar;
    bar.SetMousePointer(Qt::SizeHorCursor);
    QCOMPARE(bar.cursor().shape(), Qt::SizeHorCursor);
}

QTEST_MAIN(TestLabel)
#include "tst_label.moc"
