// Paths of any shape, with "\" or "/" as the separator. Checked: what
// AddBackslash, FolderOf, FileNameOf, TitleCasePath and LongPathOf promise,
// stated as relations that hold for every input (runs of separators, leading
// separators and network paths included).
#include "fuzzcheck.h"

#include "platform/longpath.h"
#include "support/paths.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

using fuzz::check;

// Printable ASCII stands for itself; other bytes pick characters that
// matter to the routines or that case mapping handles its own way, or take
// any UTF-16 unit from the input.
constexpr char16_t alphabet[]
    = {u'\\', u'/', u'\\',   u'/',    u':', u'.', u' ',     u'-',     u'(',     u'_',     u'a',      u'Z',
       u'c',  u'w', u'\xDF', u'\xE4', u'I', u'i', u'\x130', u'\x131', u'\x1C5', u'\x3C2', u'\xD83D', u'\xDE00'};

QString pathFrom(FuzzedDataProvider &input)
{
    QString path;
    const size_t length = input.ConsumeIntegralInRange<size_t>(0, 64);
    for (size_t i = 0; i < length && input.remaining_bytes() > 0; ++i) {
        const uint8_t byte = input.ConsumeIntegral<uint8_t>();
        if (byte >= 0x20 && byte < 0x7F)
            path += QChar(char16_t(byte)); // so that seeds are readable paths
        else if (byte < 0xF0)
            path += QChar(alphabet[byte % std::size(alphabet)]);
        else
            path += QChar(input.ConsumeIntegral<char16_t>());
    }
    return path;
}

QString detailOf(const QString &path, const QString &result)
{
    return QStringLiteral("path %1 gave %2").arg(fuzz::shown(path), fuzz::shown(result));
}

void checkAddBackslash(const QString &path, QChar separator)
{
    QString variable = path;
    QString &returned = support::AddBackslash(variable, separator);
    check(&returned == &variable, "AddBackslash returns the caller's variable");
    FUZZ_CHECK_EQUAL(variable, path.endsWith(separator) ? path : path + separator,
                     "AddBackslash appends one separator where none ends the path");
    QString again = variable;
    support::AddBackslash(again, separator);
    FUZZ_CHECK_EQUAL(again, variable, "AddBackslash is idempotent");
}

// The path without one trailing separator: what FolderOf and FileNameOf
// take apart.
QString withoutTrailingSeparator(const QString &path, QChar separator)
{
    return path.endsWith(separator) ? path.chopped(1) : path;
}

void checkFileNameOf(const QString &path, QChar separator)
{
    const QString name = support::FileNameOf(path, separator);
    const QString rest = withoutTrailingSeparator(path, separator);
    check(!name.contains(separator), "FileNameOf holds no separator", detailOf(path, name));
    check(rest.endsWith(name), "FileNameOf is the end of the path", detailOf(path, name));
    if (rest.contains(separator))
        check(rest[rest.size() - name.size() - 1] == separator, "FileNameOf starts after the last separator",
              detailOf(path, name));
    else
        FUZZ_CHECK_EQUAL(name, rest, "FileNameOf of a bare name is the name");
}

// "\\server\share" of a network path, or an empty text.
QString networkShare(const QString &path, QChar separator)
{
    if (separator != u'\\' || !path.startsWith(QStringLiteral("\\\\")) || path.size() < 3 || path[2] == separator)
        return {};
    const qsizetype afterServer = path.indexOf(separator, 2);
    if (afterServer < 0 || afterServer + 1 >= path.size() || path[afterServer + 1] == separator)
        return {};
    const qsizetype afterShare = path.indexOf(separator, afterServer + 1);
    return afterShare < 0 ? path : path.left(afterShare);
}

void checkFolderOf(const QString &path, QChar separator)
{
    const QString folder = support::FolderOf(path, separator);
    const QString detail = detailOf(path, folder);
    QString joinable = path;
    support::AddBackslash(joinable, separator);
    check(folder.endsWith(separator), "FolderOf ends with the separator", detail);
    check(joinable.startsWith(folder), "FolderOf is the start of the path", detail);

    const QString rest = withoutTrailingSeparator(path, separator);
    const qsizetype last = rest.lastIndexOf(separator);
    const QString share = networkShare(path, separator);
    if (!share.isEmpty()) {
        check(folder.startsWith(share + separator), "FolderOf never climbs above a network share", detail);
        return;
    }
    if (last < 0) {
        FUZZ_CHECK_EQUAL(folder, rest + separator, "FolderOf of a bare name is the name and a separator");
        return;
    }
    // The folder ends at the last separator of the path; a run of separators
    // before it stays as it is.
    const QString expected = last > 0 && rest[last - 1] == separator ? rest.left(last) : rest.left(last + 1);
    FUZZ_CHECK_EQUAL(folder, expected, "FolderOf cuts at the last separator");
    if (!path.endsWith(separator) && (last == 0 || rest[last - 1] != separator))
        FUZZ_CHECK_EQUAL(folder + support::FileNameOf(path, separator), path, "folder and file name join to the path");
}

bool isCaseless(QChar c, QChar separator)
{
    return c == separator || c == u' ' || c == u'-' || c == u'(' || c == u'_' || c == u':' || c == u'.' || c.isDigit();
}

void checkTitleCase(const QString &path, QChar separator)
{
    const QString titled = support::TitleCasePath(path, separator);
    const QString detail = detailOf(path, titled);
    check(titled.size() == path.size(), "TitleCasePath keeps the length", detail);
    for (qsizetype i = 0; i < path.size() && i < titled.size(); ++i) {
        if (isCaseless(path[i], separator))
            check(titled[i] == path[i], "TitleCasePath keeps characters without case", detail);
    }
    FUZZ_CHECK_EQUAL(support::TitleCasePath(titled, separator), titled, "TitleCasePath is idempotent");
}

void checkLongPathOf(const QString &path, QChar separator)
{
    const QString longPath = support::LongPathOf(path, separator);
    if (path.isEmpty())
        FUZZ_CHECK_EQUAL(longPath, QString(), "LongPathOf of the empty path is empty");
    // Where names are case-sensitive a path is never rewritten: a missing
    // one would otherwise name another file.
    if (!platform::fileNamesCaseInsensitive())
        FUZZ_CHECK_EQUAL(longPath, path, "LongPathOf keeps the path where names are case-sensitive");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QChar separator = input.ConsumeBool() ? QChar(u'\\') : QChar(u'/');
    while (input.remaining_bytes() > 0) {
        const QString path = pathFrom(input);
        checkAddBackslash(path, separator);
        checkFileNameOf(path, separator);
        checkFolderOf(path, separator);
        checkTitleCase(path, separator);
        checkLongPathOf(path, separator);
    }
    return 0;
}
