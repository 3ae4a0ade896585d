// The view on a screen with twice the pixels: text is laid out for the
// device it is drawn on, and the caret stands on the glyph edge, between
// the device pixels of one logical pixel where that is where the edge is.
#include "textengine/view/textview.h"

#include <QApplication>
#include <QFontDatabase>
#include <QTest>
#include <QTextLayout>

using textengine::TextView;

class TestHighDpi : public QObject
{
    Q_OBJECT

private slots:
    void caretSitsOnGlyphEdges_data();
    void caretSitsOnGlyphEdges();
};

void TestHighDpi::caretSitsOnGlyphEdges_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("Latin") << QStringLiteral("iiWW mmm.,;");
    QTest::newRow("wide characters") << QStringLiteral("日本語 text");
    QTest::newRow("Hebrew") << QStringLiteral("שלום עולם");
}

void TestHighDpi::caretSitsOnGlyphEdges()
{
    QFETCH(QString, text);
    TextView view;
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(9.75);
    view.setFont(font);
    view.resize(300, 120);
    view.setText(text);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(view.devicePixelRatio(), 2.0);
    view.setFocus();
    // Where Qt puts the glyph edge when it lays the line out for this view.
    QTextLayout layout(text, font, view.viewport());
    QTextOption option;
    option.setTextDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    option.setAlignment(text.isRightToLeft() ? Qt::AlignRight : Qt::AlignLeft);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(view.viewport()->width() - 8);
    layout.endLayout();
    const QColor ink = view.palette().color(QPalette::Text);
    for (int caret = 0; caret <= text.size(); ++caret) {
        view.setCaretPosition(caret);
        const qreal edge = 4 + line.cursorToX(caret);
        const QImage image = view.viewport()->grab().toImage();
        QCOMPARE(image.devicePixelRatio(), 2.0);
        // Two device pixels of caret from the device pixel nearest the
        // edge on, none just before them: the gap between the glyphs.
        const int column = qRound(edge * 2);
        const int row = static_cast<int>(view.caretRectAt(caret).top() - view.viewport()->y()) * 2 + 2;
        QCOMPARE(image.pixelColor(column, row), ink);
        QCOMPARE(image.pixelColor(column + 1, row), ink);
        QVERIFY2(image.pixelColor(column - 1, row) != ink, qPrintable(QString::number(caret)));
    }
}

int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestHighDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_highdpi.moc"
