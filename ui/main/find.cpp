// Find and replace: one window "Suchen und Ersetzen" for both panes, opened
// from either of them.
#include "ui/main/frmtextedit.h"

#include "forms/textbox.h"
#include "ui/find/findwindow.h"

void frmTextEdit::createFindWindow()
{
    m_findWindow = new FindWindow(this);
    m_findWindow->addPane(txtTXT);
    m_findWindow->addPane(txtCSS);
}
