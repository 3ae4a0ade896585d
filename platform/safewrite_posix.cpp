#include "platform/safewrite.h"

#include "platform/durable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int maxLinkDepth = 40;

// `name` in `folder` as the kernel finds it: links among the folders are
// followed before any "..", which text alone would take back too early.
QString inRealFolder(const QString &folder, const QString &name)
{
    const QString real = QFileInfo(folder).canonicalFilePath();
    return (real.isEmpty() ? QDir::cleanPath(folder) : real) + QLatin1Char('/') + name;
}

// The name a path finally stands for once symbolic links are followed; it
// need not exist (a dangling link names the file to create). Empty for a
// loop of links.
QString finalTarget(const QString &path)
{
    QString current = QFileInfo(path).absoluteFilePath();
    for (int depth = 0;; ++depth) {
        char raw[PATH_MAX + 1];
        const ssize_t length = ::readlink(QFile::encodeName(current).constData(), raw, sizeof raw);
        if (length < 0)
            return current; // no link: the file itself, or the one to create
        if (depth == maxLinkDepth || length == ssize_t(sizeof raw))
            return {};
        const QString target = QFile::decodeName(QByteArray(raw, length));
        const QString joined
            = QDir::isAbsolutePath(target) ? target : current.left(current.lastIndexOf(QLatin1Char('/')) + 1) + target;
        const qsizetype slash = joined.lastIndexOf(QLatin1Char('/'));
        current = inRealFolder(joined.left(std::max<qsizetype>(slash, 1)), joined.mid(slash + 1));
    }
}

bool mayReplace(const QByteArray &nativePath, const struct stat &existing)
{
    // No write bit at all is the read-only attribute; root is refused too.
    return S_ISREG(existing.st_mode) && (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0
        && ::faccessat(AT_FDCWD, nativePath.constData(), W_OK, AT_EACCESS) == 0;
}

bool folderWritable(const QString &target)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    return ::faccessat(AT_FDCWD, folder.constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

// File systems that cannot sync a file report EINVAL; that is no failure.
bool syncToDisk(int fd)
{
    return ::fsync(fd) == 0 || errno == EINVAL;
}

bool writeFrom(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool writeOpenFileInPlace(int fd, const struct stat &expected, const QByteArray &bytes)
{
    struct stat now;
    if (::fstat(fd, &now) != 0 || !S_ISREG(now.st_mode) || now.st_dev != expected.st_dev
        || now.st_ino != expected.st_ino)
        return false;
    const off_t newSize = off_t(bytes.size());
    // Reserve the space first: a full disk must show before an old byte
    // is overwritten.
    if (newSize > 0 && ::posix_fallocate(fd, 0, newSize) != 0) {
        // The old bytes are untouched; only the size may have grown.
        if (newSize > now.st_size) {
            while (::ftruncate(fd, now.st_size) != 0 && errno == EINTR) {}
        }
        return false;
    }
    return writeFrom(fd, bytes) && ::ftruncate(fd, newSize) == 0 && syncToDisk(fd);
}

// Keeps the file's inode, and with it its hard links, owner and group.
bool writeInPlace(const QString &target, const struct stat &expected, const QByteArray &bytes)
{
    const int fd = ::open(QFile::encodeName(target).constData(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    bool ok = writeOpenFileInPlace(fd, expected, bytes);
    if (::close(fd) != 0)
        ok = false;
    return ok;
}

enum class Replaced { Yes, No, KeepsGroupOnlyInPlace };

// Written to a temporary file beside the target and renamed over it.
// `existing` describes the file replaced, or is null for a new file.
Replaced writeReplacing(const QString &target, const struct stat *existing, const QByteArray &bytes)
{
    QSaveFile file(target);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Replaced::No;
    const int fd = file.handle();
    if (existing) {
        struct stat temp;
        if (::fstat(fd, &temp) != 0) {
            file.cancelWriting();
            return Replaced::No;
        }
        if (temp.st_gid != existing->st_gid && ::fchown(fd, uid_t(-1), existing->st_gid) != 0) {
            file.cancelWriting();
            return Replaced::KeepsGroupOnlyInPlace;
        }
        // QSaveFile copies the mode through Qt's permission flags, which
        // add the owner's write bit for root and drop the set-id and sticky
        // bits; the mode is set exactly here, after the group (a change of
        // group clears the set-id bits).
        if (::fchmod(fd, existing->st_mode & 07777) != 0) {
            file.cancelWriting();
            return Replaced::No;
        }
    }
    // commit() does not notice a short write (a full disk), so every count
    // is checked here, and the data is on disk before the rename.
    const qint64 written = bytes.isEmpty() ? 0 : file.write(bytes);
    if (written != bytes.size() || !file.flush() || !syncToDisk(fd)) {
        file.cancelWriting();
        return Replaced::No;
    }
    // The rename reaches the disk too before the save counts as done: the
    // journal that kept the text goes then.
    return file.commit() && syncFolder(QFileInfo(target).absolutePath()) ? Replaced::Yes : Replaced::No;
}

// The temporary file beside the target carries six more characters and a
// dot; for a name near the system's limit there is no room for them.
bool temporaryNameFits(const QString &target)
{
    const QByteArray name = QFile::encodeName(QFileInfo(target).fileName());
    const long limit = ::pathconf(QFile::encodeName(QFileInfo(target).absolutePath()).constData(), _PC_NAME_MAX);
    return name.size() + 7 <= (limit > 0 ? limit : 255);
}

// A new file with no old content to protect: created exclusively and
// removed again when it cannot be written whole.
bool writeNewFile(const QString &target, const QByteArray &bytes)
{
    const QByteArray nativeTarget = QFile::encodeName(target);
    const int fd = ::open(nativeTarget.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0)
        return false;
    bool ok = writeFrom(fd, bytes) && syncToDisk(fd);
    if (::close(fd) != 0)
        ok = false;
    if (!ok)
        ::unlink(nativeTarget.constData());
    return ok && syncFolder(QFileInfo(target).absolutePath());
}

} // namespace

bool writeFileSafely(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        return false;
    const QString target = finalTarget(path);
    if (target.isEmpty())
        return false;
    const QByteArray nativeTarget = QFile::encodeName(target);

    struct stat existing;
    if (::stat(nativeTarget.constData(), &existing) != 0) {
        if (errno != ENOENT)
            return false;
        return temporaryNameFits(target) ? writeReplacing(target, nullptr, bytes) == Replaced::Yes
                                         : writeNewFile(target, bytes);
    }

    if (!mayReplace(nativeTarget, existing))
        return false;

    // A rename would split hard links, hand another user's file to us, or
    // fail in a folder we may not write or for a name too long for a
    // temporary sibling.
    const bool replaceable = existing.st_nlink == 1 && existing.st_uid == ::geteuid() && folderWritable(target)
        && temporaryNameFits(target);
    if (replaceable) {
        const Replaced replaced = writeReplacing(target, &existing, bytes);
        if (replaced != Replaced::KeepsGroupOnlyInPlace)
            return replaced == Replaced::Yes;
    }
    return writeInPlace(target, existing, bytes);
}

bool mayReplaceFile(const QString &path)
{
    const QByteArray nativePath = QFile::encodeName(path);
    struct stat existing;
    return !path.isEmpty() && ::stat(nativePath.constData(), &existing) == 0 && mayReplace(nativePath, existing);
}

} // namespace platform
