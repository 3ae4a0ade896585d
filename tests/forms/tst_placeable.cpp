#include "forms/commandbutton.h"
#include "forms/designfont.h"
#include "forms/label.h"
#include "forms/placeable.h"
#include "forms/textbox.h"
#include "forms/twips.h"
#include "tests/forms/testfolder.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QTest>
#include <memory>

using forms::Frame;
using forms::Label;

namespace {

// A window background that counts the moves reaching it.
class Background : public QWidget
{
public:
    Background() { setMouseTracking(true); }
    int moves = 0;

protected:
    void mouseMoveEvent(QMouseEvent *) override { ++moves; }
};

} // namespace

class TestPlaceable : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_folder = std::make_unique<TestFolder>(); }
    void cleanup() { m_folder.reset(); }

    void geometryInTwips_data();
    void geometryInTwips();
    void negativeSizeRefused_data();
    void negativeSizeRefused();
    void negativePositionApplied();
    void visibleIsTheControlsOwnState();
    void colorsInWindowRoles();
    void toolTipIsAccessibleName();
    void rgbFromHex_data();
    void rgbFromHex();
    void designFonts_data();
    void designFonts();
    void movesOverControlsStayWithThem();

private:
    std::unique_ptr<TestFolder> m_folder;
};

void TestPlaceable::geometryInTwips_data()
{
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("frame") << QRect(120, 7950, 2475, 1095) << QRect(8, 530, 165, 73);
    QTest::newRow("text box") << QRect(2700, 390, 10920, 7455) << QRect(180, 26, 728, 497);
    QTest::newRow("splitter bar") << QRect(2595, 420, 135, 7395) << QRect(173, 28, 9, 493);
    QTest::newRow("off-screen button") << QRect(18120, -1080, 195, 195) << QRect(1208, -72, 13, 13);
    QTest::newRow("zero size") << QRect(0, 0, 0, 0) << QRect(0, 0, 0, 0);
}

void TestPlaceable::geometryInTwips()
{
    QFETCH(QRect, twips);
    QFETCH(QRect, pixels);
    QWidget window;
    Frame frame(&window);
    frame.Place(twips.x(), twips.y(), twips.width(), twips.height());
    QCOMPARE(frame.Left(), twips.x());
    QCOMPARE(frame.Top(), twips.y());
    QCOMPARE(frame.Width(), twips.width());
    QCOMPARE(frame.Height(), twips.height());
    QCOMPARE(frame.geometry(), pixels);

    // Single setters land on the same pixels.
    Frame other(&window);
    other.SetLeft(twips.x());
    other.SetTop(twips.y());
    QVERIFY(other.SetWidth(twips.width()));
    QVERIFY(other.SetHeight(twips.height()));
    QCOMPARE(other.geometry(), pixels);
}

void TestPlaceable::negativeSizeRefused_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("widthTaken");
    QTest::addColumn<bool>("heightTaken");
    QTest::newRow("both negative") << -1 << -15 << false << false;
    QTest::newRow("negative width") << -330 << 500 << false << true;
    QTest::newRow("negative height") << 700 << -940 << true << false;
    QTest::newRow("zero") << 0 << 0 << true << true;
}

void TestPlaceable::negativeSizeRefused()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, widthTaken);
    QFETCH(bool, heightTaken);
    Label label;
    label.Place(100, 200, 1500, 3000);
    QCOMPARE(label.SetWidth(width), widthTaken);
    QCOMPARE(label.SetHeight(height), heightTaken);
    QCOMPARE(label.Width(), widthTaken ? width : 1500);
    QCOMPARE(label.Height(), heightTaken ? height : 3000);
    QCOMPARE(label.width(), forms::twipsToPixels(label.Width()));
    QCOMPARE(label.height(), forms::twipsToPixels(label.Height()));
}

void TestPlaceable::negativePositionApplied()
{
    QWidget window;
    Label label(&window);
    label.Place(0, 0, 150, 150);
    label.SetLeft(-450);
    label.SetTop(-1080);
    QCOMPARE(label.Left(), -450);
    QCOMPARE(label.Top(), -1080);
    QCOMPARE(label.pos(), QPoint(-30, -72));
    QCOMPARE(label.Width(), 150);
}

