#pragma once

#include <QList>
#include <QString>
#include <utility>

// The settings file: one value read or written at a time, nothing cached.

// The stored value of the key (cut to 2047 characters), or the default when
// the file, section or key is missing or the value is empty. Section and key
// are matched without regard to case.
QString ReadIni(const QString &section, const QString &key, const QString &file, const QString &defaultValue);
QString ReadIni(const QString &section, const QString &key, const QString &file, long long defaultValue);

// Stores the value; names reach the file as given. Failures are silent.
// The per-user settings folder is created at the first write into it.
// Returns the empty text.
QString WriteIni(const QString &section, const QString &key, const QString &value, const QString &file);
// Several keys at once, as the writes one after the other would leave the
// file, in one replace of it: another instance never mixes its values in,
// and a crash leaves all the old values or all the new ones.
void WriteIniValues(const QString &section, const QList<std::pair<QString, QString>> &values, const QString &file);

// Lenient leading-number parse: blanks, tabs and line feeds are skipped
// wherever they occur; then an optional sign, digits, an optional "." with
// digits and an optional exponent; text without a leading number gives 0.
double Val(const QString &text);

// The default number-to-text form: "8445", "-1", "0".
QString NumberText(long long value);

// Rounds to the nearest whole number, a half to the even neighbour.
double RoundHalfEven(double value);
