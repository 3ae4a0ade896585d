#pragma once

#include <QString>
#include <QStringList>

class QMimeData;
class QWidget;

// Shared helpers for the tests: message boxes captured instead of shown.
namespace testsupport {

struct CapturedMessage
{
    QString prompt;
    int style = 0;
    QString title;
};

// Installs a message-box hook for the lifetime of the object and records
// every box that would have been shown.
class MessageCapture
{
public:
    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture &) = delete;
    MessageCapture &operator=(const MessageCapture &) = delete;

    const QList<CapturedMessage> &messages() const { return m_messages; }
    void clear() { m_messages.clear(); }

private:
    QList<CapturedMessage> m_messages;
};

QByteArray readAll(const QString &path);

// Drags the data onto the widget and drops it there, as the desktop does:
// the drop reaches only a widget that accepted the drag's entry.
void dragAndDrop(QWidget *target, const QMimeData *data);
bool writeAll(const QString &path, const QByteArray &bytes);

} // namespace testsupport
