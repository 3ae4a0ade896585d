#include "textengine/model/crlf.h"

#include <cstring>

namespace textengine {

namespace {

// The characters rewriting adds: one for each lone CR or LF rewritten. A
// branch-free count the compiler can vectorise; each choice of breaks gets a
// loop of its own.
template<bool LoneCarriageReturns, bool LoneLineFeeds>
qsizetype addedCharacters(const char16_t *chars, qsizetype size)
{
    if (size == 0)
        return 0;
    qsizetype added = 0;
    if constexpr (LoneCarriageReturns)
        added += chars[size - 1] == u'\r';
    if constexpr (LoneLineFeeds)
        added += chars[0] == u'\n';
    for (qsizetype i = 0; i + 1 < size; ++i) {
        if constexpr (LoneCarriageReturns)
            added += (chars[i] == u'\r') & (chars[i + 1] != u'\n');
        if constexpr (LoneLineFeeds)
            added += (chars[i + 1] == u'\n') & (chars[i] != u'\r');
    }
    return added;
}

qsizetype addedCharacters(const char16_t *chars, qsizetype size, CrLfRewrite rewrite)
{
    if (rewrite.loneCarriageReturns && rewrite.loneLineFeeds)
        return addedCharacters<true, true>(chars, size);
    if (rewrite.loneCarriageReturns)
        return addedCharacters<true, false>(chars, size);
    if (rewrite.loneLineFeeds)
        return addedCharacters<false, true>(chars, size);
    return 0;
}

bool lastLineOpen(const char16_t *chars, qsizetype size, CrLfRewrite rewrite)
{
    if (size == 0)
        return false;
    switch (chars[size - 1]) {
    case u'\r':
        return !rewrite.loneCarriageReturns;
    case u'\n':
        return !rewrite.loneLineFeeds && !(size > 1 && chars[size - 2] == u'\r');
    default:
        return true;
    }
}

// The next CR or LF that may need rewriting, at or after `from`; -1 when
// there is none.
qsizetype nextCandidate(const QString &text, qsizetype from, CrLfRewrite rewrite)
{
    if (!rewrite.loneLineFeeds)
        return text.indexOf(u'\r', from);
    if (!rewrite.loneCarriageReturns)
        return text.indexOf(u'\n', from);
    const char16_t *chars = reinterpret_cast<const char16_t *>(text.constData());
    for (qsizetype i = from; i < text.size(); ++i) {
        if (chars[i] == u'\r' || chars[i] == u'\n')
            return i;
    }
    return -1;
}

} // namespace

QString toCrLf(QString text, CrLfRewrite rewrite)
{
    const char16_t *chars = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype size = text.size();
    const qsizetype added = addedCharacters(chars, size, rewrite);
    const bool endLastLine = rewrite.endLastLine && lastLineOpen(chars, size, rewrite);
    if (added == 0) {
        if (endLastLine)
            text.append(u"\r\n");
        return text;
    }

    QString out(size + added + (endLastLine ? 2 : 0), Qt::Uninitialized);
    char16_t *next = reinterpret_cast<char16_t *>(out.data());
    qsizetype copiedUpTo = 0;
    for (qsizetype i = nextCandidate(text, 0, rewrite); i >= 0; i = nextCandidate(text, i + 1, rewrite)) {
        if (chars[i] == u'\r') {
            if (!rewrite.loneCarriageReturns || (i + 1 < size && chars[i + 1] == u'\n'))
                continue;
            const qsizetype run = i + 1 - copiedUpTo;
            std::memcpy(next, chars + copiedUpTo, size_t(run) * sizeof(char16_t));
            next += run;
            *next++ = u'\n';
            copiedUpTo = i + 1;
        } else {
            if (!rewrite.loneLineFeeds || (i > 0 && chars[i - 1] == u'\r'))
                continue;
            const qsizetype run = i - copiedUpTo;
            std::memcpy(next, chars + copiedUpTo, size_t(run) * sizeof(char16_t));
            next += run;
            *next++ = u'\r';
            copiedUpTo = i; // the LF itself is copied with the next run
        }
    }
    std::memcpy(next, chars + copiedUpTo, size_t(size - copiedUpTo) * sizeof(char16_t));
    next += size - copiedUpTo;
    if (endLastLine) {
        *next++ = u'\r';
        *next++ = u'\n';
    }
    return out;
}

} // namespace textengine
