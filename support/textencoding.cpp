#include "support/textencoding.h"

#include "platform/encoding.h"
#include "support/utf8decoder.h"
#include "support/windows1252.h"

#include <QStringEncoder>

#include <cstring>

namespace support {

namespace {

constexpr QByteArrayView utf8Bom("\xEF\xBB\xBF", 3);

TextEncoding resolved(TextEncoding encoding)
{
    if (encoding != TextEncoding::Default)
        return encoding;
    return platform::newFilesUseAnsiCodePage() ? TextEncoding::Windows1252 : TextEncoding::Utf8;
}

char *appendBytes(char *out, QByteArrayView bytes)
{
    if (!bytes.isEmpty())
        std::memcpy(out, bytes.data(), size_t(bytes.size()));
    return out + bytes.size();
}

// Null when the code page cannot hold a character of the text.
QByteArray encodeWindows1252(const QString &text, QByteArrayView suffix)
{
    QByteArray out(text.size() + suffix.size(), Qt::Uninitialized);
    if (!windows1252::encode(text, out.data()))
        return {};
    appendBytes(out.data() + text.size(), suffix);
    return out;
}

QByteArray encodeUtf8(const QString &text, bool withBom, QByteArrayView suffix)
{
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QByteArrayView bom = withBom ? utf8Bom : QByteArrayView();
    QByteArray out(bom.size() + encoder.requiredSpace(text.size()) + suffix.size(), Qt::Uninitialized);
    char *end = appendBytes(out.data(), bom);
    end = encoder.appendToBuffer(end, text);
    end = appendBytes(end, suffix);
    out.truncate(end - out.constData());
    return out;
}

} // namespace

QByteArray encodeTextWithSuffix(const QString &text, TextEncoding encoding, TextEncoding *used,
                                QByteArrayView suffix)
{
    TextEncoding target = resolved(encoding);
    if (target == TextEncoding::Windows1252) {
        QByteArray out = encodeWindows1252(text, suffix);
        if (!out.isNull()) {
            if (used)
                *used = target;
            return out;
        }
        // Rather than lose characters, the file becomes UTF-8.
        target = TextEncoding::Utf8;
    }
    if (used)
        *used = target;
    return encodeUtf8(text, target == TextEncoding::Utf8Bom, suffix);
}

QByteArray encodeText(const QString &text, TextEncoding encoding, TextEncoding *used)
{
    return encodeTextWithSuffix(text, encoding, used, {});
}

// Bytes without a single non-ASCII character say nothing about the encoding;
// they are reported as Default, so such a file is written back like a new
// one once it holds other characters.
QString decodeText(const QByteArray &bytes, TextEncoding *found)
{
    const bool hasBom = bytes.startsWith(utf8Bom);
    const QByteArrayView body = QByteArrayView(bytes).sliced(hasBom ? utf8Bom.size() : 0);

    if (std::optional<QString> text = decodeStrictUtf8(body)) {
        if (found) {
            if (hasBom)
                *found = TextEncoding::Utf8Bom;
            else
                *found = text->size() == bytes.size() ? TextEncoding::Default : TextEncoding::Utf8;
        }
        return *std::move(text);
    }

    // Two more characters leave room for a final line break.
    QString text(bytes.size() + 2, Qt::Uninitialized);
    windows1252::decode(bytes.constData(), bytes.size(), reinterpret_cast<char16_t *>(text.data()));
    text.truncate(bytes.size());
    if (found)
        *found = TextEncoding::Windows1252;
    return text;
}

} // namespace support
