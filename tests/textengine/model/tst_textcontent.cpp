#include "textengine/model/crlf.h"
#include "textengine/model/segmentcut.h"
#include "textengine/model/textcontent.h"

#include <QTest>

using textengine::TextContent;

class TestTextContent : public QObject
{
    Q_OBJECT

private slots:
    void lineEnds_data();
    void lineEnds();
    void normalizedBreaks_data();
    void normalizedBreaks();
    void caretSteps_data();
    void caretSteps();
    void snapGoesToClusterStart_data();
    void snapGoesToClusterStart();
    void pathologicalClusterIsSteppedThrough();
    void lineDirection_data();
    void lineDirection();
    void segmentCuts_data();
    void segmentCuts();
    void outOfRangeEditsAreClamped_data();
    void outOfRangeEditsAreClamped();
};

void TestTextContent::lineEnds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("ends");
    QTest::addColumn<bool>("onlyCrLf");
    QTest::newRow("CR LF") << QStringLiteral("ab\r\nc") << QList<int>{2, 5} << true;
    QTest::newRow("lone LF") << QStringLiteral("ab\nc") << QList<int>{2, 4} << false;
    QTest::newRow("lone CR") << QStringLiteral("ab\rc") << QList<int>{2, 4} << false;
    QTest::newRow("CR CR LF") << QStringLiteral("a\r\r\nb") << QList<int>{1, 2, 5} << false;
    QTest::newRow("LF CR") << QStringLiteral("a\n\rb") << QList<int>{1, 2, 4} << false;
    QTest::newRow("trailing break") << QStringLiteral("a\r\n") << QList<int>{1, 3} << true;
    QTest::newRow("separators are characters") << QStringLiteral("a\u2029b\u2028c") << QList<int>{5} << true;
}

void TestTextContent::lineEnds()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, ends);
    QFETCH(bool, onlyCrLf);
    TextContent content;
    content.setText(text);
    QCOMPARE(content.lineCount(), ends.size());
    for (int line = 0; line < content.lineCount(); ++line)
        QCOMPARE(content.lineEnd(line), ends.at(line));
    QCOMPARE(content.onlyCrLf(), onlyCrLf);
}

void TestTextContent::normalizedBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("mixed") << QStringLiteral("a\nb\rc\r\nd") << QStringLiteral("a\r\nb\r\nc\r\nd");
    QTest::newRow("CR CR LF") << QStringLiteral("a\r\r\nb") << QStringLiteral("a\r\n\r\nb");
    QTest::newRow("LF CR") << QStringLiteral("a\n\rb") << QStringLiteral("a\r\n\r\nb");
    QTest::newRow("trailing lone CR") << QStringLiteral("a\r") << QStringLiteral("a\r\n");
    QTest::newRow("already CR LF") << QStringLiteral("a\r\nb") << QStringLiteral("a\r\nb");
}

void TestTextContent::normalizedBreaks()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    TextContent content;
    content.setText(text);
    content.normalizeLineBreaks();
    QCOMPARE(content.text(), expected);
    QVERIFY(content.onlyCrLf());
    QCOMPARE(textengine::toCrLf(text, {.loneCarriageReturns = true, .loneLineFeeds = true}), expected);
    // The same text pasted into a text that had only CR LF.
    content.setText(QStringLiteral("\r\n"));
    content.replace(2, 0, text);
    content.normalizeLineBreaks();
    QCOMPARE(content.text(), QStringLiteral("\r\n") + expected);
}

