#include "support/paths.h"

#include "platform/longpath.h"

namespace support {

namespace {

bool startsANetworkPath(const QString &path, QChar separator)
{
    return separator == u'\\' && path.size() > 2 && path[0] == separator && path[1] == separator
        && path[2] != separator;
}

// "\\server\share\" of a network path, or an empty string when the path is
// not one (or names no share yet).
QString networkShareRoot(const QString &path, QChar separator)
{
    if (!startsANetworkPath(path, separator))
        return {};
    const qsizetype afterServer = path.indexOf(separator, 2);
    if (afterServer < 0 || afterServer + 1 >= path.size())
        return {};
    const qsizetype afterShare = path.indexOf(separator, afterServer + 1);
    QString root = afterShare < 0 ? path : path.left(afterShare);
    return AddBackslash(root, separator);
}

bool startsAWord(char32_t previous, QChar separator)
{
    return previous == U' ' || previous == U'-' || previous == U'(' || previous == U'_'
        || previous == separator.unicode();
}

void appendCodePoint(QString &out, char32_t codePoint)
{
    if (QChar::requiresSurrogates(codePoint)) {
        out.append(QChar(QChar::highSurrogate(codePoint)));
        out.append(QChar(QChar::lowSurrogate(codePoint)));
    } else {
        out.append(QChar(char16_t(codePoint)));
    }
}

} // namespace

QString &AddBackslash(QString &path, QChar separator)
{
    if (!path.endsWith(separator))
        path.append(separator);
    return path;
}

// Leading separators are kept, so the root survives: "/a" gives "/" and a
// network path "\\server\share\a.css" gives "\\server\share\". A network
// share's root is treated like a drive's root ("C:\" gives "C:\"), so the
// result never climbs to the bare server name.
QString FolderOf(const QString &path, QChar separator)
{
    QString copy = path;
    if (copy.endsWith(separator))
        copy.chop(1);
    const qsizetype last = copy.lastIndexOf(separator);
    if (last >= 0)
        copy.truncate(last);
    AddBackslash(copy, separator);

    const QString shareRoot = networkShareRoot(path, separator);
    if (!shareRoot.isEmpty() && copy.size() < shareRoot.size())
        return shareRoot;
    return copy;
}

QString FileNameOf(const QString &path, QChar separator)
{
    QStringView copy(path);
    if (copy.endsWith(separator))
        copy.chop(1);
    const qsizetype last = copy.lastIndexOf(separator);
    return (last >= 0 ? copy.mid(last + 1) : copy).toString();
}

QString LongPathOf(const QString &path, QChar separator)
{
    if (const std::optional<QString> stored = platform::storedLongPath(path))
        return *stored;
    if (path.isEmpty())
        return {};
    // On a case-sensitive system a title-cased copy would name another file.
    if (platform::fileNamesCaseInsensitive())
        return TitleCasePath(path, separator);
    return path;
}

QString TitleCasePath(const QString &path, QChar separator)
{
    QString out;
    out.reserve(path.size());
    char32_t previous = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        char32_t codePoint = path[i].unicode();
        // A pair of surrogates is one character; a lone one is kept as it is.
        if (path[i].isHighSurrogate() && i + 1 < path.size() && path[i + 1].isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(path[i], path[i + 1]);
            ++i;
        }
        const bool upper = out.isEmpty() || startsAWord(previous, separator);
        appendCodePoint(out, upper ? QChar::toUpper(codePoint) : QChar::toLower(codePoint));
        previous = codePoint;
    }
    return out;
}

} // namespace support
