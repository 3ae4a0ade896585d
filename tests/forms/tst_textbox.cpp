#include "forms/placeable.h"
#include "forms/textbox.h"
#include "tests/forms/testfolder.h"

#include <QFontDatabase>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using forms::LineTextBox;
using forms::TextBox;

class TestTextBox : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_folder = std::make_unique<TestFolder>(); }
    void cleanup() { m_folder.reset(); }

    void textIsKeptExactly_data();
    void textIsKeptExactly();
    void selStartMapsEveryPosition_data();
    void selStartMapsEveryPosition();
    void equalTextRaisesNoChange();
    void changeOncePerAssignment_data();
    void changeOncePerAssignment();
    void typingRaisesChangePerKey();
    void textAfterTypingHasCrLf_data();
    void textAfterTypingHasCrLf();
    void selStartAfterTyping();
    void formattingKeepsText();
    void wrapsAtWidthWithVerticalBarOnly();
    void colors();
    void mouseMoveInTwips();
    void setFocusNeedsVisibleBox();
    void lineTextBoxChange();

private:
    std::unique_ptr<TestFolder> m_folder;
};

void TestTextBox::textIsKeptExactly_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("one line") << QStringLiteral("abc");
    QTest::newRow("CR LF") << QStringLiteral("a\r\nb");
    QTest::newRow("lone LF") << QStringLiteral("a\nb");
    QTest::newRow("lone CR") << QStringLiteral("a\rb");
    QTest::newRow("mixed breaks") << QStringLiteral("a\r\nb\nc\rd\r\n");
    QTest::newRow("CR CR LF") << QStringLiteral("a\r\r\nb");
    QTest::newRow("LF CR") << QStringLiteral("a\n\rb");
    QTest::newRow("trailing CR LF") << QStringLiteral("line\r\n");
    QTest::newRow("only breaks") << QStringLiteral("\r\n\r\n\n");
    QTest::newRow("paragraph separator") << QStringLiteral("a") + QChar(0x2029) + QStringLiteral("b");
    QTest::newRow("line separator") << QStringLiteral("a") + QChar(0x2028) + QStringLiteral("b");
    QTest::newRow("no-break space") << QStringLiteral("a") + QChar(0x00a0) + QStringLiteral("b");
    QTest::newRow("tab") << QStringLiteral("a\tb");
    QTest::newRow("umlauts") << QStringLiteral("Grüße\r\nÄÖÜ");
    QTest::newRow("surrogate pair") << QStringLiteral("x\U0001F600y\r\nz");
}

void TestTextBox::textIsKeptExactly()
{
    QFETCH(QString, text);
    TextBox box;
    box.SetText(text);
    QCOMPARE(box.Text(), text);
    box.SetSelStart(text.size());
    QCOMPARE(box.SelStart(), text.size());
    box.SetSelStart(0);
    QCOMPARE(box.SelStart(), 0);
}

void TestTextBox::selStartMapsEveryPosition_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF lines") << QStringLiteral("ab\r\ncd\r\n\r\nef");
    QTest::newRow("mixed breaks") << QStringLiteral("ab\ncd\r\nef\rg\r\n");
    QTest::newRow("paragraph separator") << QStringLiteral("ab") + QChar(0x2029) + QStringLiteral("cd\r\ne");
    QTest::newRow("no breaks") << QStringLiteral("abcdef");
}

void TestTextBox::selStartMapsEveryPosition()
{
    QFETCH(QString, text);
    TextBox box;
    box.SetText(text);
    for (int position = 0; position <= text.size(); ++position) {
        box.SetSelStart(position);
        // Between CR and LF the caret can only stand before the pair.
        const bool insidePair
            = position > 0 && position < text.size() && text.at(position - 1) == u'\r' && text.at(position) == u'\n';
        QCOMPARE(box.SelStart(), insidePair ? position - 1 : position);
    }
    box.SetSelStart(text.size() + 10);
    QCOMPARE(box.SelStart(), text.size());
    box.SetSelStart(-3);
    QCOMPARE(box.SelStart(), 0);
}

