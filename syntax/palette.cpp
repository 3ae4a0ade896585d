#include "syntax/palette.h"

#include <algorithm>
#include <cmath>

namespace syntax {

namespace {

// Roles in order: text, tag, attribute name, attribute value, entity, error,
// comment, DOCTYPE, selector, property, value, number, string, url,
// at-rule, !important.
const SyntaxPalette white{0xFFFFFF,
                          0xFFF2A8,
                          {0x000000, 0x0000B0, 0x8A3B00, 0x006B00, 0x8B008B, 0xC00000, 0x686868, 0x4B4B8F, 0x8B0000,
                           0x0000B0, 0x00606B, 0x8B008B, 0x006B00, 0x00588F, 0x6F00A8, 0xC00000},
                          0x6B6B6B};
const SyntaxPalette green{0xFFFFFF,
                          0xE4F5C0,
                          {0x004000, 0x00605A, 0x6B5200, 0x2E6B00, 0x7A0060, 0xB00000, 0x5E6B5E, 0x3D5A3D, 0x6B3A00,
                           0x00605A, 0x1F5C1F, 0x7A0060, 0x2E6B00, 0x00587A, 0x5A4A00, 0xB00000},
                          0x5E6B5E};
const SyntaxPalette dark{0x000000,
                         0x2B2B10,
                         {0xE0E0E0, 0x7AB8FF, 0xFFB366, 0x8FD98F, 0xF099F0, 0xFF7070, 0xA0A0A0, 0xB0B0E8, 0xFF9E9E,
                          0x7AB8FF, 0x78D6D6, 0xF099F0, 0x8FD98F, 0x80C8FF, 0xD9A3FF, 0xFF7070},
                         0x9C9C9C};
const SyntaxPalette darkGreen{0x000000,
                              0x1E3A00,
                              {0x00FF00, 0x5CE6E6, 0xE6E65C, 0xA8FF70, 0xFFB0FF, 0xFF7A7A, 0x6FB36F, 0x9FD99F, 0xFFCC66,
                               0x5CE6E6, 0x7AFFB0, 0xFFB0FF, 0xA8FF70, 0x80D0FF, 0xE6C0FF, 0xFF7A7A},
                              0x66B366};

double luminance(quint32 rgb)
{
    auto channel = [](quint32 value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel((rgb >> 16) & 0xFF) + 0.7152 * channel((rgb >> 8) & 0xFF) + 0.0722 * channel(rgb & 0xFF);
}

} // namespace

const SyntaxPalette &syntaxPalette(bool darkScheme, bool greenScheme)
{
    if (darkScheme)
        return greenScheme ? darkGreen : dark;
    return greenScheme ? green : white;
}

double contrastRatio(quint32 first, quint32 second)
{
    const double a = luminance(first);
    const double b = luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

} // namespace syntax
