#include "support/umlauts.h"

#include <cstring>

namespace support {

namespace {

// The replacement of a character, or an empty view when it stays.
QStringView entityOf(char16_t c)
{
    switch (c) {
    case u'\u00E4':
        return u"&auml;";
    case u'\u00C4':
        return u"&Auml;";
    case u'\u00F6':
        return u"&ouml;";
    case u'\u00D6':
        return u"&Ouml;";
    case u'\u00FC':
        return u"&uuml;";
    case u'\u00DC':
        return u"&Uuml;";
    case u'\u00DF':
        return u"&szlig;";
    case u'\u00A9':
        return u"&copy;";
    case u'\u20AC':
        return u"&euro;";
    case u'\u00E8':
        return u"&egrave;";
    case u'\u00E9':
        return u"&eacute;";
    case u'\u00EA':
        return u"&ecirc;";
    default:
        return {};
    }
}

// No character below the copyright sign is replaced.
constexpr char16_t lowestReplaced = u'\u00A9';

} // namespace

// Two passes: the first measures the result, so the second writes it into
// a string of its final size without growing it.
QString UmlautsToEntities(const QString &text)
{
    const char16_t *chars = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype size = text.size();
    qsizetype added = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (chars[i] >= lowestReplaced) {
            if (const qsizetype length = entityOf(chars[i]).size())
                added += length - 1;
        }
    }
    if (added == 0)
        return text;

    QString out(size + added, Qt::Uninitialized);
    char16_t *next = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = chars[i];
        const QStringView entity = c >= lowestReplaced ? entityOf(c) : QStringView();
        if (entity.isEmpty()) {
            *next++ = c;
            continue;
        }
        std::memcpy(next, entity.utf16(), size_t(entity.size()) * sizeof(char16_t));
        next += entity.size();
    }
    return out;
}

} // namespace support
