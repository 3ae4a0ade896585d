#include "forms/messagebox.h"

#include <QMessageBox>

#include <utility>

namespace forms {

namespace {
MsgBoxHook &hook()
{
    static MsgBoxHook instance;
    return instance;
}

QMessageBox::Icon iconFor(int style)
{
    switch (style) {
    case vbCritical:
        return QMessageBox::Critical;
    case vbQuestion:
        return QMessageBox::Question;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}
} // namespace

MsgBoxHook setMsgBoxHook(MsgBoxHook replacement)
{
    return std::exchange(hook(), std::move(replacement));
}

void MsgBox(const QString &prompt, int style, const QString &title)
{
    if (hook()) {
        hook()(prompt, style, title);
        return;
    }
    QMessageBox box(iconFor(style), title, prompt, QMessageBox::Ok);
    box.exec();
}

} // namespace forms
