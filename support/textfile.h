#pragma once

#include <QString>
#include <QStringView>
#include <span>
#include <stdexcept>

// Whole-file text input and output, and the clean-ups applied on the way in
// and out. A file that starts with a UTF-16 byte-order mark and has an even
// number of bytes is read as UTF-16; other files are read as UTF-8 when
// their bytes are valid UTF-8 (a BOM is recognised and kept), otherwise as
// Windows-1252, where every byte maps to one character. Files are written
// back in the encoding they were read in, byte-order mark included.
namespace support {

enum class TextEncoding {
    Default, // never read: UTF-8, or the ANSI code page on Windows
    Utf8,
    Utf8Bom,
    Windows1252,
    Utf16LeBom,
    Utf16BeBom,
};

// A file that cannot be opened or read.
class TextFileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The path can be opened for reading (a folder cannot).
bool FileExists(const QString &path);

// The whole file, every line followed by CR LF. A line ends at CR, at CR LF
// or at the end of the file; a LF alone stays in the line. Throws
// TextFileError when the file cannot be opened or read. The encoding found
// is stored in *encoding when given.
QString ReadTextFile(const QString &path, TextEncoding *encoding = nullptr);

// What ReadTextFile makes of a file's bytes.
QString textFromFileBytes(const QByteArray &bytes, TextEncoding *encoding = nullptr);

// Every tab becomes one space.
QString TabsToSpaces(const QString &text);

// Every LF not preceded by CR becomes CR LF.
QString NormalizeLineEnds(const QString &text);

// Removes all CR and LF at the end of the caller's variable and returns it.
QString &TrimTrailingLineEnds(QString &text);
// The same for a text held in pieces (an editor's buffer): shortens the
// last pieces, leaving the characters where they are.
void TrimTrailingLineEnds(std::span<QStringView> pieces);

// Replaces the file with the text followed by CR LF, in `encoding` (UTF-8
// when a Windows-1252 file is given characters that code page cannot hold).
// Shows nothing: returns whether the text reached the file. After a failure
// the old file is as it was. (The windows tell the user about a failure
// with ReportWriteFailure.)
[[nodiscard]] bool replaceTextFile(const QString &path, const QString &text,
                                   TextEncoding encoding = TextEncoding::Default);
// The same for a text held in pieces, written one after the other, so a big
// document is encoded straight from the editor without a copy.
[[nodiscard]] bool replaceTextFile(const QString &path, std::span<const QStringView> pieces, TextEncoding encoding);

// The bytes replaceTextFile writes for the text, and the encoding they are
// in (UTF-8 where Windows-1252 cannot hold the text).
QByteArray textFileBytes(std::span<const QStringView> pieces, TextEncoding encoding, TextEncoding *used = nullptr);

// Bytes of a text in an encoding, and the encoding actually used (UTF-8 when
// Windows-1252 cannot hold the text).
QByteArray encodeText(const QString &text, TextEncoding encoding, TextEncoding *used = nullptr);
// Text of bytes by the reading rule, and the encoding found.
QString decodeText(const QByteArray &bytes, TextEncoding *found = nullptr);
// Text of bytes written in a known encoding (what encodeText gave), so that
// they read back as they were written whatever the reading rule would find.
QString decodeTextAs(const QByteArray &bytes, TextEncoding encoding);

} // namespace support
