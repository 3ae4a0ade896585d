// Window options: the colour scheme of both editors, always on top and the
// umlaut conversion of the document.
#include "ui/main/frmtextedit.h"

#include "forms/checkbox.h"
#include "forms/textbox.h"
#include "support/umlauts.h"
#include "support/windowhelpers.h"
#include "ui/find/findwindow.h"

void frmTextEdit::chkDark_Click()
{
    // Only a ticked box (Value 1) counts as on; a greyed one counts as off.
    const bool green = chkGreen->Value() == 1;
    if (chkDark->Value() == 1) {
        txtTXT->SetBackColor(forms::rgb(0x000000));
        txtTXT->SetForeColor(forms::rgb(green ? 0x00FF00 : 0xE0E0E0));
    } else {
        txtTXT->SetBackColor(forms::rgb(0xFFFFFF));
        txtTXT->SetForeColor(forms::rgb(green ? 0x004000 : 0x000000));
    }
    txtCSS->SetBackColor(txtTXT->BackColor());
    txtCSS->SetForeColor(txtTXT->ForeColor());
}

void frmTextEdit::chkGreen_Click()
{
    chkDark_Click();
}

void frmTextEdit::cmdTop_Click()
{
    focusDummy();
    if (m_onTop == 0) {
        support::SetTopmost(this, true);
        m_onTop = 1;
    } else {
        support::SetTopmost(this, false);
        m_onTop = 0;
    }
    m_findWindow->followOwnerOnTop();
}

void frmTextEdit::cmdUmlaute_Click()
{
    txtTXT->SetText(support::UmlautsToEntities(txtTXT->Text()));
}
