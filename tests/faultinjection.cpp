#include "tests/faultinjection.h"

#include <QFile>
#include <QProcess>
#include <unistd.h>

namespace testsupport {

bool runProgram(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

FileSystemFaults::~FileSystemFaults()
{
    for (const QString &file : std::as_const(m_immutable))
        runProgram(QStringLiteral("chattr"), {QStringLiteral("-i"), file});
    for (const QString &mount : std::as_const(m_mounts))
        runProgram(QStringLiteral("umount"), {QStringLiteral("-l"), mount});
}

bool FileSystemFaults::mountSmallFileSystem(const QString &folder, int bytes)
{
    if (geteuid() != 0)
        return false;
    if (!runProgram(QStringLiteral("mount"),
                    {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                     QStringLiteral("size=%1").arg(bytes), QStringLiteral("tmpfs"), folder}))
        return false;
    m_mounts << folder;
    return true;
}

bool FileSystemFaults::remountReadOnly(const QString &folder)
{
    return runProgram(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("remount,ro"), folder});
}

bool FileSystemFaults::makeImmutable(const QString &file)
{
    if (!runProgram(QStringLiteral("chattr"), {QStringLiteral("+i"), file}))
        return false;
    m_immutable << file;
    return true;
}

void FileSystemFaults::fillUp(const QString &folder)
{
    QFile filler(folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly))
        return;
    const QByteArray block(512, 'f');
    while (filler.write(block) == block.size() && filler.flush()) {}
}

} // namespace testsupport
