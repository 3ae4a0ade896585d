#include "tests/textengine/model/editrows.h"
#include "textengine/model/gapbuffer.h"
#include "textengine/model/lineindex.h"

#include <QTest>

using textengine::GapBuffer;
using textengine::LineIndex;

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

class TestLineIndex : public QObject
{
    Q_OBJECT

private slots:
    void lineIndex_data();
    void lineIndex();
};

void TestLineIndex::lineIndex_data()
{
    addEditRows();
}

void TestLineIndex::lineIndex()
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

QTEST_MAIN(TestLineIndex)
#include "tst_lineindex.moc"
