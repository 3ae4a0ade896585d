#include "support/umlauts.h"

namespace support {

namespace {

// The replacement of a character, or an empty view when it stays.
QStringView entityOf(char16_t c)
{
    switch (c) {
    case u'\u00E4': return u"&auml;";
    case u'\u00C4': return u"&Auml;";
    case u'\u00F6': return u"&ouml;";
    case u'\u00D6': return u"&Ouml;";
    case u'\u00FC': return u"&uuml;";
    case u'\u00DC': return u"&Uuml;";
    case u'\u00DF': return u"&szlig;";
    case u'\u00A9': return u"&copy;";
    case u'\u20AC': return u"&euro;";
    case u'\u00E8': return u"&egrave;";
    case u'\u00E9': return u"&eacute;";
    case u'\u00EA': return u"&ecirc;";
    default: return {};
    }
}

// No character below the copyright sign is replaced.
constexpr char16_t lowestReplaced = u'\u00A9';

} // namespace

QString UmlautsToEntities(const QString &text)
{
    const QChar *chars = text.constData();
    const qsizetype size = text.size();
    QString out;
    bool replacing = false;
    qsizetype copiedUpTo = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = chars[i].unicode();
        if (c < lowestReplaced)
            continue;
        const QStringView entity = entityOf(c);
        if (entity.isEmpty())
            continue;
        if (!replacing) {
            // Room for a good number of replacements; beyond it the
            // string grows geometrically.
            out.reserve(size + size / 8);
            replacing = true;
        }
        out.append(chars + copiedUpTo, i - copiedUpTo);
        out.append(entity);
        copiedUpTo = i + 1;
    }
    if (!replacing)
        return text;
    out.append(chars + copiedUpTo, size - copiedUpTo);
    return out;
}

} // namespace support
