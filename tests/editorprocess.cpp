#include "tests/editorprocess.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <csignal>

namespace testsupport {

namespace {
// Whether the process has its SIGTERM handler installed (the SigCgt mask).
bool catchesTermination(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:")) {
            bool ok = false;
            const qulonglong mask = line.mid(7).trimmed().toULongLong(&ok, 16);
            return ok && (mask & (1ULL << (SIGTERM - 1)));
        }
    }
    return false;
}
} // namespace

bool waitUntilTerminable(QProcess &editor)
{
    const qint64 pid = editor.processId();
    return QTest::qWaitFor([&] { return editor.state() != QProcess::Running || catchesTermination(pid); },
                           editorStartTimeoutMs)
        && editor.state() == QProcess::Running;
}

QProcessEnvironment offscreenEnvironment(const QString &stateHome)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_STATE_HOME"), stateHome);
    return env;
}

} // namespace testsupport
