#pragma once

#include <QString>
#include <QStringList>

namespace support {

// Message kinds and the icon each shows.
enum MessageKind { MessageInformation = 1, MessageExclamation = 2, MessageCritical = 3, MessageQuestion = 4 };

// A modal message box with an OK button; an empty title is replaced by the
// application's title. Any other kind shows nothing.
void ShowMessage(const QString &prompt, int kind, const QString &title);

// A modal question with the application's title and buttons captioned as
// given; returns the index of the button chosen (Escape: the last).
int AskQuestion(const QString &prompt, const QStringList &buttons);

// The title used when a caller gives none (start-up sets the program title).
void SetDefaultMessageTitle(const QString &title);

} // namespace support
