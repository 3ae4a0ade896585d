#pragma once

#include <QString>
#include <QStringView>

// The Windows-1252 code page with all 256 bytes mapped: the five bytes the
// code page leaves unassigned stand for the C1 controls of the same value,
// so any byte sequence decodes and encodes back unchanged.
namespace support::windows1252 {

// The character a byte stands for.
char16_t toUnicode(unsigned char byte);

// Decodes `size` bytes into `out`, which has room for `size` characters.
void decode(const char *bytes, qsizetype size, char16_t *out);

// Encodes the text into `out`, which has room for text.size() bytes.
// Returns false, with `out` partly written, when a character has no byte.
bool encode(QStringView text, char *out);

} // namespace support::windows1252
