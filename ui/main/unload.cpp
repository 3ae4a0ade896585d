// Closing the main window: the browser folder, the window geometry, the
// colour options and the splitter positions go to the settings file for the
// next start. Unsaved edits are not looked at.
#include "ui/main/frmtextedit.h"

#include "app/appstate.h"
#include "app/programsettings.h"
#include "app/settings.h"
#include "forms/checkbox.h"
#include "forms/filelist.h"
#include "forms/label.h"
#include "support/paths.h"
#include "ui/chooser/frmfileselect.h"

void frmTextEdit::Form_Unload(int &cancel)
{
    Q_UNUSED(cancel);
    // Another instance closing at the same time never mixes its values in.
    const IniWriteGroup group(App().IniFile);
    QString lastDir = support::LongPathOf(File2->Path());
    WriteSetting(settingkeys::LastDir, support::AddBackslash(lastDir));
    WriteSetting(settingkeys::Top, NumberText(Top()));
    WriteSetting(settingkeys::Left, NumberText(Left()));
    WriteSetting(settingkeys::Height, NumberText(Height()));
    WriteSetting(settingkeys::Width, NumberText(Width()));
    WriteSetting(settingkeys::Dark, NumberText(chkDark->Value()));
    WriteSetting(settingkeys::Green, NumberText(chkGreen->Value()));
    WriteSetting(settingkeys::SplitHLeft, NumberText(lblSplitH->Left()));
    WriteSetting(settingkeys::SplitVTop, NumberText(lblSplitV->Top()));

    // A chooser still open would keep the run alive with no main window and
    // leave the stylesheet pane waiting: it closes as cancelled.
    m_closing = true;
    if (m_chooser)
        m_chooser->close();
}
