#include "tests/testsupport.h"

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QWidget>

namespace testsupport {

MessageCapture::MessageCapture()
    : m_hook(forms::setMsgBoxHook,
             [this](const QString &prompt, int style, const QString &title) {
                 m_messages.append({prompt, style, title, {}});
             })
    , m_askHook(forms::setAskHook, [this](const QString &prompt, const QStringList &buttons) {
        m_messages.append({prompt, forms::vbQuestion, QString(), buttons});
        const qsizetype chosen = buttons.indexOf(m_answer);
        return int(chosen >= 0 ? chosen : buttons.size() - 1);
    })
{
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

void dragAndDrop(QWidget *target, const QMimeData *data)
{
    const QPoint pos(10, 10);
    QDragEnterEvent enter(pos, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(pos, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(pos), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

} // namespace testsupport
