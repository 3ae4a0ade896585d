// The file browser through the real window: the pattern rule, the chain of
// drive, folder and file list, refresh, the shell open and drops.
#include "app/appstate.h"
#include "document/textdocument.h"
#include "forms/checkbox.h"
#include "forms/commandbutton.h"
#include "forms/drivelist.h"
#include "forms/filelist.h"
#include "forms/folderlist.h"
#include "forms/textbox.h"
#include "platform/drives.h"
#include "platform/window.h"
#include "tests/mainwindowcontrols.h"
#include "tests/testsupport.h"
#include "tests/uitestsupport.h"
#include "ui/main/frmtextedit.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using testsupport::native;
using testsupport::ProgramRun;
using testsupport::ScopedOverride;
using testsupport::writeAll;

namespace {
const QString basePattern = QStringLiteral("*.css;*.txt;*.htm;*.html;*.ini;*.vbp;*.bas;*.nfo");

QStringList entries(forms::FileList *list)
{
    QStringList names;
    for (int i = 0; i < list->ListCount(); ++i)
        names << list->List(i);
    return names;
}

// Drops the data onto the list and then discards it, as the desktop does.
void drop(QWidget *list, QMimeData *data)
{
    testsupport::dragAndDrop(list, data);
    delete data;
}

QMimeData *filesData(const QStringList &paths)
{
    auto *data = new QMimeData;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    return data;
}

struct Fixture
{
    QTemporaryDir dir;
    ProgramRun run;
    frmTextEdit *window = nullptr;

    Fixture()
        : run(dir.path())
    {
    }
    QString path(const QString &relative) const { return dir.path() + QLatin1Char('/') + relative; }
    void touch(const QString &relative, const QByteArray &bytes = "x\r\n") const
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        writeAll(path(relative), bytes);
    }
    frmTextEdit *start(const QString &folder)
    {
        run.writeSettings({QStringLiteral("LastDir=") + native(path(folder)) + QDir::separator()});
        window = run.start();
        return window;
    }
};
} // namespace

class BrowserTest : public QObject
{
    Q_OBJECT
private slots:
    void patternRule_data();
    void patternRule();
    void patternTypedWhileUncheckedWaits();
    void folderOpensIntoFileList();
    void refreshListsNewFile();
    void doubleClickOpensInDesktop();
    void doubleClickWhileChangedDoesNothing();
    void dropFilesOntoFileList();
    void dropFolderShowsParent();
    void dropOntoFolderListKeepsDrive();
    void dropOntoFileListFollowsDrive();
    void dropWhileChangedIsIgnored();
    void dropOfTextOrRemoteUrl();
};

void BrowserTest::patternRule_data()
{
    QTest::addColumn<int>("checked");
    QTest::addColumn<QString>("own");
    QTest::addColumn<QString>("pattern");

    QTest::newRow("unchecked") << 0 << "*.*;" << basePattern;
    QTest::newRow("checked with initial text") << 1 << "*.*;" << basePattern + ";*.*";
    QTest::newRow("checked with empty text") << 1 << "" << basePattern + ";";
    QTest::newRow("only one semicolon removed") << 1 << "*.md;;" << basePattern + ";*.md;";
    QTest::newRow("own masks added") << 1 << "*.md;*.log" << basePattern + ";*.md;*.log";
    QTest::newRow("bracket") << 1 << "[" << basePattern + ";[";
    QTest::newRow("only separators") << 1 << ";;;" << basePattern + ";;;";
}

void BrowserTest::patternRule()
{
    QFETCH(int, checked);
    QFETCH(QString, own);
    QFETCH(QString, pattern);

    Fixture f;
    frmTextEdit *w = f.start(QString());
    txtPattern(w)->SetText(own);
    chkPattern(w)->SetValue(checked);
    QCOMPARE(File2(w)->Pattern(), pattern);
}

void BrowserTest::patternTypedWhileUncheckedWaits()
{
    Fixture f;
    f.touch("d/a.txt");
    f.touch("d/b.md");
    frmTextEdit *w = f.start("d");
    QCOMPARE(entries(File2(w)), QStringList{"a.txt"});
    txtPattern(w)->selectAll();
    QTest::keyClicks(txtPattern(w), "*.md");
    QCOMPARE(File2(w)->Pattern(), basePattern);
    QTest::mouseClick(chkPattern(w), Qt::LeftButton);
    QCOMPARE(File2(w)->Pattern(), basePattern + ";*.md");
    QCOMPARE(entries(File2(w)), (QStringList{"a.txt", "b.md"}));
    QTest::keyClick(txtPattern(w), Qt::Key_Backspace);
    QCOMPARE(File2(w)->Pattern(), basePattern + ";*.m");
    QTest::mouseClick(chkPattern(w), Qt::LeftButton);
    QCOMPARE(File2(w)->Pattern(), basePattern);
    // The pattern never touches the document.
    QVERIFY(!w->Changed());
}

void BrowserTest::folderOpensIntoFileList()
{
    Fixture f;
    f.touch("top/sub/inner.txt");
    frmTextEdit *w = f.start("top");
    QVERIFY(Dir2(w)->SetPath(native(f.path("top/sub"))));
    QCOMPARE(File2(w)->Path(), native(f.path("top/sub")));
    QCOMPARE(entries(File2(w)), QStringList{"inner.txt"});
}

void BrowserTest::refreshListsNewFile()
{
    Fixture f;
    f.touch("d/a.txt");
    frmTextEdit *w = f.start("d");
    f.touch("d/new.css");
    QCOMPARE(entries(File2(w)), QStringList{"a.txt"});
    QTest::mouseClick(cmdRefresh(w), Qt::LeftButton);
    QCOMPARE(entries(File2(w)), (QStringList{"a.txt", "new.css"}));
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(dummy(w)));
}

