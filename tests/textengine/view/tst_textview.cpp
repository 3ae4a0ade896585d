#include "tests/textengine/view/shownview.h"
#include "textengine/view/textview.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextLayout>
#include <QTimer>

using textengine::TextView;

Q_DECLARE_METATYPE(std::vector<int>)

namespace {

// Keys as combined key and modifier values, as the data tables hold them.
void press(QWidget *view, const QList<int> &keys)
{
    for (const int combined : keys) {
        const QKeyCombination key = QKeyCombination::fromCombined(combined);
        QTest::keyClick(view, key.key(), key.keyboardModifiers());
    }
}

QFont fixedFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    return font;
}

// The fixed font makes columns predictable.
struct FixedFontView : ShownView
{
    explicit FixedFontView(QSize size = QSize(300, 200))
        : ShownView(size, fixedFont())
    {
    }
};

// Where a caret at each position stands, in the view's coordinates.
int caretX(TextView &view, int position)
{
    return view.caretRectAt(position).left();
}

} // namespace

class TestTextView : public QObject
{
    Q_OBJECT

private slots:
    void wrapsRows_data();
    void wrapsRows();
    void editingKeys_data();
    void editingKeys();
    void arrowsMoveOnScreen_data();
    void arrowsMoveOnScreen();
    void rightToLeftLineStartsAtTheRight();
    void hugeClusterDoesNotHang();
    void copyAndPaste_data();
    void copyAndPaste();
    void undoAndRedo_data();
    void undoAndRedo();
    void undoBringsBackTheSelection();
    void contextMenuOffersRedo();
    void clickPlacesCaret();
    void doubleAndTripleClickSelect();
    void dragPastTheEdgeKeepsScrolling();
    void controlCharactersAreShown();
    void narrowerViewHasMoreRows();
    void longLineTyping_data();
    void longLineTyping();
};

void TestTextView::wrapsRows_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<std::vector<int>>("rows");
    // Rows are ten characters wide.
    QTest::newRow("short line fits") << QStringLiteral("abc def") << std::vector<int>{0};
    QTest::newRow("breaks after the last blank that fits")
        << QStringLiteral("aaaa bbbb cccc") << std::vector<int>{0, 10};
    QTest::newRow("no blank: hard break at the width") << QString(25, u'a') << std::vector<int>{0, 10, 20};
    QTest::newRow("breaks after a hyphen") << QStringLiteral("aaaaaaa-bbbbbbb") << std::vector<int>{0, 8};
    QTest::newRow("blanks hang past the width") << QStringLiteral("aaaaaaaaaa   bb") << std::vector<int>{0, 13};
    QTest::newRow("long word after a short one") << QStringLiteral("ab cccccccccccccc") << std::vector<int>{0, 3, 13};
    QTest::newRow("exactly the width") << QString(10, u'a') << std::vector<int>{0};
    QTest::newRow("a cluster is never cut")
        << QString(9, u'a') + QStringLiteral("\U0001F44D\U0001F3FDbb") << std::vector<int>{0, 9};
}

void TestTextView::wrapsRows()
{
    QFETCH(QString, line);
    QFETCH(std::vector<int>, rows);
    textengine::TextContent content;
    content.setText(line);
    QWidget device;
    const QFont font = fixedFont();
    const qreal advance = QFontMetricsF(font, &device).horizontalAdvance(QLatin1Char('a'));
    // The table assumes one advance for letters, blanks and hyphens.
    QCOMPARE(QFontMetricsF(font, &device).horizontalAdvance(QLatin1Char(' ')), advance);
    textengine::SegmentLayouts layouts(content);
    layouts.setFont(font, &device);
    layouts.setWidth(10 * advance + 0.5);
    QCOMPARE(layouts.wrap(0, content.size(), Qt::LeftToRight, 1), rows);
}

