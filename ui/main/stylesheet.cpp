// The stylesheet pane beside the document: the view switch, choosing the
// stylesheet through the chooser window, loading, Save and Cancel.
#include "ui/main/frmtextedit.h"

#include "app/appstate.h"
#include "app/programsettings.h"
#include "forms/commandbutton.h"
#include "forms/events.h"
#include "forms/label.h"
#include "forms/textbox.h"
#include "support/textfile.h"
#include "ui/chooser/frmfileselect.h"
#include "ui/main/editorpane.h"

void frmTextEdit::NoChangesCSS()
{
    m_stylesheetPane->NoChanges();
}

void frmTextEdit::MakeButtonsCSS()
{
    m_stylesheetPane->MakeButtons();
}

void frmTextEdit::NoButtonsCSS()
{
    m_stylesheetPane->NoButtons();
}

void frmTextEdit::txtCSS_Change()
{
    m_stylesheetPane->onTextChange();
}

void frmTextEdit::cmdCSS_MouseDown(int button, int shift, double x, double y)
{
    Q_UNUSED(shift);
    Q_UNUSED(x);
    Q_UNUSED(y);
    AppState &app = App();
    bool choose = button == 2 || m_viewCSS == 1;
    bool load = false;
    if (!choose) {
        if (!txtCSS->Text().isEmpty()) {
            showView(1);
            return;
        }
        if (!app.CssFile.isEmpty() && support::FileExists(app.CssFile))
            load = true;
        else
            choose = true;
    }
    if (choose) {
        if (!chooseStylesheet())
            return;
        app.CssFile = app.ChooserFile;
        WriteSetting(settingkeys::LastCSS, app.CssFile);
        load = true;
    }
    if (load)
        loadStylesheet();
    showView(1);
}

bool frmTextEdit::chooseStylesheet()
{
    AppState &app = App();
    if (m_waitingForChooser) {
        // A second press while the chooser is open brings it forward; the
        // first press is still waiting for its answer.
        if (m_chooser)
            m_chooser->raise();
        return false;
    }
    app.ChooserResult = ChooserOpen;
    app.ChooserFile = app.CssFile;
    app.ChooserCaption = QStringLiteral("CSS-Datei auswählen");
    // The chooser is loaded afresh for every showing; one that has answered
    // is on its way out.
    m_chooser = new frmFileSelect();
    m_chooser->Load();
    m_chooser->Show();

    // Block until the next event rather than poll, so the wait costs no CPU.
    m_waitingForChooser = true;
    while (app.ChooserResult == ChooserOpen && !m_closing && m_chooser)
        forms::WaitForEvents();
    m_waitingForChooser = false;
    if (app.ChooserResult == ChooserOpen)
        app.ChooserResult = ChooserCancelled;

    if (app.ChooserResult == ChooserCancelled) {
        if (!m_closing)
            focusDummy();
        return false;
    }
    return !m_closing;
}

void frmTextEdit::loadStylesheet()
{
    txtCSS->SetText(QString());
    fillStylesheet();
    NoChangesCSS();
}

void frmTextEdit::fillStylesheet()
{
    try {
        m_stylesheetPane->fillFromFile(App().CssFile);
    } catch (const support::TextFileError &) {
        // An unreadable stylesheet leaves the pane as it was.
    }
}

void frmTextEdit::showView(int viewCSS)
{
    if (viewCSS == 1 && m_viewCSS == 1)
        return;
    m_viewCSS = viewCSS;
    const bool css = viewCSS == 1;
    txtTXT->SetVisible(!css);
    txtCSS->SetVisible(css);
    cmdHTML->SetBackColor(forms::rgb(css ? 0xE0E0E0 : 0xC0FFC0));
    cmdCSS->SetBackColor(forms::rgb(css ? 0xC0FFC0 : 0xE0E0E0));
    frmButtons->SetVisible(!css);
    frmButtonsCSS->SetVisible(css);
}

void frmTextEdit::cmdHTML_MouseDown(int button, int shift, double x, double y)
{
    Q_UNUSED(button);
    Q_UNUSED(shift);
    Q_UNUSED(x);
    Q_UNUSED(y);
    showView(0);
}

void frmTextEdit::cmdSaveCSS_Click()
{
    savePane(*m_stylesheetPane, App().CssFile);
}

void frmTextEdit::cmdCancelCSS_Click()
{
    NoChangesCSS();
    focusDummy();
}
