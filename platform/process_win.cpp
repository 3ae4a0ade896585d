#include "platform/process_native.h"

#include <QCoreApplication>
#include <QDir>

#include <windows.h>

namespace platform {

QString nativeExecutablePath()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
}

QString nativeCommandLineText()
{
    // The raw command line after the program's name, as the system keeps it:
    // the program name ends at the closing quote or the first blank, and one
    // run of blanks after it is skipped.
    const QString line = QString::fromWCharArray(GetCommandLineW());
    qsizetype i = 0;
    if (line.startsWith(QLatin1Char('"'))) {
        i = line.indexOf(QLatin1Char('"'), 1);
        i = (i < 0) ? line.size() : i + 1;
    } else {
        while (i < line.size() && line.at(i) != QLatin1Char(' ') && line.at(i) != QLatin1Char('\t'))
            ++i;
    }
    while (i < line.size() && (line.at(i) == QLatin1Char(' ') || line.at(i) == QLatin1Char('\t')))
        ++i;
    return line.mid(i);
}

} // namespace platform