void TestTextView::editingKeys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("expectedCaret");
    QTest::addColumn<int>("changes");
    const int shift = Qt::ShiftModifier;
    const int ctrl = Qt::ControlModifier;
    const QString thumb = QStringLiteral("a\U0001F44D\U0001F3FDb");
    const QString flags = QStringLiteral("\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7");
    QTest::newRow("Enter inserts CR LF") << QStringLiteral("ab") << 1 << QList<int>{Qt::Key_Return}
                                         << QStringLiteral("a\r\nb") << 3 << 1;
    QTest::newRow("Backspace removes CR LF at once")
        << QStringLiteral("a\r\nb") << 3 << QList<int>{Qt::Key_Backspace} << QStringLiteral("ab") << 1 << 1;
    QTest::newRow("Delete removes CR LF at once")
        << QStringLiteral("a\r\nb") << 1 << QList<int>{Qt::Key_Delete} << QStringLiteral("ab") << 1 << 1;
    QTest::newRow("Backspace at the start changes nothing")
        << QStringLiteral("ab") << 0 << QList<int>{Qt::Key_Backspace} << QStringLiteral("ab") << 0 << 0;
    QTest::newRow("Delete at the end changes nothing")
        << QStringLiteral("ab") << 2 << QList<int>{Qt::Key_Delete} << QStringLiteral("ab") << 2 << 0;
    QTest::newRow("Backspace removes a surrogate pair")
        << QStringLiteral("x\U0001F600") << 3 << QList<int>{Qt::Key_Backspace} << QStringLiteral("x") << 1 << 1;
    QTest::newRow("Right steps over thumb and skin tone")
        << thumb << 0 << QList<int>{Qt::Key_Right, Qt::Key_Right, Qt::Key_X} << thumb.left(5) + u'x' + u'b' << 6 << 1;
    QTest::newRow("Right steps over a whole flag")
        << flags << 0 << QList<int>{Qt::Key_Right, Qt::Key_X} << flags.left(4) + u'x' + flags.mid(4) << 5 << 1;
    QTest::newRow("Backspace removes thumb with skin tone")
        << thumb << 5 << QList<int>{Qt::Key_Backspace} << QStringLiteral("ab") << 1 << 1;
    QTest::newRow("Delete removes a flag") << flags << 4 << QList<int>{Qt::Key_Delete} << flags.left(4) << 4 << 1;
    QTest::newRow("Backspace removes a letter with its mark")
        << QStringLiteral("ae\u0301") << 3 << QList<int>{Qt::Key_Backspace} << QStringLiteral("a") << 1 << 1;
    QTest::newRow("typing replaces the selection")
        << QStringLiteral("abc") << 3 << QList<int>{shift | Qt::Key_Left, shift | Qt::Key_Left, Qt::Key_X}
        << QStringLiteral("ax") << 2 << 1;
    QTest::newRow("Ctrl+Backspace deletes the word")
        << QStringLiteral("foo bar") << 7 << QList<int>{ctrl | Qt::Key_Backspace} << QStringLiteral("foo ") << 4 << 1;
    QTest::newRow("Ctrl+Left goes to the word start")
        << QStringLiteral("foo bar") << 7 << QList<int>{ctrl | Qt::Key_Left, Qt::Key_X} << QStringLiteral("foo xbar")
        << 5 << 1;
    QTest::newRow("Ctrl+Left in a right-to-left line goes to the next word")
        << QStringLiteral("אבג דהו") << 0 << QList<int>{ctrl | Qt::Key_Left, Qt::Key_X} << QStringLiteral("אבג xדהו")
        << 5 << 1;
    QTest::newRow("Home goes to the row start")
        << QStringLiteral("abc\r\ndef") << 7 << QList<int>{Qt::Key_Home, Qt::Key_X} << QStringLiteral("abc\r\nxdef")
        << 6 << 1;
    QTest::newRow("End goes to the row end") << QStringLiteral("abc\r\ndef") << 0 << QList<int>{Qt::Key_End, Qt::Key_X}
                                             << QStringLiteral("abcx\r\ndef") << 4 << 1;
    QTest::newRow("Up keeps the column") << QStringLiteral("abc\r\ndef") << 7 << QList<int>{Qt::Key_Up, Qt::Key_X}
                                         << QStringLiteral("abxc\r\ndef") << 3 << 1;
    QTest::newRow("Down keeps the column") << QStringLiteral("abc\r\ndef") << 1 << QList<int>{Qt::Key_Down, Qt::Key_X}
                                           << QStringLiteral("abc\r\ndxef") << 7 << 1;
    QTest::newRow("Right steps over CR LF")
        << QStringLiteral("a\r\nb") << 1 << QList<int>{Qt::Key_Right, Qt::Key_X} << QStringLiteral("a\r\nxb") << 4 << 1;
    QTest::newRow("Ctrl+End goes to the end")
        << QStringLiteral("a\r\nb") << 0 << QList<int>{ctrl | Qt::Key_End, Qt::Key_X} << QStringLiteral("a\r\nbx") << 5
        << 1;
    QTest::newRow("Ctrl+A and Delete empty the view")
        << QStringLiteral("a\r\nb") << 0 << QList<int>{ctrl | Qt::Key_A, Qt::Key_Delete} << QString() << 0 << 1;
    QTest::newRow("Shift+Ctrl+Home selects to the start")
        << QStringLiteral("ab\r\ncd") << 5 << QList<int>{shift | ctrl | Qt::Key_Home, Qt::Key_Backspace}
        << QStringLiteral("d") << 0 << 1;
    QTest::newRow("each typed key is one change")
        << QStringLiteral("") << 0 << QList<int>{Qt::Key_A, Qt::Key_B, Qt::Key_Return, Qt::Key_C}
        << QStringLiteral("ab\r\nc") << 5 << 4;
}

