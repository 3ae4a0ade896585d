#include "support/writetextfile.h"

#include "support/message.h"

namespace support {

namespace {

bool reported(bool written)
{
    if (!written)
        ShowMessage(QStringLiteral("Fehler beim Schreiben der Datei. "), MessageExclamation, QString());
    return written;
}

} // namespace

bool WriteTextFile(const QString &path, const QString &text, TextEncoding encoding)
{
    return reported(replaceTextFile(path, text, encoding));
}

bool WriteTextFile(const QString &path, std::span<const QStringView> pieces, TextEncoding encoding)
{
    return reported(replaceTextFile(path, pieces, encoding));
}

} // namespace support
