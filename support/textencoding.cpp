#include "support/textencoding.h"

#include "platform/encoding.h"
#include "support/utf8decoder.h"
#include "support/windows1252.h"

#include <QStringEncoder>
#include <QtEndian>

#include <cstring>
#include <optional>

namespace support {

namespace {

constexpr QByteArrayView utf8Bom("\xEF\xBB\xBF", 3);
constexpr QByteArrayView utf16LeBom("\xFF\xFE", 2);
constexpr QByteArrayView utf16BeBom("\xFE\xFF", 2);

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

qsizetype totalSize(std::span<const QStringView> pieces)
{
    qsizetype size = 0;
    for (QStringView piece : pieces)
        size += piece.size();
    return size;
}

// Null when the code page cannot hold a character of the text.
QByteArray encodeWindows1252(std::span<const QStringView> pieces, QByteArrayView suffix)
{
    QByteArray out(totalSize(pieces) + suffix.size(), Qt::Uninitialized);
    char *end = out.data();
    for (QStringView piece : pieces) {
        if (!windows1252::encode(piece, end))
            return {};
        end += piece.size();
    }
    appendBytes(end, suffix);
    return out;
}

// A surrogate pair may be split where one piece ends. A stateful encoder
// would join it but silently drop a lone high surrogate at the very end,
// so the stateless one is used and a split pair is encoded on its own; a
// lone surrogate anywhere becomes U+FFFD, as in a text in one piece.
QByteArray encodeUtf8(std::span<const QStringView> pieces, bool withBom, QByteArrayView suffix)
{
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QByteArrayView bom = withBom ? utf8Bom : QByteArrayView();
    QByteArray out(bom.size() + encoder.requiredSpace(totalSize(pieces)) + suffix.size(), Qt::Uninitialized);
    char *end = appendBytes(out.data(), bom);
    char16_t pair[2] = {};
    bool carried = false; // pair[0] holds a high surrogate from the last piece
    for (QStringView piece : pieces) {
        if (piece.isEmpty())
            continue;
        if (carried) {
            const bool joined = piece.front().isLowSurrogate();
            if (joined)
                pair[1] = piece.front().unicode();
            end = encoder.appendToBuffer(end, QStringView(pair, joined ? 2 : 1));
            if (joined)
                piece = piece.sliced(1);
        }
        carried = !piece.isEmpty() && piece.back().isHighSurrogate();
        if (carried) {
            pair[0] = piece.back().unicode();
            piece.chop(1);
        }
        end = encoder.appendToBuffer(end, piece);
    }
    if (carried)
        end = encoder.appendToBuffer(end, QStringView(pair, 1));
    end = appendBytes(end, suffix);
    out.truncate(end - out.constData());
    return out;
}

// Every code unit as it is, lone surrogates included, so that any text read
// as UTF-16 is written back byte for byte. The suffix is ASCII.
QByteArray encodeUtf16(std::span<const QStringView> pieces, bool bigEndian, QByteArrayView suffix)
{
    const QByteArrayView bom = bigEndian ? utf16BeBom : utf16LeBom;
    QByteArray out(bom.size() + 2 * (totalSize(pieces) + suffix.size()), Qt::Uninitialized);
    char *end = appendBytes(out.data(), bom);
    auto put = [&end, bigEndian](char16_t unit) {
        if (bigEndian)
            qToBigEndian(unit, end);
        else
            qToLittleEndian(unit, end);
        end += 2;
    };
    for (QStringView piece : pieces) {
        for (const QChar c : piece)
            put(c.unicode());
    }
    for (const char c : suffix)
        put(char16_t(static_cast<unsigned char>(c)));
    return out;
}

// Nothing when the bytes after the mark are no whole code units.
std::optional<QString> decodeUtf16(QByteArrayView body, bool bigEndian)
{
    if (body.size() % 2 != 0)
        return std::nullopt;
    // Two more characters leave room for a final line break.
    QString text(body.size() / 2 + 2, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < body.size(); i += 2)
        *out++ = bigEndian ? qFromBigEndian<char16_t>(body.data() + i) : qFromLittleEndian<char16_t>(body.data() + i);
    text.truncate(body.size() / 2);
    return text;
}

} // namespace

QByteArray encodeTextWithSuffix(std::span<const QStringView> pieces, TextEncoding encoding, TextEncoding *used,
                                QByteArrayView suffix)
{
    TextEncoding target = resolved(encoding);
    if (target == TextEncoding::Utf16LeBom || target == TextEncoding::Utf16BeBom) {
        if (used)
            *used = target;
        return encodeUtf16(pieces, target == TextEncoding::Utf16BeBom, suffix);
    }
    if (target == TextEncoding::Windows1252) {
        QByteArray out = encodeWindows1252(pieces, suffix);
        // Bytes that would read back as UTF-16 ("ÿþ" at the start, an even
        // count) are no Windows-1252 file any more.
        const bool readsAsUtf16 = out.size() % 2 == 0 && (out.startsWith(utf16LeBom) || out.startsWith(utf16BeBom));
        if (!out.isNull() && !readsAsUtf16) {
            if (used)
                *used = target;
            return out;
        }
        // Rather than lose characters, the file becomes UTF-8.
        target = TextEncoding::Utf8;
    }
    if (used)
        *used = target;
    return encodeUtf8(pieces, target == TextEncoding::Utf8Bom, suffix);
}

QByteArray encodeText(const QString &text, TextEncoding encoding, TextEncoding *used)
{
    const QStringView whole(text);
    return encodeTextWithSuffix(std::span(&whole, 1), encoding, used, {});
}

// Bytes without a single non-ASCII character say nothing about the encoding;
// they are reported as Default, so such a file is written back like a new
// one once it holds other characters.
QString decodeText(const QByteArray &bytes, TextEncoding *found)
{
    for (const bool bigEndian : {false, true}) {
        if (!bytes.startsWith(bigEndian ? utf16BeBom : utf16LeBom))
            continue;
        if (std::optional<QString> text = decodeUtf16(QByteArrayView(bytes).sliced(2), bigEndian)) {
            if (found)
                *found = bigEndian ? TextEncoding::Utf16BeBom : TextEncoding::Utf16LeBom;
            return *std::move(text);
        }
    }
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

namespace support {

namespace {

// A U+FEFF at the start is part of the text here: the encoding's own mark,
// if any, is gone already.
QString decodeUtf8KeepingBom(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder(bytes);
}

} // namespace

QString decodeTextAs(const QByteArray &bytes, TextEncoding encoding)
{
    switch (resolved(encoding)) {
    case TextEncoding::Utf16LeBom:
    case TextEncoding::Utf16BeBom: {
        const bool bigEndian = encoding == TextEncoding::Utf16BeBom;
        const QByteArrayView bom = bigEndian ? utf16BeBom : utf16LeBom;
        const QByteArrayView body = QByteArrayView(bytes).sliced(bytes.startsWith(bom) ? 2 : 0);
        return decodeUtf16(body.first(body.size() & ~qsizetype(1)), bigEndian).value_or(QString());
    }
    case TextEncoding::Windows1252: {
        QString text(bytes.size(), Qt::Uninitialized);
        windows1252::decode(bytes.constData(), bytes.size(), reinterpret_cast<char16_t *>(text.data()));
        return text;
    }
    case TextEncoding::Utf8Bom:
        return decodeUtf8KeepingBom(QByteArrayView(bytes).sliced(bytes.startsWith(utf8Bom) ? utf8Bom.size() : 0));
    default:
        return decodeUtf8KeepingBom(bytes);
    }
}

} // namespace support
