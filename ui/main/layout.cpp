// Layout of the main window and the two splitter bars. Every step runs on
// its own: a size the control refuses (negative while the window is tiny)
// leaves that property as it was, and nothing is clamped.
#include "ui/main/frmtextedit.h"

#include "forms/commandbutton.h"
#include "forms/filelist.h"
#include "forms/folderlist.h"
#include "forms/label.h"
#include "forms/textbox.h"

#include <cmath>

namespace {
const QColor barNormal(0xE0, 0xE0, 0xE0);
const QColor barHighlighted(0xC0, 0xC0, 0xC0);
} // namespace

void frmTextEdit::Form_Resize()
{
    const int W = Width();
    const int H = Height();
    const int L = lblSplitH->Left();
    const int T = lblSplitV->Top();

    txtTXT->SetLeft(L + 120);
    txtTXT->SetWidth(W - L - 330);
    txtTXT->SetHeight(H - 940);
    txtCSS->SetTop(txtTXT->Top());
    txtCSS->SetLeft(txtTXT->Left());
    txtCSS->SetHeight(txtTXT->Height());
    txtCSS->SetWidth(txtTXT->Width());
    frmButtons->SetTop(H - 1610);
    frmButtons->SetWidth(File2->Width());
    frmButtonsCSS->SetTop(frmButtons->Top());
    frmButtonsCSS->SetWidth(frmButtons->Width());
    File2->SetTop(T + 120);
    File2->SetHeight(H - T - 1600);
    lblSplitH->SetHeight(txtTXT->Height());
}

void frmTextEdit::LayoutSplitH()
{
    const int W = Width();
    const int L = lblSplitH->Left();

    Dir2->SetWidth(L - 120);
    File2->SetWidth(Dir2->Width());
    lblSplitV->SetWidth(Dir2->Width());
    txtTXT->SetLeft(L + 120);
    txtTXT->SetWidth(W - L - 330);
    cmdRefresh->SetLeft(L - 350);
    frmButtons->SetWidth(File2->Width());
    cmdCancel->SetWidth(File2->Width() - 240);
    cmdSave->SetWidth(File2->Width() - 240);
}

void frmTextEdit::LayoutSplitV()
{
    const int H = Height();
    const int T = lblSplitV->Top();

    Dir2->SetHeight(T - Dir2->Top());
    File2->SetTop(T + 120);
    File2->SetHeight(H - T - 1600);
    cmdRefresh->SetTop(T + lblSplitV->Height());
}

void frmTextEdit::lblSplitH_MouseDown(int button, int shift, double x, double y)
{
    Q_UNUSED(button);
    Q_UNUSED(shift);
    m_dragStartX = x;
    m_dragStartY = y;
}

void frmTextEdit::lblSplitV_MouseDown(int button, int shift, double x, double y)
{
    lblSplitH_MouseDown(button, shift, x, y);
}

void frmTextEdit::lblSplitH_MouseMove(int button, int shift, double x, double y)
{
    Q_UNUSED(shift);
    Q_UNUSED(y);
    lblSplitH->SetBackColor(barHighlighted);
    if (button != 1)
        return;
    lblSplitH->SetLeft(lblSplitH->Left() + static_cast<int>(std::lround(x - m_dragStartX)));
    LayoutSplitH();
}

void frmTextEdit::lblSplitV_MouseMove(int button, int shift, double x, double y)
{
    Q_UNUSED(shift);
    Q_UNUSED(x);
    lblSplitV->SetBackColor(barHighlighted);
    if (button != 1)
        return;
    lblSplitV->SetTop(lblSplitV->Top() + static_cast<int>(std::lround(y - m_dragStartY)));
    LayoutSplitV();
}

void frmTextEdit::Form_MouseMove(int button, int shift, double x, double y)
{
    Q_UNUSED(button);
    Q_UNUSED(shift);
    Q_UNUSED(x);
    Q_UNUSED(y);
    resetSplitterColours();
}

void frmTextEdit::resetSplitterColours()
{
    lblSplitH->SetBackColor(barNormal);
    lblSplitV->SetBackColor(barNormal);
}
