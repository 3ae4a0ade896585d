#include "forms/charwidths.h"
#include "forms/designfont.h"
#include "forms/textbox.h"
#include "forms/textcontent.h"
#include "forms/wraplayout.h"
#include "tests/forms/testfolder.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using forms::TextBox;

Q_DECLARE_METATYPE(std::vector<int>)

namespace {

// Keys as combined key and modifier values, as the data tables hold them.
void press(QWidget *box, const QList<int> &keys)
{
    for (const int combined : keys) {
        const QKeyCombination key = QKeyCombination::fromCombined(combined);
        QTest::keyClick(box, key.key(), key.keyboardModifiers());
    }
}

QFont fixedFont()
{
    return forms::designFont(QStringLiteral("Fixedsys"), 9);
}

} // namespace

class TestTextView : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_folder = std::make_unique<TestFolder>(); }
    void cleanup() { m_folder.reset(); }

    void wrapsRows_data();
    void wrapsRows();
    void rewrapMatchesFreshWrap_data();
    void rewrapMatchesFreshWrap();
    void editingKeys_data();
    void editingKeys();
    void copyAndPaste_data();
    void copyAndPaste();
    void undoAndRedo_data();
    void undoAndRedo();
    void clickPlacesCaret();
    void doubleClickSelectsWord();
    void controlCharactersPaint();
    void narrowerBoxHasMoreRows();
    void longLineTyping_data();
    void longLineTyping();

private:
    std::unique_ptr<TestFolder> m_folder;
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
    QTest::newRow("blanks hang past the width")
        << QStringLiteral("aaaaaaaaaa   bb") << std::vector<int>{0, 13};
    QTest::newRow("long word after a short one")
        << QStringLiteral("ab cccccccccccccc") << std::vector<int>{0, 3, 13};
    QTest::newRow("exactly the width") << QString(10, u'a') << std::vector<int>{0};
}

void TestTextView::wrapsRows()
{
    QFETCH(QString, line);
    QFETCH(std::vector<int>, rows);
    forms::CharWidths widths;
    widths.setFont(fixedFont());
    // The table assumes one advance for letters, blanks and hyphens.
    QCOMPARE(widths.advance(U' '), widths.advance(U'a'));
    QCOMPARE(widths.advance(U'-'), widths.advance(U'a'));
    forms::TextContent content;
    content.setText(line);
    const qreal width = 10 * widths.advance(U'a') + 0.5;
    QCOMPARE(forms::wrapLine(content, 0, content.size(), width, widths), rows);
}

void TestTextView::rewrapMatchesFreshWrap_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("inserted");
    QTest::newRow("letter at the start") << 0 << 0 << QStringLiteral("x");
    QTest::newRow("blank in the middle") << 100 << 0 << QStringLiteral(" ");
    QTest::newRow("word in the middle") << 101 << 0 << QStringLiteral("longerword");
    QTest::newRow("delete a blank") << 53 << 1 << QString();
    QTest::newRow("delete many") << 20 << 150 << QString();
    QTest::newRow("letter at the end") << 400 << 0 << QStringLiteral("z");
    QTest::newRow("paste of blanks") << 200 << 3 << QString(40, u' ');
}

