// Closing the main window: the browser folder, the window geometry, the
// colour options and the splitter positions go to the settings file for the
// next start. Unsaved edits are not looked at.
#include "ui/main/frmtextedit.h"

#include "app/appstate.h"
#include "app/settings.h"
#include "forms/checkbox.h"
#include "forms/filelist.h"
#include "forms/label.h"
#include "support/paths.h"
#include "ui/chooser/frmfileselect.h"

void frmTextEdit::Form_Unload(int &cancel)
{
    Q_UNUSED(cancel);
    const AppState &app = App();
    auto write = [&app](const QString &key, const QString &value) {
        WriteIni(app.AppTitle, key, value, app.IniFile);
    };

    // Another instance closing at the same time never mixes its values in.
    const IniWriteGroup group(app.IniFile);
    QString lastDir = support::LongPathOf(File2->Path());
    write(QStringLiteral("LastDir"), support::AddBackslash(lastDir));
    write(QStringLiteral("Top"), NumberText(Top()));
    write(QStringLiteral("Left"), NumberText(Left()));
    write(QStringLiteral("Height"), NumberText(Height()));
    write(QStringLiteral("Width"), NumberText(Width()));
    write(QStringLiteral("Dark"), NumberText(chkDark->Value()));
    write(QStringLiteral("Green"), NumberText(chkGreen->Value()));
    write(QStringLiteral("SplitHLeft"), NumberText(lblSplitH->Left()));
    write(QStringLiteral("SplitVTop"), NumberText(lblSplitV->Top()));

    // A chooser still open would keep the run alive with no main window and
    // leave the stylesheet pane waiting: it closes as cancelled.
    m_closing = true;
    if (m_chooser)
        m_chooser->close();
}
