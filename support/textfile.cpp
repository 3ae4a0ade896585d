#include "support/textfile.h"

#include "platform/regularfile.h"
#include "platform/safewrite.h"
#include "support/message.h"
#include "support/textencoding.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <optional>

namespace support {

namespace {

const QString writeFailedPrompt = QStringLiteral("Fehler beim Schreiben der Datei. ");

// Opening a FIFO or a device for reading may block for ever or never end,
// so only regular files (or links to them) count as existing text files.
bool isRegularFile(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

[[noreturn]] void fail(const QString &path, const QString &reason)
{
    throw TextFileError(QStringLiteral("%1: %2").arg(path, reason).toStdString());
}

QByteArray readWholeFile(const QString &path)
{
    QString reason;
    std::optional<QByteArray> bytes = platform::readRegularFile(path, &reason);
    if (!bytes)
        fail(path, reason);
    return std::move(*bytes);
}

// Every line ends with CR LF: a lone CR becomes CR LF, and a last line
// without a line end gets one. A LF without a CR before it is part of its
// line. The decoders leave room for the final CR LF, so it is appended
// without a copy.
QString endEveryLineWithCrLf(QString text)
{
    const char16_t *chars = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype size = text.size();
    // A branch-free count the compiler can vectorise.
    qsizetype loneCarriageReturns = size > 0 && chars[size - 1] == u'\r';
    for (qsizetype i = 0; i + 1 < size; ++i)
        loneCarriageReturns += (chars[i] == u'\r') & (chars[i + 1] != u'\n');
    const bool lastLineOpen = size > 0 && chars[size - 1] != u'\r'
        && !(chars[size - 1] == u'\n' && size > 1 && chars[size - 2] == u'\r');
    if (loneCarriageReturns == 0) {
        if (lastLineOpen)
            text.append(u"\r\n");
        return text;
    }

    QString out(size + loneCarriageReturns + (lastLineOpen ? 2 : 0), Qt::Uninitialized);
    char16_t *next = reinterpret_cast<char16_t *>(out.data());
    qsizetype copiedUpTo = 0;
    for (qsizetype i = text.indexOf(u'\r'); i >= 0; i = text.indexOf(u'\r', i + 1)) {
        if (i + 1 < size && chars[i + 1] == u'\n')
            continue;
        const qsizetype run = i + 1 - copiedUpTo;
        std::memcpy(next, chars + copiedUpTo, size_t(run) * sizeof(char16_t));
        next += run;
        *next++ = u'\n';
        copiedUpTo = i + 1;
    }
    std::memcpy(next, chars + copiedUpTo, size_t(size - copiedUpTo) * sizeof(char16_t));
    next += size - copiedUpTo;
    if (lastLineOpen) {
        *next++ = u'\r';
        *next++ = u'\n';
    }
    return out;
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
    return endEveryLineWithCrLf(decodeText(readWholeFile(path), encoding));
}

bool WriteTextFile(const QString &path, const QString &text, TextEncoding encoding)
{
    const QStringView whole(text);
    return WriteTextFile(path, std::span(&whole, 1), encoding);
}

bool WriteTextFile(const QString &path, std::span<const QStringView> pieces, TextEncoding encoding)
{
    const QByteArray bytes = encodeTextWithSuffix(pieces, encoding, nullptr, "\r\n");
    if (platform::writeFileSafely(path, bytes))
        return true;
    ShowMessage(writeFailedPrompt, MessageExclamation, QString());
    return false;
}

} // namespace support
