#pragma once

#include <QString>
#include <memory>

namespace platform {
class ProfileWriteGroup;
}

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

// Lenient leading-number parse: blanks, tabs and line feeds are skipped
// wherever they occur; then an optional sign, digits, an optional "." with
// digits and an optional exponent; text without a leading number gives 0.
double Val(const QString &text);

// The default number-to-text form: "8445", "-1", "0".
QString NumberText(long long value);

// Rounds to the nearest whole number, a half to the even neighbour.
double RoundHalfEven(double value);

// Keeps the settings file locked against other instances of the program
// while a group of WriteIni calls runs, so the group lands as a whole.
class IniWriteGroup
{
public:
    explicit IniWriteGroup(const QString &file);
    ~IniWriteGroup();
    IniWriteGroup(const IniWriteGroup &) = delete;
    IniWriteGroup &operator=(const IniWriteGroup &) = delete;

    bool locked() const;

private:
    std::unique_ptr<platform::ProfileWriteGroup> m_group;
};
