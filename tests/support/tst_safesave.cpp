#include "support/message.h"
#include "support/textfile.h"
#include "support/writefailure.h"
#include "tests/testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Saving goes through POSIX file semantics here (modes, owners, links,
// mounts); the checks below only make sense there.
#if defined(Q_OS_UNIX)

#include <sys/stat.h>
#include <unistd.h>

using namespace support;

class TestSafeSave : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void refusedTargets_data();
    void refusedTargets();
    void permissionBitsKept_data();
    void permissionBitsKept();
    void groupKept();
    void fileOfAnotherOwnerKeepsItsOwner();
    void symbolicLinkStaysALink_data();
    void symbolicLinkStaysALink();
    void relativeLinkInALinkedFolder();
    void hardLinkedFileWrittenInPlace_data();
    void hardLinkedFileWrittenInPlace();
    void unprivilegedUser_data();
    void unprivilegedUser();
    void fullFileSystem_data();
    void fullFileSystem();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void expectWriteFailedMessage(const testsupport::MessageCapture &messages);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_mountPoint;
};

namespace {

const QString defaultTitle = QStringLiteral("Titel der Tests");
const QString writeFailed = QStringLiteral("Fehler beim Schreiben der Datei. ");
const QByteArray oldContent("alter Inhalt\r\n");

bool isRoot()
{
    return ::geteuid() == 0;
}

struct stat statOf(const QString &path)
{
    struct stat st
    {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        st.st_mode = 0;
    return st;
}

bool setMode(const QString &path, mode_t mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

bool setOwner(const QString &path, uid_t uid, gid_t gid)
{
    return ::lchown(QFile::encodeName(path).constData(), uid, gid) == 0;
}

constexpr uid_t nobodyUser = 65534;
constexpr gid_t nobodyGroup = 65534;

bool runs(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

void TestSafeSave::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    SetDefaultMessageTitle(defaultTitle);
}

void TestSafeSave::cleanup()
{
    if (!m_mountPoint.isEmpty()) {
        QVERIFY(runs(QStringLiteral("umount"), {m_mountPoint}));
        m_mountPoint.clear();
    }
    // Give the folder back to us, so the temporary folder can be removed.
    QProcess::execute(QStringLiteral("chmod"), {QStringLiteral("-R"), QStringLiteral("u+rwX"), m_dir->path()});
    m_dir.reset();
}

void TestSafeSave::expectWriteFailedMessage(const testsupport::MessageCapture &messages)
{
    QCOMPARE(messages.messages().size(), 1);
    QCOMPARE(messages.messages().first().prompt, writeFailed);
    QCOMPARE(messages.messages().first().style, 48);
    QCOMPARE(messages.messages().first().title, defaultTitle);
}

void TestSafeSave::refusedTargets_data()
{
    QTest::addColumn<QString>("kind");

    QTest::newRow("read-only file") << "read-only file";
    QTest::newRow("file nobody may write, group readable") << "mode 0440";
    QTest::newRow("missing folder") << "missing folder";
    QTest::newRow("path naming a folder") << "folder";
    QTest::newRow("empty path") << "empty path";
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("character device") << "device";
    QTest::newRow("loop of links") << "link loop";
    QTest::newRow("link to a read-only file") << "link to read-only";
}

void TestSafeSave::refusedTargets()
{
    QFETCH(QString, kind);

    QString target;
    QString kept; // a file whose content must stay
    if (kind == u"read-only file" || kind == u"mode 0440" || kind == u"link to read-only") {
        kept = path(QStringLiteral("locked.txt"));
        QVERIFY(testsupport::writeAll(kept, oldContent));
        QVERIFY(setMode(kept, kind == u"mode 0440" ? 0440 : 0444));
        target = kept;
        if (kind == u"link to read-only") {
            target = path(QStringLiteral("link.txt"));
            QVERIFY(QFile::link(QStringLiteral("locked.txt"), target));
        }
    } else if (kind == u"missing folder") {
        target = path(QStringLiteral("missing/out.txt"));
    } else if (kind == u"folder") {
        target = path(QStringLiteral("folder"));
        QVERIFY(QDir().mkdir(target));
    } else if (kind == u"fifo") {
        target = path(QStringLiteral("fifo"));
        QVERIFY(runs(QStringLiteral("mkfifo"), {target}));
    } else if (kind == u"device") {
        if (!isRoot())
            QSKIP("creating a device node needs root");
        target = path(QStringLiteral("null"));
        QVERIFY(runs(QStringLiteral("mknod"), {target, QStringLiteral("c"), QStringLiteral("1"), QStringLiteral("3")}));
    } else if (kind == u"link loop") {
        target = path(QStringLiteral("a"));
        QVERIFY(QFile::link(QStringLiteral("b"), target));
        QVERIFY(QFile::link(QStringLiteral("a"), path(QStringLiteral("b"))));
    }
    const QStringList entriesBefore = entriesOf(m_dir->path());
    const struct stat before = statOf(target);

    testsupport::MessageCapture messages;
    QVERIFY(!ReportWriteFailure(replaceTextFile(target, QStringLiteral("neu"), TextEncoding::Utf8)));

    expectWriteFailedMessage(messages);
    QCOMPARE(entriesOf(m_dir->path()), entriesBefore);
    const struct stat after = statOf(target);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(after.st_ino, before.st_ino);
    if (!kept.isEmpty())
        QCOMPARE(testsupport::readAll(kept), oldContent);
}

void TestSafeSave::permissionBitsKept_data()
{
    QTest::addColumn<int>("mode");

    QTest::newRow("0640") << 0640;
    QTest::newRow("0600") << 0600;
    QTest::newRow("0604") << 0604;
    QTest::newRow("0666") << 0666;
    QTest::newRow("0755") << 0755;
    QTest::newRow("0200 write only") << 0200;
    QTest::newRow("0460 owner may not write") << 0460;
    QTest::newRow("0062 only others may write") << 0062;
    QTest::newRow("02664 set-group-id") << 02664;
    QTest::newRow("01644 sticky") << 01644;
}

void TestSafeSave::permissionBitsKept()
{
    QFETCH(int, mode);

    if (!(mode & 0200) && !isRoot())
        QSKIP("only root may write a file whose owner has no write bit");
    const QString target = path(QStringLiteral("page.html"));
    QVERIFY(testsupport::writeAll(target, oldContent));
    QVERIFY(setMode(target, mode_t(mode)));
    QCOMPARE(int(statOf(target).st_mode & 07777), mode);

    testsupport::MessageCapture messages;
    QVERIFY(replaceTextFile(target, QStringLiteral("neu"), TextEncoding::Utf8));

    QCOMPARE(int(statOf(target).st_mode & 07777), mode);
    QVERIFY(messages.messages().isEmpty());
    QVERIFY(setMode(target, 0600));
    QCOMPARE(testsupport::readAll(target), QByteArray("neu\r\n"));
    QCOMPARE(entriesOf(m_dir->path()), QStringList{QStringLiteral("page.html")});
}

void TestSafeSave::groupKept()
{
    if (!isRoot())
        QSKIP("giving a file to another group needs root here");
    const QString target = path(QStringLiteral("shared.css"));
    QVERIFY(testsupport::writeAll(target, oldContent));
    QVERIFY(setOwner(target, ::geteuid(), nobodyGroup));

    QVERIFY(replaceTextFile(target, QStringLiteral("neu"), TextEncoding::Utf8));

    QCOMPARE(statOf(target).st_gid, nobodyGroup);
    QCOMPARE(statOf(target).st_uid, ::geteuid());
    QCOMPARE(testsupport::readAll(target), QByteArray("neu\r\n"));
}

void TestSafeSave::fileOfAnotherOwnerKeepsItsOwner()
{
    if (!isRoot())
        QSKIP("only root may write a file of another user");
    const QString target = path(QStringLiteral("theirs.txt"));
    QVERIFY(testsupport::writeAll(target, oldContent));
    QVERIFY(setMode(target, 0644));
    QVERIFY(setOwner(target, nobodyUser, nobodyGroup));
    const ino_t inode = statOf(target).st_ino;

    QVERIFY(replaceTextFile(target, QStringLiteral("neu"), TextEncoding::Utf8));

    const struct stat after = statOf(target);
    QCOMPARE(after.st_uid, nobodyUser);
    QCOMPARE(after.st_gid, nobodyGroup);
    QCOMPARE(after.st_ino, inode);
    QCOMPARE(int(after.st_mode & 07777), 0644);
    QCOMPARE(testsupport::readAll(target), QByteArray("neu\r\n"));
}

void TestSafeSave::symbolicLinkStaysALink_data()
{
    QTest::addColumn<QString>("linkTarget"); // relative to the folder, or "absolute"
    QTest::addColumn<bool>("targetExists");
    QTest::addColumn<bool>("chain");

    QTest::newRow("relative link") << "real.css" << true << false;
    QTest::newRow("absolute link") << "absolute" << true << false;
    QTest::newRow("link to a link") << "real.css" << true << true;
    QTest::newRow("link into a subfolder") << "sub/real.css" << true << false;
    QTest::newRow("dangling link creates its target") << "real.css" << false << false;
}

void TestSafeSave::symbolicLinkStaysALink()
{
    QFETCH(QString, linkTarget);
    QFETCH(bool, targetExists);
    QFETCH(bool, chain);

    QVERIFY(QDir().mkdir(path(QStringLiteral("sub"))));
    const QString relativeTarget = linkTarget == u"absolute" ? QStringLiteral("real.css") : linkTarget;
    const QString real = path(relativeTarget);
    if (targetExists) {
        QVERIFY(testsupport::writeAll(real, oldContent));
        QVERIFY(setMode(real, 0640));
    }
    const QString link = path(QStringLiteral("link.css"));
    const QString pointedAt = linkTarget == u"absolute" ? real : relativeTarget;
    if (chain) {
        QVERIFY(QFile::link(pointedAt, path(QStringLiteral("inner.css"))));
        QVERIFY(QFile::link(QStringLiteral("inner.css"), link));
    } else {
        QVERIFY(QFile::link(pointedAt, link));
    }

    QVERIFY(replaceTextFile(link, QStringLiteral("neu"), TextEncoding::Utf8));

    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFile::symLinkTarget(link),
             QFileInfo(chain ? path(QStringLiteral("inner.css")) : real).absoluteFilePath());
    QVERIFY(!QFileInfo(real).isSymLink());
    QCOMPARE(testsupport::readAll(real), QByteArray("neu\r\n"));
    if (targetExists)
        QCOMPARE(int(statOf(real).st_mode & 07777), 0640);
}

void TestSafeSave::relativeLinkInALinkedFolder()
{
    // home -> data/docs, and data/docs/note.txt -> ../shared/note.txt: the
    // kernel finds data/shared/note.txt, where the text alone says
    // shared/note.txt.
    for (const char *folder : {"data/docs", "data/shared", "shared"})
        QVERIFY(QDir().mkpath(path(QString::fromLatin1(folder))));
    const QString real = path(QStringLiteral("data/shared/note.txt"));
    QVERIFY(testsupport::writeAll(real, oldContent));
    QVERIFY(QFile::link(QStringLiteral("../shared/note.txt"), path(QStringLiteral("data/docs/note.txt"))));
    QVERIFY(QFile::link(path(QStringLiteral("data/docs")), path(QStringLiteral("home"))));

    QVERIFY(replaceTextFile(path(QStringLiteral("home/note.txt")), QStringLiteral("neu"), TextEncoding::Utf8));

    QCOMPARE(testsupport::readAll(real), QByteArray("neu\r\n"));
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("shared/note.txt"))));
    QVERIFY(QFileInfo(path(QStringLiteral("data/docs/note.txt"))).isSymLink());
}

