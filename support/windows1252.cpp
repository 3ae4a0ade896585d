#include "support/windows1252.h"

#include <array>

namespace support::windows1252 {

namespace {

// Bytes 0x80 to 0x9F; every other byte is the Latin-1 character of its value.
constexpr std::array<char16_t, 32> upperControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr std::array<char16_t, 256> makeDecodeTable()
{
    std::array<char16_t, 256> table{};
    for (int byte = 0; byte < 256; ++byte)
        table[size_t(byte)] = char16_t(byte);
    for (size_t i = 0; i < upperControlRange.size(); ++i)
        table[0x80 + i] = upperControlRange[i];
    return table;
}

constexpr std::array<char16_t, 256> decodeTable = makeDecodeTable();

// The byte of a character outside ASCII, or -1.
int byteOf(char16_t c)
{
    if (c >= 0xA0 && c <= 0xFF)
        return c;
    for (size_t i = 0; i < upperControlRange.size(); ++i) {
        if (upperControlRange[i] == c)
            return int(0x80 + i);
    }
    return -1;
}

} // namespace

char16_t toUnicode(unsigned char byte)
{
    return decodeTable[byte];
}

void decode(const char *bytes, qsizetype size, char16_t *out)
{
    // Widen as Latin-1 in a loop the compiler can vectorise; only bytes 0x80
    // to 0x9F need the table, and they are rare.
    const auto *in = reinterpret_cast<const unsigned char *>(bytes);
    unsigned upperControls = 0;
    for (qsizetype i = 0; i < size; ++i) {
        out[i] = in[i];
        upperControls |= unsigned(in[i] >= 0x80 && in[i] < 0xA0);
    }
    if (!upperControls)
        return;
    for (qsizetype i = 0; i < size; ++i) {
        if (in[i] >= 0x80 && in[i] < 0xA0)
            out[i] = decodeTable[in[i]];
    }
}

bool encode(QStringView text, char *out)
{
    const char16_t *chars = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype size = text.size();
    // First as Latin-1, in a loop the compiler can vectorise, noting whether
    // any character lies where Windows-1252 differs from Latin-1.
    unsigned differs = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = chars[i];
        out[i] = char(c);
        differs |= unsigned(c > 0xFF) | unsigned(c >= 0x80 && c < 0xA0);
    }
    if (!differs)
        return true;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = chars[i];
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
            continue;
        const int byte = byteOf(c);
        if (byte < 0)
            return false;
        out[i] = char(byte);
    }
    return true;
}

} // namespace support::windows1252
