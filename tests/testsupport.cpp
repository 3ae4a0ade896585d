#include "tests/testsupport.h"

#include "forms/messagebox.h"

#include <QFile>

namespace testsupport {

MessageCapture::MessageCapture()
{
    forms::setMsgBoxHook([this](const QString &prompt, int style, const QString &title) {
        m_messages.append({prompt, style, title});
    });
}

MessageCapture::~MessageCapture()
{
    forms::setMsgBoxHook({});
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

} // namespace testsupport
