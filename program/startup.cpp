#include "program/startup.h"

#include "app/appstate.h"
#include "app/programsettings.h"
#include "app/settings.h"
#include "app/settingslocation.h"
#include "platform/process.h"
#include "platform/screen.h"
#include "program/restore.h"
#include "program/unload.h"
#include "support/message.h"
#include "support/paths.h"
#include "support/windowhelpers.h"
#include "ui/main/frmtextedit.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {
// A geometry value from the settings, in whole twips; nothing for a number
// no window could take.
std::optional<int> twipsValue(const QString &text)
{
    const double value = RoundHalfEven(Val(text));
    if (!std::isfinite(value) || std::abs(value) > 16777215.0)
        return std::nullopt;
    return static_cast<int>(value);
}

// A remembered place from a screen that is gone, or hand-edited numbers,
// would open the window where nobody can reach it. It counts as reachable
// when its caption strip (the top 450 twips) lies on the screens at least
// 600 twips wide and at least half its height deep. Each screen counts as a
// whole: panels are no reason to move the window, the window manager keeps
// it clear of them.
bool reachable(const frmTextEdit &window)
{
    const QList<platform::ScreenArea> screens = platform::screensTwips();
    if (screens.isEmpty())
        return true;
    const QRect caption(window.Left(), window.Top(), window.Width(), std::min(450, window.Height()));
    // The caption's stretches on the screens, side by side screens joined.
    std::vector<std::pair<int, int>> spans;
    for (const platform::ScreenArea &screen : screens) {
        const QRect part = caption.intersected(screen.geometry);
        if (!part.isEmpty() && part.height() * 2 >= caption.height())
            spans.emplace_back(part.left(), part.left() + part.width());
    }
    std::sort(spans.begin(), spans.end());
    int longest = 0;
    for (size_t i = 0; i < spans.size();) {
        auto [from, to] = spans[i];
        for (++i; i < spans.size() && spans[i].first <= to; ++i)
            to = std::max(to, spans[i].second);
        longest = std::max(longest, to - from);
    }
    return longest >= std::min(600, window.Width());
}
} // namespace

frmTextEdit *Main()
{
    AppState &app = App();

    // 1 to 4: the application state and where the settings file lies.
    const QFileInfo executable(platform::executablePath());
    app.AppDir = QDir::toNativeSeparators(executable.absolutePath());
    support::AddBackslash(app.AppDir);
    app.AppExe = executable.completeBaseName();
    app.AppTitle = QStringLiteral("Brenwick TXT-HTML-CSS-Editor");
    support::SetDefaultMessageTitle(app.AppTitle);
    const QString longExe = support::LongPathOf(app.AppDir + app.AppExe + QStringLiteral(".exe"));
    app.IniFile = SettingsFileLocation(longExe.left(longExe.size() - 3) + QStringLiteral("ini"));
    app.FilePattern = QStringLiteral("*.css;*.txt;*.htm;*.html;*.ini;*.vbp;*.bas;*.nfo");

    // 5: the main window, hidden; its Load event runs now. What start-up
    // restores, its close saves.
    auto *window = new frmTextEdit();
    QObject::connect(window, &frmTextEdit::Unloading, window, [window] { SaveWindowState(*window); });
    window->Load();

    // 6: browser folder, stylesheet path, colour options.
    RestoreBrowserStylesheetOptions(*window, platform::commandLineText());

    // 7: size.
    if (const auto height = twipsValue(ReadSetting(settingkeys::Height)))
        window->SetHeight(*height);
    // Without a remembered width the window keeps the width it was created
    // with: the designed client width plus whatever frame the desktop draws.
    const QString width = ReadSetting(settingkeys::Width);
    if (const auto value = twipsValue(width); value && !width.isEmpty())
        window->SetWidth(*value);

    // 8: position, centred when none is remembered.
    // The number as read decides, not its rounded value: "-0.6" is a place.
    if (Val(ReadSetting(settingkeys::TopOrCentred)) == settingkeys::Centred) {
        support::CenterForm(*window);
    } else {
        if (const auto storedTop = twipsValue(ReadSetting(settingkeys::Top)))
            window->SetTop(*storedTop);
        if (const auto left = twipsValue(ReadSetting(settingkeys::Left)))
            window->SetLeft(*left);
        if (!reachable(*window))
            support::CenterForm(*window);
    }

    // 9: splitters, panel layout, stylesheet text, pattern, unchanged state.
    RestoreLayoutAndPanes(*window);

    // 10, 11.
    window->SetCaption(app.AppTitle);
    window->Show();
    return window;
}