void TestTextBox::equalTextRaisesNoChange()
{
    TextBox box;
    QSignalSpy changes(&box, &TextBox::Change);
    box.SetText(QString());
    QCOMPARE(changes.count(), 0);
    box.SetText(QStringLiteral("a\r\nb"));
    box.SetText(QStringLiteral("a\r\nb"));
    QCOMPARE(changes.count(), 1);
    // Same lines, other line break: another value.
    box.SetText(QStringLiteral("a\nb"));
    QCOMPARE(changes.count(), 2);
    QCOMPARE(box.Text(), QStringLiteral("a\nb"));
}

void TestTextBox::changeOncePerAssignment_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("one line") << QStringLiteral("x");
    QTest::newRow("many lines") << QStringLiteral("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8");
    QTest::newRow("long text") << QString(20000, u'w');
}

void TestTextBox::changeOncePerAssignment()
{
    QFETCH(QString, text);
    TextBox box;
    box.show();
    QSignalSpy changes(&box, &TextBox::Change);
    box.SetText(text);
    QCOMPARE(changes.count(), 1);
    box.SetText(QString());
    QCOMPARE(changes.count(), 2);
    QCOMPARE(box.Text(), QString());
}

void TestTextBox::typingRaisesChangePerKey()
{
    TextBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.SetText(QStringLiteral("start"));
    box.SetSelStart(5);
    QSignalSpy changes(&box, &TextBox::Change);
    QTest::keyClicks(&box, QStringLiteral("abc"));
    QCOMPARE(changes.count(), 3);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QCOMPARE(changes.count(), 4);
    QCOMPARE(box.Text(), QStringLiteral("startab"));
    // Keys that edit nothing raise nothing.
    QTest::keyClick(&box, Qt::Key_Left);
    QTest::keyClick(&box, Qt::Key_Home);
    QCOMPARE(changes.count(), 4);
}

void TestTextBox::textAfterTypingHasCrLf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("CR LF stays") << QStringLiteral("a\r\nb") << QStringLiteral("a\r\nbx");
    QTest::newRow("lone LF becomes CR LF") << QStringLiteral("a\nb") << QStringLiteral("a\r\nbx");
    QTest::newRow("lone CR becomes CR LF") << QStringLiteral("a\rb") << QStringLiteral("a\r\nbx");
    QTest::newRow("no-break space kept") << QStringLiteral("a") + QChar(0x00a0) + QStringLiteral("b")
                                         << QStringLiteral("a") + QChar(0x00a0) + QStringLiteral("bx");
    QTest::newRow("empty last line") << QStringLiteral("a\r\n") << QStringLiteral("a\r\nx");
}

void TestTextBox::textAfterTypingHasCrLf()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    TextBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.SetText(text);
    box.SetSelStart(text.size());
    QTest::keyClicks(&box, QStringLiteral("x"));
    QCOMPARE(box.Text(), expected);
    QCOMPARE(box.SelStart(), expected.size());
    QTest::keyClick(&box, Qt::Key_Return);
    QCOMPARE(box.Text(), expected + QStringLiteral("\r\n"));
    QCOMPARE(box.SelStart(), expected.size() + 2);
}

void TestTextBox::selStartAfterTyping()
{
    TextBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.SetText(QStringLiteral("ab\ncd\nef"));
    box.SetSelStart(box.Text().size());
    QTest::keyClicks(&box, QStringLiteral("!"));
    // Now every break counts two.
    QCOMPARE(box.Text(), QStringLiteral("ab\r\ncd\r\nef!"));
    box.SetSelStart(4);
    QTest::keyClicks(&box, QStringLiteral("Y"));
    QCOMPARE(box.Text(), QStringLiteral("ab\r\nYcd\r\nef!"));
    QCOMPARE(box.SelStart(), 5);
    box.SetSelStart(9);
    QCOMPARE(box.SelStart(), 9);
    QTest::keyClicks(&box, QStringLiteral("Z"));
    QCOMPARE(box.Text(), QStringLiteral("ab\r\nYcd\r\nZef!"));
}

