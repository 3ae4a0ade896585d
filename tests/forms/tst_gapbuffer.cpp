#include "forms/gapbuffer.h"
#include "forms/lineindex.h"
#include "forms/rowcounter.h"
#include "forms/textcontent.h"

#include <QTest>
#include <vector>

using forms::GapBuffer;
using forms::LineIndex;
using forms::RowCounter;
using forms::TextContent;

// One edit: `removed` characters at `position` replaced by `inserted`.
struct Edit
{
    int position;
    int removed;
    QString inserted;
};
Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(std::vector<Edit>)

namespace {

// Line starts of a text found the slow, obvious way.
std::vector<int> expectedStarts(const QString &text)
{
    std::vector<int> starts{0};
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n')))
            starts.push_back(i + 1);
    }
    return starts;
}

std::vector<int> startsOf(const LineIndex &index)
{
    std::vector<int> starts;
    for (int line = 0; line < index.count(); ++line)
        starts.push_back(index.start(line));
    return starts;
}

} // namespace

class TestGapBuffer : public QObject
{
    Q_OBJECT

private slots:
    void editsMatchQString_data();
    void editsMatchQString();
    void assignedTextIsShared();
    void lineIndex_data();
    void lineIndex();
    void lineEnds_data();
    void lineEnds();
    void normalizedBreaks_data();
    void normalizedBreaks();
    void caretSteps_data();
    void caretSteps();
    void rowCounter_data();
    void rowCounter();
};

static void addEditRows()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::vector<Edit>>("edits");
    const QString lines = QStringLiteral("ab\r\ncd\r\nef");
    QTest::newRow("insert at start") << lines << std::vector<Edit>{{0, 0, QStringLiteral("X")}};
    QTest::newRow("insert in the middle") << lines << std::vector<Edit>{{5, 0, QStringLiteral("XY")}};
    QTest::newRow("insert at end") << lines << std::vector<Edit>{{10, 0, QStringLiteral("\r\nZ")}};
    QTest::newRow("delete at start") << lines << std::vector<Edit>{{0, 2, QString()}};
    QTest::newRow("delete a CR LF") << lines << std::vector<Edit>{{2, 2, QString()}};
    QTest::newRow("delete at end") << lines << std::vector<Edit>{{8, 2, QString()}};
    QTest::newRow("LF after a lone CR joins the pair")
        << QStringLiteral("a\rb") << std::vector<Edit>{{2, 0, QStringLiteral("\n")}};
    QTest::newRow("CR before a lone LF joins the pair")
        << QStringLiteral("a\nb") << std::vector<Edit>{{1, 0, QStringLiteral("\r")}};
    QTest::newRow("text between CR and LF splits the pair")
        << QStringLiteral("a\r\nb") << std::vector<Edit>{{2, 0, QStringLiteral("x")}};
    QTest::newRow("deleting the LF leaves a lone CR")
        << QStringLiteral("a\r\nb") << std::vector<Edit>{{2, 1, QString()}};
    QTest::newRow("edits far apart move the gap")
        << lines
        << std::vector<Edit>{{0, 0, QStringLiteral("1")}, {11, 0, QStringLiteral("2")}, {1, 3, QStringLiteral("\r")},
                             {3, 0, QStringLiteral("\n\n")}, {0, 10, QString()}};
    QTest::newRow("edit bigger than the gap")
        << QStringLiteral("x") << std::vector<Edit>{{1, 0, QString(10000, u'y') + QStringLiteral("\r\n")}, {5, 9000, QString()}};
    QTest::newRow("empty text") << QString() << std::vector<Edit>{{0, 0, QStringLiteral("\r\n\r\n")}, {0, 4, QString()}};
}

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

void TestGapBuffer::lineIndex_data()
{
    addEditRows();
}

