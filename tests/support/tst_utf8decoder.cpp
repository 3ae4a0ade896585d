#include "support/utf8decoder.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTest>

using namespace support;

// The decoder must agree with Qt's strict UTF-8 decoder on every input: the
// same verdict on validity and, for valid input, the same text.
class TestUtf8Decoder : public QObject
{
    Q_OBJECT

private slots:
    void agreesWithQt_data();
    void agreesWithQt();
    void agreesWithQtOnRandomBytes_data();
    void agreesWithQtOnRandomBytes();
};

namespace {

std::optional<QString> decodedByQt(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

void TestUtf8Decoder::agreesWithQt_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");

    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("ASCII shorter than a word") << QByteArray("abcdefg") << true;
    QTest::newRow("ASCII of two words and one") << QByteArray("abcdefghijklmnopq") << true;
    QTest::newRow("umlaut after a word") << QByteArray("abcdefgh\xC3\xBCxyz") << true;
    QTest::newRow("umlaut inside a word") << QByteArray("abc\xC3\xBC"
                                                        "defghijkl")
                                          << true;
    QTest::newRow("NUL bytes") << QByteArray("a\0b\0c\0d\0e\0", 10) << true;
    QTest::newRow("BOM kept") << QByteArray("\xEF\xBB\xBFx") << true;
    QTest::newRow("lowest two-byte") << QByteArray("\xC2\x80") << true;
    QTest::newRow("highest two-byte") << QByteArray("\xDF\xBF") << true;
    QTest::newRow("lowest three-byte") << QByteArray("\xE0\xA0\x80") << true;
    QTest::newRow("overlong three-byte") << QByteArray("\xE0\x9F\xBF") << false;
    QTest::newRow("last before surrogates") << QByteArray("\xED\x9F\xBF") << true;
    QTest::newRow("high surrogate") << QByteArray("\xED\xA0\x80") << false;
    QTest::newRow("low surrogate") << QByteArray("\xED\xBF\xBF") << false;
    QTest::newRow("noncharacter FFFF") << QByteArray("\xEF\xBF\xBF") << true;
    QTest::newRow("lowest four-byte") << QByteArray("\xF0\x90\x80\x80") << true;
    QTest::newRow("overlong four-byte") << QByteArray("\xF0\x8F\xBF\xBF") << false;
    QTest::newRow("highest code point") << QByteArray("\xF4\x8F\xBF\xBF") << true;
    QTest::newRow("beyond the highest code point") << QByteArray("\xF4\x90\x80\x80") << false;
    QTest::newRow("lead F5") << QByteArray("\xF5\x80\x80\x80") << false;
    QTest::newRow("lead FF") << QByteArray("\xFF") << false;
    QTest::newRow("overlong NUL") << QByteArray("\xC0\x80") << false;
    QTest::newRow("overlong C1") << QByteArray("\xC1\xBF") << false;
    QTest::newRow("lone continuation") << QByteArray("a\x80") << false;
    QTest::newRow("two-byte cut off") << QByteArray("a\xC3") << false;
    QTest::newRow("three-byte cut off") << QByteArray("a\xE2\x82") << false;
    QTest::newRow("four-byte cut off") << QByteArray("a\xF0\x9F\x98") << false;
    QTest::newRow("lead followed by ASCII") << QByteArray("\xC3(abc") << false;
    QTest::newRow("Windows-1252 umlauts") << QByteArray("Gr\xFC\xDF"
                                                        "e")
                                          << false;
}

void TestUtf8Decoder::agreesWithQt()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);

    const std::optional<QString> expected = decodedByQt(bytes);
    QCOMPARE(expected.has_value(), valid);
    const std::optional<QString> decoded = decodeStrictUtf8(bytes);
    QCOMPARE(decoded.has_value(), valid);
    if (valid)
        QCOMPARE(*decoded, *expected);
}

void TestUtf8Decoder::agreesWithQtOnRandomBytes_data()
{
    QTest::addColumn<quint32>("seed");

    for (quint32 seed = 1; seed <= 8; ++seed)
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

// Random byte strings from an alphabet of ASCII, continuation bytes and
// every kind of lead byte, so that valid and invalid cases both come up.
void TestUtf8Decoder::agreesWithQtOnRandomBytes()
{
    QFETCH(quint32, seed);

    static const QByteArray alphabet("a\r\n\t\x80\x8F\x90\x9F\xA0\xBF\xC0\xC2\xDF\xE0\xED\xEF\xF0\xF4\xF5\xFF");
    QRandomGenerator random(seed);
    int valid = 0;
    for (int round = 0; round < 5000; ++round) {
        QByteArray bytes;
        const int length = random.bounded(24);
        for (int i = 0; i < length; ++i)
            bytes.append(alphabet.at(random.bounded(int(alphabet.size()))));
        const std::optional<QString> expected = decodedByQt(bytes);
        const std::optional<QString> decoded = decodeStrictUtf8(bytes);
        QVERIFY2(decoded.has_value() == expected.has_value(), bytes.toHex(' ').constData());
        if (expected) {
            QVERIFY2(*decoded == *expected, bytes.toHex(' ').constData());
            ++valid;
        }
    }
    QVERIFY(valid > 100);
}

QTEST_GUILESS_MAIN(TestUtf8Decoder)
#include "tst_utf8decoder.moc"
