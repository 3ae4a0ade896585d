#include "textengine/view/primaryselection.h"

#include "textengine/model/textcontent.h"

namespace textengine {

PrimarySelection::PrimarySelection(const TextContent &content, int from, int to)
    : m_content(&content)
    , m_from(from)
    , m_to(to)
{
}

QString PrimarySelection::selectedText() const
{
    if (!m_content)
        return m_text;
    // Other programs expect LF between lines.
    return m_content->mid(m_from, m_to - m_from).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

void PrimarySelection::keep()
{
    if (!m_content)
        return;
    m_text = selectedText();
    m_content = nullptr;
}

QStringList PrimarySelection::formats() const
{
    return {QStringLiteral("text/plain")};
}

bool PrimarySelection::hasFormat(const QString &mimeType) const
{
    return mimeType == QLatin1String("text/plain");
}

QVariant PrimarySelection::retrieveData(const QString &mimeType, QMetaType type) const
{
    if (!hasFormat(mimeType))
        return {};
    const QString text = selectedText();
    if (type.id() == QMetaType::QByteArray)
        return text.toUtf8();
    return text;
}

} // namespace textengine
