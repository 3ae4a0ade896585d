#include "forms/filelist.h"
#include "tests/forms/testfolder.h"

#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <memory>
#include <sys/stat.h>

using forms::FileList;

namespace {

QStringList entries(const FileList &list)
{
    QStringList names;
    for (int i = 0; i < list.ListCount(); ++i)
        names.append(list.List(i));
    return names;
}

} // namespace

class TestFileList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_folder.reset(); }

    void pattern_data();
    void pattern();
    void hiddenFilesOnlyWhenAsked();
    void onlyRegularFiles();
    void pathIsNormalised_data();
    void pathIsNormalised();
    void unreadablePathKeepsOld_data();
    void unreadablePathKeepsOld();
    void refreshListsNewFile();
    void refreshKeepsChoiceQuietly();
    void newFolderClearsChoice();
    void clickByKeyboard();
    void clickByCode();
    void clickOnChosenEntryAgain();
    void doubleClick();
    void dropRaisesOleDragDrop_data();
    void dropRaisesOleDragDrop();
    void mouseMoveInTwips();

private:
    void showList(FileList &list);

    std::unique_ptr<TestFolder> m_folder;
    QString m_files;
};

void TestFileList::init()
{
    m_folder = std::make_unique<TestFolder>();
    QVERIFY(m_folder->isValid());
    QVERIFY(m_folder->makeFolder(QStringLiteral("files/sub.css")));
    for (const char *name :
         {"a.css", "B.TXT", "c.txt", "d.html", "e.htm", "noext", "[x].css", "x.CSS.bak", "ä.css", ".hidden.css"})
        QVERIFY(m_folder->makeFile(QStringLiteral("files/") + QString::fromUtf8(name)));
    m_files = m_folder->nativePath(QStringLiteral("files"));
}

void TestFileList::showList(FileList &list)
{
    list.Place(0, 0, 2490, 3240);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
}

void TestFileList::pattern_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("expected");
    const QStringList all{"[x].css", "a.css", "B.TXT", "c.txt", "d.html", "e.htm", "noext", "x.CSS.bak", "ä.css"};
    QTest::newRow("css and txt") << "*.css;*.txt" << QStringList{"[x].css", "a.css", "B.TXT", "c.txt", "ä.css"};
    QTest::newRow("upper-case mask") << "*.CSS" << QStringList{"[x].css", "a.css", "ä.css"};
    QTest::newRow("htm is not html") << "*.htm" << QStringList{"e.htm"};
    QTest::newRow("only separators") << ";;;" << QStringList{};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("lone bracket") << "[" << QStringList{};
    QTest::newRow("brackets literal") << "[x].css" << QStringList{"[x].css"};
    QTest::newRow("all twice, listed once") << "*.*;*.*" << all;
    QTest::newRow("default and all") << "*.css;*.txt;*.htm;*.html;*.ini;*.vbp;*.bas;*.nfo;*.*" << all;
    QTest::newRow("trailing separator") << "*.css;*.txt;*.htm;*.html;*.ini;*.vbp;*.bas;*.nfo;"
                                        << QStringList{"[x].css", "a.css", "B.TXT", "c.txt",
                                                       "d.html",  "e.htm", "ä.css"};
    QString longPattern;
    while (longPattern.size() < 500)
        longPattern += QStringLiteral("*.nothing;");
    longPattern += QStringLiteral("*.html");
    QTest::newRow("500 characters") << longPattern << QStringList{"d.html"};
}

void TestFileList::pattern()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, expected);
    FileList list;
    QVERIFY(list.SetPath(m_files));
    list.SetPattern(pattern);
    QCOMPARE(list.Pattern(), pattern);
    QCOMPARE(entries(list), expected);
    // Large folders need uniform item sizes to show quickly.
    QVERIFY(list.uniformItemSizes());
}

void TestFileList::hiddenFilesOnlyWhenAsked()
{
    FileList list;
    QVERIFY(list.SetPath(m_files));
    list.SetPattern(QStringLiteral("*.css"));
    QVERIFY(!entries(list).contains(QStringLiteral(".hidden.css")));
    list.SetShowHidden(true);
    QCOMPARE(entries(list), (QStringList{".hidden.css", "[x].css", "a.css", "ä.css"}));
    list.SetShowHidden(false);
    QVERIFY(!entries(list).contains(QStringLiteral(".hidden.css")));
}

