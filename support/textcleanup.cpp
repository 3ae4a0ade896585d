#include "support/textfile.h"

#include <cstring>

// The clean-ups applied to a text on its way into and out of an editor pane.
// Each returns its argument itself, without a copy, when nothing changes.
namespace support {

namespace {

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

} // namespace

QString TabsToSpaces(const QString &text)
{
    const qsizetype firstTab = text.indexOf(u'\t');
    if (firstTab < 0)
        return text;
    QString out = text;
    char16_t *chars = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = firstTab; i < out.size(); ++i) {
        if (chars[i] == u'\t')
            chars[i] = u' ';
    }
    return out;
}

QString NormalizeLineEnds(const QString &text)
{
    const char16_t *chars = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype size = text.size();
    // A branch-free count the compiler can vectorise.
    qsizetype bareLineFeeds = size > 0 && chars[0] == u'\n';
    for (qsizetype i = 1; i < size; ++i)
        bareLineFeeds += (chars[i] == u'\n') & (chars[i - 1] != u'\r');
    if (bareLineFeeds == 0)
        return text;

    QString out(size + bareLineFeeds, Qt::Uninitialized);
    char16_t *next = reinterpret_cast<char16_t *>(out.data());
    qsizetype copiedUpTo = 0;
    for (qsizetype i = text.indexOf(u'\n'); i >= 0; i = text.indexOf(u'\n', i + 1)) {
        if (i > 0 && chars[i - 1] == u'\r')
            continue;
        const qsizetype run = i - copiedUpTo;
        std::memcpy(next, chars + copiedUpTo, size_t(run) * sizeof(char16_t));
        next += run;
        *next++ = u'\r';
        copiedUpTo = i; // the LF itself is copied with the next run
    }
    std::memcpy(next, chars + copiedUpTo, size_t(size - copiedUpTo) * sizeof(char16_t));
    return out;
}

QString &TrimTrailingLineEnds(QString &text)
{
    QStringView whole(text);
    TrimTrailingLineEnds(std::span(&whole, 1));
    text.truncate(whole.size());
    return text;
}

void TrimTrailingLineEnds(std::span<QStringView> pieces)
{
    for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece) {
        qsizetype end = piece->size();
        while (end > 0 && isLineEnd(piece->at(end - 1)))
            --end;
        piece->truncate(end);
        if (end > 0)
            return;
    }
}

} // namespace support
