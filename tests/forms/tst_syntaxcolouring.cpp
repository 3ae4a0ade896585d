// Colours on the screen: a tag and the text beside it get their colours in
// each colour scheme of the panes, a bracket's partner is marked, and with
// colouring off the text looks as without it.
#include "forms/syntaxcolouring.h"
#include "forms/textbox.h"
#include "syntax/palette.h"

#include <QFontDatabase>
#include <QTest>

using forms::SyntaxColouring;
using forms::TextBox;

namespace {

// A shown text box with a fixed font large enough for solid glyph stems.
struct ShownBox
{
    ShownBox()
    {
        QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPixelSize(20);
        box.setFont(font);
        box.resize(400, 120);
        box.show();
        ok = QTest::qWaitForWindowExposed(&box);
        colouring = new SyntaxColouring(&box);
    }
    // The pixels of the character at `position`.
    QRect cell(int position)
    {
        const QPoint offset = box.viewport()->pos();
        const QRect left = box.caretRectAt(position).translated(-offset);
        const QRect right = box.caretRectAt(position + 1).translated(-offset);
        return QRect(left.topLeft(), QPoint(right.left() - 1, left.bottom()));
    }
    // Whether some pixel of the character has the colour: the inside of a
    // glyph, not its smoothed edge.
    bool hasColour(int position, QRgb rgb)
    {
        const QImage image = box.viewport()->grab().toImage();
        const QRect area = cell(position);
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if ((image.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF))
                    return true;
            }
        }
        return false;
    }

    TextBox box;
    SyntaxColouring *colouring = nullptr;
    bool ok = false;
};

} // namespace

class SyntaxColouringTest : public QObject
{
    Q_OBJECT
private slots:
    void tagAndText_data();
    void tagAndText();
    void bracketPartnerIsMarked();
    void offLooksAsWithout();
};

void SyntaxColouringTest::tagAndText_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<bool>("green");
    QTest::addColumn<QRgb>("back");
    QTest::addColumn<QRgb>("fore");
    QTest::newRow("white") << false << false << QRgb(0xFFFFFF) << QRgb(0x000000);
    QTest::newRow("green") << false << true << QRgb(0xFFFFFF) << QRgb(0x004000);
    QTest::newRow("dark") << true << false << QRgb(0x000000) << QRgb(0xE0E0E0);
    QTest::newRow("dark and green") << true << true << QRgb(0x000000) << QRgb(0x00FF00);
}

void SyntaxColouringTest::tagAndText()
{
    QFETCH(bool, dark);
    QFETCH(bool, green);
    QFETCH(QRgb, back);
    QFETCH(QRgb, fore);
    ShownBox shown;
    QVERIFY(shown.ok);
    shown.box.SetBackColor(QColor(back));
    shown.box.SetForeColor(QColor(fore));
    shown.colouring->setLanguage(syntax::Language::Html);
    shown.colouring->setEnabled(true);
    shown.box.SetText(QStringLiteral("<b>HHH</b> HHH"));
    QTRY_VERIFY(shown.colouring->isSettled());
    const syntax::SyntaxPalette &palette = syntax::syntaxPalette(dark, green);
    const QRgb tag = palette.roles[static_cast<size_t>(syntax::Role::Tag)];
    // "b" of "<b>", "H" inside the element and "H" after it.
    QVERIFY(shown.hasColour(1, tag));
    QVERIFY(!shown.hasColour(1, fore));
    QVERIFY(shown.hasColour(4, fore));
    QVERIFY(!shown.hasColour(4, tag));
    QVERIFY(shown.hasColour(12, fore));
}

void SyntaxColouringTest::bracketPartnerIsMarked()
{
    ShownBox shown;
    QVERIFY(shown.ok);
    shown.box.SetBackColor(QColor(QRgb(0xFFFFFF)));
    shown.box.SetForeColor(QColor(QRgb(0x000000)));
    shown.colouring->setLanguage(syntax::Language::Css);
    shown.colouring->setEnabled(true);
    shown.box.SetText(QStringLiteral("a { b: c(d) }"));
    QTRY_VERIFY(shown.colouring->isSettled());
    const QRgb mark = syntax::syntaxPalette(false, false).mark;
    QVERIFY(!shown.hasColour(2, mark));
    // The caret after "{" marks it and its partner, nothing between.
    shown.box.setCaretPosition(3);
    QVERIFY(shown.hasColour(2, mark));
    QVERIFY(shown.hasColour(12, mark));
    QVERIFY(!shown.hasColour(8, mark));
    shown.box.setCaretPosition(5);
    QVERIFY(!shown.hasColour(12, mark));
}

void SyntaxColouringTest::offLooksAsWithout()
{
    ShownBox shown;
    QVERIFY(shown.ok);
    shown.box.SetText(QStringLiteral("<b>HHH</b> (x)"));
    shown.box.setCaretPosition(11);
    const QImage before = shown.box.viewport()->grab().toImage();
    shown.colouring->setLanguage(syntax::Language::Html);
    shown.colouring->setEnabled(true);
    QTRY_VERIFY(shown.colouring->isSettled());
    QVERIFY(shown.box.viewport()->grab().toImage() != before);
    shown.colouring->setEnabled(false);
    QCOMPARE(shown.box.viewport()->grab().toImage(), before);
}

QTEST_MAIN(SyntaxColouringTest)
#include "tst_syntaxcolouring.moc"