void TestFileList::onlyRegularFiles()
{
    QVERIFY(m_folder->makeFolder(QStringLiteral("mixed/folder.txt")));
    QVERIFY(m_folder->makeFile(QStringLiteral("mixed/real.txt")));
    QVERIFY(QFile::link(m_folder->path(QStringLiteral("mixed/real.txt")),
                        m_folder->path(QStringLiteral("mixed/link.txt"))));
    QVERIFY(
        QFile::link(m_folder->path(QStringLiteral("mixed/gone")), m_folder->path(QStringLiteral("mixed/broken.txt"))));
    QCOMPARE(mkfifo(QFile::encodeName(m_folder->path(QStringLiteral("mixed/pipe.txt"))).constData(), 0600), 0);
    FileList list;
    QVERIFY(list.SetPath(m_folder->path(QStringLiteral("mixed"))));
    list.SetPattern(QStringLiteral("*.*"));
    QCOMPARE(entries(list), (QStringList{"link.txt", "real.txt"}));
}

void TestFileList::pathIsNormalised_data()
{
    QTest::addColumn<QString>("given");
    QTest::newRow("trailing separator") << QStringLiteral("files/");
    QTest::newRow("dot segments") << QStringLiteral("files/./sub.css/../");
    QTest::newRow("doubled separators") << QStringLiteral("files//");
}

void TestFileList::pathIsNormalised()
{
    QFETCH(QString, given);
    FileList list;
    QVERIFY(list.SetPath(m_folder->path(QString()) + u'/' + given));
    QCOMPARE(list.Path(), m_files);
    // Relative to the current folder as well.
    QVERIFY(list.SetPath(given));
    QCOMPARE(list.Path(), m_files);
}

void TestFileList::unreadablePathKeepsOld_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing folder") << QStringLiteral("files/missing");
    QTest::newRow("a file") << QStringLiteral("files/a.css");
    QTest::newRow("empty") << QString();
}

void TestFileList::unreadablePathKeepsOld()
{
    QFETCH(QString, relative);
    FileList list;
    QVERIFY(list.SetPath(m_files));
    list.SetSelected(1, true);
    const QStringList before = entries(list);
    const QString path = relative.isEmpty() ? QString() : m_folder->path(relative);
    QVERIFY(!list.SetPath(path));
    QCOMPARE(list.Path(), m_files);
    QCOMPARE(entries(list), before);
    QCOMPARE(list.FileName(), before.at(1));
}

void TestFileList::refreshListsNewFile()
{
    FileList list;
    QVERIFY(list.SetPath(m_files));
    list.SetPattern(QStringLiteral("*.css"));
    const int before = list.ListCount();
    QVERIFY(m_folder->makeFile(QStringLiteral("files/new.css")));
    QCOMPARE(list.ListCount(), before);
    list.Refresh();
    QCOMPARE(list.ListCount(), before + 1);
    QVERIFY(entries(list).contains(QStringLiteral("new.css")));
}

void TestFileList::refreshKeepsChoiceQuietly()
{
    FileList list;
    QVERIFY(list.SetPath(m_files));
    list.SetPattern(QStringLiteral("*.css"));
    list.SetSelected(1, true);
    QCOMPARE(list.FileName(), QStringLiteral("a.css"));
    QSignalSpy clicks(&list, &FileList::Click);
    QVERIFY(m_folder->makeFile(QStringLiteral("files/0.css")));
    list.Refresh();
    QCOMPARE(list.FileName(), QStringLiteral("a.css"));
    QVERIFY(list.Selected(2));
    // The same folder set again re-reads it the same way.
    QVERIFY(list.SetPath(m_files));
    QCOMPARE(list.FileName(), QStringLiteral("a.css"));
    QCOMPARE(clicks.count(), 0);
    // A chosen file that is gone leaves nothing chosen.
    QVERIFY(QFile::remove(m_folder->path(QStringLiteral("files/a.css"))));
    list.Refresh();
    QCOMPARE(list.FileName(), QString());
    QCOMPARE(clicks.count(), 0);
}

void TestFileList::newFolderClearsChoice()
{
    QVERIFY(m_folder->makeFile(QStringLiteral("files/sub.css/a.css")));
    FileList list;
    QVERIFY(list.SetPath(m_files));
    list.SetPattern(QStringLiteral("*.css"));
    list.SetSelected(1, true);
    QCOMPARE(list.FileName(), QStringLiteral("a.css"));
    QVERIFY(list.SetPath(m_folder->path(QStringLiteral("files/sub.css"))));
    QCOMPARE(list.ListCount(), 1);
    QCOMPARE(list.FileName(), QString());
}

