#include "app/settings.h"
#include "tests/testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using testsupport::readAll;
using testsupport::writeAll;

namespace {

const QString section = QStringLiteral("Brenwick TXT-HTML-CSS-Editor");

QString letters(int length)
{
    QString text;
    text.reserve(length);
    for (int i = 0; i < length; ++i)
        text.append(QChar(u'A' + i % 26));
    return text;
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void readIni_data();
    void readIni();
    void readIniNumberDefault_data();
    void readIniNumberDefault();
    void readIniLeavesNamesAlone();
    void readIniThroughVal_data();
    void readIniThroughVal();
    void writeIni_data();
    void writeIni();
    void writeIniUnwritable();
    void exampleFile();
    void val_data();
    void val();
    void numberText_data();
    void numberText();
    void roundHalfEven_data();
    void roundHalfEven();
};

void TestSettings::readIni_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("defaultValue");
    QTest::addColumn<QString>("expected");

    const QByteArray height("[Brenwick TXT-HTML-CSS-Editor]\r\nHeight=9000\r\n");
    QTest::newRow("no file") << false << QByteArray() << "Height"
                             << "8445"
                             << "8445";
    QTest::newRow("stored value") << true << height << "Height"
                                  << "8445"
                                  << "9000";
    QTest::newRow("key in other case") << true << height << "hEIGHT"
                                       << "8445"
                                       << "9000";
    QTest::newRow("section in capitals") << true << QByteArray("[BRENWICK TXT-HTML-CSS-EDITOR]\r\nHEIGHT=7000\r\n")
                                         << "Height"
                                         << "8445"
                                         << "7000";
    QTest::newRow("section in lower case")
        << true << QByteArray("[brenwick txt-html-css-editor]\nheight=7000\n") << "Height"
        << "8445"
        << "7000";
    QTest::newRow("missing key") << true << height << "Top"
                                 << "-1"
                                 << "-1";
    QTest::newRow("other section only") << true << QByteArray("[Other]\r\nTop=5\r\n") << "Top"
                                        << "-1"
                                        << "-1";
    QTest::newRow("empty value gives default")
        << true << QByteArray("[Brenwick TXT-HTML-CSS-Editor]\r\nTop=\r\n") << "Top"
        << "-1"
        << "-1";
    QTest::newRow("text value") << true << QByteArray("[Brenwick TXT-HTML-CSS-Editor]\r\nHeight=abc\r\n") << "Height"
                                << "8445"
                                << "abc";
    QTest::newRow("path value") << true << QByteArray("[Brenwick TXT-HTML-CSS-Editor]\r\nLastDir=C:\\Web\\Größe\\\r\n")
                                << "LastDir"
                                << ""
                                << "C:\\Web\\Größe\\";
    QTest::newRow("key with sharp s") << true << QByteArray("[Brenwick TXT-HTML-CSS-Editor]\r\nStraße=1\r\n")
                                      << "straße"
                                      << "0"
                                      << "1";
    QTest::newRow("3000 characters cut to 2047")
        << true << "[Brenwick TXT-HTML-CSS-Editor]\r\nLastCSS=" + letters(3000).toUtf8() + "\r\n"
        << "LastCSS"
        << "" << letters(2047);
    QTest::newRow("2047 characters whole")
        << true << "[Brenwick TXT-HTML-CSS-Editor]\r\nLastCSS=" + letters(2047).toUtf8() + "\r\n"
        << "LastCSS"
        << "" << letters(2047);
    QTest::newRow("2048 characters cut to 2047")
        << true << "[Brenwick TXT-HTML-CSS-Editor]\r\nLastCSS=" + letters(2048).toUtf8() + "\r\n"
        << "LastCSS"
        << "" << letters(2047);
}

void TestSettings::readIni()
{
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, content);
    QFETCH(QString, key);
    QFETCH(QString, defaultValue);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("editor.ini");
    if (fileExists)
        QVERIFY(writeAll(file, content));

    QCOMPARE(ReadIni(section, key, file, defaultValue), expected);
    QCOMPARE(QFileInfo::exists(file), fileExists);
}

void TestSettings::readIniNumberDefault_data()
{
    QTest::addColumn<qlonglong>("defaultValue");
    QTest::addColumn<QString>("expected");
    QTest::newRow("8445") << 8445LL << "8445";
    QTest::newRow("-1") << -1LL << "-1";
    QTest::newRow("0") << 0LL << "0";
}

void TestSettings::readIniNumberDefault()
{
    QFETCH(qlonglong, defaultValue);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(ReadIni(section, "Height", dir.filePath("none.ini"), defaultValue), expected);
}

