#include "support/textfile.h"

#include "textengine/model/crlf.h"

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
    return textengine::toCrLf(text, {.loneLineFeeds = true});
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
