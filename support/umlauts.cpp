#include "support/umlauts.h"

#include <cstring>

namespace support {

namespace {

constexpr textengine::CharacterEntity entities[] = {
    {u'\u00E4', u"&auml;"}, {u'\u00C4', u"&Auml;"},   {u'\u00F6', u"&ouml;"},   {u'\u00D6', u"&Ouml;"},
    {u'\u00FC', u"&uuml;"}, {u'\u00DC', u"&Uuml;"},   {u'\u00DF', u"&szlig;"},  {u'\u00A9', u"&copy;"},
    {u'\u20AC', u"&euro;"}, {u'\u00E8', u"&egrave;"}, {u'\u00E9', u"&eacute;"}, {u'\u00EA', u"&ecirc;"},
};

// The replacement of a character, or an empty view when it stays.
QStringView entityOf(char16_t c)
{
    for (const textengine::CharacterEntity &entity : entities) {
        if (entity.character == c)
            return entity.reference;
    }
    return {};
}

// No character below the copyright sign is replaced.
constexpr char16_t lowestReplaced = u'\u00A9';

} // namespace

std::span<const textengine::CharacterEntity> umlautEntities()
{
    return entities;
}

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

textengine::Replacements UmlautReplacements(std::span<const QStringView> pieces)
{
    textengine::Replacements replacements;
    int offset = 0;
    for (const QStringView piece : pieces) {
        for (qsizetype i = 0; i < piece.size(); ++i) {
            const char16_t c = piece[i].unicode();
            if (c < lowestReplaced)
                continue;
            if (const QStringView entity = entityOf(c); !entity.isEmpty())
                replacements.add(offset + int(i), 1, entity);
        }
        offset += int(piece.size());
    }
    return replacements;
}

} // namespace support
