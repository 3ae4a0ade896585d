#include "forms/drivelist.h"
#include "platform/drives.h"
#include "tests/forms/testfolder.h"

#include "tests/faultinjection.h"
#include "tests/testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <memory>
#include <optional>

using forms::DriveList;

class TestDrives : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void realDrivesHoldUserData();
    void mountAndUnmountShowAtOnce();
    void driveOfLongestMount_data();
    void driveOfLongestMount();
    void driveReadable_data();
    void driveReadable();
    void currentFolderOfDrive();
    void folderForDriveSpec_data();
    void folderForDriveSpec();

    void driveListShowsDrives();
    void setDriveRaisesChange_data();
    void setDriveRaisesChange();
    void userChoiceRaisesChange();
    void refreshKeepsDrive();
    void driveListColors();

private:
    std::unique_ptr<TestFolder> m_folder;
    std::optional<testsupport::ScopedOverride<QStringList>> m_drives;
    QString m_usb;
    QString m_inner;
    QString m_gone;
};

void TestDrives::init()
{
    m_folder = std::make_unique<TestFolder>();
    QVERIFY(m_folder->isValid());
    QVERIFY(m_folder->makeFolder(QStringLiteral("media/usb/inner/deep")));
    QVERIFY(m_folder->makeFolder(QStringLiteral("media/usb/docs")));
    m_usb = QDir::cleanPath(m_folder->path(QStringLiteral("media/usb")));
    m_inner = m_usb + QStringLiteral("/inner");
    // A listed drive whose medium is gone.
    m_gone = QDir::cleanPath(m_folder->path(QStringLiteral("media/cdrom")));
    m_drives.emplace(platform::setDrivesOverride, QStringList{QStringLiteral("/"), m_gone, m_usb, m_inner});
}

void TestDrives::cleanup()
{
    m_drives.reset();
    m_folder.reset();
}

void TestDrives::realDrivesHoldUserData()
{
    const testsupport::ScopedOverride realDrives(platform::setDrivesOverride, QStringList());
    const QStringList drives = platform::drives();
    QVERIFY(drives.contains(QStringLiteral("/")));
    QStringList sorted = drives;
    sorted.sort();
    QCOMPARE(drives, sorted);
    QCOMPARE(QStringList(drives).removeDuplicates(), 0);
    for (const QString &drive : drives) {
        for (const char *system : {"/proc", "/sys", "/dev", "/run/user", "/snap", "/boot"})
            QVERIFY2(drive != QLatin1String(system) && !drive.startsWith(QLatin1String(system) + u'/'),
                     qPrintable(drive));
    }
    QCOMPARE(platform::driveOf(m_folder->path()), platform::driveOf(m_folder->path(QStringLiteral("media"))));
}

namespace {
QString userDataFolder()
{
    const QStringList systemFolders{QStringLiteral("/tmp"), QStringLiteral("/var"), QStringLiteral("/usr"),
                                    QStringLiteral("/etc"), QStringLiteral("/run"), QStringLiteral("/proc"),
                                    QStringLiteral("/sys"), QStringLiteral("/dev"), QStringLiteral("/boot"),
                                    QStringLiteral("/snap")};
    for (const QString &candidate : {QCoreApplication::applicationDirPath(), QDir::homePath()}) {
        const QString clean = QDir::cleanPath(candidate);
        const bool system = std::any_of(systemFolders.cbegin(), systemFolders.cend(), [&clean](const QString &f) {
            return clean == f || clean.startsWith(f + u'/');
        });
        if (!system && QFileInfo(clean).isWritable())
            return clean;
    }
    return {};
}
} // namespace

