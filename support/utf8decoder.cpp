#include "support/utf8decoder.h"

#include <cstdint>
#include <cstring>

// Decoding and validating in one pass that stops at the first invalid byte
// lets a Windows-1252 file fall through quickly, and the ASCII runs of an
// ordinary text are copied eight bytes at a time.
namespace support {

namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Copies ASCII bytes while eight at a time are all ASCII.
void copyAsciiRun(const unsigned char *&in, const unsigned char *end, char16_t *&out)
{
    constexpr std::uint64_t highBits = 0x8080808080808080ULL;
    while (end - in >= 8) {
        std::uint64_t word;
        std::memcpy(&word, in, sizeof word);
        if (word & highBits)
            return;
        for (int k = 0; k < 8; ++k)
            out[k] = in[k];
        in += 8;
        out += 8;
    }
}

} // namespace

std::optional<QString> decodeStrictUtf8(QByteArrayView bytes)
{
    // A UTF-8 text never has more UTF-16 units than bytes; two more leave
    // room for a final line break.
    QString text(bytes.size() + 2, Qt::Uninitialized);
    char16_t *const begin = reinterpret_cast<char16_t *>(text.data());
    char16_t *out = begin;
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = in + bytes.size();

    while (in < end) {
        copyAsciiRun(in, end, out);
        while (in < end && *in < 0x80)
            *out++ = *in++;
        if (in == end)
            break;
        const unsigned char lead = *in;
        const qsizetype left = end - in;
        if (lead < 0xC2) {
            return std::nullopt; // a continuation byte or an overlong lead
        } else if (lead < 0xE0) {
            if (left < 2 || !isContinuation(in[1]))
                return std::nullopt;
            *out++ = char16_t(((lead & 0x1F) << 6) | (in[1] & 0x3F));
            in += 2;
        } else if (lead < 0xF0) {
            if (left < 3 || !isContinuation(in[1]) || !isContinuation(in[2]))
                return std::nullopt;
            if ((lead == 0xE0 && in[1] < 0xA0) || (lead == 0xED && in[1] >= 0xA0))
                return std::nullopt; // overlong, or a surrogate
            *out++ = char16_t(((lead & 0x0F) << 12) | ((in[1] & 0x3F) << 6) | (in[2] & 0x3F));
            in += 3;
        } else if (lead < 0xF5) {
            if (left < 4 || !isContinuation(in[1]) || !isContinuation(in[2]) || !isContinuation(in[3]))
                return std::nullopt;
            if ((lead == 0xF0 && in[1] < 0x90) || (lead == 0xF4 && in[1] >= 0x90))
                return std::nullopt; // overlong, or beyond U+10FFFF
            const char32_t codePoint
                = char32_t(((lead & 0x07) << 18) | ((in[1] & 0x3F) << 12) | ((in[2] & 0x3F) << 6) | (in[3] & 0x3F));
            *out++ = QChar::highSurrogate(codePoint);
            *out++ = QChar::lowSurrogate(codePoint);
            in += 4;
        } else {
            return std::nullopt;
        }
    }
    text.truncate(out - begin);
    return text;
}

} // namespace support
