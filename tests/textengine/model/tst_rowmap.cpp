#include "tests/textengine/model/editrows.h"
#include "textengine/model/rowmap.h"
#include "textengine/model/textcontent.h"

#include <QTest>

using textengine::Row;
using textengine::RowMap;
using textengine::TextContent;

namespace {

// Rows of ten characters; estimates of eight, so that laying out a line
// changes the count and the map must follow.
class TenColumns : public textengine::RowWrapper
{
public:
    std::vector<int> wrap(int from, int to, Qt::LayoutDirection, quint64) override
    {
        ++wrapped;
        std::vector<int> rows{0};
        for (int start = 10; start < to - from; start += 10)
            rows.push_back(start);
        return rows;
    }
    int estimate(int length) const override { return std::max(1, (length + 7) / 8); }
    int wrapped = 0;
};

// A long line of words, so that segment cuts find blanks.
QString words(int length)
{
    QString text;
    for (int i = 0; text.size() < length; ++i)
        text += QString(1 + i % 7, QChar(u'a' + i % 26)) + u' ';
    return text.left(length);
}

// Every row's start, walking the whole text row by row.
QList<int> rowStarts(RowMap &map)
{
    QList<int> starts;
    Row row;
    do {
        starts << map.rowStart(row);
    } while (map.next(row));
    return starts;
}

} // namespace

class TestRowMap : public QObject
{
    Q_OBJECT

private slots:
    void onlyWhatIsAskedForIsLaidOut();
    void rowsAreNumberedThroughSegments();
    void editsKeepTheRowsRight_data();
    void editsKeepTheRowsRight();
    void longLineEditsKeepSegments_data();
    void longLineEditsKeepSegments();
};

void TestRowMap::onlyWhatIsAskedForIsLaidOut()
{
    TextContent content;
    QString text;
    for (int i = 0; i < 10000; ++i)
        text += QStringLiteral("zeile %1 mit etwas text\r\n").arg(i);
    content.setText(text);
    TenColumns wrapper;
    RowMap map(content, wrapper);
    map.reset();
    QCOMPARE(wrapper.wrapped, 0);
    const int estimated = map.totalRows();
    const Row row = map.rowOf(content.lineStart(5000) + 12);
    QCOMPARE(wrapper.wrapped, 1);
    QCOMPARE(row.line, 5000);
    QCOMPARE(row.index, 1);
    QCOMPARE(map.rowStart(row), content.lineStart(5000) + 10);
    // The laid-out line now counts its real rows, the rest their estimate.
    QCOMPARE(map.totalRows(), estimated - 4 + 3);
}

void TestRowMap::rowsAreNumberedThroughSegments()
{
    TextContent content;
    content.setText(QStringLiteral("eins\r\n") + words(40000) + QStringLiteral("\r\nende"));
    TenColumns wrapper;
    RowMap map(content, wrapper);
    map.reset();
    const int segments = map.segmentCount(1);
    for (int i = 0; i < segments; ++i)
        map.segment(1, i);
    Row row;
    int number = 0;
    do {
        QCOMPARE(map.rowNumber(row), number);
        QCOMPARE(map.rowAt(number), row);
        ++number;
    } while (map.next(row));
    QCOMPARE(number, map.totalRows());
    // Walking back visits the same rows.
    while (map.previous(row))
        QCOMPARE(map.rowNumber(row), --number - 1);
    QCOMPARE(map.distance(Row{0, 0, 0}, Row{2, 0, 0}, 1000), map.totalRows() - 1);
    QVERIFY(map.distance(Row{0, 0, 0}, Row{2, 0, 0}, 3) > 1000000);
}

void TestRowMap::editsKeepTheRowsRight_data()
{
    addEditRows();
}

void TestRowMap::editsKeepTheRowsRight()
{
    QFETCH(QString, text);
    QFETCH(std::vector<Edit>, edits);
    TextContent content;
    content.setText(text);
    TenColumns wrapper;
    RowMap map(content, wrapper);
    map.reset();
    rowStarts(map);
    for (const Edit &edit : edits) {
        const int first = content.lineOf(edit.position);
        const int last = content.lineOf(edit.position + edit.removed);
        content.replace(edit.position, edit.removed, edit.inserted);
        map.edited(edit.position, edit.removed, static_cast<int>(edit.inserted.size()), first, last);
        // The same rows as a map made afresh for the text as it is now.
        TenColumns freshWrapper;
        RowMap fresh(content, freshWrapper);
        fresh.reset();
        QCOMPARE(rowStarts(map), rowStarts(fresh));
        QCOMPARE(map.totalRows(), fresh.totalRows());
    }
}

void TestRowMap::longLineEditsKeepSegments_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("inserted");
    QTest::newRow("letter at the start") << 0 << 0 << QStringLiteral("x");
    QTest::newRow("word in the middle") << 30001 << 0 << QStringLiteral("longerword ");
    QTest::newRow("delete across segments") << 5000 << 20000 << QString();
    QTest::newRow("paste longer than a segment") << 100 << 0 << words(30000);
    QTest::newRow("line break in the middle") << 25000 << 0 << QStringLiteral("\r\n");
    QTest::newRow("almost everything deleted") << 10 << 59980 << QString();
}

void TestRowMap::longLineEditsKeepSegments()
{
    QFETCH(int, position);
    QFETCH(int, removed);
    QFETCH(QString, inserted);
    TextContent content;
    content.setText(words(60000));
    TenColumns wrapper;
    RowMap map(content, wrapper);
    map.reset();
    rowStarts(map);
    const int first = content.lineOf(position);
    const int last = content.lineOf(position + removed);
    content.replace(position, removed, inserted);
    map.edited(position, removed, static_cast<int>(inserted.size()), first, last);
    for (int line = 0; line < content.lineCount(); ++line) {
        // Segments still cover their line, none grew beyond the limit, and
        // every row of a segment is where its wrapper put it.
        int previous = content.lineStart(line);
        for (int i = 0; i < map.segmentCount(line); ++i) {
            const textengine::Segment segment = map.segment(line, i);
            QCOMPARE(segment.from, previous);
            QVERIFY(segment.to - segment.from <= RowMap::longLine);
            QVERIFY(segment.to > segment.from || map.segmentCount(line) == 1);
            // Each cut follows a blank.
            QVERIFY(i == 0 || content.at(segment.from - 1) == u' ');
            QCOMPARE(*segment.rows, wrapper.wrap(segment.from, segment.to, Qt::LeftToRight, 0));
            previous = segment.to;
        }
        QCOMPARE(previous, content.lineEnd(line));
    }
    QCOMPARE(map.totalRows(), int(rowStarts(map).size()));
}

QTEST_MAIN(TestRowMap)
#include "tst_rowmap.moc"