void TestTextView::editingKeys()
{
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QList<int>, keys);
    QFETCH(QString, expected);
    QFETCH(int, expectedCaret);
    QFETCH(int, changes);
    FixedFontView shown;
    QVERIFY(shown.ok);
    shown.view.setText(text);
    shown.view.setCaretPosition(caret);
    QSignalSpy spy(&shown.view, &TextView::edited);
    press(&shown.view, keys);
    QCOMPARE(shown.view.text(), expected);
    QCOMPARE(shown.view.caretPosition(), expectedCaret);
    QCOMPARE(shown.view.length(), expected.size());
    QCOMPARE(spy.count(), changes);
}

void TestTextView::arrowsMoveOnScreen_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("German with a Hebrew word") << QStringLiteral("Grüße שלום עולם aus Köln");
    QTest::newRow("Hebrew with a Latin word") << QStringLiteral("שלום abc עולם");
    QTest::newRow("Arabic") << QStringLiteral("مرحبا بالعالم 42");
    QTest::newRow("emoji and flags") << QStringLiteral("a\U0001F44D\U0001F3FD \U0001F1E9\U0001F1EA b");
}

// Right and Left follow the screen inside right-to-left runs as Qt's own
// line edit does, visiting every caret position of the line once.
void TestTextView::arrowsMoveOnScreen()
{
    QFETCH(QString, line);
    FixedFontView shown(QSize(600, 100));
    QVERIFY(shown.ok);
    TextView &view = shown.view;
    view.setText(line);
    QTextLayout layout(line, view.font(), &view);
    QTextOption option;
    option.setTextDirection(line.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    layout.setTextOption(option);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const bool right : {true, false}) {
        const Qt::Key key = right ? Qt::Key_Right : Qt::Key_Left;
        // From the edge the arrow moves away from, one step at a time.
        int start = 0;
        for (int i = 0; i < line.size(); ++i)
            start = right ? layout.leftCursorPosition(start) : layout.rightCursorPosition(start);
        QList<int> expected{start};
        for (int p = start, i = 0; i < line.size(); ++i) {
            const int next = right ? layout.rightCursorPosition(p) : layout.leftCursorPosition(p);
            if (next == p)
                break;
            expected << (p = next);
        }
        view.setCaretPosition(start);
        QList<int> visited{view.caretPosition()};
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(&view, key);
            visited << view.caretPosition();
        }
        QCOMPARE(visited, expected);
        QCOMPARE(QSet<int>(visited.begin(), visited.end()).size(), [&] {
            int stops = 1;
            for (int p = 0; p < line.size(); p = view.content().nextPosition(p))
                ++stops;
            return stops;
        }());
    }
}

