#include "forms/folderlist.h"
#include "platform/drives.h"
#include "tests/forms/testfolder.h"
#include "tests/testsupport.h"

#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <memory>
#include <optional>

using forms::FolderList;

namespace {

QStringList entries(const FolderList &list)
{
    QStringList names;
    for (int i = 0; i < list.count(); ++i)
        names.append(list.item(i)->text());
    return names;
}

// The entries expected above the subfolders: the root, then each folder
// down to `folder` itself.
QStringList chainOf(const QString &folder)
{
    QStringList chain;
    QDir dir(folder);
    while (!dir.isRoot()) {
        chain.prepend(dir.dirName());
        dir.cdUp();
    }
    chain.prepend(QDir::toNativeSeparators(dir.absolutePath()));
    return chain;
}

int rowOf(const FolderList &list, const QString &text)
{
    const QList<QListWidgetItem *> found = list.findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? -1 : list.row(found.last());
}

} // namespace

class TestFolderList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsInCurrentFolder();
    void entriesAncestorsThenSortedSubfolders();
    void hiddenFoldersOnlyWhenAsked();
    void setPathRaisesChangeOnce_data();
    void setPathRaisesChangeOnce();
    void unreadablePathKeepsOld_data();
    void unreadablePathKeepsOld();
    void enterOpensEntry_data();
    void enterOpensEntry();
    void doubleClickOpensEntry();
    void driveSpecMeansCurrentFolder();
    void dropRaisesOleDragDrop();
    void mouseMoveInTwips();

private:
    std::unique_ptr<TestFolder> m_folder;
    std::optional<testsupport::ScopedOverride<QStringList>> m_realDrives;
    QString m_base;
};

void TestFolderList::init()
{
    m_realDrives.emplace(platform::setDrivesOverride, QStringList());
    m_folder = std::make_unique<TestFolder>();
    QVERIFY(m_folder->isValid());
    for (const char *name : {"base/b", "base/A", "base/c", "base/Ä", "base/.hidden", "base/b/inner"})
        QVERIFY(m_folder->makeFolder(QString::fromUtf8(name)));
    QVERIFY(m_folder->makeFile(QStringLiteral("base/file.txt")));
    m_base = m_folder->nativePath(QStringLiteral("base"));
}

void TestFolderList::cleanup()
{
    m_realDrives.reset();
    m_folder.reset();
}

void TestFolderList::startsInCurrentFolder()
{
    QDir::setCurrent(m_base);
    FolderList list;
    QCOMPARE(list.Path(), m_base);
}

void TestFolderList::entriesAncestorsThenSortedSubfolders()
{
    FolderList list;
    QVERIFY(list.SetPath(m_base));
    const QStringList chain = chainOf(m_base);
    const QStringList subfolders{"A", "b", "c", "Ä"};
    QCOMPARE(entries(list), chain + subfolders);
    // The current folder is the highlighted entry.
    QCOMPARE(list.currentRow(), chain.size() - 1);

    QVERIFY(list.SetPath(QDir::rootPath()));
    QCOMPARE(list.Path(), QDir::toNativeSeparators(QDir::rootPath()));
    QCOMPARE(list.item(0)->text(), QDir::toNativeSeparators(QDir::rootPath()));
    QCOMPARE(list.currentRow(), 0);
}

void TestFolderList::hiddenFoldersOnlyWhenAsked()
{
    FolderList list;
    QVERIFY(list.SetPath(m_base));
    QVERIFY(!entries(list).contains(QStringLiteral(".hidden")));
    list.SetShowHidden(true);
    QCOMPARE(entries(list).mid(chainOf(m_base).size()), (QStringList{".hidden", "A", "b", "c", "Ä"}));
}

void TestFolderList::setPathRaisesChangeOnce_data()
{
    QTest::addColumn<QString>("given");
    QTest::newRow("plain") << QStringLiteral("base/b");
    QTest::newRow("trailing separator") << QStringLiteral("base/b/");
    QTest::newRow("dot segments") << QStringLiteral("base/c/../b/inner/..");
}

void TestFolderList::setPathRaisesChangeOnce()
{
    QFETCH(QString, given);
    FolderList list;
    QVERIFY(list.SetPath(m_base));
    QSignalSpy changes(&list, &FolderList::Change);
    QVERIFY(list.SetPath(m_folder->path(QString()) + u'/' + given));
    QCOMPARE(list.Path(), m_folder->nativePath(QStringLiteral("base/b")));
    QCOMPARE(changes.count(), 1);
    // The same folder again, spelled either way, is no change.
    QVERIFY(list.SetPath(m_folder->path(QStringLiteral("base/b/"))));
    QVERIFY(list.SetPath(list.Path()));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(entries(list).last(), QStringLiteral("inner"));
    // Every folder shown becomes its drive's current folder.
    QCOMPARE(platform::currentFolderOfDrive(platform::driveOf(list.Path())), list.Path());
}

void TestFolderList::unreadablePathKeepsOld_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing") << QStringLiteral("base/missing");
    QTest::newRow("a file") << QStringLiteral("base/file.txt");
    QTest::newRow("empty") << QString();
}

