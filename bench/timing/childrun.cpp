#include "bench/timing/childrun.h"

#include "bench/timing/clock.h"

#include <QCoreApplication>
#include <QProcess>

#include <cstdio>
#include <limits>

namespace timing {

double ChildResult::value(const QString &key) const
{
    return values.value(key, std::numeric_limits<double>::quiet_NaN());
}

ChildResult runChild(const QStringList &arguments, int timeoutMs)
{
    ChildResult result;
    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    result.launchNs = nowNs();
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForStarted()) {
        result.failure = QStringLiteral("did not start");
        return result;
    }
    if (!child.waitForFinished(timeoutMs)) {
        child.kill();
        child.waitForFinished();
        result.failure = QStringLiteral("timed out after %1 s").arg(timeoutMs / 1000);
    } else if (child.exitStatus() != QProcess::NormalExit) {
        result.failure = QStringLiteral("crashed");
    } else if (child.exitCode() != 0) {
        result.failure = QStringLiteral("exit code %1").arg(child.exitCode());
    } else {
        result.ok = true;
    }
    const QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
    for (const QByteArray &line : lines) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            result.values.insert(QString::fromLatin1(line.left(equals)), line.mid(equals + 1).toDouble());
    }
    if (!result.ok) {
        const QByteArray errors = child.readAllStandardError();
        std::fprintf(stderr, "child %s: %s\n%s\n", qPrintable(arguments.join(QLatin1Char(' '))),
                     qPrintable(result.failure), errors.right(2000).constData());
    }
    return result;
}

void put(const char *key, double value)
{
    std::printf("%s=%.4f\n", key, value);
    std::fflush(stdout);
}

void put(const QString &key, double value)
{
    put(qPrintable(key), value);
}

} // namespace timing
