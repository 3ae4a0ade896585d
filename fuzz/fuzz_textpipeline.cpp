// Any bytes as a file, loaded and saved the way the editor panes do it:
// ReadTextFile, TabsToSpaces, NormalizeLineEnds, TrimTrailingLineEnds,
// replaceTextFile in the encoding found. Checked: the encoding rule, that
// decoding and encoding give the bytes back, what each clean-up leaves, that
// a clean file is written back byte for byte, and that a second load and
// save changes nothing more.
#include "fuzzcheck.h"
#include "scratchfolder.h"

#include "support/textfile.h"

#include <QFile>

#include <optional>
#include <string>

namespace {

using fuzz::check;
using support::TextEncoding;

const QByteArray utf8Bom("\xEF\xBB\xBF");

// An encoding's name for failure reports.
QString nameOf(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Default:
        return QStringLiteral("Default");
    case TextEncoding::Utf8:
        return QStringLiteral("Utf8");
    case TextEncoding::Utf8Bom:
        return QStringLiteral("Utf8Bom");
    case TextEncoding::Windows1252:
        return QStringLiteral("Windows1252");
    case TextEncoding::Utf16LeBom:
        return QStringLiteral("Utf16LeBom");
    case TextEncoding::Utf16BeBom:
        return QStringLiteral("Utf16BeBom");
    }
    return QStringLiteral("?");
}

// Strict UTF-8, written out here so that the decoder's verdict is checked
// against an independent one: no overlong forms, no surrogates, nothing
// beyond U+10FFFF, no sequence cut off.
bool isValidUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const unsigned lead = p[i];
        int extra = 0;
        char32_t codePoint = 0;
        char32_t smallest = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1, codePoint = lead & 0x1F, smallest = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2, codePoint = lead & 0x0F, smallest = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3, codePoint = lead & 0x07, smallest = 0x10000;
        } else {
            return false;
        }
        if (i + extra >= size)
            return false;
        for (int k = 1; k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (p[i + k] & 0x3F);
        }
        if (codePoint < smallest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

bool isAscii(const QByteArray &bytes)
{
    for (const char byte : bytes) {
        if (static_cast<unsigned char>(byte) >= 0x80)
            return false;
    }
    return true;
}

// A UTF-16 byte-order mark before whole code units.
std::optional<TextEncoding> utf16Encoding(const QByteArray &bytes)
{
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    if (bytes.startsWith("\xFF\xFE"))
        return TextEncoding::Utf16LeBom;
    if (bytes.startsWith("\xFE\xFF"))
        return TextEncoding::Utf16BeBom;
    return std::nullopt;
}

TextEncoding expectedEncoding(const QByteArray &bytes)
{
    if (const std::optional<TextEncoding> utf16 = utf16Encoding(bytes))
        return *utf16;
    const bool hasBom = bytes.startsWith(utf8Bom);
    if (!isValidUtf8(hasBom ? bytes.mid(utf8Bom.size()) : bytes))
        return TextEncoding::Windows1252;
    if (hasBom)
        return TextEncoding::Utf8Bom;
    // Plain ASCII says nothing about the encoding.
    return isAscii(bytes) ? TextEncoding::Default : TextEncoding::Utf8;
}

// The file's code units after its byte-order mark: UTF-16 units, or bytes,
// which is enough to find CR, LF and TAB in UTF-8 and Windows-1252.
std::u16string unitsOf(const QByteArray &bytes)
{
    std::u16string units;
    if (const std::optional<TextEncoding> utf16 = utf16Encoding(bytes)) {
        const bool big = *utf16 == TextEncoding::Utf16BeBom;
        for (qsizetype i = 2; i + 1 < bytes.size(); i += 2) {
            const auto first = static_cast<unsigned char>(bytes[i]);
            const auto second = static_cast<unsigned char>(bytes[i + 1]);
            units.push_back(char16_t(big ? (first << 8 | second) : (second << 8 | first)));
        }
        return units;
    }
    for (const char byte : bytes.startsWith(utf8Bom) ? bytes.mid(utf8Bom.size()) : bytes)
        units.push_back(char16_t(static_cast<unsigned char>(byte)));
    return units;
}

// A file that a load and save without edits must leave as it is: not empty,
// every line ending in CR LF, no TAB, no CR or LF outside a pair, and no
// empty line at its end.
bool isCleanFile(const QByteArray &bytes)
{
    const std::u16string body = unitsOf(bytes);
    if (body.empty() || !body.ends_with(u"\r\n") || body == u"\r\n" || body.ends_with(u"\r\n\r\n")
        || body.find(u'\t') != std::u16string::npos)
        return false;
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] == u'\r' && (i + 1 == body.size() || body[i + 1] != u'\n'))
            return false;
        if (body[i] == u'\n' && (i == 0 || body[i - 1] != u'\r'))
            return false;
    }
    return true;
}

