#pragma once

#include <QString>
#include <QStringList>
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

// A modal question with the question icon and buttons captioned as given:
// the first is the default, Escape chooses the last. Returns the index of
// the button chosen.
int Ask(const QString &prompt, const QString &title, const QStringList &buttons);

// Tests answer questions instead of showing them.
using AskHook = std::function<int(const QString &prompt, const QStringList &buttons)>;
AskHook setAskHook(AskHook hook);

} // namespace forms