void TestTextView::rightToLeftLineStartsAtTheRight()
{
    FixedFontView shown(QSize(400, 100));
    QVERIFY(shown.ok);
    shown.view.setText(QStringLiteral("שלום עולם\r\nabc"));
    const int width = shown.view.viewport()->width();
    // The Hebrew line begins at the right edge and runs leftwards; the
    // Latin line below begins at the left.
    QVERIFY(caretX(shown.view, 0) > width * 3 / 4);
    QVERIFY(caretX(shown.view, 9) < caretX(shown.view, 0));
    QVERIFY(caretX(shown.view, 11) < width / 4);
}

void TestTextView::hugeClusterDoesNotHang()
{
    FixedFontView shown;
    QVERIFY(shown.ok);
    const QString text = QStringLiteral("x a") + QString(10000, QChar(0x0301)) + QStringLiteral(" b");
    shown.view.setText(text);
    shown.view.setCaretPosition(text.size());
    press(&shown.view, {Qt::Key_Left, Qt::Key_Left, Qt::Key_Backspace, Qt::Key_Home, Qt::Key_Delete});
    QVERIFY(shown.view.length() < text.size() - 1);
    QVERIFY(shown.view.text().endsWith(QStringLiteral(" b")));
    QVERIFY(shown.view.text().startsWith(QStringLiteral(" a")));
}

void TestTextView::copyAndPaste_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("pasted");
    QTest::newRow("plain") << QStringLiteral("xyz") << QStringLiteral("xyz");
    QTest::newRow("LF lines") << QStringLiteral("a\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("CR lines") << QStringLiteral("a\rb") << QStringLiteral("a\r\nb");
    QTest::newRow("CR LF lines") << QStringLiteral("a\r\nb\n") << QStringLiteral("a\r\nb\r\n");
}

void TestTextView::copyAndPaste()
{
    QFETCH(QString, clipboard);
    QFETCH(QString, pasted);
    FixedFontView shown;
    QVERIFY(shown.ok);
    TextView &view = shown.view;
    view.setText(QStringLiteral("Zeile eins\r\nZeile zwei"));
    view.select(6, 17);
    QCOMPARE(view.selectedText(), QStringLiteral("eins\r\nZeile"));
    QSignalSpy changes(&view, &TextView::edited);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("eins\nZeile"));
    QCOMPARE(changes.count(), 0);
    QTest::keyClick(&view, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(view.text(), QStringLiteral("Zeile  zwei"));
    QCOMPARE(changes.count(), 1);
    QGuiApplication::clipboard()->setText(clipboard);
    QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(view.text(), QStringLiteral("Zeile ") + pasted + QStringLiteral(" zwei"));
    QCOMPARE(view.caretPosition(), 6 + pasted.size());
    QCOMPARE(changes.count(), 2);
}

void TestTextView::undoAndRedo_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("edited");
    QTest::addColumn<QString>("afterOneUndo");
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("typing is one step") << QList<int>{Qt::Key_A, Qt::Key_B, Qt::Key_C} << QStringLiteral("1234abc")
                                        << QStringLiteral("1234");
    QTest::newRow("Enter ends the typing") << QList<int>{Qt::Key_A, Qt::Key_Return, Qt::Key_B}
                                           << QStringLiteral("1234a\r\nb") << QStringLiteral("1234a\r\n");
    QTest::newRow("a caret move ends the typing")
        << QList<int>{Qt::Key_A, Qt::Key_Left, Qt::Key_B} << QStringLiteral("1234ba") << QStringLiteral("1234a");
    QTest::newRow("Backspaces are one step") << QList<int>{Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace}
                                             << QStringLiteral("1") << QStringLiteral("1234");
    QTest::newRow("Deletes are one step")
        << QList<int>{Qt::Key_Home, Qt::Key_Delete, Qt::Key_Delete} << QStringLiteral("34") << QStringLiteral("1234");
    QTest::newRow("cut") << QList<int>{ctrl | Qt::Key_A, ctrl | Qt::Key_X} << QString() << QStringLiteral("1234");
}

