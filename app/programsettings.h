#pragma once

#include <QList>
#include <QString>
#include <utility>

// The program's own settings: the keys of its section in the settings file,
// each named once with the value read when it is missing or empty, and one
// read or write of a key in that section of that file (AppTitle, IniFile).

struct SettingKey
{
    QLatin1StringView name;
    // Empty where the value read instead of a missing key is the run's own
    // (a folder, the window as created, a control's designed place) and the
    // reader gives it; for "LastCSS" the empty text is the default itself.
    QLatin1StringView defaultValue;
};

namespace settingkeys {

inline constexpr SettingKey LastDir{QLatin1StringView("LastDir"), {}}; // the first-run folder
inline constexpr SettingKey LastCSS{QLatin1StringView("LastCSS"), {}};
inline constexpr SettingKey Green{QLatin1StringView("Green"), QLatin1StringView("0")};
inline constexpr SettingKey Dark{QLatin1StringView("Dark"), QLatin1StringView("0")};
inline constexpr SettingKey Height{QLatin1StringView("Height"), QLatin1StringView("8445")};
inline constexpr SettingKey Width{QLatin1StringView("Width"), {}}; // the window's width as created
inline constexpr SettingKey Top{QLatin1StringView("Top"), QLatin1StringView("0")};
// "Top" as read first: -1, which a missing key gives too, centres the window.
inline constexpr SettingKey TopOrCentred{Top.name, QLatin1StringView("-1")};
inline constexpr double Centred = -1;
inline constexpr SettingKey Left{QLatin1StringView("Left"), QLatin1StringView("0")};
inline constexpr SettingKey SplitHLeft{QLatin1StringView("SplitHLeft"), {}}; // the bar's designed place
inline constexpr SettingKey SplitVTop{QLatin1StringView("SplitVTop"), QLatin1StringView("2775")};
// The panes' zoom in steps from the designed font size; written only once
// it is used, so that an unzoomed run leaves the file as it was.
inline constexpr SettingKey Zoom{QLatin1StringView("Zoom"), QLatin1StringView("0")};
// The panes' context-menu options "Syntax hervorheben" and "Zeilennummern
// anzeigen": 1 on, off when missing.
inline constexpr SettingKey SyntaxHighlight{QLatin1StringView("SyntaxHighlight"), QLatin1StringView("0")};
inline constexpr SettingKey LineNumbers{QLatin1StringView("LineNumbers"), QLatin1StringView("0")};

} // namespace settingkeys

// The key's stored value, or its default.
QString ReadSetting(const SettingKey &key);
// The key's stored value, or the run's own default.
QString ReadSetting(const SettingKey &key, const QString &defaultValue);
void WriteSetting(const SettingKey &key, const QString &value);
// Several keys in one write of the file (WriteIniValues).
void WriteSettings(const QList<std::pair<SettingKey, QString>> &values);