void TestTextView::rewrapMatchesFreshWrap()
{
    QFETCH(int, position);
    QFETCH(int, removed);
    QFETCH(QString, inserted);
    QString text;
    for (int i = 0; text.size() < 400; ++i)
        text += QString(1 + (i * 7) % 9, QChar(u'a' + i % 26)) + (i % 5 == 4 ? u'-' : u' ');
    text.truncate(400);
    forms::CharWidths widths;
    widths.setFont(fixedFont());
    const qreal width = 23 * widths.advance(U'a') + 0.5;
    forms::TextContent content;
    content.setText(text);
    std::vector<int> rows = forms::wrapLine(content, 0, content.size(), width, widths);
    content.replace(position, removed, inserted);
    forms::rewrapAfterEdit(rows, content, 0, content.size(), position, removed, static_cast<int>(inserted.size()),
                           width, widths);
    QCOMPARE(rows, forms::wrapLine(content, 0, content.size(), width, widths));
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
    QTest::newRow("typing replaces the selection")
        << QStringLiteral("abc") << 3 << QList<int>{shift | Qt::Key_Left, shift | Qt::Key_Left, Qt::Key_X}
        << QStringLiteral("ax") << 2 << 1;
    QTest::newRow("Ctrl+Backspace deletes the word")
        << QStringLiteral("foo bar") << 7 << QList<int>{ctrl | Qt::Key_Backspace} << QStringLiteral("foo ") << 4 << 1;
    QTest::newRow("Ctrl+Left goes to the word start")
        << QStringLiteral("foo bar") << 7 << QList<int>{ctrl | Qt::Key_Left, Qt::Key_X}
        << QStringLiteral("foo xbar") << 5 << 1;
    QTest::newRow("Home goes to the row start")
        << QStringLiteral("abc\r\ndef") << 7 << QList<int>{Qt::Key_Home, Qt::Key_X}
        << QStringLiteral("abc\r\nxdef") << 6 << 1;
    QTest::newRow("End goes to the row end")
        << QStringLiteral("abc\r\ndef") << 0 << QList<int>{Qt::Key_End, Qt::Key_X}
        << QStringLiteral("abcx\r\ndef") << 4 << 1;
    QTest::newRow("Up keeps the column") << QStringLiteral("abc\r\ndef") << 7 << QList<int>{Qt::Key_Up, Qt::Key_X}
                                         << QStringLiteral("abxc\r\ndef") << 3 << 1;
    QTest::newRow("Down keeps the column") << QStringLiteral("abc\r\ndef") << 1
                                           << QList<int>{Qt::Key_Down, Qt::Key_X}
                                           << QStringLiteral("abc\r\ndxef") << 7 << 1;
    QTest::newRow("Right steps over CR LF") << QStringLiteral("a\r\nb") << 1 << QList<int>{Qt::Key_Right, Qt::Key_X}
                                            << QStringLiteral("a\r\nxb") << 4 << 1;
    QTest::newRow("Ctrl+End goes to the end") << QStringLiteral("a\r\nb") << 0
                                              << QList<int>{ctrl | Qt::Key_End, Qt::Key_X}
                                              << QStringLiteral("a\r\nbx") << 5 << 1;
    QTest::newRow("Ctrl+A and Delete empty the box")
        << QStringLiteral("a\r\nb") << 0 << QList<int>{ctrl | Qt::Key_A, Qt::Key_Delete} << QString() << 0 << 1;
    QTest::newRow("Shift+Ctrl+Home selects to the start")
        << QStringLiteral("ab\r\ncd") << 5 << QList<int>{shift | ctrl | Qt::Key_Home, Qt::Key_Backspace}
        << QStringLiteral("d") << 0 << 1;
    QTest::newRow("each typed key is one change") << QStringLiteral("") << 0
                                                  << QList<int>{Qt::Key_A, Qt::Key_B, Qt::Key_Return, Qt::Key_C}
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
    TextBox box;
    box.SetDesignFont(QStringLiteral("Fixedsys"), 9);
    box.resize(300, 200);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.SetText(text);
    box.SetSelStart(caret);
    QSignalSpy spy(&box, &TextBox::Change);
    press(&box, keys);
    QCOMPARE(box.Text(), expected);
    QCOMPARE(box.SelStart(), expectedCaret);
    QCOMPARE(box.Length(), expected.size());
    QCOMPARE(spy.count(), changes);
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
    TextBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.SetText(QStringLiteral("Zeile eins\r\nZeile zwei"));
    box.select(6, 17);
    QCOMPARE(box.SelText(), QStringLiteral("eins\r\nZeile"));
    QCOMPARE(box.SelStart(), 6);
    QSignalSpy changes(&box, &TextBox::Change);
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("eins\nZeile"));
    QCOMPARE(changes.count(), 0);
    QTest::keyClick(&box, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(box.Text(), QStringLiteral("Zeile  zwei"));
    QCOMPARE(changes.count(), 1);
    QGuiApplication::clipboard()->setText(clipboard);
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box.Text(), QStringLiteral("Zeile ") + pasted + QStringLiteral(" zwei"));
    QCOMPARE(box.SelStart(), 6 + pasted.size());
    QCOMPARE(changes.count(), 2);
}

void TestTextView::undoAndRedo_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("edited");
    QTest::addColumn<QString>("afterOneUndo");
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("typing is one step") << QList<int>{Qt::Key_A, Qt::Key_B, Qt::Key_C} << QStringLiteral("12abc")
                                        << QStringLiteral("12");
    QTest::newRow("Enter ends the typing") << QList<int>{Qt::Key_A, Qt::Key_Return, Qt::Key_B}
                                           << QStringLiteral("12a\r\nb") << QStringLiteral("12a\r\n");
    QTest::newRow("a caret move ends the typing") << QList<int>{Qt::Key_A, Qt::Key_Left, Qt::Key_B}
                                                  << QStringLiteral("12ba") << QStringLiteral("12a");
    QTest::newRow("Backspace") << QList<int>{Qt::Key_Backspace} << QStringLiteral("1") << QStringLiteral("12");
    QTest::newRow("cut") << QList<int>{ctrl | Qt::Key_A, ctrl | Qt::Key_X} << QString() << QStringLiteral("12");
}