void TestFileList::clickByKeyboard()
{
    FileList list;
    QVERIFY(list.SetPath(m_files));
    list.SetPattern(QStringLiteral("*.txt"));
    showList(list);
    QVERIFY(list.SetFocus());
    QSignalSpy clicks(&list, &FileList::Click);
    QCOMPARE(list.FileName(), QString());
    QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(list.FileName(), QStringLiteral("B.TXT"));
    QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(list.FileName(), QStringLiteral("c.txt"));
    // At the end nothing moves and nothing is raised.
    QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(clicks.count(), 2);
    QTest::keyClick(&list, Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(list.FileName(), QStringLiteral("c.txt"));
}

void TestFileList::clickByCode()
{
    FileList list;
    QVERIFY(list.SetPath(m_files));
    list.SetPattern(QStringLiteral("*.css"));
    QSignalSpy clicks(&list, &FileList::Click);
    list.SetSelected(1, true);
    QCOMPARE(clicks.count(), 1);
    QVERIFY(list.Selected(1));
    QVERIFY(!list.Selected(0));
    QCOMPARE(list.FileName(), QStringLiteral("a.css"));
    list.SetSelected(1, true);
    QCOMPARE(clicks.count(), 1);
    list.SetSelected(2, true);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(list.FileName(), QStringLiteral("ä.css"));
    list.SetSelected(99, true);
    QCOMPARE(list.FileName(), QStringLiteral("ä.css"));
    list.SetSelected(2, false);
    QCOMPARE(list.FileName(), QString());
    QCOMPARE(clicks.count(), 2);
}

void TestFileList::clickOnChosenEntryAgain()
{
    FileList list;
    QVERIFY(list.SetPath(m_files));
    list.SetPattern(QStringLiteral("*.css"));
    showList(list);
    QSignalSpy clicks(&list, &FileList::Click);
    const QPoint second = list.visualItemRect(list.item(1)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(list.FileName(), QStringLiteral("a.css"));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second);
    QCOMPARE(clicks.count(), 2);
    // Ctrl+click does not take the choice away.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, second);
    QCOMPARE(list.FileName(), QStringLiteral("a.css"));
}

void TestFileList::doubleClick()
{
    FileList list;
    QVERIFY(list.SetPath(m_files));
    list.SetPattern(QStringLiteral("*.css"));
    showList(list);
    QSignalSpy clicks(&list, &FileList::Click);
    QSignalSpy doubles(&list, &FileList::DblClick);
    const QPoint first = list.visualItemRect(list.item(0)).center();
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, first);
    QCOMPARE(doubles.count(), 1);
    QVERIFY(clicks.count() >= 1);
    QCOMPARE(list.FileName(), QStringLiteral("[x].css"));
    // Below the last entry there is nothing to open.
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, QPoint(5, list.viewport()->height() - 3));
    QCOMPARE(doubles.count(), 1);
    // QTest leaves the button down after a double-click; let it go.
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, QPoint(5, list.viewport()->height() - 3));
}

void TestFileList::dropRaisesOleDragDrop_data()
{
    QTest::addColumn<int>("actions");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("reported");
    QTest::newRow("copy or move offered") << int(Qt::CopyAction | Qt::MoveAction) << true << int(Qt::CopyAction);
    QTest::newRow("link offered") << int(Qt::LinkAction | Qt::MoveAction) << true << int(Qt::LinkAction);
    QTest::newRow("move only") << int(Qt::MoveAction) << false << int(Qt::IgnoreAction);
}

void TestFileList::dropRaisesOleDragDrop()
{
    QFETCH(int, actions);
    QFETCH(bool, accepted);
    QFETCH(int, reported);
    FileList list;
    list.SetAcceptFileDrops(true);
    QVERIFY(list.viewport()->acceptDrops());
    showList(list);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(m_folder->path(QStringLiteral("files/a.css")))});
    const QMimeData *received = nullptr;
    connect(&list, &FileList::OLEDragDrop, this, [&](const QMimeData *dropped) { received = dropped; });
    QDragEnterEvent enter(QPoint(10, 10), Qt::DropActions(actions), &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(list.viewport(), &enter);
    QCOMPARE(enter.isAccepted(), accepted);
    QDropEvent drop(QPointF(10, 10), Qt::DropActions(actions), &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(list.viewport(), &drop);
    // A drag the list refused never ends in a drop.
    QCOMPARE(received, accepted ? &data : nullptr);
    if (accepted) {
        QVERIFY(drop.isAccepted());
        QCOMPARE(int(drop.dropAction()), reported);
    }
}

void TestFileList::mouseMoveInTwips()
{
    FileList list;
    showList(list);
    QSignalSpy moves(&list, &FileList::MouseMove);
    // Two moves: a move to where the pointer already is reports nothing.
    QTest::mouseMove(list.viewport(), QPoint(11, 8));
    QTest::mouseMove(list.viewport(), QPoint(12, 9));
    QTRY_VERIFY(!moves.isEmpty());
    const QPoint inList = list.viewport()->mapTo(&list, QPoint(12, 9));
    QCOMPARE(moves.last().at(2).toDouble(), inList.x() * 15.0);
    QCOMPARE(moves.last().at(3).toDouble(), inList.y() * 15.0);
}

QTEST_MAIN(TestFileList)
#include "tst_filelist.moc"
