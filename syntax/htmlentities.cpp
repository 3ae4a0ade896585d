#include "syntax/htmlentities.h"

#include <algorithm>
#include <vector>

namespace syntax {

namespace {

// Names are ASCII letters and digits with an optional ";": no longer one.
constexpr int longestName = 32;

bool isNameCharacter(char16_t c)
{
    return (c >= u'0' && c <= u'9') || ((c | 0x20) >= u'a' && (c | 0x20) <= u'z');
}

int compareName(const char *name, QStringView text)
{
    qsizetype i = 0;
    for (; name[i] && i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const auto n = static_cast<unsigned char>(name[i]);
        if (n != c)
            return n < c ? -1 : 1;
    }
    if (name[i])
        return 1;
    return i < text.size() ? -1 : 0;
}

// Where the names of each first two characters begin in the sorted table
// (the second as 0 for a name of one character, which none is).
struct Buckets
{
    static constexpr size_t key(char16_t first, char16_t second) { return size_t(first) * 128 + second; }
    std::vector<quint16> begin = std::vector<quint16>(128 * 128 + 1, 0);
    Buckets()
    {
        int entity = 0;
        for (size_t k = 0; k < begin.size(); ++k) {
            while (entity < htmlEntityCount
                   && key(static_cast<unsigned char>(htmlEntities[entity].name[0]),
                          static_cast<unsigned char>(htmlEntities[entity].name[1]))
                       < k)
                ++entity;
            begin[k] = static_cast<quint16>(entity);
        }
    }
};

} // namespace

const HtmlEntity *longestEntityPrefix(QStringView text, int *length)
{
    if (text.size() < 2 || text[0].unicode() >= 128 || text[1].unicode() >= 128)
        return nullptr;
    static const Buckets buckets;
    const size_t key = Buckets::key(text[0].unicode(), text[1].unicode());
    const HtmlEntity *begin = htmlEntities + buckets.begin[key];
    const HtmlEntity *end = htmlEntities + buckets.begin[key + 1];
    // Only letters and digits, then one ";", can be part of a name.
    qsizetype candidate = 0;
    while (candidate < text.size() && candidate < longestName
           && (isNameCharacter(text[candidate].unicode()) || text[candidate] == u';')) {
        if (text[candidate++] == u';')
            break;
    }
    for (qsizetype size = candidate; size > 0; --size) {
        const QStringView name = text.first(size);
        const HtmlEntity *found = std::lower_bound(begin, end, name, [](const HtmlEntity &entity, QStringView key) {
            return compareName(entity.name, key) < 0;
        });
        if (found != end && compareName(found->name, name) == 0) {
            *length = static_cast<int>(size);
            return found;
        }
    }
    return nullptr;
}

} // namespace syntax
