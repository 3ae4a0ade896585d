#include "support/umlauts.h"

#include <QTest>

using namespace support;

class TestUmlauts : public QObject
{
    Q_OBJECT

private slots:
    void umlautsToEntities_data();
    void umlautsToEntities();
    void resultConvertsToItself_data();
    void resultConvertsToItself();
    void everyOtherCharacterStays();
};

void TestUmlauts::umlautsToEntities_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("greeting") << QStringLiteral("Grüße aus Köln") << "Gr&uuml;&szlig;e aus K&ouml;ln";
    QTest::newRow("capitals") << QStringLiteral("Ärger über Öl") << "&Auml;rger &uuml;ber &Ouml;l";
    QTest::newRow("euro and copyright") << QStringLiteral("5 € ©") << "5 &euro; &copy;";
    QTest::newRow("e with accents") << QStringLiteral("café crème fête") << "caf&eacute; cr&egrave;me f&ecirc;te";
    QTest::newRow("capital e with accents and a stay")
        << QStringLiteral("CAFÉ à la carte") << QStringLiteral("CAFÉ à la carte");
    QTest::newRow("markup characters stay") << "a &lt; b & c"
                                            << "a &lt; b & c";
    QTest::newRow("existing entity stays") << "&auml;"
                                           << "&auml;";
    QTest::newRow("È É Ê à â stay") << QStringLiteral("ÈÉÊàâ") << QStringLiteral("ÈÉÊàâ");
    QTest::newRow("all twelve in table order") << QStringLiteral("äÄöÖüÜß©€èéê")
                                               << "&auml;&Auml;&ouml;&Ouml;&uuml;&Uuml;&szlig;&copy;&euro;"
                                                  "&egrave;&eacute;&ecirc;";
    QTest::newRow("inside markup") << QStringLiteral("<p title=\"Größe\"><!-- ü --></p>")
                                   << "<p title=\"Gr&ouml;&szlig;e\"><!-- &uuml; --></p>";
    QTest::newRow("at both ends") << QStringLiteral("üxü") << "&uuml;x&uuml;";
    QTest::newRow("only one") << QStringLiteral("ß") << "&szlig;";
    QTest::newRow("lookalikes stay") << QStringLiteral("\u00A8\u00AA\u0308\u00E5")
                                     << QStringLiteral("\u00A8\u00AA\u0308\u00E5");
}

void TestUmlauts::umlautsToEntities()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);

    const QString before = text;
    QCOMPARE(UmlautsToEntities(text), expected);
    QCOMPARE(text, before);
}

void TestUmlauts::resultConvertsToItself_data()
{
    umlautsToEntities_data();
}

void TestUmlauts::resultConvertsToItself()
{
    QFETCH(QString, text);

    const QString once = UmlautsToEntities(text);
    QCOMPARE(UmlautsToEntities(once), once);
}

void TestUmlauts::everyOtherCharacterStays()
{
    const QString replaced = QStringLiteral("äÄöÖüÜß©€èéê");
    QString others;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (QChar::isSurrogate(c) || replaced.contains(QChar(char16_t(c))))
            continue;
        others.append(QChar(char16_t(c)));
    }
    QCOMPARE(others.size(), 0xFFFF - 0x800 - 12);
    QCOMPARE(UmlautsToEntities(others), others);
}

QTEST_GUILESS_MAIN(TestUmlauts)
#include "tst_umlauts.moc"
