#include "forms/messagebox.h"

#include <QMessageBox>
#include <QPushButton>

#include <utility>

namespace forms {

namespace {
MsgBoxHook &hook()
{
    static MsgBoxHook instance;
    return instance;
}

AskHook &askHook()
{
    static AskHook instance;
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

AskHook setAskHook(AskHook replacement)
{
    return std::exchange(askHook(), std::move(replacement));
}

int Ask(const QString &prompt, const QString &title, const QStringList &buttons)
{
    if (askHook())
        return askHook()(prompt, buttons);
    QMessageBox box(QMessageBox::Question, title, prompt);
    QList<QAbstractButton *> added;
    for (const QString &caption : buttons)
        added.append(box.addButton(caption, QMessageBox::ActionRole));
    if (!added.isEmpty()) {
        box.setDefaultButton(static_cast<QPushButton *>(added.first()));
        box.setEscapeButton(added.last());
    }
    box.exec();
    return int(added.indexOf(box.clickedButton()));
}

} // namespace forms