void TestTextContent::caretSteps_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("stops");
    QTest::newRow("CR LF is one step") << QStringLiteral("a\r\nb") << QList<int>{0, 1, 3, 4};
    QTest::newRow("surrogate pair is one step") << QStringLiteral("x\U0001F600y") << QList<int>{0, 1, 3, 4};
    QTest::newRow("combining mark goes with its letter") << QStringLiteral("e\u0301x") << QList<int>{0, 2, 3};
    QTest::newRow("lone CR and LF") << QStringLiteral("a\rb\nc") << QList<int>{0, 1, 2, 3, 4, 5};
    QTest::newRow("thumbs up with a skin tone") << QStringLiteral("a\U0001F44D\U0001F3FDb") << QList<int>{0, 1, 5, 6};
    QTest::newRow("two flags") << QStringLiteral("\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7") << QList<int>{0, 4, 8};
    QTest::newRow("family joined by ZWJ")
        << QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467!") << QList<int>{0, 8, 9};
    QTest::newRow("Devanagari vowel sign") << QStringLiteral("\u0915\u093F\u0924") << QList<int>{0, 2, 3};
    QTest::newRow("Hangul syllable from jamo") << QStringLiteral("\u1100\u1161\u11A8x") << QList<int>{0, 3, 4};
    QTest::newRow("lone surrogates are steps of their own")
        << QStringLiteral("a") + QChar(0xd800) + QLatin1Char('b') + QChar(0xdc00) << QList<int>{0, 1, 2, 3, 4};
    QList<int> flags;
    for (int p = 0; p <= 1200; p += 4)
        flags << p;
    QTest::newRow("flags beyond the window") << QStringLiteral("\U0001F1E9\U0001F1EA").repeated(300) << flags;
    QTest::newRow("prepended sign before a blank") << QStringLiteral("q\u0600 a") << QList<int>{0, 1, 3, 4};
    QTest::newRow("emoji before Devanagari") << QStringLiteral("\U0001F600\u0915") << QList<int>{0, 2, 3};
    QTest::newRow("flags after an emoji")
        << QStringLiteral("\U0001F1E9\U0001F600\U0001F1E9\U0001F1EA") << QList<int>{0, 2, 4, 8};
    QTest::newRow("cluster beyond the window")
        << QStringLiteral("e") + QString(2000, QChar(0x0301)) << QList<int>{0, 2001};
}

void TestTextContent::caretSteps()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, stops);
    TextContent content;
    content.setText(text);
    QList<int> forward{0};
    for (int p = 0; p < content.size();)
        forward.append(p = content.nextPosition(p));
    QCOMPARE(forward, stops);
    QList<int> backward{content.size()};
    for (int p = content.size(); p > 0;)
        backward.prepend(p = content.previousPosition(p));
    QCOMPARE(backward, stops);
    // Every position snaps to the stops around it.
    for (int i = 1; i < stops.size(); ++i) {
        for (int p = stops[i - 1] + 1; p < stops[i]; ++p) {
            QCOMPARE(content.snap(p), stops[i - 1]);
            QCOMPARE(content.snapForward(p), stops[i]);
        }
    }
}

void TestTextContent::snapGoesToClusterStart_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("snapped");
    const QString thumb = QStringLiteral("a\U0001F44D\U0001F3FDb");
    QTest::newRow("inside the surrogate pair") << thumb << 2 << 1;
    QTest::newRow("between thumb and skin tone") << thumb << 3 << 1;
    QTest::newRow("inside the skin tone") << thumb << 4 << 1;
    QTest::newRow("between two flags") << QStringLiteral("\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7") << 4 << 4;
    QTest::newRow("between the letters of a flag") << QStringLiteral("\U0001F1E9\U0001F1EA") << 2 << 0;
    QTest::newRow("between CR and LF") << QStringLiteral("a\r\nb") << 2 << 1;
    QTest::newRow("past the end") << QStringLiteral("ab") << 9 << 2;
    QTest::newRow("before the start") << QStringLiteral("ab") << -3 << 0;
}

void TestTextContent::snapGoesToClusterStart()
{
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(int, snapped);
    TextContent content;
    content.setText(text);
    QCOMPARE(content.snap(position), snapped);
}