void TestTextView::undoAndRedo()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, edited);
    QFETCH(QString, afterOneUndo);
    FixedFontView shown;
    QVERIFY(shown.ok);
    TextView &view = shown.view;
    view.setText(QStringLiteral("1234"));
    view.setCaretPosition(4);
    press(&view, keys);
    QCOMPARE(view.text(), edited);
    QSignalSpy changes(&view, &TextView::edited);
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(view.text(), afterOneUndo);
    QCOMPARE(changes.count(), 1);
    QTest::keyClick(&view, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(view.text(), edited);
    QCOMPARE(changes.count(), 2);
    // Undo past the beginning stops at the assigned text.
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(view.text(), QStringLiteral("1234"));
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(view.text() != QStringLiteral("1234"));
    // A new text forgets the history.
    view.setText(QStringLiteral("neu"));
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(view.text(), QStringLiteral("neu"));
}

void TestTextView::undoBringsBackTheSelection()
{
    FixedFontView shown;
    QVERIFY(shown.ok);
    TextView &view = shown.view;
    view.setText(QStringLiteral("eins zwei drei"));
    view.select(9, 5);
    QTest::keyClicks(&view, QStringLiteral("vier"));
    QCOMPARE(view.text(), QStringLiteral("eins vier drei"));
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(view.text(), QStringLiteral("eins zwei drei"));
    QCOMPARE(view.anchorPosition(), 9);
    QCOMPARE(view.caretPosition(), 5);
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(view.text(), QStringLiteral("eins vier drei"));
    QCOMPARE(view.selectedText(), QString());
    QCOMPARE(view.caretPosition(), 9);
}

void TestTextView::contextMenuOffersRedo()
{
    FixedFontView shown;
    QVERIFY(shown.ok);
    TextView &view = shown.view;
    view.setText(QStringLiteral("abc"));
    view.setCaretPosition(3);
    QTest::keyClick(&view, Qt::Key_D);
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    QStringList entries;
    QTimer::singleShot(0, this, [&entries] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction *action : menu->actions()) {
            if (!action->isSeparator())
                entries << action->text().section(QLatin1Char('\t'), 0, 0) + (action->isEnabled() ? "+" : "-");
        }
        // The second entry takes the undone typing back.
        menu->actions().at(1)->trigger();
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10), view.mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(view.viewport(), &event);
    QCOMPARE(entries,
             (QStringList{"&Rückgängig-", "Wieder&herstellen+", "&Ausschneiden-", "&Kopieren-",
                          "Einf&ügen" + QString(QGuiApplication::clipboard()->text().isEmpty() ? "-" : "+"), "Löschen-",
                          "Alles auswählen+"}));
    QCOMPARE(view.text(), QStringLiteral("abcd"));
}

void TestTextView::clickPlacesCaret()
{
    FixedFontView shown;
    QVERIFY(shown.ok);
    TextView &view = shown.view;
    view.setText(QStringLiteral("abcdef\r\nghijkl"));
    const QFontMetricsF metrics(view.font(), &view);
    const qreal advance = metrics.horizontalAdvance(u'a');
    // Margin of 4 pixels, then three characters and a bit, on the second row.
    const QPoint at(4 + static_cast<int>(3.2 * advance), 4 + static_cast<int>(1.5 * metrics.lineSpacing()));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(view.caretPosition(), 8 + 3);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(2, 2));
    QCOMPARE(view.selectedText(), QStringLiteral("abcdef\r\nghi"));
}

