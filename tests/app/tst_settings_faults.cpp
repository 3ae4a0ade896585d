// WriteIni when the file system refuses: nothing changes, nothing is
// reported, nothing is left behind, and the next write works again.
#include "app/settings.h"
#include "tests/faultinjection.h"
#include "tests/testsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using testsupport::readAll;
using testsupport::writeAll;

namespace {
const QString section = QStringLiteral("Brenwick TXT-HTML-CSS-Editor");
const QByteArray oldIni = "[Brenwick TXT-HTML-CSS-Editor]\r\nTop=1200\r\n; kept\r\nLeft=2400\r\n";

QStringList entries(const QString &folder)
{
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names << it.next();
    names.sort();
    return names;
}
} // namespace

class SettingsFaultsTest : public QObject
{
    Q_OBJECT
private slots:
    void faults_data();
    void faults();
    void symbolicLinkStaysLink();
};

void SettingsFaultsTest::faults_data()
{
    QTest::addColumn<QString>("fault");
    for (const char *fault : {"read-only file", "read-only file system", "missing folder", "file replaced by folder",
                              "immutable file", "full file system"})
        QTest::newRow(fault) << QString::fromLatin1(fault);
}

void SettingsFaultsTest::faults()
{
    QFETCH(QString, fault);
    QTemporaryDir dir;
    testsupport::FileSystemFaults faults;
    const QString folder = dir.path() + QStringLiteral("/app");
    QDir().mkpath(folder);
    if (fault.contains(QLatin1String("file system")) && !faults.mountSmallFileSystem(folder, 8192))
        QSKIP("mounting a small tmpfs needs root and a machine that allows it");
    const QString ini = folder + QStringLiteral("/Editor.ini");
    QVERIFY(writeAll(ini, oldIni));
    QString value = QStringLiteral("42");

    if (fault == QLatin1String("read-only file")) {
        QFile::setPermissions(ini, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    } else if (fault == QLatin1String("read-only file system")) {
        QVERIFY(faults.remountReadOnly(folder));
    } else if (fault == QLatin1String("missing folder")) {
        QVERIFY(QDir(folder).removeRecursively());
    } else if (fault == QLatin1String("file replaced by folder")) {
        QVERIFY(QFile::remove(ini));
        QVERIFY(QDir().mkdir(ini));
    } else if (fault == QLatin1String("immutable file")) {
        if (!faults.makeImmutable(ini))
            QSKIP("chattr +i is not available here (needs root and a file system with attributes)");
    } else if (fault == QLatin1String("full file system")) {
        faults.fillUp(folder);
        value = QString(3000, QLatin1Char('v'));
    }
    const QStringList before = entries(dir.path());
    const QByteArray bytesBefore = QFileInfo(ini).isFile() ? readAll(ini) : QByteArray();

    testsupport::MessageCapture messages;
    QCOMPARE(WriteIni(section, QStringLiteral("Height"), value, ini), QString());
    QCOMPARE(messages.messages().size(), 0);
    QCOMPARE(entries(dir.path()), before);
    if (QFileInfo(ini).isFile())
        QCOMPARE(readAll(ini), bytesBefore);
    QCOMPARE(ReadIni(section, QStringLiteral("Height"), ini, QStringLiteral("8445")), QStringLiteral("8445"));
}

void SettingsFaultsTest::symbolicLinkStaysLink()
{
    QTemporaryDir dir;
    const QString target = dir.path() + QStringLiteral("/real.ini");
    const QString link = dir.path() + QStringLiteral("/Editor.ini");
    QVERIFY(writeAll(target, oldIni));
    QVERIFY(QFile::link(target, link));
    WriteIni(section, QStringLiteral("Top"), QStringLiteral("300"), link);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readAll(target), QByteArray("[Brenwick TXT-HTML-CSS-Editor]\r\nTop=300\r\n; kept\r\nLeft=2400\r\n"));
}

QTEST_MAIN(SettingsFaultsTest)
#include "tst_settings_faults.moc"
