// The stylesheet pane beside the document: the view switch, choosing the
// stylesheet through the chooser window, loading, Save and Cancel.
#include "ui/main/frmtextedit.h"

#include "app/programsettings.h"
#include "forms/commandbutton.h"
#include "forms/label.h"
#include "forms/textbox.h"
#include "support/textfile.h"
#include "ui/chooser/frmfileselect.h"
#include "ui/main/editorpane.h"

void frmTextEdit::NoChangesCSS()
{
    m_stylesheetPane->NoChanges();
}

void frmTextEdit::txtCSS_Change()
{
    m_stylesheetPane->onTextChange();
}

const document::TextDocument &frmTextEdit::stylesheet() const
{
    return m_stylesheetPane->document();
}

void frmTextEdit::cmdCSS_MouseDown(int button, int shift, double x, double y)
{
    Q_UNUSED(shift);
    Q_UNUSED(x);
    Q_UNUSED(y);
    if (button != 2 && m_viewCSS != 1) {
        if (!txtCSS->Text().isEmpty()) {
            showView(1);
            return;
        }
        const QString &path = stylesheet().path();
        if (!path.isEmpty() && support::FileExists(path)) {
            loadStylesheet();
            showView(1);
            return;
        }
    }
    openChooser();
}

void frmTextEdit::openChooser()
{
    // A second press while the chooser is open brings it forward.
    if (m_chooser) {
        m_chooser->raise();
        return;
    }
    // The chooser is loaded afresh for every showing and answers once; the
    // window goes on when it does, and the user may work on meanwhile.
    m_chooser = new frmFileSelect(QStringLiteral("CSS-Datei auswählen"), stylesheet().path());
    connect(m_chooser, &frmFileSelect::Answered, this, &frmTextEdit::chooserAnswered);
    m_chooser->Load();
    m_chooser->Show();
}

void frmTextEdit::chooserAnswered(const ChooserAnswer &answer)
{
    // The chooser that answered is on its way out.
    m_chooser = nullptr;
    if (m_closing)
        return;
    if (!answer.picked) {
        focusDummy();
        return;
    }
    m_stylesheetPane->setPath(answer.file);
    WriteSetting(settingkeys::LastCSS, answer.file);
    loadStylesheet();
    showView(1);
}

void frmTextEdit::loadStylesheet()
{
    txtCSS->SetText(QString());
    // An unreadable stylesheet leaves the pane empty, aimed at the file.
    m_stylesheetPane->fillFromFile(stylesheet().path());
    NoChangesCSS();
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
    cmdHTML->SetToggleState(!css);
    cmdCSS->SetToggleState(css);
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
    savePane(*m_stylesheetPane);
}

void frmTextEdit::cmdCancelCSS_Click()
{
    NoChangesCSS();
    focusDummy();
}
