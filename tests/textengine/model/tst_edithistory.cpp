#include "textengine/model/edithistory.h"

#include <QTest>

using textengine::EditHistory;
using textengine::EditKind;
using textengine::EditStep;
using textengine::Selection;

namespace {

// Applies a step to a plain string, forwards or backwards.
void apply(QString &text, const EditStep &step, bool undo)
{
    const QString &out = undo ? step.inserted : step.removed;
    const QString &in = undo ? step.removed : step.inserted;
    text.replace(step.position, out.size(), in);
}

struct Stroke
{
    EditKind kind;
    int position;
    int removed;
    QString inserted;
};

} // namespace

Q_DECLARE_METATYPE(QList<Stroke>)

class TestEditHistory : public QObject
{
    Q_OBJECT

private slots:
    void runsBecomeOneStep_data();
    void runsBecomeOneStep();
    void undoBringsBackTheSelection();
    void oldStepsAreDroppedPastTheLimit();
};

void TestEditHistory::runsBecomeOneStep_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<Stroke>>("strokes");
    QTest::addColumn<int>("steps");
    const auto typing = EditKind::Typing;
    const auto back = EditKind::DeletingBack;
    const auto forward = EditKind::DeletingForward;
    const auto other = EditKind::Other;
    QTest::newRow("typed characters") << QStringLiteral("ab")
                                      << QList<Stroke>{{typing, 2, 0, "x"}, {typing, 3, 0, "y"}, {typing, 4, 0, "z"}}
                                      << 1;
    QTest::newRow("typing elsewhere starts a step")
        << QStringLiteral("ab") << QList<Stroke>{{typing, 2, 0, "x"}, {typing, 0, 0, "y"}} << 2;
    QTest::newRow("Backspace again and again")
        << QStringLiteral("abcd") << QList<Stroke>{{back, 3, 1, {}}, {back, 2, 1, {}}, {back, 1, 1, {}}} << 1;
    QTest::newRow("Delete again and again")
        << QStringLiteral("abcd") << QList<Stroke>{{forward, 1, 1, {}}, {forward, 1, 1, {}}, {forward, 1, 1, {}}} << 1;
    QTest::newRow("Backspace after typing is a new step")
        << QStringLiteral("ab") << QList<Stroke>{{typing, 2, 0, "x"}, {back, 2, 1, {}}} << 2;
    QTest::newRow("other edits stand alone")
        << QStringLiteral("ab") << QList<Stroke>{{other, 0, 0, "\r\n"}, {other, 2, 0, "\r\n"}} << 2;
    QTest::newRow("typing over a selection, then on")
        << QStringLiteral("abcd") << QList<Stroke>{{typing, 1, 2, "x"}, {typing, 2, 0, "y"}} << 1;
}

void TestEditHistory::runsBecomeOneStep()
{
    QFETCH(QString, text);
    QFETCH(QList<Stroke>, strokes);
    QFETCH(int, steps);
    EditHistory history;
    QString edited = text;
    for (const Stroke &stroke : strokes) {
        history.record({stroke.position, edited.mid(stroke.position, stroke.removed), stroke.inserted, {}, {}},
                       stroke.kind);
        edited.replace(stroke.position, stroke.removed, stroke.inserted);
    }
    QCOMPARE(int(history.steps()), steps);
    // Undoing everything gives the text back; redoing gives the edits back.
    QString text2 = edited;
    while (history.canUndo())
        apply(text2, history.undo(), true);
    QCOMPARE(text2, text);
    while (history.canRedo())
        apply(text2, history.redo(), false);
    QCOMPARE(text2, edited);
}

void TestEditHistory::undoBringsBackTheSelection()
{
    EditHistory history;
    history.record({2, QStringLiteral("cd"), QStringLiteral("x"), {4, 2}, {3, 3}}, EditKind::Typing);
    history.record({3, QString(), QStringLiteral("y"), {3, 3}, {4, 4}}, EditKind::Typing);
    const EditStep &step = history.undo();
    QCOMPARE(step.before, (Selection{4, 2}));
    QCOMPARE(step.inserted, QStringLiteral("xy"));
    QCOMPARE(history.redo().after, (Selection{4, 4}));
    // A new step forgets what could be redone.
    history.undo();
    history.record({0, QString(), QStringLiteral("z"), {}, {}}, EditKind::Other);
    QVERIFY(!history.canRedo());
}

void TestEditHistory::oldStepsAreDroppedPastTheLimit()
{
    const qsizetype limit = 64 * 1024;
    EditHistory history(limit);
    for (int i = 0; i < 100; ++i)
        history.record({0, QString(), QString(1000, u'a'), {}, {}}, EditKind::Other);
    QVERIFY(history.bytes() <= limit);
    QVERIFY(history.steps() > 10 && history.steps() < 100);
    // The newest step stays, however big.
    history.record({0, QString(), QString(200000, u'b'), {}, {}}, EditKind::Other);
    QCOMPARE(int(history.steps()), 1);
    QCOMPARE(history.undo().inserted.size(), 200000);
    QVERIFY(!history.canUndo());
}

QTEST_MAIN(TestEditHistory)
#include "tst_edithistory.moc"