void TestTextBox::formattingKeepsText()
{
    TextBox box;
    QSignalSpy changes(&box, &TextBox::Change);
    box.SetText(QStringLiteral("a\nb\rc"));
    box.SetDesignFont(QStringLiteral("Fixedsys"), 9);
    box.SetBackColor(forms::rgb(0x202020));
    box.SetForeColor(forms::rgb(0xffffff));
    box.Place(0, 0, 3000, 2000);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.SetWidth(1500);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(box.Text(), QStringLiteral("a\nb\rc"));
}

void TestTextBox::wrapsAtWidthWithVerticalBarOnly()
{
    TextBox box;
    QCOMPARE(box.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(box.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    box.Place(0, 0, 3000, 3000);
    box.SetText(QString(400, u'w'));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(box.visualRowCount(0) > 1);
    QCOMPARE(box.horizontalScrollBar()->maximum(), 0);
}

void TestTextBox::colors()
{
    TextBox box;
    box.SetBackColor(forms::rgb(0x123456));
    box.SetForeColor(forms::rgb(0xfedcba));
    QCOMPARE(box.BackColor(), QColor(0x12, 0x34, 0x56));
    QCOMPARE(box.ForeColor(), QColor(0xfe, 0xdc, 0xba));
    QCOMPARE(box.palette().color(QPalette::Base), QColor(0x12, 0x34, 0x56));
    QCOMPARE(box.palette().color(QPalette::Text), QColor(0xfe, 0xdc, 0xba));
    QCOMPARE(box.palette().color(QPalette::Inactive, QPalette::Base), QColor(0x12, 0x34, 0x56));
}

void TestTextBox::mouseMoveInTwips()
{
    QWidget window;
    TextBox box(&window);
    box.Place(300, 150, 3000, 1500);
    QSignalSpy moves(&box, &TextBox::MouseMove);
    window.resize(300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint inViewport(10, 7);
    QTest::mouseMove(box.viewport(), inViewport);
    QTRY_VERIFY(!moves.isEmpty());
    const QPoint inBox = box.viewport()->mapTo(&box, inViewport);
    const QList<QVariant> last = moves.last();
    QCOMPARE(last.at(0).toInt(), 0);
    QCOMPARE(last.at(2).toDouble(), inBox.x() * 15.0);
    QCOMPARE(last.at(3).toDouble(), inBox.y() * 15.0);
}

void TestTextBox::setFocusNeedsVisibleBox()
{
    QWidget window;
    TextBox box(&window);
    QVERIFY(!box.SetFocus());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(box.SetFocus());
    QCOMPARE(window.focusWidget(), &box);
    box.SetVisible(false);
    QVERIFY(!box.SetFocus());
}

void TestTextBox::lineTextBoxChange()
{
    LineTextBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QSignalSpy changes(&box, &LineTextBox::Change);
    box.SetText(QStringLiteral("*.*;"));
    QCOMPARE(changes.count(), 1);
    box.SetText(QStringLiteral("*.*;"));
    QCOMPARE(changes.count(), 1);
    box.setFocus();
    box.end(false);
    QTest::keyClicks(&box, QStringLiteral("*.x"));
    QCOMPARE(changes.count(), 4);
    QCOMPARE(box.Text(), QStringLiteral("*.*;*.x"));
    box.SetBackColor(forms::rgb(0x808080));
    QCOMPARE(box.palette().color(QPalette::Base), QColor(0x80, 0x80, 0x80));
}

QTEST_MAIN(TestTextBox)
#include "tst_textbox.moc"