void TestFolderList::unreadablePathKeepsOld()
{
    QFETCH(QString, relative);
    FolderList list;
    QVERIFY(list.SetPath(m_base));
    const QStringList before = entries(list);
    QSignalSpy changes(&list, &FolderList::Change);
    QVERIFY(!list.SetPath(relative.isEmpty() ? QString() : m_folder->path(relative)));
    QCOMPARE(list.Path(), m_base);
    QCOMPARE(entries(list), before);
    QCOMPARE(changes.count(), 0);
}

void TestFolderList::enterOpensEntry_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("opened");
    QTest::newRow("subfolder") << QStringLiteral("b") << QStringLiteral("base/b");
    QTest::newRow("umlaut subfolder") << QStringLiteral("Ä") << QStringLiteral("base/Ä");
    QTest::newRow("parent") << QString() << QString();
}

void TestFolderList::enterOpensEntry()
{
    QFETCH(QString, entry);
    QFETCH(QString, opened);
    FolderList list;
    QVERIFY(list.SetPath(m_base));
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QSignalSpy changes(&list, &FolderList::Change);
    // An empty entry stands for the parent folder's entry.
    const int row = entry.isEmpty() ? chainOf(m_base).size() - 2 : rowOf(list, entry);
    QVERIFY(row >= 0);
    list.setCurrentRow(row);
    QCOMPARE(changes.count(), 0);
    QTest::keyClick(&list, Qt::Key_Return);
    QCOMPARE(changes.count(), 1);
    const QString parent = QDir::toNativeSeparators(QDir::cleanPath(m_folder->path()));
    QCOMPARE(list.Path(), opened.isEmpty() ? parent : m_folder->nativePath(opened));
}

void TestFolderList::doubleClickOpensEntry()
{
    FolderList list;
    QVERIFY(list.SetPath(m_base));
    list.resize(300, 400);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QSignalSpy changes(&list, &FolderList::Change);
    const int row = rowOf(list, QStringLiteral("c"));
    list.scrollToItem(list.item(row));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(row)).center());
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(0)).center());
    QCOMPARE(changes.count(), 1);
    QCOMPARE(list.Path(), m_folder->nativePath(QStringLiteral("base/c")));
    QCOMPARE(entries(list).last(), QStringLiteral("c"));
}

void TestFolderList::driveSpecMeansCurrentFolder()
{
    QVERIFY(m_folder->makeFolder(QStringLiteral("usb/docs")));
    const QString usb = QDir::cleanPath(m_folder->path(QStringLiteral("usb")));
    const testsupport::ScopedOverride drives(platform::setDrivesOverride, QStringList{QStringLiteral("/"), usb});
    FolderList list;
    // Not shown yet: the drive's current folder is its root.
    QVERIFY(list.SetPath(usb));
    QCOMPARE(list.Path(), QDir::toNativeSeparators(usb));
    QVERIFY(list.SetPath(usb + QStringLiteral("/docs")));
    QVERIFY(list.SetPath(m_base));
    QSignalSpy changes(&list, &FolderList::Change);
    QVERIFY(list.SetPath(usb));
    QCOMPARE(list.Path(), QDir::toNativeSeparators(usb + QStringLiteral("/docs")));
    QCOMPARE(changes.count(), 1);
    // With a separator the mount point is the folder itself.
    QVERIFY(list.SetPath(usb + u'/'));
    QCOMPARE(list.Path(), QDir::toNativeSeparators(usb));
}

void TestFolderList::dropRaisesOleDragDrop()
{
    FolderList list;
    list.SetAcceptFileDrops(true);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(m_folder->path(QStringLiteral("base/file.txt")))});
    QList<const QMimeData *> received;
    connect(&list, &FolderList::OLEDragDrop, this, [&](const QMimeData *dropped) { received.append(dropped); });
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(list.viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(list.viewport(), &drop);
    QCOMPARE(received, (QList<const QMimeData *>{&data}));
    QCOMPARE(drop.dropAction(), Qt::CopyAction);

    // Plain text is not a drag the list takes.
    QMimeData text;
    text.setText(QStringLiteral("hello"));
    QDragEnterEvent textEnter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, {});
    QCoreApplication::sendEvent(list.viewport(), &textEnter);
    QVERIFY(!textEnter.isAccepted());

    list.SetAcceptFileDrops(false);
    QVERIFY(!list.viewport()->acceptDrops());
}

void TestFolderList::mouseMoveInTwips()
{
    FolderList list;
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QSignalSpy moves(&list, &FolderList::MouseMove);
    QTest::mouseMove(list.viewport(), QPoint(21, 13));
    QTest::mouseMove(list.viewport(), QPoint(20, 12));
    QTRY_VERIFY(!moves.isEmpty());
    const QPoint inList = list.viewport()->mapTo(&list, QPoint(20, 12));
    QCOMPARE(moves.last().at(0).toInt(), 0);
    QCOMPARE(moves.last().at(2).toDouble(), inList.x() * 15.0);
    QCOMPARE(moves.last().at(3).toDouble(), inList.y() * 15.0);
}

QTEST_MAIN(TestFolderList)
#include "tst_folderlist.moc"
