#include "tests/textengine/view/shownview.h"
#include "textengine/view/textview.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextCharFormat>

using textengine::TextView;

namespace {

// What an input method sends while composing: the text so far, underlined,
// with its own caret.
void compose(QWidget *view, const QString &preedit, int cursor)
{
    QTextCharFormat underline;
    underline.setFontUnderline(true);
    QInputMethodEvent event(preedit,
                            {{QInputMethodEvent::TextFormat, 0, int(preedit.size()), underline},
                             {QInputMethodEvent::Cursor, cursor, 1, QVariant()}});
    QGuiApplication::sendEvent(view, &event);
}

void commit(QWidget *view, const QString &text, int replaceFrom = 0, int replaceLength = 0)
{
    QInputMethodEvent event;
    event.setCommitString(text, replaceFrom, replaceLength);
    QGuiApplication::sendEvent(view, &event);
}

// Asks the view as the platform's input method does.
QVariant query(QWidget *view, Qt::InputMethodQuery property)
{
    QInputMethodQueryEvent event(property);
    QGuiApplication::sendEvent(view, &event);
    return event.value(property);
}

} // namespace

class TestTextInputMethod : public QObject
{
    Q_OBJECT

private slots:
    void commitsAndReplacements_data();
    void commitsAndReplacements();
    void preeditIsDrawnInline();
    void mousePressCommitsThePreedit();
    void surroundingTextKeepsPairsWhole_data();
    void surroundingTextKeepsPairsWhole();
    void caretMovesReachTheInputMethod();
};

void TestTextInputMethod::commitsAndReplacements_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("commit");
    QTest::addColumn<int>("replaceFrom");
    QTest::addColumn<int>("replaceLength");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("expectedCaret");
    const QString smile = QStringLiteral("ab\U0001F600cd");
    QTest::newRow("plain commit") << QStringLiteral("abcd") << 2 << QStringLiteral("日本") << 0 << 0
                                  << QStringLiteral("ab日本cd") << 4;
    QTest::newRow("commit replacing the word before")
        << QStringLiteral("abcd") << 2 << QStringLiteral("AB") << -2 << 2 << QStringLiteral("ABcd") << 2;
    QTest::newRow("replacement starting inside a pair takes all of it")
        << smile << 5 << QStringLiteral("x") << -2 << 2 << QStringLiteral("abxd") << 3;
    QTest::newRow("deleting half a pair deletes the pair")
        << smile << 4 << QString() << -1 << 1 << QStringLiteral("abcd") << 2;
}

void TestTextInputMethod::commitsAndReplacements()
{
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QString, commit);
    QFETCH(int, replaceFrom);
    QFETCH(int, replaceLength);
    QFETCH(QString, expected);
    QFETCH(int, expectedCaret);
    ShownView shown(QSize(400, 200));
    QVERIFY(shown.ok);
    shown.view.setText(text);
    shown.view.setCaretPosition(caret);
    ::commit(&shown.view, commit, replaceFrom, replaceLength);
    QCOMPARE(shown.view.text(), expected);
    QCOMPARE(shown.view.caretPosition(), expectedCaret);
}

void TestTextInputMethod::preeditIsDrawnInline()
{
    ShownView shown(QSize(400, 200));
    QVERIFY(shown.ok);
    TextView &view = shown.view;
    view.setText(QStringLiteral("abcd"));
    view.setCaretPosition(2);
    const QRect before = view.caretRectAt(2);
    const QRect after = view.caretRectAt(3);
    compose(&view, QStringLiteral("xyz"), 2);
    // Not in the text, but the text after it moves to make room, and the
    // caret stands where the input method put it inside the composition.
    QCOMPARE(view.text(), QStringLiteral("abcd"));
    QVERIFY(view.caretRectAt(3).left() > after.left());
    const QRectF caret = query(&view, Qt::ImCursorRectangle).toRectF();
    const qreal xyWidth = QFontMetricsF(view.font(), &view).horizontalAdvance(QStringLiteral("xy"));
    QVERIFY(qAbs(caret.left() - before.left() - xyWidth) <= 1);
    // The composition is underlined: ink below the baseline under "xyz"
    // that a plain "xyz" does not have.
    const QImage image = view.viewport()->grab().toImage();
    const int baseline = before.top() - view.viewport()->y() + QFontMetrics(view.font(), &view).ascent();
    int inked = 0;
    for (int x = before.left() - view.viewport()->x() + 1; x < caret.left() - view.viewport()->x(); ++x) {
        for (int y = baseline; y < baseline + 3; ++y)
            inked += image.pixelColor(x, y) != view.palette().color(QPalette::Base);
    }
    QVERIFY(inked >= xyWidth / 2);
    // An empty composition ends it.
    compose(&view, QString(), 0);
    QCOMPARE(view.caretRectAt(3).left(), after.left());
}

