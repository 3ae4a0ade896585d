#include "platform/regularfile.h"

#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

namespace platform {

namespace {

// A read that moves no byte for this long has stalled (a device file that
// waits for data, a network mount that is gone).
constexpr std::chrono::milliseconds stallLimit(1000);
constexpr qsizetype chunkBytes = 4 * 1024 * 1024;

ReadHook &readHook()
{
    static ReadHook hook;
    return hook;
}

// What the reading thread hands over; shared, since a stalled thread may
// outlive the caller that gave up on it.
struct Read
{
    std::mutex mutex;
    std::condition_variable progressed;
    bool done = false;
    qint64 bytesRead = 0;
    std::optional<QByteArray> bytes;
    QString error;
    FileStamp stamp;
};

void readInto(Read &read, const QString &path, const ReadHook &hook)
{
    auto progress = [&read](qint64 count) {
        const std::lock_guard lock(read.mutex);
        read.bytesRead += count;
        read.progressed.notify_all();
    };
    auto fail = [&read](const QString &reason) {
        const std::lock_guard lock(read.mutex);
        read.error = reason;
        read.done = true;
        read.progressed.notify_all();
    };
    if (hook)
        hook(path);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return fail(QStringLiteral("not a readable file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    const std::optional<FileStamp> stamp = fileStamp(file);
    if (!stamp)
        return fail(QStringLiteral("not a readable file"));

    QByteArray bytes;
    try {
        bytes = QByteArray(file.size(), Qt::Uninitialized);
    } catch (const std::bad_alloc &) {
        return fail(QStringLiteral("the file does not fit into memory"));
    }
    qsizetype got = 0;
    while (got < bytes.size()) {
        const qint64 count = file.read(bytes.data() + got, std::min(chunkBytes, bytes.size() - got));
        if (count < 0)
            return fail(file.errorString());
        if (count == 0)
            break; // the file shrank while being read
        got += qsizetype(count);
        progress(count);
    }
    bytes.truncate(got);
    // The file may also have grown.
    try {
        const QByteArray rest = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return fail(file.errorString());
        bytes.append(rest);
    } catch (const std::bad_alloc &) {
        return fail(QStringLiteral("the file does not fit into memory"));
    }

    const std::lock_guard lock(read.mutex);
    read.bytes = std::move(bytes);
    read.stamp = *stamp;
    read.done = true;
    read.progressed.notify_all();
}

std::optional<QByteArray> failed(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return std::nullopt;
}

} // namespace

ReadHook setReadHook(ReadHook hook)
{
    return std::exchange(readHook(), std::move(hook));
}

std::optional<QByteArray> readRegularFile(const QString &path, QString *error, FileStamp *stamp)
{
    // The read runs on a thread of its own, so that the caller can give up
    // on one that stalls; the thread is left to end whenever it can.
    auto read = std::make_shared<Read>();
    std::thread([read, path, hook = readHook()] { readInto(*read, path, hook); }).detach();

    std::unique_lock lock(read->mutex);
    while (!read->done) {
        const qint64 before = read->bytesRead;
        if (!read->progressed.wait_for(lock, stallLimit, [&] { return read->done || read->bytesRead != before; }))
            return failed(error, QStringLiteral("the read stalled"));
    }
    if (!read->bytes)
        return failed(error, read->error);
    if (stamp)
        *stamp = read->stamp;
    return std::move(read->bytes);
}

} // namespace platform
