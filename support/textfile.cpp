#include "support/textfile.h"

#include "platform/regularfile.h"
#include "platform/safewrite.h"
#include "support/textencoding.h"
#include "textengine/model/crlf.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace support {

namespace {

// Opening a FIFO or a device for reading may block for ever or never end,
// so only regular files (or links to them) count as existing text files.
bool isRegularFile(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

QByteArray readWholeFile(const QString &path)
{
    QString reason;
    std::optional<QByteArray> bytes = platform::readRegularFile(path, &reason);
    if (!bytes)
        throw TextFileError(QStringLiteral("%1: %2").arg(path, reason).toStdString());
    return std::move(*bytes);
}

} // namespace

bool FileExists(const QString &path)
{
    if (!isRegularFile(path))
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

QString ReadTextFile(const QString &path, TextEncoding *encoding)
{
    return textFromFileBytes(readWholeFile(path), encoding);
}

QString textFromFileBytes(const QByteArray &bytes, TextEncoding *encoding)
{
    // A LF without a CR before it is part of its line. The decoders leave
    // room for the last line's CR LF, so it is added without a copy.
    return textengine::toCrLf(decodeText(bytes, encoding), {.loneCarriageReturns = true, .endLastLine = true});
}

bool replaceTextFile(const QString &path, const QString &text, TextEncoding encoding)
{
    const QStringView whole(text);
    return replaceTextFile(path, std::span(&whole, 1), encoding);
}

bool replaceTextFile(const QString &path, std::span<const QStringView> pieces, TextEncoding encoding)
{
    return platform::writeFileSafely(path, textFileBytes(pieces, encoding));
}

QByteArray textFileBytes(std::span<const QStringView> pieces, TextEncoding encoding, TextEncoding *used)
{
    return encodeTextWithSuffix(pieces, encoding, used, "\r\n");
}

} // namespace support
