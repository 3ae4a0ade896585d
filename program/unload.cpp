#include "program/unload.h"

#include "app/appstate.h"
#include "app/programsettings.h"
#include "app/settings.h"
#include "forms/checkbox.h"
#include "forms/filelist.h"
#include "forms/label.h"
#include "support/paths.h"
#include "ui/main/frmtextedit.h"

namespace {
// An option of the panes' context menus goes to the file where it differs
// from what the file holds, so that a run that never used it leaves the
// file as before.
void WriteOption(const SettingKey &key, bool on)
{
    const QString value = on ? QStringLiteral("1") : QStringLiteral("0");
    if (ReadSetting(key) != value)
        WriteSetting(key, value);
}
} // namespace

void SaveWindowState(const frmTextEdit &window)
{
    // Another instance closing at the same time never mixes its values in.
    const IniWriteGroup group(App().IniFile);
    QString lastDir = support::LongPathOf(window.File2->Path());
    WriteSetting(settingkeys::LastDir, support::AddBackslash(lastDir));
    WriteSetting(settingkeys::Top, NumberText(window.Top()));
    WriteSetting(settingkeys::Left, NumberText(window.Left()));
    WriteSetting(settingkeys::Height, NumberText(window.Height()));
    WriteSetting(settingkeys::Width, NumberText(window.Width()));
    WriteSetting(settingkeys::Dark, NumberText(window.chkDark->Value()));
    WriteSetting(settingkeys::Green, NumberText(window.chkGreen->Value()));
    WriteSetting(settingkeys::SplitHLeft, NumberText(window.lblSplitH->Left()));
    WriteSetting(settingkeys::SplitVTop, NumberText(window.lblSplitV->Top()));
    WriteOption(settingkeys::SyntaxHighlight, window.SyntaxHighlight());
    WriteOption(settingkeys::LineNumbers, window.LineNumbers());
}