// The drives are kept between questions; a file system mounted or taken
// away must still show in the very next answer.
void TestDrives::mountAndUnmountShowAtOnce()
{
    const testsupport::ScopedOverride realDrives(platform::setDrivesOverride, QStringList());
    // Mounts under /tmp, /var and the like count as the system's, not as
    // drives, so the mount point lies where a user's data would. A bind
    // mount carries a real device, as a disk's mount does.
    const QString base = userDataFolder();
    if (base.isEmpty())
        QSKIP("no writable folder outside the system's folders");
    QTemporaryDir folder(base + QStringLiteral("/brenwick-drive-XXXXXX"));
    QVERIFY(folder.isValid());
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("medium")) && QDir(folder.path()).mkdir(QStringLiteral("mnt")));
    const QString mountPoint = QDir::cleanPath(folder.filePath(QStringLiteral("mnt")));
    QVERIFY(!platform::drives().contains(mountPoint));
    if (!testsupport::runProgram(QStringLiteral("mount"),
                                 {QStringLiteral("--bind"), folder.filePath(QStringLiteral("medium")), mountPoint}))
        QSKIP("mounting needs root");
    const QString file = mountPoint + QStringLiteral("/a.txt");
    const QStringList mounted = platform::drives();
    const QString driveWhileMounted = platform::driveOf(file);
    const bool unmounted = testsupport::runProgram(QStringLiteral("umount"), {mountPoint});
    QVERIFY(unmounted);
    QVERIFY(mounted.contains(mountPoint));
    QCOMPARE(driveWhileMounted, mountPoint);
    QVERIFY(!platform::drives().contains(mountPoint));
    QVERIFY(platform::driveOf(file) != mountPoint);
}

void TestDrives::driveOfLongestMount_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QString>("drive");
    QTest::newRow("file on the stick") << "media/usb/a.txt"
                                       << "usb";
    QTest::newRow("the mount point itself") << "media/usb"
                                            << "usb";
    QTest::newRow("trailing separator") << "media/usb/"
                                        << "usb";
    QTest::newRow("nested mount") << "media/usb/inner/deep/x.css"
                                  << "inner";
    QTest::newRow("longer name, other folder") << "media/usbstick/a.txt"
                                               << "/";
    QTest::newRow("prefix only by characters") << "media/usb/innerx"
                                               << "usb";
    QTest::newRow("dot segments leave the mount") << "media/usb/../a.txt"
                                                  << "/";
    QTest::newRow("missing drive still listed") << "media/cdrom/x"
                                                << "cdrom";
}

void TestDrives::driveOfLongestMount()
{
    QFETCH(QString, relative);
    QFETCH(QString, drive);
    const QString expected = drive == QLatin1String("usb") ? m_usb
        : drive == QLatin1String("inner")                  ? m_inner
        : drive == QLatin1String("cdrom")                  ? m_gone
                                                           : drive;
    QCOMPARE(platform::driveOf(m_folder->path() + u'/' + relative), expected);
}

void TestDrives::driveReadable_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<bool>("readable");
    QTest::newRow("root") << "/" << true;
    QTest::newRow("stick") << "usb" << true;
    QTest::newRow("no medium") << "cdrom" << false;
    QTest::newRow("empty") << "" << false;
}

void TestDrives::driveReadable()
{
    QFETCH(QString, which);
    QFETCH(bool, readable);
    const QString drive = which == QLatin1String("usb") ? m_usb : which == QLatin1String("cdrom") ? m_gone : which;
    QCOMPARE(platform::driveReadable(drive), readable);
}

void TestDrives::currentFolderOfDrive()
{
    QCOMPARE(platform::currentFolderOfDrive(m_usb), m_usb);
    platform::rememberFolder(m_usb + QStringLiteral("/docs"));
    platform::rememberFolder(m_inner + QStringLiteral("/deep"));
    QCOMPARE(platform::currentFolderOfDrive(m_usb), m_usb + QStringLiteral("/docs"));
    QCOMPARE(platform::currentFolderOfDrive(m_inner), m_inner + QStringLiteral("/deep"));
    // A remembered folder that is gone gives the drive's root again.
    QVERIFY(QDir(m_usb + QStringLiteral("/docs")).removeRecursively());
    QCOMPARE(platform::currentFolderOfDrive(m_usb), m_usb);
    // A new set of drives forgets the old folders.
    const testsupport::ScopedOverride fewer(platform::setDrivesOverride, QStringList{QStringLiteral("/"), m_inner});
    QCOMPARE(platform::currentFolderOfDrive(m_inner), m_inner);
}