void TestGapBuffer::lineIndex()
{
    QFETCH(QString, text);
    QFETCH(std::vector<Edit>, edits);
    GapBuffer buffer;
    buffer.assign(text);
    LineIndex index;
    index.rebuild(buffer);
    QString expected = text;
    QCOMPARE(startsOf(index), expectedStarts(expected));
    for (const Edit &edit : edits) {
        buffer.replace(edit.position, edit.removed, edit.inserted);
        expected.replace(edit.position, edit.removed, edit.inserted);
        index.update(buffer, edit.position, edit.removed, static_cast<int>(edit.inserted.size()));
        QCOMPARE(startsOf(index), expectedStarts(expected));
    }
    for (int position = 0; position <= expected.size(); ++position) {
        const int line = index.lineOf(position);
        QVERIFY(index.start(line) <= position);
        QVERIFY(line + 1 == index.count() || index.start(line + 1) > position);
    }
}

void TestGapBuffer::lineEnds_data()
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

void TestGapBuffer::lineEnds()
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

void TestGapBuffer::normalizedBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("mixed") << QStringLiteral("a\nb\rc\r\nd") << QStringLiteral("a\r\nb\r\nc\r\nd");
    QTest::newRow("CR CR LF") << QStringLiteral("a\r\r\nb") << QStringLiteral("a\r\n\r\nb");
    QTest::newRow("LF CR") << QStringLiteral("a\n\rb") << QStringLiteral("a\r\n\r\nb");
    QTest::newRow("trailing lone CR") << QStringLiteral("a\r") << QStringLiteral("a\r\n");
    QTest::newRow("already CR LF") << QStringLiteral("a\r\nb") << QStringLiteral("a\r\nb");
}

void TestGapBuffer::normalizedBreaks()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    TextContent content;
    content.setText(text);
    content.normalizeLineBreaks();
    QCOMPARE(content.text(), expected);
    QVERIFY(content.onlyCrLf());
    QCOMPARE(forms::withCrLf(text), expected);
}

void TestGapBuffer::caretSteps_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("stops");
    QTest::newRow("CR LF is one step") << QStringLiteral("a\r\nb") << QList<int>{0, 1, 3, 4};
    QTest::newRow("surrogate pair is one step") << QStringLiteral("x\U0001F600y") << QList<int>{0, 1, 3, 4};
    QTest::newRow("combining mark goes with its letter") << QStringLiteral("e\u0301x") << QList<int>{0, 2, 3};
    QTest::newRow("lone CR and LF") << QStringLiteral("a\rb\nc") << QList<int>{0, 1, 2, 3, 4, 5};
}

void TestGapBuffer::caretSteps()
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
}

void TestGapBuffer::rowCounter_data()
{
    QTest::addColumn<QList<int>>("counts");
    QTest::newRow("one line") << QList<int>{3};
    QTest::newRow("uneven lines") << QList<int>{1, 4, 1, 1, 7, 2, 1};
    QTest::newRow("many lines") << [] {
        QList<int> counts;
        for (int i = 0; i < 1000; ++i)
            counts.append(1 + i % 5);
        return counts;
    }();
}

void TestGapBuffer::rowCounter()
{
    QFETCH(QList<int>, counts);
    std::vector<int> values(counts.begin(), counts.end());
    RowCounter counter;
    counter.assign(values);
    auto check = [&] {
        int row = 0;
        for (int line = 0; line < static_cast<int>(values.size()); ++line) {
            QCOMPARE(counter.firstRow(line), row);
            for (int r = 0; r < values[static_cast<size_t>(line)]; ++r)
                QCOMPARE(counter.lineAtRow(row + r), line);
            row += values[static_cast<size_t>(line)];
        }
        QCOMPARE(counter.total(), row);
    };
    check();
    counter.set(0, 9);
    values[0] = 9;
    check();
    counter.replace(0, 1, {2, 3});
    values.erase(values.begin());
    values.insert(values.begin(), {2, 3});
    check();
}

QTEST_MAIN(TestGapBuffer)
#include "tst_gapbuffer.moc"
