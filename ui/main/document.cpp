// The document pane: opening a file from the file list, change tracking,
// Save and Cancel, and where the caret goes.
#include "ui/main/frmtextedit.h"

#include "app/appstate.h"
#include "forms/checkbox.h"
#include "forms/events.h"
#include "forms/filelist.h"
#include "forms/textbox.h"
#include "support/paths.h"
#include "ui/main/editorpane.h"

void frmTextEdit::NoChanges()
{
    m_documentPane->NoChanges();
}

void frmTextEdit::MakeButtons()
{
    m_documentPane->MakeButtons();
}

void frmTextEdit::NoButtons()
{
    m_documentPane->NoButtons();
}

void frmTextEdit::txtTXT_Change()
{
    m_documentPane->onTextChange();
}

void frmTextEdit::File2_Click()
{
    // The name and the unsaved changes are checked before CurrentFile moves:
    // otherwise a click raised while the document holds changes would point
    // a later save of that text at another file.
    const QString name = File2->FileName();
    if (name.isEmpty())
        return;
    if (Changed())
        return;
    QString folder = File2->Path();
    App().CurrentFile = support::AddBackslash(folder) + name;
    applyDocumentLanguage();

    txtTXT->SetText(QString());
    forms::DoEvents();
    try {
        m_documentPane->fillFromFile(App().CurrentFile);
    } catch (const support::TextFileError &) {
        // An unreadable file leaves the pane empty; a later save goes to it.
    }
    NoChanges();
    if (chkJumpEnd->Value() == 1)
        txtTXT->SetSelStart(txtTXT->Length());
    File2->SetFocus();
}

void frmTextEdit::cmdSave_Click()
{
    savePane(*m_documentPane, App().CurrentFile);
}

void frmTextEdit::cmdCancel_Click()
{
    NoChanges();
    focusDummy();
}

void frmTextEdit::chkJumpEnd_Click()
{
    if (chkJumpEnd->Value() == 1)
        txtTXT->SetSelStart(txtTXT->Length());
    else
        txtTXT->SetSelStart(1);
}
