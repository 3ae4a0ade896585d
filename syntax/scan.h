#pragma once

#include <QtAlgorithms>
#include <QtGlobal>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace syntax {

// The first character in [p, end) that is one of `stops`, or end. Eight
// characters at a time where the processor can, since most of a document
// is text between the few characters that end it.
template<typename... Stops>
const char16_t *findFirstOf(const char16_t *p, const char16_t *end, Stops... stops)
{
#if defined(__SSE2__)
    while (end - p >= 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        __m128i hits = _mm_setzero_si128();
        ((hits = _mm_or_si128(hits, _mm_cmpeq_epi16(chars, _mm_set1_epi16(static_cast<short>(stops))))), ...);
        const int mask = _mm_movemask_epi8(hits);
        if (mask)
            return p + (qCountTrailingZeroBits(static_cast<quint32>(mask)) >> 1);
        p += 8;
    }
#endif
    for (; p < end; ++p) {
        const char16_t c = *p;
        if (((c == stops) || ...))
            return p;
    }
    return end;
}

} // namespace syntax