void TestSettings::readIniLeavesNamesAlone()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("editor.ini");
    QVERIFY(writeAll(file, "[Brenwick TXT-HTML-CSS-Editor]\r\nSplitVTop=3000\r\n"));
    const QString sectionName = section;
    const QString key = QStringLiteral("SplitVTop");
    QCOMPARE(ReadIni(sectionName, key, file, QStringLiteral("2775")), QStringLiteral("3000"));
    QCOMPARE(sectionName, section);
    QCOMPARE(key, QStringLiteral("SplitVTop"));
    QCOMPARE(readAll(file), QByteArray("[Brenwick TXT-HTML-CSS-Editor]\r\nSplitVTop=3000\r\n"));
}

void TestSettings::readIniThroughVal_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<double>("expected");
    QTest::newRow("9000abc") << QByteArray("9000abc") << 9000.0;
    QTest::newRow("abc") << QByteArray("abc") << 0.0;
    QTest::newRow("empty, default -1") << QByteArray("") << -1.0;
    QTest::newRow("quoted") << QByteArray("\"1200\"") << 1200.0;
}

void TestSettings::readIniThroughVal()
{
    QFETCH(QByteArray, stored);
    QFETCH(double, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("editor.ini");
    QVERIFY(writeAll(file, "[Brenwick TXT-HTML-CSS-Editor]\r\nHeight=" + stored + "\r\n"));
    QCOMPARE(Val(ReadIni(section, "Height", file, -1LL)), expected);
}

void TestSettings::writeIni_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("section in capitals updated")
        << QByteArray("[BRENWICK TXT-HTML-CSS-EDITOR]\r\nHEIGHT=7000\r\n") << "Height"
        << "8445" << QByteArray("[BRENWICK TXT-HTML-CSS-EDITOR]\r\nHEIGHT=8445\r\n");
    QTest::newRow("new key in capital section")
        << QByteArray("[BRENWICK TXT-HTML-CSS-EDITOR]\r\nHEIGHT=7000\r\n") << "Width"
        << "13740" << QByteArray("[BRENWICK TXT-HTML-CSS-EDITOR]\r\nHEIGHT=7000\r\nWidth=13740\r\n");
    QTest::newRow("unknown keys kept") << QByteArray("[Brenwick TXT-HTML-CSS-Editor]\r\nMine=1\r\nTop=0\r\n") << "Top"
                                       << "-1" << QByteArray("[Brenwick TXT-HTML-CSS-Editor]\r\nMine=1\r\nTop=-1\r\n");
    QTest::newRow("other section kept") << QByteArray("[Other]\r\nTop=5\r\n") << "Top"
                                        << "1"
                                        << QByteArray("[Other]\r\nTop=5\r\n[Brenwick TXT-HTML-CSS-Editor]\r\n"
                                                      "Top=1\r\n");
    QTest::newRow("empty value replaces")
        << QByteArray("[Brenwick TXT-HTML-CSS-Editor]\r\nLastCSS=a.css\r\n") << "LastCSS"
        << "" << QByteArray("[Brenwick TXT-HTML-CSS-Editor]\r\nLastCSS=\r\n");
}

void TestSettings::writeIni()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("editor.ini");
    QVERIFY(writeAll(file, before));
    const QString result = WriteIni(section, key, value, file);
    QVERIFY(result.isEmpty());
    QCOMPARE(readAll(file), after);
    QCOMPARE(ReadIni(section, key, file, QStringLiteral("dflt")), value.isEmpty() ? QStringLiteral("dflt") : value);
}

void TestSettings::writeIniUnwritable()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("missing folder/editor.ini");
    QCOMPARE(WriteIni(section, "Top", "1", file), QString());
    QVERIFY(!QFileInfo::exists(dir.filePath("missing folder")));
    QCOMPARE(ReadIni(section, "Top", file, -1LL), QStringLiteral("-1"));
}

// A stylesheet picked, then the window closed: the file as it comes to be.
void TestSettings::exampleFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("editor.ini");
    const QList<std::pair<QString, QString>> writes = {
        {"LastCSS", "C:\\Web\\site.css"},
        {"LastDir", "C:\\Web\\"},
        {"Top", "1200"},
        {"Left", "2400"},
        {"Height", "8445"},
        {"Width", "13740"},
        {"Dark", "0"},
        {"Green", "1"},
        {"SplitHLeft", "2595"},
        {"SplitVTop", "2775"},
    };
    for (const auto &[key, value] : writes)
        QVERIFY(WriteIni(section, key, value, file).isEmpty());

    const QStringList expected = {
        "[Brenwick TXT-HTML-CSS-Editor]",
        "LastCSS=C:\\Web\\site.css",
        "LastDir=C:\\Web\\",
        "Top=1200",
        "Left=2400",
        "Height=8445",
        "Width=13740",
        "Dark=0",
        "Green=1",
        "SplitHLeft=2595",
        "SplitVTop=2775",
    };
    const QByteArray bytes = readAll(file);
    QVERIFY(bytes.endsWith("\r\n"));
    const QStringList lines = QString::fromUtf8(bytes.chopped(2)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines, expected);
    QVERIFY(!bytes.contains("\n\n") && !bytes.contains("\r\r"));
    QCOMPARE(bytes.count('\n'), expected.size());
    QCOMPARE(bytes.count('\r'), expected.size());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"editor.ini"});
}

