#include "textengine/model/rowcounter.h"

#include <QTest>
#include <vector>

using textengine::RowCounter;

class TestRowCounter : public QObject
{
    Q_OBJECT

private slots:
    void rowCounter_data();
    void rowCounter();
};

void TestRowCounter::rowCounter_data()
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

void TestRowCounter::rowCounter()
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

QTEST_MAIN(TestRowCounter)
#include "tst_rowcounter.moc"
