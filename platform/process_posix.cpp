#include "platform/process_native.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

namespace platform {

QString nativeExecutablePath()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
}

QString nativeCommandLineText()
{
    // POSIX hands over an argument vector, not a command line: the text is
    // the arguments as received, joined by blanks, so a path given as one
    // quoted argument arrives whole.
    QStringList arguments = QCoreApplication::arguments();
    if (!arguments.isEmpty())
        arguments.removeFirst();
    return arguments.join(QLatin1Char(' '));
}

} // namespace platform
