#pragma once

// The main window's controls, found by the names they carry, as tests and
// the timing program drive the real window: `txtTXT(window)`.
#include "forms/checkbox.h"
#include "forms/commandbutton.h"
#include "forms/drivelist.h"
#include "forms/filelist.h"
#include "forms/folderlist.h"
#include "forms/label.h"
#include "forms/textbox.h"
#include "ui/main/frmtextedit.h"

#include <QtGlobal>

namespace testsupport {

template<typename Control>
Control *controlNamed(const QWidget *window, const char *name)
{
    auto *control = window->findChild<Control *>(QLatin1StringView(name));
    if (!control)
        qFatal("The window has no control %s", name);
    return control;
}

} // namespace testsupport

#define BRENWICK_MAIN_WINDOW_CONTROL(Type, name)                                                                       \
    inline Type *name(const frmTextEdit *window)                                                                       \
    {                                                                                                                  \
        return testsupport::controlNamed<Type>(window, #name);                                                         \
    }

BRENWICK_MAIN_WINDOW_CONTROL(forms::Frame, frmButtonsCSS)
BRENWICK_MAIN_WINDOW_CONTROL(forms::CommandButton, cmdCancelCSS)
BRENWICK_MAIN_WINDOW_CONTROL(forms::CommandButton, cmdSaveCSS)
BRENWICK_MAIN_WINDOW_CONTROL(forms::CommandButton, cmdHTML)
BRENWICK_MAIN_WINDOW_CONTROL(forms::CheckBox, chkGreen)
BRENWICK_MAIN_WINDOW_CONTROL(forms::CheckBox, chkDark)
BRENWICK_MAIN_WINDOW_CONTROL(forms::CheckBox, chkPattern)
BRENWICK_MAIN_WINDOW_CONTROL(forms::LineTextBox, txtPattern)
BRENWICK_MAIN_WINDOW_CONTROL(forms::CommandButton, cmdCSS)
BRENWICK_MAIN_WINDOW_CONTROL(forms::CommandButton, cmdUmlaute)
BRENWICK_MAIN_WINDOW_CONTROL(forms::CheckBox, chkJumpEnd)
BRENWICK_MAIN_WINDOW_CONTROL(forms::CommandButton, cmdTop)
BRENWICK_MAIN_WINDOW_CONTROL(forms::CommandButton, cmdRefresh)
BRENWICK_MAIN_WINDOW_CONTROL(forms::FileList, File2)
BRENWICK_MAIN_WINDOW_CONTROL(forms::Frame, frmButtons)
BRENWICK_MAIN_WINDOW_CONTROL(forms::CommandButton, cmdSave)
BRENWICK_MAIN_WINDOW_CONTROL(forms::CommandButton, cmdCancel)
BRENWICK_MAIN_WINDOW_CONTROL(forms::CommandButton, dummy)
BRENWICK_MAIN_WINDOW_CONTROL(forms::FolderList, Dir2)
BRENWICK_MAIN_WINDOW_CONTROL(forms::DriveList, Drive1)
BRENWICK_MAIN_WINDOW_CONTROL(forms::TextBox, txtCSS)
BRENWICK_MAIN_WINDOW_CONTROL(forms::TextBox, txtTXT)
BRENWICK_MAIN_WINDOW_CONTROL(forms::Label, lblSplitH)
BRENWICK_MAIN_WINDOW_CONTROL(forms::Label, lblSplitV)

#undef BRENWICK_MAIN_WINDOW_CONTROL