void TestTextContent::pathologicalClusterIsSteppedThrough()
{
    // One letter with ten thousand combining marks: every step is bounded,
    // and the caret still gets from one end to the other.
    TextContent content;
    content.setText(QStringLiteral("x a") + QString(10000, QChar(0x0301)) + QStringLiteral(" b"));
    int steps = 0;
    for (int p = 0; p < content.size(); p = content.nextPosition(p))
        QVERIFY(++steps < 100);
    for (int p = content.size(); p > 0; p = content.previousPosition(p))
        QVERIFY(++steps < 200);
    QCOMPARE(content.nextPosition(1), 2);
    QVERIFY(content.nextPosition(2) > 1000);
}

void TestTextContent::lineDirection_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<Qt::LayoutDirection>("direction");
    QTest::newRow("German") << QStringLiteral("Grüße") << Qt::LeftToRight;
    QTest::newRow("Hebrew, then Latin") << QStringLiteral("שלום abc") << Qt::RightToLeft;
    QTest::newRow("Arabic after digits and blanks") << QStringLiteral("  42 مرحبا") << Qt::RightToLeft;
    QTest::newRow("no strong character") << QStringLiteral("12 + 3 = 15") << Qt::LeftToRight;
    QTest::newRow("empty") << QString() << Qt::LeftToRight;
    QTest::newRow("isolated Hebrew is skipped") << QStringLiteral("\u2067שלום\u2069 abc") << Qt::LeftToRight;
    QTest::newRow("only the line counts") << QStringLiteral("abc\r\nשלום") << Qt::LeftToRight;
    QTest::newRow("a lone surrogate is no letter") << QChar(0xdc4d) + QStringLiteral("\u0627") << Qt::RightToLeft;
}

void TestTextContent::lineDirection()
{
    QFETCH(QString, line);
    QFETCH(Qt::LayoutDirection, direction);
    TextContent content;
    content.setText(line);
    QCOMPARE(content.lineDirection(0), direction);
}

void TestTextContent::segmentCuts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("cut");
    QTest::newRow("after a blank before a letter") << QStringLiteral("aaaa bbbb cccc") << 3 << 12 << 5;
    QTest::newRow("not where the direction changes") << QStringLiteral("aaa שלום עולם bbb") << 2 << 16 << 9;
    QTest::newRow("any blank when no letter follows one") << QStringLiteral("aaa 12 \U0001F44D") << 2 << 9 << 4;
    QTest::newRow("no blank: a cluster boundary at the end")
        << QStringLiteral("aaa\U0001F44D\U0001F3FDbbb") << 1 << 4 << 7;
    QTest::newRow("not before a sound mark")
        << QString(4100, u'x') + QStringLiteral(" \uFF9E") + QString(15000, u'x') << 4096 << 8192 << 8192;
}

void TestTextContent::segmentCuts()
{
    QFETCH(QString, text);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, cut);
    TextContent content;
    content.setText(text);
    QCOMPARE(textengine::segmentCut(content, from, to), cut);
}

void TestTextContent::outOfRangeEditsAreClamped_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("before the start") << -3 << 5 << QStringLiteral("\nd\ne\nf");
    QTest::newRow("beyond the end") << 8 << 99 << QStringLiteral("a\nb\nc\nd\n");
}

void TestTextContent::outOfRangeEditsAreClamped()
{
    QFETCH(int, position);
    QFETCH(int, removed);
    QFETCH(QString, expected);
    TextContent content;
    content.setText(QStringLiteral("a\nb\nc\nd\ne\nf"));
    content.replace(position, removed, QString());
    TextContent fresh;
    fresh.setText(expected);
    QCOMPARE(content.text(), expected);
    QCOMPARE(content.lineCount(), fresh.lineCount());
    for (int line = 0; line < content.lineCount(); ++line)
        QCOMPARE(content.lineStart(line), fresh.lineStart(line));
}

QTEST_MAIN(TestTextContent)
#include "tst_textcontent.moc"
