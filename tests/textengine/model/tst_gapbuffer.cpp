#include "tests/textengine/model/editrows.h"
#include "textengine/model/gapbuffer.h"

#include <QTest>

using textengine::GapBuffer;

class TestGapBuffer : public QObject
{
    Q_OBJECT

private slots:
    void editsMatchQString_data();
    void editsMatchQString();
    void assignedTextIsShared();
};

void TestGapBuffer::editsMatchQString_data()
{
    addEditRows();
}

void TestGapBuffer::editsMatchQString()
{
    QFETCH(QString, text);
    QFETCH(std::vector<Edit>, edits);
    GapBuffer buffer;
    buffer.assign(text);
    QString expected = text;
    for (const Edit &edit : edits) {
        buffer.replace(edit.position, edit.removed, edit.inserted);
        expected.replace(edit.position, edit.removed, edit.inserted);
        QCOMPARE(buffer.size(), expected.size());
        QCOMPARE(buffer.text(), expected);
        QVERIFY(buffer.equals(expected));
        QVERIFY(!buffer.equals(expected + u'!'));
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(buffer.at(i), expected.at(i));
        QCOMPARE(buffer.mid(1, 3), expected.mid(1, 3));
    }
}

void TestGapBuffer::assignedTextIsShared()
{
    const QString text(1000, u'a');
    GapBuffer buffer;
    buffer.assign(text);
    QCOMPARE(buffer.text().constData(), text.constData());
    buffer.replace(500, 0, QStringLiteral("b"));
    // The caller's string stays as it was.
    QCOMPARE(text, QString(1000, u'a'));
    QCOMPARE(buffer.text().at(500), QChar(u'b'));
}

QTEST_MAIN(TestGapBuffer)
#include "tst_gapbuffer.moc"
