// The colour schemes' palettes: every colour at least 4.5:1 against its
// background and the marking; and the contrast computed as WCAG defines it.
#include "syntax/palette.h"

#include <QTest>

using namespace syntax;

class PaletteTest : public QObject
{
    Q_OBJECT
private slots:
    void contrast_data();
    void contrast();
    void everyColourReadable_data();
    void everyColourReadable();
};

void PaletteTest::contrast_data()
{
    QTest::addColumn<quint32>("first");
    QTest::addColumn<quint32>("second");
    QTest::addColumn<double>("ratio");
    QTest::newRow("black on white") << 0x000000u << 0xFFFFFFu << 21.0;
    QTest::newRow("either order") << 0xFFFFFFu << 0x000000u << 21.0;
    QTest::newRow("same colour") << 0x336699u << 0x336699u << 1.0;
    QTest::newRow("the lightest grey at 4.5 on white") << 0x767676u << 0xFFFFFFu << 4.54;
    QTest::newRow("pure red on white") << 0xFF0000u << 0xFFFFFFu << 4.0;
}

void PaletteTest::contrast()
{
    QFETCH(quint32, first);
    QFETCH(quint32, second);
    QFETCH(double, ratio);
    QVERIFY2(qAbs(contrastRatio(first, second) - ratio) < 0.01,
             qPrintable(QString::number(contrastRatio(first, second))));
}

void PaletteTest::everyColourReadable_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<bool>("green");
    QTest::addColumn<quint32>("background");
    QTest::addColumn<quint32>("text");
    // The panes' own colours in each scheme.
    QTest::newRow("white") << false << false << 0xFFFFFFu << 0x000000u;
    QTest::newRow("green") << false << true << 0xFFFFFFu << 0x004000u;
    QTest::newRow("dark") << true << false << 0x000000u << 0xE0E0E0u;
    QTest::newRow("dark and green") << true << true << 0x000000u << 0x00FF00u;
}

void PaletteTest::everyColourReadable()
{
    QFETCH(bool, dark);
    QFETCH(bool, green);
    QFETCH(quint32, background);
    QFETCH(quint32, text);
    const SyntaxPalette &palette = syntaxPalette(dark, green);
    QCOMPARE(palette.background, background);
    QCOMPARE(palette.roles[static_cast<size_t>(Role::Plain)], text);
    std::vector<quint32> colours(palette.roles.begin(), palette.roles.end());
    colours.push_back(palette.lineNumber);
    for (const quint32 colour : colours) {
        for (const quint32 behind : {palette.background, palette.mark}) {
            const double ratio = contrastRatio(colour, behind);
            QVERIFY2(ratio >= 4.5,
                     qPrintable(QStringLiteral("%1 on %2: %3")
                                    .arg(colour, 6, 16, QLatin1Char('0'))
                                    .arg(behind, 6, 16, QLatin1Char('0'))
                                    .arg(ratio)));
        }
    }
}

QTEST_APPLESS_MAIN(PaletteTest)
#include "tst_palette.moc"
