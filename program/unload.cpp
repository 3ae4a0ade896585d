#include "program/unload.h"

#include "app/programsettings.h"
#include "app/settings.h"
#include "support/paths.h"
#include "ui/main/windowstate.h"

void SaveWindowState(const WindowState &state)
{
    QString lastDir = support::LongPathOf(state.folder);
    auto number = [](const std::optional<int> &value) { return NumberText(value.value_or(0)); };
    QList<std::pair<SettingKey, QString>> values = {{settingkeys::LastDir, support::AddBackslash(lastDir)},
                                                    {settingkeys::Top, number(state.top)},
                                                    {settingkeys::Left, number(state.left)},
                                                    {settingkeys::Height, number(state.height)},
                                                    {settingkeys::Width, number(state.width)},
                                                    {settingkeys::Dark, number(state.dark)},
                                                    {settingkeys::Green, number(state.green)},
                                                    {settingkeys::SplitHLeft, number(state.splitHLeft)},
                                                    {settingkeys::SplitVTop, number(state.splitVTop)}};
    // The zoom goes to the file once it was used, and back to 0 from there.
    if (state.zoom.value_or(0) != 0 || !ReadSetting(settingkeys::Zoom, QString()).isEmpty())
        values.append({settingkeys::Zoom, number(state.zoom)});
    // The panes' context-menu options go there where they differ from the
    // file, so that a run that never used them leaves the file as before.
    for (const auto &[key, on] : {std::pair{settingkeys::SyntaxHighlight, state.syntaxHighlight},
                                  std::pair{settingkeys::LineNumbers, state.lineNumbers}}) {
        const QString value = on ? QStringLiteral("1") : QStringLiteral("0");
        if (ReadSetting(key) != value)
            values.append({key, value});
    }
    WriteSettings(values);
}
