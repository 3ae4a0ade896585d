// Texts full of the twelve replaced characters, their neighbours and "&".
// Checked: only the twelve characters change, each into its entity, none of
// them is left, the conversion is idempotent, and where the text holds no
// "&" the entities map back to the text exactly.
#include "fuzzcheck.h"

#include "support/umlauts.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <optional>
#include <utility>

namespace {

using fuzz::check;

const std::pair<char16_t, QString> entities[] = {
    {u'\u00E4', QStringLiteral("&auml;")},   {u'\u00C4', QStringLiteral("&Auml;")},
    {u'\u00F6', QStringLiteral("&ouml;")},   {u'\u00D6', QStringLiteral("&Ouml;")},
    {u'\u00FC', QStringLiteral("&uuml;")},   {u'\u00DC', QStringLiteral("&Uuml;")},
    {u'\u00DF', QStringLiteral("&szlig;")},  {u'\u00A9', QStringLiteral("&copy;")},
    {u'\u20AC', QStringLiteral("&euro;")},   {u'\u00E8', QStringLiteral("&egrave;")},
    {u'\u00E9', QStringLiteral("&eacute;")}, {u'\u00EA', QStringLiteral("&ecirc;")},
};

// Neighbours that must stay: the capitals of the accented e, other accents,
// the Windows-1252 byte values of the euro sign, markup characters.
constexpr char16_t others[] = {u'\u00C8', u'\u00C9', u'\u00CA', u'\u00E0', u'\u00E2', u'\u0080', u'\u00A8',
                               u'\u00AA', u'\u20AB', u'\u20AD', u'&',      u';',      u'<',      u'a'};

const QString *entityOf(QChar c)
{
    for (const auto &[character, entity] : entities) {
        if (c == character)
            return &entity;
    }
    return nullptr;
}

QString textFrom(FuzzedDataProvider &input)
{
    QString text;
    while (input.remaining_bytes() > 0) {
        const uint8_t byte = input.ConsumeIntegral<uint8_t>();
        if (byte < 96)
            text += QChar(entities[byte % std::size(entities)].first);
        else if (byte < 160)
            text += QChar(others[byte % std::size(others)]);
        else if (byte < 240)
            text += QChar(char16_t(0x20 + byte - 160));
        else
            text += QChar(input.ConsumeIntegral<char16_t>());
    }
    return text;
}

// The text the entities stand for, or nothing when an "&" starts no entity.
std::optional<QString> entitiesReplaced(const QString &converted)
{
    QString text;
    qsizetype i = 0;
    while (i < converted.size()) {
        if (converted[i] != u'&') {
            text += converted[i++];
            continue;
        }
        bool matched = false;
        for (const auto &[character, entity] : entities) {
            if (QStringView(converted).sliced(i).startsWith(entity)) {
                text += QChar(character);
                i += entity.size();
                matched = true;
                break;
            }
        }
        if (!matched)
            return std::nullopt;
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString text = textFrom(input);
    const QString converted = support::UmlautsToEntities(text);

    qsizetype expectedSize = 0;
    for (const QChar c : text) {
        const QString *entity = entityOf(c);
        expectedSize += entity ? entity->size() : 1;
    }
    check(converted.size() == expectedSize, "each of the twelve becomes its entity, nothing else grows",
          QStringLiteral("%1 gave %2").arg(fuzz::shown(text), fuzz::shown(converted)));
    for (const QChar c : converted)
        check(entityOf(c) == nullptr, "none of the twelve characters is left", fuzz::shown(converted));
    FUZZ_CHECK_EQUAL(support::UmlautsToEntities(converted), converted, "the conversion is idempotent");

    if (!text.contains(u'&')) {
        const std::optional<QString> back = entitiesReplaced(converted);
        check(back.has_value(), "every \"&\" of the result starts an entity", fuzz::shown(converted));
        FUZZ_CHECK_EQUAL(*back, text, "the entities map back to the text");
    }
    return 0;
}
