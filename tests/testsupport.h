#pragma once

#include "forms/messagebox.h"

#include <QString>
#include <QStringList>

#include <type_traits>
#include <utility>

class QMimeData;
class QWidget;

// Shared helpers for the tests: message boxes captured instead of shown.
namespace testsupport {

// Puts a test's value in place of a real service (the message box, shell
// open, drives, screens, window frame, executable path, command line) for
// the lifetime of the object, and puts back what was there before when it
// ends, also when a test fails half-way. `set` is the service's override
// setter, which returns the override it replaces.
template<typename Value>
class ScopedOverride
{
public:
    ScopedOverride(Value (*set)(Value), std::type_identity_t<Value> value)
        : m_set(set)
        , m_previous(set(std::move(value)))
    {
    }
    ~ScopedOverride() { m_set(std::move(m_previous)); }
    ScopedOverride(const ScopedOverride &) = delete;
    ScopedOverride &operator=(const ScopedOverride &) = delete;

private:
    Value (*m_set)(Value);
    Value m_previous;
};

struct CapturedMessage
{
    QString prompt;
    int style = 0;
    QString title;
    // A question's buttons.
    QStringList buttons;
};

// Records every message box and question that would have been shown while
// it lives. Questions are answered with the button of the caption given,
// by default with the last one (which cancels).
class MessageCapture
{
public:
    MessageCapture();

    const QList<CapturedMessage> &messages() const { return m_messages; }
    void clear() { m_messages.clear(); }
    void answerQuestionsWith(const QString &caption) { m_answer = caption; }

private:
    QList<CapturedMessage> m_messages;
    QString m_answer;
    ScopedOverride<forms::MsgBoxHook> m_hook;
    ScopedOverride<forms::AskHook> m_askHook;
};

QByteArray readAll(const QString &path);

// Drags the data onto the widget and drops it there, as the desktop does:
// the drop reaches only a widget that accepted the drag's entry.
void dragAndDrop(QWidget *target, const QMimeData *data);
bool writeAll(const QString &path, const QByteArray &bytes);

} // namespace testsupport
