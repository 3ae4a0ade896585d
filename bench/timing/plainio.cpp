#include "bench/timing/plainio.h"

#include "bench/timing/clock.h"
#include "bench/timing/stats.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace timing {

namespace {

// Whole file with one read() call; the time or -1.
double timedRead(const QByteArray &path, std::vector<char> &bytes)
{
    const qint64 start = nowNs();
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info = {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return -1;
    }
    bytes.resize(size_t(info.st_size));
    const ssize_t got = ::read(fd, bytes.data(), bytes.size());
    ::close(fd);
    if (got != ssize_t(bytes.size()))
        return -1;
    return msBetween(start, nowNs());
}

double timedWrite(const QByteArray &path, const std::vector<char> &bytes, bool sync)
{
    const qint64 start = nowNs();
    const int fd = ::open(path.constData(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0)
        return -1;
    const ssize_t put = ::write(fd, bytes.data(), bytes.size());
    const bool synced = !sync || ::fsync(fd) == 0;
    ::close(fd);
    if (put != ssize_t(bytes.size()) || !synced)
        return -1;
    return msBetween(start, nowNs());
}

} // namespace

PlainIo measurePlainIo(const QString &path)
{
    PlainIo result;
    const QByteArray source = QFile::encodeName(path);
    const QByteArray copy = source + ".plain-write";
    std::vector<char> bytes;
    // The file is in the page cache, as it is for the editor's open in
    // these runs; each figure is the median of three, a new file each time.
    QList<double> reads;
    QList<double> writes;
    QList<double> syncedWrites;
    for (int i = 0; i < 3; ++i) {
        reads << timedRead(source, bytes);
        writes << timedWrite(copy, bytes, false);
        ::unlink(copy.constData());
        syncedWrites << timedWrite(copy, bytes, true);
        ::unlink(copy.constData());
    }
    result.ok = !reads.contains(-1) && !writes.contains(-1) && !syncedWrites.contains(-1);
    result.readMs = median(reads);
    result.writeMs = median(writes);
    result.writeSyncMs = median(syncedWrites);
    return result;
}

} // namespace timing
