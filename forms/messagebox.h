#pragma once

#include <QString>
#include <functional>

namespace forms {

// Message-box styles: the icon shown.
enum MsgBoxStyle { vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64 };

// A modal box with the prompt, an OK button and the style's icon; returns
// when the user closes it.
void MsgBox(const QString &prompt, int style, const QString &title);

// Tests capture boxes instead of showing them; an empty function shows them
// again. Returns the hook it replaces.
using MsgBoxHook = std::function<void(const QString &prompt, int style, const QString &title)>;
MsgBoxHook setMsgBoxHook(MsgBoxHook hook);

} // namespace forms
