// Settings-file bytes of any kind, then a few writes and reads whose names
// and values come from the input. Checked: a written value reads back as
// written (cut to the buffer, also through ReadIni), every line not written
// to stays byte for byte and in order, no other entry changes its value, and
// a refused write (broken names, a line break in the value, a read-only
// file) reports failure and leaves the file byte-identical.
#include "fuzzcheck.h"
#include "scratchfolder.h"

#include "app/settings.h"
#include "platform/inifile.h"
#include "platform/profile.h"

#include <QFile>
#include <QList>
#include <QStringList>

#include <fuzzer/FuzzedDataProvider.h>

#include <optional>

#include <sys/stat.h>

namespace {

using fuzz::check;
namespace ini = platform::inifile;

constexpr int bufferSize = 2048;
const QByteArray crLf("\r\n");
const QByteArray utf8Bom("\xEF\xBB\xBF");

struct RawLine
{
    QByteArray content;
    QByteArray ending; // CR LF, LF, CR, or empty on a last line without one

    bool operator==(const RawLine &other) const = default;
};

// The lines of a text, each with its own ending, as a reader of any of the
// three conventions sees them.
QList<RawLine> linesOf(const QByteArray &text)
{
    QList<RawLine> lines;
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        RawLine line{text.mid(pos, end - pos), {}};
        if (end < text.size()) {
            const qsizetype width = (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
            line.ending = text.mid(end, width);
            end += width;
        }
        lines.append(line);
        pos = end;
    }
    return lines;
}

QByteArray trimmedBlanks(QByteArray bytes)
{
    while (!bytes.isEmpty() && (bytes.front() == ' ' || bytes.front() == '\t'))
        bytes.remove(0, 1);
    while (!bytes.isEmpty() && (bytes.back() == ' ' || bytes.back() == '\t'))
        bytes.chop(1);
    return bytes;
}

QString trimmedBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin] == u' ' || text[begin] == u'\t'))
        ++begin;
    while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t'))
        --end;
    return text.mid(begin, end - begin);
}

bool sameName(const QString &a, const QString &b)
{
    return trimmedBlanks(a).compare(trimmedBlanks(b), Qt::CaseInsensitive) == 0;
}

struct Names
{
    QStringList sections;
    QStringList keys;
};

// Section and key names found in the text, so that writes also hit entries
// that exist.
Names namesIn(const QByteArray &text)
{
    Names names;
    const QByteArray body = text.startsWith(utf8Bom) ? text.mid(utf8Bom.size()) : text;
    for (const RawLine &line : linesOf(body)) {
        const QByteArray content = trimmedBlanks(line.content);
        const qsizetype close = content.lastIndexOf(']');
        if (content.startsWith('[') && close > 0)
            names.sections.append(QString::fromUtf8(content.mid(1, close - 1)));
        else if (content.contains('='))
            names.keys.append(QString::fromUtf8(content.left(content.indexOf('='))));
    }
    return names;
}

QString withCaseChanged(const QString &name, unsigned mode)
{
    switch (mode % 4) {
    case 1:
        return name.toUpper();
    case 2:
        return name.toLower();
    case 3:
        return QStringLiteral("  ") + name + QStringLiteral("\t");
    default:
        return name;
    }
}

QString pickName(FuzzedDataProvider &input, const QStringList &found, const QStringList &usual)
{
    const unsigned choice = input.ConsumeIntegral<uint8_t>();
    QString name;
    if (choice < 112 && !found.isEmpty())
        name = found[choice % found.size()];
    else if (choice < 176)
        name = usual[choice % usual.size()];
    else
        name = QString::fromStdString(input.ConsumeRandomLengthString(40));
    return withCaseChanged(name, input.ConsumeIntegral<uint8_t>());
}

QString pickValue(FuzzedDataProvider &input)
{
    switch (input.ConsumeIntegral<uint8_t>() % 8) {
    case 0:
        // Long enough to be cut, with a surrogate pair where the cut falls.
        return QString(input.ConsumeIntegralInRange(2040, 2050), u'x') + QString::fromUtf8("\xF0\x9F\x98\x80y");
    case 1:
        return {};
    case 2:
        return QLatin1Char('"') + QString::fromStdString(input.ConsumeRandomLengthString(20)) + QLatin1Char('"');
    default:
        return QString::fromStdString(input.ConsumeRandomLengthString(80));
    }
}