void BrowserTest::doubleClickOpensInDesktop()
{
    Fixture f;
    f.touch("d/-x; touch pwned.txt", "hello\r\n");
    QStringList opened;
    const ScopedOverride shellOpens(platform::setShellOpenHook, [&opened](const QString &path) { opened << path; });
    frmTextEdit *w = f.start("d");
    const QRect rect = File2(w)->visualRect(File2(w)->model()->index(0, 0));
    QTest::mouseDClick(File2(w)->viewport(), Qt::LeftButton, {}, rect.center());
    const QString expected = native(f.path("d/-x; touch pwned.txt"));
    QCOMPARE(opened, QStringList{expected});
    QCOMPARE(w->document().path(), expected);
    QCOMPARE(txtTXT(w)->Text(), QStringLiteral("hello\r\n"));
}

void BrowserTest::doubleClickWhileChangedDoesNothing()
{
    Fixture f;
    f.touch("d/a.txt");
    QStringList opened;
    const ScopedOverride shellOpens(platform::setShellOpenHook, [&opened](const QString &path) { opened << path; });
    frmTextEdit *w = f.start("d");
    QTest::keyClicks(txtTXT(w), "x");
    QVERIFY(w->Changed());
    File2(w)->SetSelected(0, true);
    emit File2(w)->DblClick();
    QVERIFY(opened.isEmpty());
    QVERIFY(w->document().path().isEmpty());
}

void BrowserTest::dropFilesOntoFileList()
{
    Fixture f;
    f.touch("one/a.txt");
    f.touch("two/b.txt");
    f.touch("three/c.txt");
    f.touch("start/s.txt");
    frmTextEdit *w = f.start("start");
    drop(File2(w)->viewport(), filesData({f.path("one/a.txt"), f.path("two/b.txt"), f.path("three/c.txt")}));
    QCOMPARE(Dir2(w)->Path(), native(f.path("three")));
    QCOMPARE(File2(w)->Path(), native(f.path("three")));
    QCOMPARE(File2(w)->FileName(), QString());
    QCOMPARE(txtTXT(w)->Text(), QString());
    QVERIFY(w->document().path().isEmpty());
}

void BrowserTest::dropFolderShowsParent()
{
    Fixture f;
    f.touch("outer/inner/x.txt");
    f.touch("outer/y.txt");
    frmTextEdit *w = f.start(QString());
    drop(Dir2(w)->viewport(), filesData({f.path("outer/inner")}));
    QCOMPARE(Dir2(w)->Path(), native(f.path("outer")));
    QCOMPARE(entries(File2(w)), QStringList{"y.txt"});
}

void BrowserTest::dropOntoFolderListKeepsDrive()
{
    Fixture f;
    f.touch("driveA/docs/a.txt");
    f.touch("driveB/web/b.txt");
    const ScopedOverride drives(platform::setDrivesOverride, {native(f.path("driveA")), native(f.path("driveB"))});
    frmTextEdit *w = f.start("driveA/docs");
    Drive1(w)->RefreshDrives();
    QVERIFY(Drive1(w)->SetDrive(native(f.path("driveA/docs"))));
    Dir2(w)->SetPath(native(f.path("driveA/docs")));
    drop(Dir2(w)->viewport(), filesData({f.path("driveB/web/b.txt")}));
    QCOMPARE(Dir2(w)->Path(), native(f.path("driveB/web")));
    QCOMPARE(File2(w)->Path(), native(f.path("driveB/web")));
    QCOMPARE(Drive1(w)->Drive(), native(f.path("driveA")));
}

void BrowserTest::dropOntoFileListFollowsDrive()
{
    Fixture f;
    f.touch("driveA/docs/a.txt");
    f.touch("driveB/web/b.txt");
    const ScopedOverride drives(platform::setDrivesOverride, {native(f.path("driveA")), native(f.path("driveB"))});
    frmTextEdit *w = f.start("driveA/docs");
    Drive1(w)->RefreshDrives();
    drop(File2(w)->viewport(), filesData({f.path("driveB/web/b.txt")}));
    QCOMPARE(Drive1(w)->Drive(), native(f.path("driveB")));
    QCOMPARE(File2(w)->Path(), native(f.path("driveB/web")));
}

void BrowserTest::dropWhileChangedIsIgnored()
{
    Fixture f;
    f.touch("start/s.txt");
    f.touch("other/o.txt");
    frmTextEdit *w = f.start("start");
    QTest::keyClicks(txtTXT(w), "x");
    drop(File2(w)->viewport(), filesData({f.path("other/o.txt")}));
    QCOMPARE(File2(w)->Path(), native(f.path("start")));
}

void BrowserTest::dropOfTextOrRemoteUrl()
{
    Fixture f;
    f.touch("start/s.txt");
    frmTextEdit *w = f.start("start");
    auto *text = new QMimeData;
    text->setText(f.path("start"));
    drop(File2(w)->viewport(), text);
    auto *remote = new QMimeData;
    remote->setUrls({QUrl(QStringLiteral("https://example.org/a.css"))});
    drop(Dir2(w)->viewport(), remote);
    QCOMPARE(File2(w)->Path(), native(f.path("start")));
    QStringList many;
    for (int i = 0; i < 1000; ++i)
        many << f.path("start/s.txt");
    drop(File2(w)->viewport(), filesData(many));
    QCOMPARE(File2(w)->Path(), native(f.path("start")));
}

QTEST_MAIN(BrowserTest)
#include "tst_browser.moc"
