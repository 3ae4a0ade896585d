// Where the settings file lies: beside the executable in the portable case,
// in the per-user configuration folder otherwise, and that folder made,
// for the user alone, only when the first value is written.
#include "app/desktopidentity.h"
#include "app/settings.h"
#include "app/settingslocation.h"
#include "tests/faultinjection.h"
#include "tests/testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using testsupport::readAll;
using testsupport::writeAll;

namespace {
const QString section = QStringLiteral("Brenwick TXT-HTML-CSS-Editor");
constexpr QFile::Permissions userOnly
    = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
} // namespace

class TestSettingsLocation : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void location_data();
    void location();
    void firstRunFolder_data();
    void firstRunFolder();
    void folderMadeAtFirstWrite_data();
    void folderMadeAtFirstWrite();

private:
    // Stands for the user's home: the configuration location lies inside.
    QTemporaryDir m_home;
    QString m_config;
};

void TestSettingsLocation::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.path() + QStringLiteral("/.config")));
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName(ApplicationName());
    m_config = m_home.path() + QStringLiteral("/.config/brenwick-editor");
    QCOMPARE(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation), m_config);
}

void TestSettingsLocation::init()
{
    QDir(m_home.path() + QStringLiteral("/.config")).removeRecursively();
}

void TestSettingsLocation::location_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("perUser");

    QTest::newRow("writable folder") << "writable" << false;
    QTest::newRow("installed copy in a writable folder") << "installed" << true;
    QTest::newRow("read-only file system") << "read-only mount" << true;
    QTest::newRow("executable folder gone") << "missing" << true;
    QTest::newRow("executable folder is a file") << "file" << true;
}

void TestSettingsLocation::location()
{
    QFETCH(QString, folder);
    QFETCH(bool, perUser);

    QTemporaryDir dir;
    testsupport::FileSystemFaults faults;
    QString bin = dir.path() + QStringLiteral("/bin");
    QVERIFY(QDir().mkpath(bin));
    if (folder == QLatin1String("installed")) {
        QVERIFY(QDir().mkpath(dir.path() + QStringLiteral("/share/applications")));
        QVERIFY(writeAll(dir.path() + QStringLiteral("/share/applications/") + DesktopFileName()
                             + QStringLiteral(".desktop"),
                         "[Desktop Entry]\n"));
    } else if (folder == QLatin1String("read-only mount")) {
        if (!faults.mountSmallFileSystem(bin, 65536))
            QSKIP("mounting a small tmpfs needs root and a machine that allows it");
        QVERIFY(faults.remountReadOnly(bin));
    } else if (folder == QLatin1String("missing")) {
        QVERIFY(QDir(bin).removeRecursively());
    } else if (folder == QLatin1String("file")) {
        QVERIFY(QDir(bin).removeRecursively());
        QVERIFY(writeAll(bin, "not a folder"));
    }

    const QString beside = QDir::toNativeSeparators(bin + QStringLiteral("/Editor.ini"));
    const QString chosen = SettingsFileLocation(beside);
    QCOMPARE(chosen, perUser ? QDir::toNativeSeparators(m_config + QStringLiteral("/Editor.ini")) : beside);
    // Choosing creates nothing: the folder comes with the first write.
    QVERIFY(!QFileInfo::exists(m_config));
}

void TestSettingsLocation::firstRunFolder_data()
{
    QTest::addColumn<bool>("perUser");
    QTest::newRow("settings beside the executable") << false;
    QTest::newRow("per-user settings") << true;
}

void TestSettingsLocation::firstRunFolder()
{
    QFETCH(bool, perUser);
    const QString executableFolder = QDir::toNativeSeparators(QStringLiteral("/opt/editor/bin/"));
    const QString ini
        = perUser ? m_config + QStringLiteral("/Editor.ini") : QStringLiteral("/opt/editor/bin/Editor.ini");
    const QString home = QDir::toNativeSeparators(m_home.path()) + QDir::separator();
    QCOMPARE(FirstRunFolder(executableFolder, QDir::toNativeSeparators(ini)), perUser ? home : executableFolder);
}

void TestSettingsLocation::folderMadeAtFirstWrite_data()
{
    QTest::addColumn<bool>("configExists");
    QTest::addColumn<bool>("oneWrite");

    QTest::newRow("no configuration folder yet, single write") << false << false;
    QTest::newRow("no configuration folder yet, values in one write") << false << true;
    QTest::newRow("configuration folder there, single write") << true << false;
    QTest::newRow("configuration folder there, values in one write") << true << true;
}

void TestSettingsLocation::folderMadeAtFirstWrite()
{
    QFETCH(bool, configExists);
    QFETCH(bool, oneWrite);

    const QString configHome = m_home.path() + QStringLiteral("/.config");
    const QFile::Permissions configHomeMode = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser
        | QFile::WriteUser | QFile::ExeUser | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    if (configExists) {
        QVERIFY(QDir().mkpath(configHome));
        QVERIFY(QFile::setPermissions(configHome, configHomeMode));
    }
    const QString ini = QDir::toNativeSeparators(m_config + QStringLiteral("/Editor.ini"));
    if (oneWrite) {
        WriteIniValues(section,
                       {{QStringLiteral("Dark"), QStringLiteral("1")}, {QStringLiteral("Green"), QStringLiteral("1")}},
                       ini);
    } else {
        WriteIni(section, QStringLiteral("Dark"), QStringLiteral("1"), ini);
        WriteIni(section, QStringLiteral("Green"), QStringLiteral("1"), ini);
    }
    QCOMPARE(readAll(ini), QByteArray("[Brenwick TXT-HTML-CSS-Editor]\r\nDark=1\r\nGreen=1\r\n"));
    QCOMPARE(ReadIni(section, QStringLiteral("dark"), ini, QStringLiteral("0")), QStringLiteral("1"));
    QCOMPARE(QFileInfo(m_config).permissions(), userOnly);
    // A folder that was there keeps its mode; one made here is the user's alone.
    QCOMPARE(QFileInfo(configHome).permissions(), configExists ? configHomeMode : userOnly);
    QCOMPARE(QDir(m_config).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Editor.ini")});

    // Any other file's missing folder stays missing.
    QTemporaryDir elsewhere;
    const QString other = elsewhere.path() + QStringLiteral("/missing/Editor.ini");
    WriteIni(section, QStringLiteral("Dark"), QStringLiteral("1"), other);
    WriteIniValues(section, {{QStringLiteral("Green"), QStringLiteral("1")}}, other);
    QVERIFY(!QFileInfo::exists(elsewhere.path() + QStringLiteral("/missing")));
}

QTEST_GUILESS_MAIN(TestSettingsLocation)
#include "tst_settingslocation.moc"