void writeRaw(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
          "preparing the file");
}

QByteArray readRaw(const QString &path)
{
    QFile file(path);
    check(file.open(QIODevice::ReadOnly), "reading the saved file");
    return file.readAll();
}

void checkCleanups(const QString &loaded, const QString &tabless, const QString &normalized, const QString &trimmed)
{
    check(tabless.size() == loaded.size() && !tabless.contains(u'\t'), "TabsToSpaces replaces each tab by one space");
    for (qsizetype i = 0; i < loaded.size(); ++i)
        check(tabless[i] == (loaded[i] == u'\t' ? QChar(u' ') : loaded[i]), "TabsToSpaces changes tabs only");
    for (qsizetype i = 0; i < normalized.size(); ++i)
        check(normalized[i] != u'\n' || (i > 0 && normalized[i - 1] == u'\r'), "NormalizeLineEnds leaves no bare LF");
    check(normalized.count(u'\n') == tabless.count(u'\n') && normalized.count(u'\r') >= tabless.count(u'\r'),
          "NormalizeLineEnds only adds CRs");
    check(normalized.startsWith(trimmed) && !trimmed.endsWith(u'\r') && !trimmed.endsWith(u'\n'),
          "TrimTrailingLineEnds removes line ends from the end only");
    for (qsizetype i = trimmed.size(); i < normalized.size(); ++i)
        check(normalized[i] == u'\r' || normalized[i] == u'\n', "TrimTrailingLineEnds removes only CR and LF");
}

// Loads the file and saves the text to `target` as an editor pane does;
// returns the bytes written and the encoding the file was read in.
QByteArray loadAndSave(const QString &source, const QString &target, TextEncoding &encoding, bool checkSteps)
{
    const QString loaded = support::ReadTextFile(source, &encoding);
    const QString tabless = support::TabsToSpaces(loaded);
    const QString normalized = support::NormalizeLineEnds(tabless);
    QString trimmed = normalized;
    QString &same = support::TrimTrailingLineEnds(trimmed);
    check(&same == &trimmed, "TrimTrailingLineEnds returns the caller's variable");
    if (checkSteps)
        checkCleanups(loaded, tabless, normalized, trimmed);
    check(support::replaceTextFile(target, trimmed, encoding), "saving to a writable folder succeeds");
    return readRaw(target);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    TextEncoding found = TextEncoding::Default;
    const QString decoded = support::decodeText(bytes, &found);
    const TextEncoding expected = expectedEncoding(bytes);
    check(found == expected, "the encoding rule",
          QStringLiteral("expected %1, found %2 for %3").arg(nameOf(expected), nameOf(found), fuzz::shown(bytes)));
    TextEncoding used = TextEncoding::Default;
    FUZZ_CHECK_EQUAL(support::encodeText(decoded, found, &used), bytes, "decoding and encoding give the bytes back");
    check(used == (found == TextEncoding::Default ? TextEncoding::Utf8 : found), "encoding keeps the encoding found");

    const QString source = fuzz::scratchPath(QStringLiteral("document.txt"));
    const QString firstSave = fuzz::scratchPath(QStringLiteral("saved.txt"));
    const QString secondSave = fuzz::scratchPath(QStringLiteral("saved-again.txt"));
    writeRaw(source, bytes);

    TextEncoding readIn = TextEncoding::Default;
    const QByteArray saved = loadAndSave(source, firstSave, readIn, true);
    check(readIn == found, "ReadTextFile reports the encoding found");
    if (isCleanFile(bytes))
        FUZZ_CHECK_EQUAL(saved, bytes, "a clean file is written back byte for byte");
    if (bytes.isEmpty())
        FUZZ_CHECK_EQUAL(saved, QByteArray("\r\n"), "an empty file is saved as CR LF");

    TextEncoding readAgain = TextEncoding::Default;
    const QByteArray savedAgain = loadAndSave(firstSave, secondSave, readAgain, false);
    // Windows-1252 text that begins like a UTF-16 byte-order mark is saved
    // as UTF-8 once its bytes would count as UTF-16.
    const bool leftWindows1252 = readIn == TextEncoding::Windows1252 && readAgain == TextEncoding::Utf8
        && (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"));
    check(readAgain == readIn || leftWindows1252, "a saved file reads in the encoding it was read in",
          QStringLiteral("%1 then %2").arg(nameOf(readIn), nameOf(readAgain)));
    FUZZ_CHECK_EQUAL(savedAgain, saved, "a second load and save changes nothing");
    return 0;
}
