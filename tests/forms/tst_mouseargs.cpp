#include "forms/mouseargs.h"

#include <QMouseEvent>
#include <QTest>

using forms::MouseArgs;

class TestMouseArgs : public QObject
{
    Q_OBJECT

private slots:
    void args_data();
    void args();
};

void TestMouseArgs::args_data()
{
    QTest::addColumn<bool>("press");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::MouseButtons>("buttons");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QPointF>("position");
    QTest::addColumn<QPointF>("origin");
    QTest::addColumn<int>("buttonMask");
    QTest::addColumn<int>("shiftMask");
    QTest::addColumn<QPointF>("twips");

    QTest::newRow("left press") << true << Qt::LeftButton << Qt::MouseButtons(Qt::LeftButton) << Qt::KeyboardModifiers()
                                << QPointF(2, 3) << QPointF() << 1 << 0 << QPointF(30, 45);
    QTest::newRow("right press with Ctrl, the left one held")
        << true << Qt::RightButton << (Qt::LeftButton | Qt::RightButton) << Qt::KeyboardModifiers(Qt::ControlModifier)
        << QPointF(0, 0) << QPointF() << 2 << 2 << QPointF(0, 0);
    QTest::newRow("middle press with Shift and Alt")
        << true << Qt::MiddleButton << Qt::MouseButtons(Qt::MiddleButton) << (Qt::ShiftModifier | Qt::AltModifier)
        << QPointF(1.5, 10) << QPointF() << 4 << 5 << QPointF(22.5, 150);
    QTest::newRow("move with no button") << false << Qt::NoButton << Qt::MouseButtons() << Qt::KeyboardModifiers()
                                         << QPointF(30, 5) << QPointF() << 0 << 0 << QPointF(450, 75);
    QTest::newRow("move with left and right held, all three keys")
        << false << Qt::NoButton << (Qt::LeftButton | Qt::RightButton)
        << (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier) << QPointF(1, 1) << QPointF() << 3 << 7
        << QPointF(15, 15);
    QTest::newRow("move over a viewport placed at 2, 3")
        << false << Qt::NoButton << Qt::MouseButtons() << Qt::KeyboardModifiers() << QPointF(10, 10) << QPointF(2, 3)
        << 0 << 0 << QPointF(180, 195);
}

void TestMouseArgs::args()
{
    QFETCH(bool, press);
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::MouseButtons, buttons);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QPointF, position);
    QFETCH(QPointF, origin);
    QFETCH(int, buttonMask);
    QFETCH(int, shiftMask);
    QFETCH(QPointF, twips);

    const QMouseEvent event(press ? QEvent::MouseButtonPress : QEvent::MouseMove, position, position, button, buttons,
                            modifiers);
    const MouseArgs args = press ? forms::mouseDownArgs(&event, origin) : forms::mouseMoveArgs(&event, origin);
    QCOMPARE(args.button, buttonMask);
    QCOMPARE(args.shift, shiftMask);
    QCOMPARE(args.x, twips.x());
    QCOMPARE(args.y, twips.y());
}

QTEST_MAIN(TestMouseArgs)
#include "tst_mouseargs.moc"
