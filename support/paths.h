#pragma once

#include <QDir>
#include <QString>

// Path helpers. The separator is a parameter, the native one by default, so
// the Windows rules are exercised on every system.
namespace support {

inline QChar nativeSeparator()
{
    return QDir::separator();
}

// Appends the separator to the caller's variable unless it ends with one,
// and returns the new value.
QString &AddBackslash(QString &path, QChar separator = nativeSeparator());

// The folder part of a path, ending in exactly one separator; for a folder
// path its parent.
QString FolderOf(const QString &path, QChar separator = nativeSeparator());

// The last component of a path.
QString FileNameOf(const QString &path, QChar separator = nativeSeparator());

// The path as stored on disk when the platform can resolve it; otherwise
// the title-cased copy where names are case-insensitive, else the path as
// given.
QString LongPathOf(const QString &path, QChar separator = nativeSeparator());

// Upper-cases the first character and every character after a blank, "-",
// "(", "_" or the separator; lower-cases every other one.
QString TitleCasePath(const QString &path, QChar separator = nativeSeparator());

} // namespace support