// The text after a write differs from the one before in the written key's
// line only: replaced, or inserted (with its section header at the end of
// the file), and the line before an insertion may have gained the line end
// it lacked.
void checkOtherLinesKept(const QByteArray &before, const QByteArray &after)
{
    // A byte order mark belongs to no line: it stays in front, and the
    // first line may start right after it.
    const bool marked = before.startsWith(utf8Bom);
    check(!marked || after.startsWith(utf8Bom), "the byte order mark stays",
          QStringLiteral("after: %1").arg(fuzz::shown(after)));
    const QList<RawLine> oldLines = linesOf(marked ? before.mid(utf8Bom.size()) : before);
    const QList<RawLine> newLines = linesOf(marked ? after.mid(utf8Bom.size()) : after);
    const qsizetype shorter = qMin(oldLines.size(), newLines.size());
    qsizetype prefix = 0;
    while (prefix < shorter && oldLines[prefix] == newLines[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix
           && oldLines[oldLines.size() - 1 - suffix] == newLines[newLines.size() - 1 - suffix])
        ++suffix;
    QList<RawLine> removed = oldLines.mid(prefix, oldLines.size() - suffix - prefix);
    QList<RawLine> added = newLines.mid(prefix, newLines.size() - suffix - prefix);

    const QString detail = QStringLiteral("before: %1\nafter:  %2").arg(fuzz::shown(before), fuzz::shown(after));
    if (removed.size() == 1 && removed[0].ending.isEmpty() && !added.isEmpty() && added[0].content == removed[0].content
        && added[0].ending == crLf) {
        removed.clear();
        added.removeFirst();
    }
    if (removed.isEmpty() && added.isEmpty())
        return; // the key already held the value in the form it is written in
    check(removed.size() <= 1, "a write changes at most one existing line", detail);
    if (removed.size() == 1)
        check(added.size() == 1, "a replaced line becomes exactly one line", detail);
    else
        check(added.size() == 1 || (added.size() == 2 && suffix == 0),
              "a write adds the key, or a section with the key at the end", detail);
    for (const RawLine &line : added)
        check(line.ending == crLf && !line.content.contains('\r') && !line.content.contains('\n'),
              "written lines end in CR LF", detail);
}

// No entry other than the written one changes its value.
void checkOtherEntriesKept(const QByteArray &before, const QByteArray &after, const Names &names,
                           const QString &section, const QString &key)
{
    for (const QString &otherSection : names.sections.mid(0, 6)) {
        for (const QString &otherKey : names.keys.mid(0, 6)) {
            if (sameName(otherSection, section) && sameName(otherKey, key))
                continue;
            const std::optional<QString> old = ini::findValue(before, otherSection, otherKey);
            const std::optional<QString> now = ini::findValue(after, otherSection, otherKey);
            check(old == now, "another entry keeps its value",
                  QStringLiteral("[%1] %2 was %3, is %4 in\n%5")
                      .arg(fuzz::shown(otherSection), fuzz::shown(otherKey),
                           old ? fuzz::shown(*old) : QStringLiteral("missing"),
                           now ? fuzz::shown(*now) : QStringLiteral("missing"), fuzz::shown(after)));
        }
    }
}

void checkTextWrite(QByteArray &text, const QString &section, const QString &key, const QString &value)
{
    if (!ini::isWritableEntry(section, key, value)) {
        check(!ini::isValidSection(section) || !ini::isValidKey(key) || value.contains(u'\r') || value.contains(u'\n'),
              "only broken names and line breaks are refused", fuzz::shown(section + u'|' + key + u'|' + value));
        return;
    }
    const QByteArray after = ini::withValue(text, section, key, value);
    const std::optional<QString> found = ini::findValue(after, section, key);
    check(found.has_value(), "the written key is found",
          QStringLiteral("[%1] %2 in %3").arg(fuzz::shown(section), fuzz::shown(key), fuzz::shown(after)));
    FUZZ_CHECK_EQUAL(*found, value, "the written value reads back");
    checkOtherLinesKept(text, after);
    checkOtherEntriesKept(text, after, namesIn(text), section, key);
    text = after;
}

std::optional<QByteArray> fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// Whether looking the name up in capitals still finds it as written: not
// so for the few letters whose capital folds to another letter (dotless i).
bool findableInCapitals(const QString &name)
{
    for (const QChar c : name) {
        if (!c.isSurrogate() && QChar(c.toUpper()).toCaseFolded() != c.toCaseFolded())
            return false;
    }
    return true;
}

// The application's own reading: names in capitals, the full buffer, and
// the default for an empty value.
void checkReadIni(const QString &section, const QString &key, const QString &value, const QString &path)
{
    if (!findableInCapitals(section) || !findableInCapitals(key))
        return;
    const QString defaultValue = QStringLiteral("default");
    const QString read = ReadIni(section, key, path, defaultValue);
    FUZZ_CHECK_EQUAL(read, value.isEmpty() ? defaultValue : ini::cutToSize(value, bufferSize),
                     "ReadIni gives the written value, cut to 2047 characters");
}

// One write through the real file, with the file present or missing,
// writable or read-only, then reads with the full buffer and a small one.
void checkFileWrite(const QByteArray &text, FuzzedDataProvider &input, const QString &section, const QString &key,
                    const QString &value)
{
    const QString path = fuzz::scratchPath(QStringLiteral("settings.ini"));
    QFile::remove(path);
    const unsigned mode = input.ConsumeIntegral<uint8_t>() % 4;
    const bool present = mode != 0;
    const bool readOnly = mode == 3;
    if (present) {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly) && file.write(text) == text.size(), "preparing the file");
        file.close();
        ::chmod(QFile::encodeName(path).constData(), readOnly ? 0444 : 0644);
    }

    const bool written = platform::writeProfileString(section, key, value, path);
    const std::optional<QByteArray> after = fileBytes(path);
    const bool writable = ini::isWritableEntry(section, key, value) && !readOnly;
    check(written == writable, written ? "a refused write reports success" : "a valid write fails",
          fuzz::shown(section + u'|' + key + u'|' + value));
    if (!written) {
        check(after.has_value() == present, "a refused write creates no file");
        if (present)
            FUZZ_CHECK_EQUAL(*after, text, "a refused write leaves the file byte-identical");
        QFile::remove(path);
        return;
    }
    check(after.has_value(), "the written file exists");
    FUZZ_CHECK_EQUAL(*after, ini::withValue(present ? text : QByteArray(), section, key, value),
                     "the file holds the text with the value");

    const QString defaultValue = QStringLiteral("default");
    for (const int size : {bufferSize, input.ConsumeIntegralInRange(0, 6)}) {
        QString read;
        const int count = platform::readProfileString(section, key, defaultValue, read, size, path);
        // A written key is found, so even an empty value answers for itself
        // and the default never shows.
        check(read == ini::cutToSize(value, size), "the written value reads back through the file, cut to size",
              QStringLiteral("[%1] %2 = %3 read as %4 from\n%5")
                  .arg(fuzz::shown(section), fuzz::shown(key), fuzz::shown(value), fuzz::shown(read),
                       fuzz::shown(*after)));
        check(count == read.size(), "the count is the length placed");
        check(read.size() < qMax(size, 1), "the value fits the buffer with room for its end");
    }
    checkReadIni(section, key, value, path);
    QFile::remove(path);
}

const QStringList usualSections = {QStringLiteral("Brenwick TXT-HTML-CSS-Editor"), QStringLiteral("a"),
                                   QStringLiteral("[x]"), QStringLiteral("; not a comment"), QString()};
const QStringList usualKeys = {QStringLiteral("LastDir"),
                               QStringLiteral("Top"),
                               QStringLiteral("k"),
                               QStringLiteral(";c"),
                               QStringLiteral("a=b"),
                               QStringLiteral("[s"),
                               QString()};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    QByteArray text = QByteArray::fromStdString(input.ConsumeRandomLengthString(4096));
    const QByteArray original = text;
    const Names names = namesIn(text);

    const int writes = input.ConsumeIntegralInRange(1, 4);
    for (int i = 0; i < writes; ++i) {
        const QString section = pickName(input, names.sections, usualSections);
        const QString key = pickName(input, names.keys, usualKeys);
        const QString value = pickValue(input);
        if (i == 0 && input.ConsumeIntegral<uint8_t>() % 4 == 0)
            checkFileWrite(original, input, section, key, value);
        checkTextWrite(text, section, key, value);
    }
    return 0;
}