void TestSafeSave::hardLinkedFileWrittenInPlace_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("longer") << "ein deutlich l\u00E4ngerer neuer Inhalt als vorher";
    QTest::newRow("shorter") << "neu";
    QTest::newRow("empty") << "";
}

void TestSafeSave::hardLinkedFileWrittenInPlace()
{
    QFETCH(QString, text);

    const QString first = path(QStringLiteral("a.txt"));
    const QString second = path(QStringLiteral("b.txt"));
    QVERIFY(testsupport::writeAll(first, oldContent));
    QVERIFY(::link(QFile::encodeName(first).constData(), QFile::encodeName(second).constData()) == 0);
    const ino_t inode = statOf(first).st_ino;

    QVERIFY(replaceTextFile(first, text, TextEncoding::Utf8));

    const QByteArray expected = text.toUtf8() + "\r\n";
    QCOMPARE(testsupport::readAll(first), expected);
    QCOMPARE(testsupport::readAll(second), expected);
    QCOMPARE(statOf(first).st_ino, inode);
    QCOMPARE(statOf(second).st_ino, inode);
    QCOMPARE(int(statOf(first).st_nlink), 2);
    QCOMPARE(entriesOf(m_dir->path()), (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
}

// Permission bits do not hold root back, so these cases run the save as
// the user nobody in a child process.
void TestSafeSave::unprivilegedUser_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("written");

    QTest::newRow("own file in a read-only folder is written in place") << "read-only folder" << true;
    QTest::newRow("new file in a read-only folder") << "new in read-only folder" << false;
    QTest::newRow("file of another user in a writable folder") << "other owner" << false;
    QTest::newRow("own read-only file in own folder") << "read-only file" << false;
    QTest::newRow("own file in own folder") << "own file" << true;
    QTest::newRow("own file its owner may not write") << "owner may not write" << false;
}

void TestSafeSave::unprivilegedUser()
{
    QFETCH(QString, kind);
    QFETCH(bool, written);

    if (!isRoot())
        QSKIP("running the save as the user nobody needs root (setpriv)");
    const QString helper = QCoreApplication::applicationDirPath() + QStringLiteral("/helper_writetext");
    QVERIFY(QFileInfo(helper).isExecutable());
    QVERIFY(setMode(m_dir->path(), 0755));

    const QString folder = path(QStringLiteral("work"));
    QVERIFY(QDir().mkdir(folder));
    const QString target = folder + QStringLiteral("/page.txt");
    if (kind != u"new in read-only folder") {
        QVERIFY(testsupport::writeAll(target, oldContent));
        const mode_t mode = kind == u"read-only file" ? 0444 : kind == u"owner may not write" ? 0464 : 0644;
        QVERIFY(setMode(target, mode));
        if (kind != u"other owner")
            QVERIFY(setOwner(target, nobodyUser, nobodyGroup));
    }
    if (kind == u"other owner") {
        QVERIFY(setMode(folder, 0777));
    } else {
        QVERIFY(setOwner(folder, nobodyUser, nobodyGroup));
        QVERIFY(setMode(folder, kind.contains(u"read-only folder") ? 0555 : 0755));
    }
    const struct stat before = statOf(target);
    const QStringList entriesBefore = entriesOf(folder);

    QProcess process;
    process.start(QStringLiteral("setpriv"),
                  {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                   QStringLiteral("--clear-groups"), helper, target, QStringLiteral("neu"), defaultTitle});
    QVERIFY(process.waitForFinished(60000));
    // 0: written, 3: not written; anything else means the helper did not run.
    const int exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    if (exitCode != 0 && exitCode != 3)
        QFAIL(qPrintable(QStringLiteral("the helper failed as nobody: ") + process.readAllStandardError()));
    const QString output = QString::fromUtf8(process.readAllStandardOutput());

    QCOMPARE(exitCode == 0, written);
    if (written) {
        QCOMPARE(output, QString());
        QCOMPARE(testsupport::readAll(target), QByteArray("neu\r\n"));
    } else {
        QCOMPARE(output, writeFailed + QStringLiteral("|48|") + defaultTitle + QStringLiteral("\n"));
        QCOMPARE(testsupport::readAll(target), kind == u"new in read-only folder" ? QByteArray() : oldContent);
        QCOMPARE(statOf(target).st_uid, before.st_uid);
        QCOMPARE(statOf(target).st_ino, before.st_ino);
    }
    QCOMPARE(entriesOf(folder), entriesBefore);
}

void TestSafeSave::fullFileSystem_data()
{
    QTest::addColumn<bool>("hardLinked");

    QTest::newRow("replaced through a temporary file") << false;
    QTest::newRow("hard-linked file written in place") << true;
}

void TestSafeSave::fullFileSystem()
{
    QFETCH(bool, hardLinked);

    if (!isRoot())
        QSKIP("mounting a small tmpfs to fill needs root");
    const QString mountPoint = path(QStringLiteral("small"));
    QVERIFY(QDir().mkdir(mountPoint));
    if (!runs(QStringLiteral("mount"),
              {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"), QStringLiteral("size=64k"),
               QStringLiteral("tmpfs"), mountPoint}))
        QSKIP("a tmpfs could not be mounted here");
    m_mountPoint = mountPoint;

    const QString target = mountPoint + QStringLiteral("/page.txt");
    QByteArray old;
    while (old.size() < 8192)
        old += "alte Zeile mit \xC3\xBC\r\n";
    QVERIFY(testsupport::writeAll(target, old));
    if (hardLinked) {
        const QString second = mountPoint + QStringLiteral("/second.txt");
        QVERIFY(::link(QFile::encodeName(target).constData(), QFile::encodeName(second).constData()) == 0);
    }
    const QStringList entriesBefore = entriesOf(mountPoint);

    testsupport::MessageCapture messages;
    // A text that fits is written: the file system works, it is only small.
    QVERIFY(replaceTextFile(target, QStringLiteral("kurz"), TextEncoding::Utf8));
    QCOMPARE(testsupport::readAll(target), QByteArray("kurz\r\n"));
    QVERIFY(testsupport::writeAll(target, old));

    const QString tooLarge(200 * 1024, u'x');
    QVERIFY(!ReportWriteFailure(replaceTextFile(target, tooLarge, TextEncoding::Utf8)));

    expectWriteFailedMessage(messages);
    QCOMPARE(testsupport::readAll(target), old);
    QCOMPARE(entriesOf(mountPoint), entriesBefore);
    QCOMPARE(qint64(statOf(target).st_size), qint64(old.size()));
}

QTEST_GUILESS_MAIN(TestSafeSave)

#else

class TestSafeSave : public QObject
{
    Q_OBJECT

private slots:
    void posixOnly() { QSKIP("these checks rely on POSIX modes, owners, links and mounts"); }
};

QTEST_GUILESS_MAIN(TestSafeSave)

#endif

#include "tst_safesave.moc"