void TestSettings::val_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("whole number") << "8445" << 8445.0;
    QTest::newRow("decimal") << "1.5" << 1.5;
    QTest::newRow("negative") << "-1" << -1.0;
    QTest::newRow("plus sign") << "+7" << 7.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("trailing point") << "3." << 3.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("text") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("sign and point") << "-." << 0.0;
    QTest::newRow("number then text") << "9000abc" << 9000.0;
    QTest::newRow("blanks inside") << "  12  3x" << 123.0;
    QTest::newRow("blank between digits") << "1 2" << 12.0;
    QTest::newRow("tab and line feed inside") << "\t1\n2\t.\n5" << 12.5;
    QTest::newRow("blank after sign") << "- 4" << -4.0;
    QTest::newRow("carriage return stops") << "1\r2" << 1.0;
    QTest::newRow("comma is no decimal point") << "1,5" << 1.0;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("double sign") << "--1" << 0.0;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("capital exponent") << "2E2" << 200.0;
    QTest::newRow("negative exponent") << "5e-1" << 0.5;
    QTest::newRow("signed exponent with blanks") << "1 e + 2" << 100.0;
    QTest::newRow("exponent without digits") << "1e" << 1.0;
    QTest::newRow("exponent sign without digits") << "1e-" << 1.0;
    QTest::newRow("exponent then text") << "1e2x" << 100.0;
    QTest::newRow("D exponent") << "1D3" << 1000.0;
    QTest::newRow("d exponent") << "25d-1" << 2.5;
    QTest::newRow("all parts") << "+.5e-1" << 0.05;
    QTest::newRow("exponent alone") << "e5" << 0.0;
    QTest::newRow("leading zeros") << "007" << 7.0;
    QTest::newRow("negative zero") << "-0" << 0.0;
    QTest::newRow("hex is not read") << "&H10" << 0.0;
    QTest::newRow("letters first") << "x12" << 0.0;
    QTest::newRow("too large") << "1e400" << 0.0;
    QTest::newRow("too small") << "1e-400" << 0.0;
    QTest::newRow("many digits") << QString(400, u'0') + "12" << 12.0;
    QTest::newRow("large whole number") << "123456789012" << 123456789012.0;
}

void TestSettings::val()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(Val(text), expected);
}

void TestSettings::numberText_data()
{
    QTest::addColumn<qlonglong>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("positive") << 8445LL << "8445";
    QTest::newRow("negative") << -1LL << "-1";
    QTest::newRow("zero") << 0LL << "0";
    QTest::newRow("large") << 9007199254740993LL << "9007199254740993";
    QTest::newRow("most negative") << (-9223372036854775807LL - 1) << "-9223372036854775808";
}

void TestSettings::numberText()
{
    QFETCH(qlonglong, value);
    QFETCH(QString, expected);
    QCOMPARE(NumberText(value), expected);
}

void TestSettings::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("0.5") << 0.5 << 0.0;
    QTest::newRow("1.5") << 1.5 << 2.0;
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("3.5") << 3.5 << 4.0;
    QTest::newRow("-0.5") << -0.5 << -0.0;
    QTest::newRow("-1.5") << -1.5 << -2.0;
    QTest::newRow("-2.5") << -2.5 << -2.0;
    QTest::newRow("2.4") << 2.4 << 2.0;
    QTest::newRow("2.6") << 2.6 << 3.0;
    QTest::newRow("-2.6") << -2.6 << -3.0;
    QTest::newRow("whole") << 7.0 << 7.0;
    QTest::newRow("just under a half") << 0.49999999999999994 << 0.0;
    QTest::newRow("large half") << 4503599627370495.5 << 4503599627370496.0;
    QTest::newRow("beyond fractions") << 9007199254740992.0 << 9007199254740992.0;
}

void TestSettings::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    const double result = RoundHalfEven(value);
    QCOMPARE(result, expected);
    QCOMPARE(std::signbit(result), std::signbit(expected));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
