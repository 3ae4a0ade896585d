#include "program/restore.h"

#include "app/appstate.h"
#include "app/programsettings.h"
#include "app/settings.h"
#include "app/settingslocation.h"
#include "support/paths.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// A check-box value from the settings: the number rounded half to even;
// nothing for a text that is no number a box can take.
std::optional<int> checkValue(const QString &text)
{
    const double value = RoundHalfEven(Val(text));
    if (value < 0 || value > 2)
        return std::nullopt;
    return static_cast<int>(value);
}

// A geometry value from the settings, in whole twips; nothing for a number
// no window could take.
std::optional<int> twipsValue(const QString &text)
{
    const double value = RoundHalfEven(Val(text));
    if (!std::isfinite(value) || std::abs(value) > 16777215.0)
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

WindowState RememberedWindowState(const QString &commandLine)
{
    const AppState &app = App();
    WindowState state;
    if (!commandLine.isEmpty())
        state.folder = support::FolderOf(support::LongPathOf(commandLine));
    else
        state.folder = ReadSetting(settingkeys::LastDir, FirstRunFolder(app.AppDir, app.IniFile));
    state.stylesheet = ReadSetting(settingkeys::LastCSS);
    state.green = checkValue(ReadSetting(settingkeys::Green));
    state.dark = checkValue(ReadSetting(settingkeys::Dark));

    // A negative size is one no window can take: the designed one stays.
    auto size = [](const QString &text) {
        const std::optional<int> twips = twipsValue(text);
        return twips && *twips >= 0 ? twips : std::nullopt;
    };
    state.height = size(ReadSetting(settingkeys::Height));
    // Without a remembered width the window keeps the width it was created
    // with.
    if (const QString width = ReadSetting(settingkeys::Width); !width.isEmpty())
        state.width = size(width);
    // The number as read decides, not its rounded value: "-0.6" is a place.
    state.centred = Val(ReadSetting(settingkeys::TopOrCentred)) == settingkeys::Centred;
    if (!state.centred) {
        state.top = twipsValue(ReadSetting(settingkeys::Top));
        state.left = twipsValue(ReadSetting(settingkeys::Left));
    }

    // A splitter value that is no number in range counts as not remembered
    // (the window checks the range).
    auto splitter = [](const QString &stored) -> std::optional<int> {
        const double value = RoundHalfEven(Val(stored));
        if (stored.isEmpty() || !std::isfinite(value) || std::abs(value) > 16777215.0)
            return std::nullopt;
        return static_cast<int>(value);
    };
    state.splitHLeft = splitter(ReadSetting(settingkeys::SplitHLeft, QString()));
    state.splitVTop = splitter(ReadSetting(settingkeys::SplitVTop));
    state.syntaxHighlight = checkValue(ReadSetting(settingkeys::SyntaxHighlight)) == 1;
    state.lineNumbers = checkValue(ReadSetting(settingkeys::LineNumbers)) == 1;
    state.zoom = int(std::clamp(RoundHalfEven(Val(ReadSetting(settingkeys::Zoom))), -1000.0, 1000.0));
    return state;
}
