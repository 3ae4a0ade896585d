#include "program/startup.h"

#include "app/appstate.h"
#include "app/settingslocation.h"
#include "platform/process.h"
#include "program/commandline.h"
#include "program/restore.h"
#include "program/unload.h"
#include "support/message.h"
#include "support/paths.h"
#include "ui/main/frmtextedit.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

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
    QObject::connect(window, &frmTextEdit::Unloading, window, [window] { SaveWindowState(window->windowState()); });
    window->Load();

    // 6 to 9: the working state kept from the last run.
    const CommandLine command = ParseCommandLine(platform::commandLineText());
    window->applyState(RememberedWindowState(command.path));
    if (command.open)
        window->openDocument(support::LongPathOf(command.path));

    // 10, 11.
    window->SetCaption(app.AppTitle);
    window->Show();
    // Once the window is up: what a run left unsaved is offered back.
    QTimer::singleShot(0, window, &frmTextEdit::offerRecovery);
    return window;
}
