#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace timing {

// The figures one child process printed, and how it ended.
struct ChildResult
{
    QMap<QString, double> values;
    qint64 launchNs = 0;
    bool ok = false;
    QString failure; // why not ok: exit code, time-out, crash
    double value(const QString &key) const;
};

// Runs this program again with the arguments and collects its key=value
// lines; a child still running after timeoutMs is killed.
ChildResult runChild(const QStringList &arguments, int timeoutMs);

// In a child: one figure, as a key=value line.
void put(const char *key, double value);
void put(const QString &key, double value);

} // namespace timing
