#include "forms/commandbutton.h"
#include "tests/forms/testfolder.h"

#include <QApplication>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <memory>

using forms::CommandButton;

class TestCommandButton : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_folder = std::make_unique<TestFolder>(); }
    void cleanup() { m_folder.reset(); }

    void graphicalPaintsBackColor_data();
    void graphicalPaintsBackColor();
    void standardIgnoresBackColor();
    void mouseDownMask_data();
    void mouseDownMask();
    void clickOnLeftReleaseOnly();
    void setFocus();

private:
    std::unique_ptr<TestFolder> m_folder;
};

void TestCommandButton::graphicalPaintsBackColor_data()
{
    QTest::addColumn<QString>("styleName");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<uint>("color");
    const QStringList styles = QStyleFactory::keys();
    for (const QString &style : styles) {
        for (const bool enabled : {true, false}) {
            for (const uint color : {0x00C000u, 0xFF8080u, 0xC0C0FFu}) {
                const QByteArray name
                    = QStringLiteral("%1 %2 %3")
                          .arg(style, enabled ? QStringLiteral("enabled") : QStringLiteral("disabled"))
                          .arg(color, 6, 16, QLatin1Char('0'))
                          .toUtf8();
                QTest::newRow(name.constData()) << style << enabled << color;
            }
        }
    }
}

void TestCommandButton::graphicalPaintsBackColor()
{
    QFETCH(QString, styleName);
    QFETCH(bool, enabled);
    QFETCH(uint, color);
    std::unique_ptr<QStyle> style(QStyleFactory::create(styleName));
    QVERIFY(style);
    CommandButton button(QStringLiteral("S"));
    button.setStyle(style.get());
    button.Place(0, 0, 2235, 375);
    button.SetGraphical(true);
    button.SetBackColor(forms::rgb(color));
    button.SetEnabled(enabled);
    const QImage image = button.grab().toImage();
    const QPoint sample(image.width() / 6, image.height() / 2);
    QCOMPARE(QColor(image.pixel(sample)), forms::rgb(color));
    // The colour follows a later change too.
    button.SetBackColor(forms::rgb(0x102030));
    QCOMPARE(QColor(button.grab().toImage().pixel(sample)), forms::rgb(0x102030));
}

void TestCommandButton::standardIgnoresBackColor()
{
    CommandButton button(QStringLiteral("Umlaute"));
    button.Place(0, 0, 3135, 375);
    button.SetBackColor(forms::rgb(0x00C000));
    QCOMPARE(button.BackColor(), forms::rgb(0x00C000));
    const QImage image = button.grab().toImage();
    QVERIFY(QColor(image.pixel(image.width() / 6, image.height() / 2)) != forms::rgb(0x00C000));
    // Turning it graphical shows the colour it already has.
    button.SetGraphical(true);
    const QImage graphical = button.grab().toImage();
    QCOMPARE(QColor(graphical.pixel(graphical.width() / 6, graphical.height() / 2)), forms::rgb(0x00C000));
    button.SetGraphical(false);
    const QImage standard = button.grab().toImage();
    QVERIFY(QColor(standard.pixel(standard.width() / 6, standard.height() / 2)) != forms::rgb(0x00C000));
}

void TestCommandButton::mouseDownMask_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("shift");
    QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers() << QPoint(2, 3) << 1 << 0;
    QTest::newRow("right") << Qt::RightButton << Qt::KeyboardModifiers() << QPoint(10, 4) << 2 << 0;
    QTest::newRow("middle") << Qt::MiddleButton << Qt::KeyboardModifiers() << QPoint(1, 1) << 4 << 0;
    QTest::newRow("shift left") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << QPoint(5, 5) << 1 << 1;
    QTest::newRow("ctrl right") << Qt::RightButton << Qt::KeyboardModifiers(Qt::ControlModifier) << QPoint(1, 2) << 2
                                << 2;
}

void TestCommandButton::mouseDownMask()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QPoint, at);
    QFETCH(int, mask);
    QFETCH(int, shift);
    QWidget window;
    CommandButton command(QStringLiteral("HTML"), &window);
    command.Place(150, 150, 885, 375);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy downs(&command, &CommandButton::MouseDown);
    QTest::mousePress(&command, button, modifiers, at);
    QTest::mouseRelease(&command, button, modifiers, at);
    QCOMPARE(downs.count(), 1);
    QCOMPARE(downs.at(0).at(0).toInt(), mask);
    QCOMPARE(downs.at(0).at(1).toInt(), shift);
    QCOMPARE(downs.at(0).at(2).toDouble(), at.x() * 15.0);
    QCOMPARE(downs.at(0).at(3).toDouble(), at.y() * 15.0);
}

void TestCommandButton::clickOnLeftReleaseOnly()
{
    QWidget window;
    CommandButton command(QStringLiteral("CSS"), &window);
    command.Place(0, 0, 705, 375);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy clicks(&command, &CommandButton::Click);
    QTest::mousePress(&command, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicks.count(), 0);
    QTest::mouseRelease(&command, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicks.count(), 1);
    QTest::mouseClick(&command, Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(clicks.count(), 1);
    command.SetEnabled(false);
    QVERIFY(!command.Enabled());
    QTest::mouseClick(&command, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicks.count(), 1);
}

void TestCommandButton::setFocus()
{
    QWidget window;
    CommandButton dummy(QString(), &window);
    dummy.Place(18120, -1080, 195, 195);
    CommandButton other(QStringLiteral("x"), &window);
    QVERIFY(!dummy.SetFocus());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(other.SetFocus());
    // Outside the visible area it still takes the focus.
    QVERIFY(dummy.SetFocus());
    QCOMPARE(window.focusWidget(), &dummy);
    other.SetEnabled(false);
    QVERIFY(!other.SetFocus());
    QCOMPARE(window.focusWidget(), &dummy);
}

QTEST_MAIN(TestCommandButton)
#include "tst_commandbutton.moc"
