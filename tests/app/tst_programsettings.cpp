#include "app/appstate.h"
#include "app/programsettings.h"
#include "tests/testsupport.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(SettingKey)

using testsupport::readAll;
using testsupport::writeAll;

class TestProgramSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void defaultsOfMissingKeys_data();
    void defaultsOfMissingKeys();
    void storedValueWins();
    void writeGoesToTheProgramsSection();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestProgramSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    App() = AppState{};
    App().AppTitle = QStringLiteral("Brenwick TXT-HTML-CSS-Editor");
    App().IniFile = m_dir->filePath(QStringLiteral("Editor.ini"));
}

void TestProgramSettings::cleanup()
{
    App() = AppState{};
    m_dir.reset();
}

// The keys as the file spells them and the values read in their place.
void TestProgramSettings::defaultsOfMissingKeys_data()
{
    QTest::addColumn<SettingKey>("key");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("read");

    QTest::newRow("LastDir") << settingkeys::LastDir << "LastDir"
                             << "";
    QTest::newRow("LastCSS") << settingkeys::LastCSS << "LastCSS"
                             << "";
    QTest::newRow("Green") << settingkeys::Green << "Green"
                           << "0";
    QTest::newRow("Dark") << settingkeys::Dark << "Dark"
                          << "0";
    QTest::newRow("Height") << settingkeys::Height << "Height"
                            << "8445";
    QTest::newRow("Width") << settingkeys::Width << "Width"
                           << "";
    QTest::newRow("Top, first read") << settingkeys::TopOrCentred << "Top"
                                     << "-1";
    QTest::newRow("Top") << settingkeys::Top << "Top"
                         << "0";
    QTest::newRow("Left") << settingkeys::Left << "Left"
                          << "0";
    QTest::newRow("SplitHLeft") << settingkeys::SplitHLeft << "SplitHLeft"
                                << "";
    QTest::newRow("SplitVTop") << settingkeys::SplitVTop << "SplitVTop"
                               << "2775";
}

void TestProgramSettings::defaultsOfMissingKeys()
{
    QFETCH(SettingKey, key);
    QFETCH(QString, name);
    QFETCH(QString, read);

    QCOMPARE(QString(key.name), name);
    QCOMPARE(ReadSetting(key), read);
    QVERIFY(writeAll(App().IniFile, "[Brenwick TXT-HTML-CSS-Editor]\r\n" + name.toUtf8() + "=\r\n"));
    QCOMPARE(ReadSetting(key), read);
    QCOMPARE(ReadSetting(key, QStringLiteral("eigen")), QStringLiteral("eigen"));
}

void TestProgramSettings::storedValueWins()
{
    QVERIFY(writeAll(App().IniFile, "[BRENWICK TXT-HTML-CSS-EDITOR]\r\nsplitvtop=3000\r\n[Other]\r\nHeight=1\r\n"));
    QCOMPARE(ReadSetting(settingkeys::SplitVTop), QStringLiteral("3000"));
    QCOMPARE(ReadSetting(settingkeys::Height), QStringLiteral("8445"));
}

void TestProgramSettings::writeGoesToTheProgramsSection()
{
    WriteSetting(settingkeys::LastCSS, QStringLiteral("/web/site.css"));
    WriteSetting(settingkeys::Top, QStringLiteral("1200"));
    QCOMPARE(readAll(App().IniFile),
             QByteArray("[Brenwick TXT-HTML-CSS-Editor]\r\nLastCSS=/web/site.css\r\nTop=1200\r\n"));
}

QTEST_GUILESS_MAIN(TestProgramSettings)
#include "tst_programsettings.moc"
