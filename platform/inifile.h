#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The INI text itself, without any file: finding a value and producing the
// text with one value replaced. Works on the raw bytes (UTF-8) so that every
// line that is not written to keeps its exact bytes and line ending.
namespace platform::inifile {

// Whether a section or key name can be looked up or written: not empty once
// the surrounding blanks are gone, no line break, and for a key no "=" and no
// leading ";" or "[" (such a line would read back as a comment or section).
bool isValidSection(const QString &section);
bool isValidKey(const QString &key);

// Whether the entry can be written without changing the file's structure:
// valid names and a value without line breaks.
bool isWritableEntry(const QString &section, const QString &key, const QString &value);

// The value as it goes into the file so that reading gives it back exactly:
// wrapped in double quotes when it has blanks at either end or one pair of
// outer quotes of its own, else unchanged.
QString storedForm(const QString &value);

// At most size - 1 UTF-16 units of the text, never ending in half of a
// surrogate pair; empty for size < 2.
QString cutToSize(const QString &text, int size);

// The read's answer: the text, cut to size, placed in `value`; returns its
// length.
int placeAnswer(const QString &text, int size, QString &value);

// The default as the service answers with it for a missing key: without its
// trailing spaces (a tab or line break stays, and so do leading spaces).
QString defaultAnswer(const QString &defaultValue);

// The value of the first key named `key` in the first section named
// `section` (names compared without regard to case and surrounding blanks),
// with its blanks and one matching pair of outer quotes removed; nothing when
// the section or key is missing.
std::optional<QString> findValue(const QByteArray &text, const QString &section, const QString &key);

// The text with the key's value replaced (the key keeps its spelling), or
// the key added after the last key of its section, or the section added at
// the end. Written lines end in CR LF; every other line stays byte for byte.
// The names and value must satisfy isWritableEntry.
QByteArray withValue(const QByteArray &text, const QString &section, const QString &key, const QString &value);

} // namespace platform::inifile
