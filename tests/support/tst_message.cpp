#include "support/message.h"
#include "tests/testsupport.h"

#include <QTest>

using namespace support;

class TestMessage : public QObject
{
    Q_OBJECT

private slots:
    void showMessage_data();
    void showMessage();
};

void TestMessage::showMessage_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("shownTitle");

    QTest::newRow("information") << 1 << "Eigen" << true << 64 << "Eigen";
    QTest::newRow("exclamation") << 2 << "Eigen" << true << 48 << "Eigen";
    QTest::newRow("critical") << 3 << "Eigen" << true << 16 << "Eigen";
    QTest::newRow("question") << 4 << "Eigen" << true << 32 << "Eigen";
    QTest::newRow("empty title takes the default") << 2 << "" << true << 48 << "Vorgabe";
    QTest::newRow("kind 0 shows nothing") << 0 << "Eigen" << false << 0 << "";
    QTest::newRow("kind 5 shows nothing") << 5 << "Eigen" << false << 0 << "";
    QTest::newRow("negative kind shows nothing") << -1 << "" << false << 0 << "";
}

void TestMessage::showMessage()
{
    QFETCH(int, kind);
    QFETCH(QString, title);
    QFETCH(bool, shown);
    QFETCH(int, style);
    QFETCH(QString, shownTitle);

    SetDefaultMessageTitle(QStringLiteral("Vorgabe"));
    testsupport::MessageCapture messages;
    ShowMessage(QStringLiteral("Hinweis "), kind, title);

    QCOMPARE(messages.messages().size(), shown ? 1 : 0);
    if (shown) {
        QCOMPARE(messages.messages().first().prompt, QStringLiteral("Hinweis "));
        QCOMPARE(messages.messages().first().style, style);
        QCOMPARE(messages.messages().first().title, shownTitle);
    }
}

QTEST_GUILESS_MAIN(TestMessage)
#include "tst_message.moc"