void TestTextView::doubleAndTripleClickSelect()
{
    FixedFontView shown;
    QVERIFY(shown.ok);
    TextView &view = shown.view;
    view.setText(QStringLiteral("eins zwei drei\r\nvier"));
    const qreal advance = QFontMetricsF(view.font(), &view).horizontalAdvance(u'a');
    const QPoint at(4 + static_cast<int>(6.5 * advance), 8);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(view.selectedText(), QStringLiteral("zwei"));
    QCOMPARE(view.selectionStart(), 5);
    // A third press right after: the whole line with its line break.
    QTest::mousePress(view.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(view.selectedText(), QStringLiteral("eins zwei drei\r\n"));
}

void TestTextView::dragPastTheEdgeKeepsScrolling()
{
    FixedFontView shown;
    QVERIFY(shown.ok);
    TextView &view = shown.view;
    QString text;
    for (int i = 0; i < 500; ++i)
        text += QStringLiteral("Zeile %1\r\n").arg(i);
    view.setText(text);
    QWidget *viewport = view.viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(10, viewport->height() + 30), view.mapToGlobal(QPointF(10, 10)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    // No further mouse moves: the view goes on scrolling by itself.
    QScrollBar *bar = view.verticalScrollBar();
    QTRY_VERIFY_WITH_TIMEOUT(bar->value() > 40, 20000);
    QVERIFY(view.selectionEnd() > 40 * 10);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(10, viewport->height() - 2));
}

void TestTextView::controlCharactersAreShown()
{
    FixedFontView shown(QSize(200, 100));
    QVERIFY(shown.ok);
    TextView &view = shown.view;
    const QString text = QString(QChar(0)) + QStringLiteral("a\x01\x1f\tb") + QChar(0x2028) + QChar(0xd800)
        + QStringLiteral("c\r\n") + QString(3, QChar(0));
    view.setText(text);
    QCOMPARE(view.text(), text);
    // Every character has a width of its own: the separator does not break
    // the line, NUL and other controls are not drawn as nothing.
    QCOMPARE(view.visualRowCount(0), 1);
    for (int p = 0; p < 9; ++p)
        QVERIFY2(caretX(view, p + 1) > caretX(view, p), qPrintable(QString::number(p)));
    // Selected, they are drawn in the selection's colours.
    view.select(0, text.size());
    const QImage image = view.viewport()->grab().toImage();
    const QPoint insideFirst = view.caretRectAt(0).topLeft() - view.viewport()->pos() + QPoint(2, 1);
    QCOMPARE(image.pixelColor(insideFirst), view.palette().color(QPalette::Highlight));
}

void TestTextView::narrowerViewHasMoreRows()
{
    FixedFontView shown(QSize(400, 200));
    QVERIFY(shown.ok);
    TextView &view = shown.view;
    view.setText(QString(300, u'w') + QStringLiteral("\r\nshort"));
    const int wide = view.visualRowCount(0);
    QVERIFY(wide > 1);
    view.resize(200, 200);
    QTRY_VERIFY(view.visualRowCount(0) > wide);
    QCOMPARE(view.visualRowCount(1), 1);
}

void TestTextView::longLineTyping_data()
{
    QTest::addColumn<double>("where");
    QTest::addColumn<int>("points");
    QTest::addColumn<QSize>("size");
    QTest::newRow("start") << 0.0 << 9 << QSize(600, 300);
    QTest::newRow("middle") << 0.5 << 9 << QSize(600, 300);
    QTest::newRow("end") << 1.0 << 9 << QSize(600, 300);
    // With these metrics the line break ends the line inside what was the
    // segment at the top of the view, so that segment no longer exists.
    QTest::newRow("top segment merged") << 0.5 << 12 << QSize(600, 450);
}

void TestTextView::longLineTyping()
{
    QFETCH(double, where);
    QFETCH(int, points);
    QFETCH(QSize, size);
    // A minified stylesheet of 1 MB on one line.
    QString text;
    for (int i = 0; text.size() < 1024 * 1024; ++i)
        text += QStringLiteral(".k%1{margin:0 auto;color:#fff} ").arg(i);
    QFont font = fixedFont();
    font.setPointSize(points);
    ShownView shown(size, font);
    QVERIFY(shown.ok);
    TextView &view = shown.view;
    view.setText(text);
    const int position = static_cast<int>(where * text.size());
    view.setCaretPosition(position);
    QSignalSpy changes(&view, &TextView::edited);
    QTest::keyClicks(&view, QStringLiteral("a b"));
    QTest::keyClick(&view, Qt::Key_Backspace);
    QTest::keyClick(&view, Qt::Key_Return);
    QCOMPARE(changes.count(), 5);
    text.insert(position, QStringLiteral("a \r\n"));
    QCOMPARE(view.length(), text.size());
    QCOMPARE(view.text(), text);
    QCOMPARE(view.caretPosition(), position + 4);
    // The caret is on screen, in the row after the new line break.
    const QRect caret = view.caretRectAt(view.caretPosition());
    QVERIFY(view.viewport()->geometry().contains(caret.center()));
    QCOMPARE(view.rowRange(view.caretPosition()).first, position + 4);
}

QTEST_MAIN(TestTextView)
#include "tst_textview.moc"
