#include "forms/checkbox.h"
#include "tests/forms/testfolder.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

using forms::CheckBox;

class TestCheckBox : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_folder = std::make_unique<TestFolder>(); }
    void cleanup() { m_folder.reset(); }

    void setValue_data();
    void setValue();
    void userClick_data();
    void userClick();
    void spaceKeyClicks();
    void colors();

private:
    std::unique_ptr<TestFolder> m_folder;
};

void TestCheckBox::setValue_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("clicks");
    QTest::newRow("0 to 1") << 0 << 1 << true << 1 << 1;
    QTest::newRow("1 to 0") << 1 << 0 << true << 0 << 1;
    QTest::newRow("0 to 2") << 0 << 2 << true << 2 << 1;
    QTest::newRow("2 to 1") << 2 << 1 << true << 1 << 1;
    QTest::newRow("2 to 0") << 2 << 0 << true << 0 << 1;
    QTest::newRow("1 to 1") << 1 << 1 << true << 1 << 0;
    QTest::newRow("0 to 0") << 0 << 0 << true << 0 << 0;
    QTest::newRow("2 to 2") << 2 << 2 << true << 2 << 0;
    QTest::newRow("3 refused") << 0 << 3 << false << 0 << 0;
    QTest::newRow("-1 refused") << 1 << -1 << false << 1 << 0;
    QTest::newRow("large refused") << 2 << 256 << false << 2 << 0;
}

void TestCheckBox::setValue()
{
    QFETCH(int, start);
    QFETCH(int, value);
    QFETCH(bool, accepted);
    QFETCH(int, expected);
    QFETCH(int, clicks);
    CheckBox box(QStringLiteral("Dark"));
    QVERIFY(box.SetValue(start));
    QCOMPARE(box.Value(), start);
    QSignalSpy clicked(&box, &CheckBox::Click);
    QCOMPARE(box.SetValue(value), accepted);
    QCOMPARE(box.Value(), expected);
    QCOMPARE(clicked.count(), clicks);
}

void TestCheckBox::userClick_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("afterOne");
    QTest::addColumn<int>("afterTwo");
    QTest::newRow("off") << 0 << 1 << 0;
    QTest::newRow("on") << 1 << 0 << 1;
    QTest::newRow("greyed") << 2 << 0 << 1;
}

void TestCheckBox::userClick()
{
    QFETCH(int, start);
    QFETCH(int, afterOne);
    QFETCH(int, afterTwo);
    CheckBox box(QStringLiteral("Green"));
    box.Place(0, 0, 1500, 400);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.SetValue(start);
    QList<int> seen;
    connect(&box, &CheckBox::Click, this, [&] { seen.append(box.Value()); });
    QTest::mouseClick(&box, Qt::LeftButton, {}, box.rect().center());
    QCOMPARE(box.Value(), afterOne);
    QTest::mouseClick(&box, Qt::LeftButton, {}, box.rect().center());
    QCOMPARE(box.Value(), afterTwo);
    // Click comes after the value changed.
    QCOMPARE(seen, (QList<int>{afterOne, afterTwo}));
}

void TestCheckBox::spaceKeyClicks()
{
    CheckBox box(QStringLiteral("Green"));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QSignalSpy clicked(&box, &CheckBox::Click);
    QTest::keyClick(&box, Qt::Key_Space);
    QCOMPARE(box.Value(), 1);
    QCOMPARE(clicked.count(), 1);
}

void TestCheckBox::colors()
{
    CheckBox box;
    box.SetBackColor(forms::rgb(0xe0e0e0));
    box.SetForeColor(forms::rgb(0x000000));
    QCOMPARE(box.palette().color(QPalette::Window), QColor(0xe0, 0xe0, 0xe0));
    QCOMPARE(box.palette().color(QPalette::WindowText), QColor(0, 0, 0));
    QVERIFY(box.autoFillBackground());
}

QTEST_MAIN(TestCheckBox)
#include "tst_checkbox.moc"