void TestTextView::undoAndRedo()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, edited);
    QFETCH(QString, afterOneUndo);
    TextBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.SetText(QStringLiteral("12"));
    box.SetSelStart(2);
    press(&box, keys);
    QCOMPARE(box.Text(), edited);
    QSignalSpy changes(&box, &TextBox::Change);
    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box.Text(), afterOneUndo);
    QCOMPARE(changes.count(), 1);
    QTest::keyClick(&box, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(box.Text(), edited);
    QCOMPARE(changes.count(), 2);
    // Undo past the beginning stops at the assigned text.
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box.Text(), QStringLiteral("12"));
    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(box.Text() != QStringLiteral("12"));
    // A new text forgets the history.
    box.SetText(QStringLiteral("neu"));
    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box.Text(), QStringLiteral("neu"));
}

void TestTextView::clickPlacesCaret()
{
    TextBox box;
    box.SetDesignFont(QStringLiteral("Fixedsys"), 9);
    box.resize(300, 200);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.SetText(QStringLiteral("abcdef\r\nghijkl"));
    const QFontMetricsF metrics(box.font());
    const qreal advance = metrics.horizontalAdvance(u'a');
    // Margin of 4 pixels, then three characters and a bit, on the second row.
    const QPoint at(4 + static_cast<int>(3.2 * advance), 4 + static_cast<int>(1.5 * metrics.lineSpacing()));
    QTest::mouseClick(box.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(box.SelStart(), 8 + 3);
    QTest::mouseClick(box.viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(2, 2));
    QCOMPARE(box.SelText(), QStringLiteral("abcdef\r\nghi"));
}

void TestTextView::doubleClickSelectsWord()
{
    TextBox box;
    box.SetDesignFont(QStringLiteral("Fixedsys"), 9);
    box.resize(300, 200);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.SetText(QStringLiteral("eins zwei drei"));
    const qreal advance = QFontMetricsF(box.font()).horizontalAdvance(u'a');
    QTest::mouseDClick(box.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(4 + static_cast<int>(6.5 * advance), 8));
    QCOMPARE(box.SelText(), QStringLiteral("zwei"));
    QCOMPARE(box.SelStart(), 5);
}

void TestTextView::controlCharactersPaint()
{
    TextBox box;
    box.resize(200, 100);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QString text = QString(QChar(0)) + QStringLiteral("a\x01\x1f\tb") + QChar(0x2028) + QChar(0xd800)
        + QStringLiteral("c\r\n") + QString(3, QChar(0));
    box.SetText(text);
    box.select(0, text.size());
    QVERIFY(!box.grab().isNull());
    QCOMPARE(box.Text(), text);
    QCOMPARE(box.Length(), text.size());
}

void TestTextView::narrowerBoxHasMoreRows()
{
    TextBox box;
    box.resize(400, 200);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.SetText(QString(300, u'w') + QStringLiteral("\r\nshort"));
    const int wide = box.visualRowCount(0);
    QVERIFY(wide > 1);
    box.resize(200, 200);
    QVERIFY(box.visualRowCount(0) > wide);
    QCOMPARE(box.visualRowCount(1), 1);
}

void TestTextView::longLineTyping_data()
{
    QTest::addColumn<double>("where");
    QTest::newRow("start") << 0.0;
    QTest::newRow("middle") << 0.5;
    QTest::newRow("end") << 1.0;
}

void TestTextView::longLineTyping()
{
    QFETCH(double, where);
    // A minified stylesheet of 2 MB on one line.
    QString text;
    for (int i = 0; text.size() < 2 * 1024 * 1024; ++i)
        text += QStringLiteral(".k%1{margin:0 auto;color:#fff}").arg(i);
    TextBox box;
    box.SetDesignFont(QStringLiteral("Fixedsys"), 9);
    box.resize(600, 300);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.SetText(text);
    const int position = static_cast<int>(where * text.size());
    box.SetSelStart(position);
    QSignalSpy changes(&box, &TextBox::Change);
    QTest::keyClicks(&box, QStringLiteral("a b"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Return);
    QVERIFY(!box.grab().isNull());
    QCOMPARE(changes.count(), 5);
    text.insert(position, QStringLiteral("a \r\n"));
    QCOMPARE(box.Length(), text.size());
    QCOMPARE(box.Text(), text);
    QCOMPARE(box.SelStart(), position + 4);
    // The rows after the edits are the rows of the same text wrapped afresh.
    TextBox fresh;
    fresh.SetDesignFont(QStringLiteral("Fixedsys"), 9);
    fresh.resize(600, 300);
    fresh.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fresh));
    fresh.SetText(text);
    QCOMPARE(fresh.lineCount(), box.lineCount());
    for (int line = 0; line < box.lineCount(); ++line)
        QCOMPARE(box.visualRowCount(line), fresh.visualRowCount(line));
}

QTEST_MAIN(TestTextView)
#include "tst_textview.moc"
