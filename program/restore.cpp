#include "program/restore.h"

#include "app/appstate.h"
#include "app/programsettings.h"
#include "app/settings.h"
#include "app/settingslocation.h"
#include "forms/checkbox.h"
#include "forms/drivelist.h"
#include "forms/filelist.h"
#include "forms/folderlist.h"
#include "forms/label.h"
#include "support/paths.h"
#include "support/textfile.h"
#include "ui/main/frmtextedit.h"

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

// A remembered splitter position lies within the window; one outside it
// (hand-edited, or from a far larger window) would hide the editor or the
// browser for good, and counts as not remembered.
int splitterPosition(const QString &stored, int windowExtent, const QString &defaultValue)
{
    const double value = RoundHalfEven(Val(stored));
    if (!std::isfinite(value) || value < 0 || value > windowExtent)
        return static_cast<int>(Val(defaultValue));
    return static_cast<int>(value);
}
} // namespace

void RestoreBrowserStylesheetOptions(frmTextEdit &window, const QString &commandLine)
{
    AppState &app = App();

    QString folder;
    if (!commandLine.isEmpty()) {
        app.StartPath = support::LongPathOf(commandLine);
        folder = support::FolderOf(app.StartPath);
    } else {
        folder = ReadSetting(settingkeys::LastDir, FirstRunFolder(app.AppDir, app.IniFile));
    }
    window.Drive1->SetDrive(folder);
    window.Dir2->SetPath(folder);
    window.File2->SetPath(folder);

    app.CssFile = ReadSetting(settingkeys::LastCSS);

    if (const auto green = checkValue(ReadSetting(settingkeys::Green)))
        window.chkGreen->SetValue(*green);
    if (const auto dark = checkValue(ReadSetting(settingkeys::Dark)))
        window.chkDark->SetValue(*dark);
    window.SetSyntaxHighlight(checkValue(ReadSetting(settingkeys::SyntaxHighlight)) == 1);
    window.SetLineNumbers(checkValue(ReadSetting(settingkeys::LineNumbers)) == 1);
}

void RestoreLayoutAndPanes(frmTextEdit &window)
{
    const AppState &app = App();

    const QString designedLeft = NumberText(window.lblSplitH->Left());
    window.lblSplitH->SetLeft(
        splitterPosition(ReadSetting(settingkeys::SplitHLeft, designedLeft), window.Width(), designedLeft));
    window.lblSplitV->SetTop(
        splitterPosition(ReadSetting(settingkeys::SplitVTop), window.Height(), settingkeys::SplitVTop.defaultValue));

    window.LayoutSplitH();
    window.LayoutSplitV();

    if (!app.CssFile.isEmpty() && support::FileExists(app.CssFile))
        window.fillStylesheet();

    window.chkPattern_Click();
    window.NoChanges();
    window.NoChangesCSS();
}
