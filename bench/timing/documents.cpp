#include "bench/timing/documents.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace timing {

namespace {

constexpr qint64 KiB = 1024;
constexpr qint64 MiB = 1024 * 1024;

// 49 bytes in UTF-8 (50 from line 1,000,000 on), so 10 MiB hold some
// 214,000 lines.
QByteArray textLine(qint64 number)
{
    return QStringLiteral("Zeile %1: Grüße aus Köln, süße Äpfel!\r\n").arg(number, 6, 10, QLatin1Char('0')).toUtf8();
}

QByteArray cssRule(qint64 number)
{
    return QStringLiteral(".k%1{content:\"Grüße\";font-family:Köln,Arial;color:#%2}")
        .arg(number)
        .arg(number % 0xFFFFFF, 6, 16, QLatin1Char('0'))
        .toUtf8();
}

bool writeChunked(QFile &file, const GeneratedDocument &document)
{
    QByteArray chunk;
    qint64 written = 0;
    qint64 number = 0;
    const qint64 body = document.oneLine ? document.bytes - 2 : document.bytes;
    while (written + chunk.size() < body) {
        chunk += document.oneLine ? cssRule(number) : textLine(number);
        ++number;
        if (chunk.size() >= MiB) {
            if (file.write(chunk) != chunk.size())
                return false;
            written += chunk.size();
            chunk.clear();
        }
    }
    if (document.oneLine)
        chunk += "\r\n";
    return file.write(chunk) == chunk.size();
}

} // namespace

QList<GeneratedDocument> documentSpecs(bool quick)
{
    QList<GeneratedDocument> documents = {
        {QStringLiteral("10k"), QStringLiteral("10 KB lines"), 10 * KiB, false},
        {QStringLiteral("1m"), QStringLiteral("1 MB lines"), MiB, false},
        {QStringLiteral("10m"), QStringLiteral("10 MB lines"), 10 * MiB, false},
        {QStringLiteral("100m"), QStringLiteral("100 MB lines"), 100 * MiB, false},
        {QStringLiteral("css05m"), QStringLiteral("0.5 MB one line"), MiB / 2, true},
        {QStringLiteral("css1m"), QStringLiteral("1 MB one line"), MiB, true},
        {QStringLiteral("css5m"), QStringLiteral("5 MB one line"), 5 * MiB, true},
    };
    if (quick)
        documents.removeIf([](const GeneratedDocument &document) { return document.bytes > 10 * MiB; });
    return documents;
}

QString writeDocument(const QString &root, const GeneratedDocument &document)
{
    const QString folder = root + QStringLiteral("/doc-") + document.key;
    if (!QDir().mkpath(folder))
        return {};
    const QString path = folder + (document.oneLine ? QStringLiteral("/minified-") : QStringLiteral("/text-")) + document.key
        + (document.oneLine ? QStringLiteral(".css") : QStringLiteral(".txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || !writeChunked(file, document))
        return {};
    return path;
}

qint64 lineCountOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    qint64 lines = 0;
    while (!file.atEnd())
        lines += file.read(4 * MiB).count('\n');
    return lines;
}

QString writeFileFolder(const QString &root, int files)
{
    const QString folder = root + QStringLiteral("/list-%1").arg(files);
    if (!QDir().mkpath(folder))
        return {};
    for (int i = 0; i < files; ++i) {
        const QByteArray name = QStringLiteral("%1/eintrag-%2.%3")
                                    .arg(folder)
                                    .arg(i, 6, 10, QLatin1Char('0'))
                                    .arg(i % 2 ? QStringLiteral("dat") : QStringLiteral("txt"))
                                    .toLocal8Bit();
        // Plain open/close: a hundred thousand QFile objects cost seconds.
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd < 0)
            return {};
        ::close(fd);
    }
    return folder;
}

} // namespace timing
