#include "bench/timing/memory.h"

#include <QFile>
#include <QList>

#include <sys/resource.h>
#include <unistd.h>

namespace timing {

double peakRssMiB()
{
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return -1;
    return double(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB on Linux
}

double currentRssMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    if (fields.size() < 2)
        return -1;
    return double(fields.at(1).toLongLong()) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

} // namespace timing
