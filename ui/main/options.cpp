// Window options: the colour scheme of both editors, always on top and the
// umlaut conversion of the document.
#include "ui/main/frmtextedit.h"

#include "forms/checkbox.h"
#include "forms/textbox.h"
#include "support/umlauts.h"
#include "support/windowhelpers.h"

#include "ui/find/findwindow.h"
#include <algorithm>

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
    cmdTop->SetToggleState(m_onTop == 1);
    m_findWindow->followOwnerOnTop();
}

void frmTextEdit::setZoom(int steps)
{
    // One point a step from the designed size; what stays readable and fits.
    m_zoom = std::clamp(steps, minimumZoom, maximumZoom);
    for (forms::TextBox *box : {txtTXT, txtCSS})
        box->SetDesignFont(QStringLiteral("Fixedsys"), 9 + m_zoom);
}

void frmTextEdit::cmdUmlaute_Click()
{
    // One step of the document's history: Ctrl+Z brings the umlauts back.
    txtTXT->replaceAll(support::UmlautReplacements(txtTXT->textPieces()));
}