void TestTextInputMethod::mousePressCommitsThePreedit()
{
    ShownView shown(QSize(400, 200));
    QVERIFY(shown.ok);
    TextView &view = shown.view;
    view.setText(QStringLiteral("abcd"));
    view.setCaretPosition(4);
    compose(&view, QStringLiteral("かな"), 2);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(view.text(), QStringLiteral("abcdかな"));
    QCOMPARE(view.caretPosition(), 0);
}

void TestTextInputMethod::surroundingTextKeepsPairsWhole_data()
{
    QTest::addColumn<int>("caret");
    // The input method sees some 512 code units on each side of the caret;
    // the pairs of the first half start at odd offsets, of the second half
    // at even ones.
    QTest::newRow("window would start inside a pair") << 602;
    QTest::newRow("window would end inside a pair") << 201;
}

void TestTextInputMethod::surroundingTextKeepsPairsWhole()
{
    QFETCH(int, caret);
    ShownView shown(QSize(400, 200));
    QVERIFY(shown.ok);
    TextView &view = shown.view;
    const QString emoji = QString(300, QChar(0xd83d)).replace(QChar(0xd83d), QStringLiteral("\U0001F600"));
    view.setText(QStringLiteral("x") + emoji + QStringLiteral("y") + emoji + QStringLiteral("\r\nz"));
    view.setCaretPosition(caret);
    QCOMPARE(view.caretPosition(), caret);
    const QString surrounding = query(&view, Qt::ImSurroundingText).toString();
    const int cursor = query(&view, Qt::ImCursorPosition).toInt();
    const int start = query(&view, Qt::ImAbsolutePosition).toInt() - cursor;
    QVERIFY(surrounding.size() > 700 && surrounding.size() < 1100);
    QVERIFY(!surrounding.front().isLowSurrogate());
    QVERIFY(!surrounding.back().isHighSurrogate());
    QVERIFY(!surrounding.contains(u'\r'));
    QCOMPARE(surrounding, view.text().mid(start, surrounding.size()));
    QCOMPARE(query(&view, Qt::ImAnchorPosition).toInt(), cursor);
}

void TestTextInputMethod::caretMovesReachTheInputMethod()
{
    ShownView shown(QSize(400, 200));
    QVERIFY(shown.ok);
    TextView &view = shown.view;
    QTRY_COMPARE(QGuiApplication::focusObject(), &view);
    QString text;
    for (int i = 0; i < 200; ++i)
        text += QStringLiteral("Zeile %1\r\n").arg(i);
    view.setText(text);
    QSignalSpy moved(QGuiApplication::inputMethod(), &QInputMethod::cursorRectangleChanged);
    QTest::keyClick(&view, Qt::Key_Right);
    QTRY_VERIFY(moved.count() > 0);
    const QRectF near = QGuiApplication::inputMethod()->cursorRectangle();
    // Scrolling moves the caret on screen, and the input method follows.
    moved.clear();
    view.verticalScrollBar()->setValue(3);
    QTRY_VERIFY(moved.count() > 0);
    QVERIFY(QGuiApplication::inputMethod()->cursorRectangle().top() < near.top());
}

QTEST_MAIN(TestTextInputMethod)
#include "tst_textinputmethod.moc"
