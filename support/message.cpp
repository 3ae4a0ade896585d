#include "support/message.h"

#include "forms/messagebox.h"

#include <QCoreApplication>

namespace support {

namespace {

QString &defaultTitle()
{
    static QString title;
    return title;
}

// The message-box style of a kind, or 0 for a kind that shows nothing.
int styleOf(int kind)
{
    switch (kind) {
    case MessageInformation:
        return forms::vbInformation;
    case MessageExclamation:
        return forms::vbExclamation;
    case MessageCritical:
        return forms::vbCritical;
    case MessageQuestion:
        return forms::vbQuestion;
    default:
        return 0;
    }
}

QString titleOr(const QString &title)
{
    if (!title.isEmpty())
        return title;
    return defaultTitle().isEmpty() ? QCoreApplication::applicationName() : defaultTitle();
}

} // namespace

void SetDefaultMessageTitle(const QString &title)
{
    defaultTitle() = title;
}

void ShowMessage(const QString &prompt, int kind, const QString &title)
{
    const int style = styleOf(kind);
    if (style == 0)
        return;
    forms::MsgBox(prompt, style, titleOr(title));
}

int AskQuestion(const QString &prompt, const QStringList &buttons)
{
    const int chosen = forms::Ask(prompt, titleOr(QString()), buttons);
    return chosen < 0 ? int(buttons.size()) - 1 : chosen;
}

} // namespace support
