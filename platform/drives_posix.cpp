#include "platform/drives.h"
#include "platform/drivestate.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace platform {

namespace {

// The kernel marks /proc/self/mounts when a file system is mounted or
// unmounted; until then the drives read last still hold, and the many
// questions a folder change asks cost no new reading of the mount table.
class MountTableWatch
{
public:
    MountTableWatch()
        : m_fd(::open("/proc/self/mounts", O_RDONLY | O_CLOEXEC))
    {
    }
    ~MountTableWatch()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    MountTableWatch(const MountTableWatch &) = delete;
    MountTableWatch &operator=(const MountTableWatch &) = delete;

    // True on the first call and whenever the table changed since the last
    // true; always true where the table cannot be watched.
    bool changed()
    {
        if (m_fd < 0)
            return true;
        pollfd watch{m_fd, POLLPRI, 0};
        const bool marked = ::poll(&watch, 1, 0) > 0 && (watch.revents & (POLLERR | POLLPRI));
        if (!marked && !m_first)
            return false;
        m_first = false;
        // The mark clears once the table has been read from its start.
        char buffer[4096];
        ::lseek(m_fd, 0, SEEK_SET);
        while (::read(m_fd, buffer, sizeof buffer) > 0) {}
        return true;
    }

private:
    int m_fd;
    bool m_first = true;
};

struct MountedDrives
{
    MountTableWatch mountTable;
    QStringList drives;
};

bool isUnder(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder + u'/');
}

// Mounts that hold no user data: kernel interfaces, memory file systems,
// container layers and packaged read-only images.
bool isSystemMount(const QStorageInfo &volume)
{
    static const QSet<QByteArray> pseudoTypes{
        "proc",   "sysfs",       "tmpfs",       "devtmpfs",        "devpts",     "cgroup",  "cgroup2", "securityfs",
        "pstore", "bpf",         "debugfs",     "tracefs",         "configfs",   "fusectl", "mqueue",  "hugetlbfs",
        "autofs", "binfmt_misc", "efivarfs",    "squashfs",        "overlay",    "nsfs",    "ramfs",   "rpc_pipefs",
        "nfsd",   "selinuxfs",   "fuse.portal", "fuse.gvfsd-fuse", "fuse.lxcfs", "shm",     "rootfs"};
    if (pseudoTypes.contains(volume.fileSystemType()))
        return true;
    const QString root = volume.rootPath();
    static const QStringList systemFolders{QStringLiteral("/proc"), QStringLiteral("/sys"),  QStringLiteral("/dev"),
                                           QStringLiteral("/boot"), QStringLiteral("/snap"), QStringLiteral("/var"),
                                           QStringLiteral("/usr"),  QStringLiteral("/etc"),  QStringLiteral("/tmp")};
    for (const QString &folder : systemFolders) {
        if (isUnder(root, folder))
            return true;
    }
    // /run holds runtime state, except the removable media mounted there.
    return isUnder(root, QStringLiteral("/run")) && !isUnder(root, QStringLiteral("/run/media"));
}

QStringList mountedDrives()
{
    QStringList drives{QStringLiteral("/")};
    const QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo &volume : volumes) {
        if (!volume.isValid())
            continue;
        const QString root = QDir::cleanPath(volume.rootPath());
        if (root == QLatin1String("/") || !root.startsWith(u'/') || isSystemMount(volume))
            continue;
        drives.append(root);
    }
    drives.removeDuplicates();
    drives.sort();
    return drives;
}

QString cleanAbsolute(const QString &path)
{
    if (path.isEmpty() || !QDir::isAbsolutePath(path))
        return {};
    return QDir::cleanPath(path);
}

} // namespace

QStringList drives()
{
    if (!drivestate::overrideList().isEmpty())
        return drivestate::overrideList();
    static MountedDrives mounted;
    if (mounted.mountTable.changed())
        mounted.drives = mountedDrives();
    return mounted.drives;
}

QString driveOf(const QString &path)
{
    const QString clean = cleanAbsolute(path);
    if (clean.isEmpty())
        return {};
    QString best;
    const QStringList all = drives();
    for (const QString &drive : all) {
        const bool holds = drive == QLatin1String("/") || isUnder(clean, drive);
        if (holds && drive.size() > best.size())
            best = drive;
    }
    return best;
}

bool driveReadable(const QString &drive)
{
    const QFileInfo info(drive);
    return !drive.isEmpty() && info.isDir() && info.isReadable();
}

QString currentFolderOfDrive(const QString &drive)
{
    const QString remembered = drivestate::rememberedFolder(drive);
    return remembered.isEmpty() ? drive : remembered;
}

void rememberFolder(const QString &folder)
{
    const QString clean = cleanAbsolute(folder);
    const QString drive = driveOf(clean);
    if (!drive.isEmpty())
        drivestate::remember(drive, clean);
}

std::optional<QString> folderForDriveSpec(const QString &path)
{
    // "/" is a folder as well as a drive and always means the root folder;
    // another mount point named exactly as listed means the folder last
    // shown on it. With a trailing separator it is the folder itself.
    if (path == QLatin1String("/") || !drives().contains(path))
        return std::nullopt;
    return currentFolderOfDrive(path);
}

} // namespace platform
