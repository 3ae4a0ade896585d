#include "app/programsettings.h"

#include "app/appstate.h"
#include "app/settings.h"

QString ReadSetting(const SettingKey &key)
{
    return ReadSetting(key, key.defaultValue);
}

QString ReadSetting(const SettingKey &key, const QString &defaultValue)
{
    return ReadIni(App().AppTitle, key.name, App().IniFile, defaultValue);
}

void WriteSetting(const SettingKey &key, const QString &value)
{
    WriteIni(App().AppTitle, key.name, value, App().IniFile);
}

void WriteSettings(const QList<std::pair<SettingKey, QString>> &values)
{
    QList<std::pair<QString, QString>> entries;
    for (const auto &[key, value] : values)
        entries.append({key.name, value});
    WriteIniValues(App().AppTitle, entries, App().IniFile);
}