void TestDrives::folderForDriveSpec_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<bool>("isSpec");
    QTest::newRow("mount point") << "usb" << true;
    QTest::newRow("mount point with separator") << "usb/" << false;
    QTest::newRow("folder on a drive") << "usb/docs" << false;
    QTest::newRow("root is a folder") << "/" << false;
    QTest::newRow("empty") << "" << false;
}

void TestDrives::folderForDriveSpec()
{
    QFETCH(QString, given);
    QFETCH(bool, isSpec);
    platform::rememberFolder(m_usb + QStringLiteral("/docs"));
    const QString path = given.startsWith(QLatin1String("usb")) ? m_usb + given.mid(3) : given;
    const std::optional<QString> folder = platform::folderForDriveSpec(path);
    QCOMPARE(folder.has_value(), isSpec);
    if (isSpec)
        QCOMPARE(*folder, m_usb + QStringLiteral("/docs"));
}

void TestDrives::driveListShowsDrives()
{
    DriveList list;
    QCOMPARE(list.count(), 4);
    // It starts on the drive of the current folder.
    QCOMPARE(list.Drive(), QStringLiteral("/"));
    QDir::setCurrent(m_inner);
    DriveList onStick;
    QCOMPARE(onStick.Drive(), m_inner);
}

void TestDrives::setDriveRaisesChange_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("drive");
    QTest::addColumn<int>("changes");
    QTest::newRow("mount point") << "usb" << true << "usb" << 1;
    QTest::newRow("path on the drive") << "usb/docs/a.css" << true << "usb" << 1;
    QTest::newRow("same drive") << "/" << true << "/" << 0;
    QTest::newRow("no medium") << "cdrom" << false << "/" << 0;
    QTest::newRow("not a path") << "c:" << false << "/" << 0;
    QTest::newRow("empty") << "" << false << "/" << 0;
}

void TestDrives::setDriveRaisesChange()
{
    QFETCH(QString, given);
    QFETCH(bool, accepted);
    QFETCH(QString, drive);
    QFETCH(int, changes);
    const auto resolve = [this](const QString &text) {
        if (text.startsWith(QLatin1String("usb")))
            return m_usb + text.mid(3);
        if (text == QLatin1String("cdrom"))
            return m_gone;
        return text;
    };
    DriveList list;
    QCOMPARE(list.Drive(), QStringLiteral("/"));
    QSignalSpy changed(&list, &DriveList::Change);
    QCOMPARE(list.SetDrive(resolve(given)), accepted);
    QCOMPARE(list.Drive(), resolve(drive));
    QCOMPARE(changed.count(), changes);
}

void TestDrives::userChoiceRaisesChange()
{
    DriveList list;
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QSignalSpy changed(&list, &DriveList::Change);
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(list.Drive(), m_gone);
}

void TestDrives::refreshKeepsDrive()
{
    DriveList list;
    QVERIFY(list.SetDrive(m_inner));
    QSignalSpy changed(&list, &DriveList::Change);
    const testsupport::ScopedOverride fewer(platform::setDrivesOverride, QStringList{QStringLiteral("/"), m_inner});
    list.RefreshDrives();
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.Drive(), m_inner);
    QCOMPARE(changed.count(), 0);
    // The chosen drive went away: the list falls back and says so.
    const testsupport::ScopedOverride other(platform::setDrivesOverride, QStringList{QStringLiteral("/"), m_usb});
    list.RefreshDrives();
    QCOMPARE(list.Drive(), QStringLiteral("/"));
    QCOMPARE(changed.count(), 1);
}

void TestDrives::driveListColors()
{
    DriveList list;
    list.SetBackColor(forms::rgb(0x808080));
    list.SetForeColor(forms::rgb(0xffffff));
    QCOMPARE(list.palette().color(QPalette::Base), QColor(0x80, 0x80, 0x80));
    QCOMPARE(list.palette().color(QPalette::Text), QColor(0xff, 0xff, 0xff));
    QCOMPARE(list.palette().color(QPalette::Button), QColor(0x80, 0x80, 0x80));
}

QTEST_MAIN(TestDrives)
#include "tst_drives.moc"