void TestPlaceable::visibleIsTheControlsOwnState()
{
    QWidget window;
    Frame frame(&window);
    Label inside(&frame);
    QVERIFY(frame.Visible());
    QVERIFY(inside.Visible());
    frame.SetVisible(false);
    QVERIFY(!frame.Visible());
    // A control in a hidden container is still Visible itself.
    QVERIFY(inside.Visible());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!inside.isVisible());
    frame.SetVisible(true);
    QVERIFY(frame.Visible());
    QVERIFY(inside.isVisible());
}

void TestPlaceable::colorsInWindowRoles()
{
    Label label;
    label.SetBackColor(forms::rgb(0xe0e0e0));
    label.SetForeColor(forms::rgb(0x000080));
    QCOMPARE(label.BackColor(), QColor(0xe0, 0xe0, 0xe0));
    QCOMPARE(label.palette().color(QPalette::Window), QColor(0xe0, 0xe0, 0xe0));
    QCOMPARE(label.palette().color(QPalette::WindowText), QColor(0, 0, 0x80));
    QVERIFY(label.autoFillBackground());
    label.SetBackColor(forms::rgb(0xc0c0c0));
    QCOMPARE(label.palette().color(QPalette::Window), QColor(0xc0, 0xc0, 0xc0));
    QCOMPARE(label.palette().color(QPalette::WindowText), QColor(0, 0, 0x80));
}

void TestPlaceable::toolTipIsAccessibleName()
{
    forms::CommandButton button;
    button.SetToolTipText(QStringLiteral("neu einlesen"));
    QCOMPARE(button.toolTip(), QStringLiteral("neu einlesen"));
    QCOMPARE(button.accessibleName(), QStringLiteral("neu einlesen"));
}

void TestPlaceable::rgbFromHex_data()
{
    QTest::addColumn<uint>("hex");
    QTest::addColumn<QColor>("color");
    QTest::newRow("green") << 0x00C000u << QColor(0, 0xc0, 0);
    QTest::newRow("salmon") << 0xFF8080u << QColor(0xff, 0x80, 0x80);
    QTest::newRow("navy") << 0x000080u << QColor(0, 0, 0x80);
    QTest::newRow("white") << 0xFFFFFFu << QColor(0xff, 0xff, 0xff);
    QTest::newRow("black") << 0u << QColor(0, 0, 0);
}

void TestPlaceable::rgbFromHex()
{
    QFETCH(uint, hex);
    QFETCH(QColor, color);
    QCOMPARE(forms::rgb(hex), color);
}

void TestPlaceable::designFonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("family");
    const QString general = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    const QString fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    QTest::newRow("MS Sans Serif") << QStringLiteral("MS Sans Serif") << 8.25 << true << general;
    QTest::newRow("Fixedsys") << QStringLiteral("Fixedsys") << 9.0 << false << fixed;
    QTest::newRow("Webdings") << QStringLiteral("Webdings") << 14.25 << false << general;
    QTest::newRow("Arial") << QStringLiteral("Arial") << 11.25 << true << QStringLiteral("Arial");
}

void TestPlaceable::designFonts()
{
    QFETCH(QString, name);
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(QString, family);
    const QFont font = forms::designFont(name, points, bold);
    QCOMPARE(font.family(), family);
    QCOMPARE(font.pointSizeF(), points);
    QCOMPARE(font.bold(), bold);
    if (name == QLatin1String("Arial"))
        QCOMPARE(font.styleHint(), QFont::SansSerif);
    Label label;
    label.SetDesignFont(name, points, bold);
    QCOMPARE(label.font().family(), family);
    QCOMPARE(label.font().pointSizeF(), points);
}

void TestPlaceable::movesOverControlsStayWithThem()
{
    Background window;
    window.resize(300, 200);
    forms::CommandButton button(QStringLiteral("OK"), &window);
    button.Place(150, 150, 1500, 600);
    Frame frame(&window);
    frame.Place(1800, 150, 1500, 1500);
    Label label(&window);
    label.Place(150, 1800, 1500, 600);
    forms::TextBox box(&window);
    box.Place(1800, 1800, 1500, 900);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseMove(&window, QPoint(280, 180));
    QTRY_COMPARE(window.moves, 1);
    QTest::mouseMove(&button, QPoint(20, 10));
    QTest::mouseMove(&frame, QPoint(30, 30));
    QTest::mouseMove(&label, QPoint(3, 3));
    QTest::mouseMove(box.viewport(), QPoint(5, 5));
    QTest::mouseMove(&window, QPoint(281, 181));
    QTRY_COMPARE(window.moves, 2);
}

QTEST_MAIN(TestPlaceable)
#include "tst_placeable.moc"
