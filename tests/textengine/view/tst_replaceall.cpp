#include "tests/textengine/view/shownview.h"
#include "textengine/view/textview.h"

#include <QSignalSpy>
#include <QTest>

using textengine::Replacements;

namespace {

struct Range
{
    int position;
    int length;
    QString text;
};

} // namespace

Q_DECLARE_METATYPE(QList<Range>)

class TestReplaceAll : public QObject
{
    Q_OBJECT

private slots:
    void oneStepWithUndoAndRedo_data();
    void oneStepWithUndoAndRedo();
    void manyRangesInABigText();
    void marksArePainted();
};

void TestReplaceAll::oneStepWithUndoAndRedo_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<Range>>("ranges");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("anchorAfter");
    QTest::addColumn<int>("caretAfter");
    QTest::newRow("words") << QStringLiteral("ab ab ab") << QList<Range>{{0, 2, "xyz"}, {6, 2, "q"}} << 3 << 5
                           << QStringLiteral("xyz ab q") << 4 << 6;
    QTest::newRow("inserted at line starts") << QStringLiteral("a\r\nb") << QList<Range>{{0, 0, "> "}, {3, 0, "> "}}
                                             << 4 << 4 << QStringLiteral("> a\r\n> b") << 8 << 8;
    QTest::newRow("selection over the ranges") << QStringLiteral("ab ab ab") << QList<Range>{{3, 2, "x"}, {6, 2, "y"}}
                                               << 3 << 8 << QStringLiteral("ab x y") << 3 << 6;
    QTest::newRow("lone LF made CR LF first")
        << QStringLiteral("a\nb") << QList<Range>{{2, 1, "B"}} << 0 << 0 << QStringLiteral("a\r\nB") << 0 << 0;
    QTest::newRow("line break in the new text")
        << QStringLiteral("ab") << QList<Range>{{1, 0, "\n"}} << 2 << 2 << QStringLiteral("a\r\nb") << 4 << 4;
}

void TestReplaceAll::oneStepWithUndoAndRedo()
{
    QFETCH(QString, text);
    QFETCH(QList<Range>, ranges);
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QFETCH(QString, expected);
    QFETCH(int, anchorAfter);
    QFETCH(int, caretAfter);
    ShownView shown;
    textengine::TextView &view = shown.view;
    view.setText(text);
    view.select(anchor, caret);
    QSignalSpy edited(&view, &textengine::TextView::edited);
    Replacements replacements;
    for (const Range &range : ranges)
        replacements.add(range.position, range.length, range.text);
    view.replaceAll(replacements);
    QCOMPARE(view.text(), expected);
    QCOMPARE(edited.count(), 1);
    QCOMPARE(view.anchorPosition(), anchorAfter);
    QCOMPARE(view.caretPosition(), caretAfter);
    // The first edit makes lone line breaks CR LF; undo keeps that.
    const QString undone = QString(text).replace(QRegularExpression(QStringLiteral("\r?\n")), QStringLiteral("\r\n"));
    view.undo();
    QCOMPARE(view.text(), undone);
    QCOMPARE(view.anchorPosition(), anchor);
    QCOMPARE(view.caretPosition(), caret);
    QCOMPARE(edited.count(), 2);
    view.redo();
    QCOMPARE(view.text(), expected);
    QCOMPARE(view.caretPosition(), caretAfter);
    view.undo();
    view.undo();
    QCOMPARE(view.text(), undone);
}

// Every tenth character of some megabytes of lines, replaced in one step
// and taken back, as the same edits made one by one on a string give.
void TestReplaceAll::manyRangesInABigText()
{
    ShownView shown;
    textengine::TextView &view = shown.view;
    QString text;
    for (int i = 0; text.size() < 2'000'000; ++i)
        text += QStringLiteral("Zeile %1: Grüße aus Köln\r\n").arg(i, 6, 10, QLatin1Char('0'));
    view.setText(text);
    view.setCaretPosition(1'000'000);
    view.insertPlainText(QStringLiteral("x")); // the buffer's hole in the middle
    const QString before = view.text();
    Replacements replacements;
    QString expected;
    int copied = 0;
    for (int at = 3; at + 2 < before.size(); at += 10) {
        if (before.at(at) == u'\r' || before.at(at) == u'\n' || before.at(at + 1) == u'\n')
            continue;
        const QString inserted = at % 20 == 3 ? QStringLiteral("[%1]").arg(at) : QString();
        replacements.add(at, 1, inserted);
        expected.append(QStringView(before).sliced(copied, at - copied));
        expected += inserted;
        copied = at + 1;
    }
    expected.append(QStringView(before).sliced(copied));
    view.replaceAll(replacements);
    QVERIFY(view.text() == expected);
    QCOMPARE(view.lineCount(), int(expected.count(u'\n')) + 1);
    view.undo();
    QVERIFY(view.text() == before);
    view.redo();
    QVERIFY(view.text() == expected);
}

void TestReplaceAll::marksArePainted()
{
    ShownView shown;
    textengine::TextView &view = shown.view;
    view.setText(QStringLiteral("abc defgh"));
    QList<std::pair<int, int>> asked;
    view.setMarkSource([&asked](int from, int to) {
        asked << std::pair{from, to};
        QTextLayout::FormatRange mark;
        mark.start = 4;
        mark.length = 5;
        mark.format.setBackground(Qt::red);
        return QList<QTextLayout::FormatRange>{mark};
    });
    const QImage image = view.viewport()->grab().toImage();
    QVERIFY(!asked.isEmpty());
    QCOMPARE(asked.first(), (std::pair{0, 9}));
    const QRect marked = view.caretRectAt(6).translated(-view.viewport()->pos());
    const QRect plain = view.caretRectAt(1).translated(-view.viewport()->pos());
    QCOMPARE(image.pixelColor(marked.left() + 1, marked.bottom() - 1), QColor(Qt::red));
    QVERIFY(image.pixelColor(plain.left() + 1, plain.bottom() - 1) != QColor(Qt::red));
}

QTEST_MAIN(TestReplaceAll)
#include "tst_replaceall.moc"
