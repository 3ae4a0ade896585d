#include "platform/inifile.h"

#include <QStringDecoder>

#include <QByteArrayView>

namespace platform::inifile {

namespace {

// QString::fromUtf8 drops a leading U+FEFF; names and values keep it.
QString decoded(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

const QByteArrayView utf8Bom("\xEF\xBB\xBF");
const QByteArrayView crLf("\r\n");

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QByteArrayView trimmedBlanks(QByteArrayView bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && isBlank(bytes[begin]))
        ++begin;
    while (end > begin && isBlank(bytes[end - 1]))
        --end;
    return bytes.sliced(begin, end - begin);
}

QString trimmedBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

bool hasLineBreak(const QString &text)
{
    return text.contains(u'\r') || text.contains(u'\n');
}

bool isQuote(char c)
{
    return c == '"' || c == '\'';
}

enum class LineKind { Other, Section, Key };

// One line of the text: [begin, contentEnd) is its content, [contentEnd,
// end) its line ending (empty on a last line without one).
struct Line
{
    qsizetype begin = 0;
    qsizetype contentEnd = 0;
    qsizetype end = 0;
    LineKind kind = LineKind::Other;
    QByteArrayView name;  // section or key name, blanks removed
    QByteArrayView value; // key value, blanks removed, quotes kept
};

void classify(Line &line, QByteArrayView content)
{
    const QByteArrayView text = trimmedBlanks(content);
    if (text.isEmpty() || text[0] == ';')
        return;
    if (text[0] == '[') {
        const qsizetype close = text.lastIndexOf(']');
        if (close > 0) {
            line.kind = LineKind::Section;
            line.name = trimmedBlanks(text.sliced(1, close - 1));
            return;
        }
    }
    const qsizetype equals = text.indexOf('=');
    if (equals < 0)
        return;
    line.name = trimmedBlanks(text.first(equals));
    if (line.name.isEmpty())
        return;
    line.kind = LineKind::Key;
    line.value = trimmedBlanks(text.sliced(equals + 1));
}

// Walks the lines of a text in order; CR LF, LF and a lone CR all end a line.
class LineReader
{
public:
    explicit LineReader(const QByteArray &text)
        : m_text(text)
    {
        if (QByteArrayView(text).startsWith(utf8Bom))
            m_pos = utf8Bom.size();
    }

    bool next(Line &line)
    {
        const qsizetype size = m_text.size();
        if (m_pos >= size)
            return false;
        const char *data = m_text.constData();
        line = Line();
        line.begin = m_pos;
        qsizetype end = m_pos;
        while (end < size && data[end] != '\n' && data[end] != '\r')
            ++end;
        line.contentEnd = end;
        if (end < size) {
            if (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n')
                end += 2;
            else
                end += 1;
        }
        line.end = end;
        m_pos = end;
        classify(line, QByteArrayView(data + line.begin, line.contentEnd - line.begin));
        return true;
    }

private:
    const QByteArray &m_text;
    qsizetype m_pos = 0;
};

bool sameName(QByteArrayView stored, const QString &wanted)
{
    return decoded(stored).compare(wanted, Qt::CaseInsensitive) == 0;
}

QString readValue(QByteArrayView value)
{
    if (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    return decoded(value);
}

QByteArray keyLine(QByteArrayView name, const QString &value)
{
    QByteArray line;
    line.reserve(name.size() + value.size() + 8);
    line.append(name);
    line.append('=');
    line.append(storedForm(value).toUtf8());
    line.append(crLf);
    return line;
}

bool endsOpen(const QByteArray &text)
{
    if (text.isEmpty() || text == utf8Bom)
        return false;
    return !text.endsWith('\n') && !text.endsWith('\r');
}

} // namespace

bool isValidSection(const QString &section)
{
    return !trimmedBlanks(section).isEmpty() && !hasLineBreak(section);
}

bool isValidKey(const QString &key)
{
    const QString name = trimmedBlanks(key);
    return !name.isEmpty() && !hasLineBreak(name) && !name.contains(u'=') && !name.startsWith(u';')
        && !name.startsWith(u'[');
}

bool isWritableEntry(const QString &section, const QString &key, const QString &value)
{
    // A lone surrogate has no UTF-8 form: it would be stored as something else.
    return isValidSection(section) && isValidKey(key) && !hasLineBreak(value) && value.isValidUtf16()
        && section.isValidUtf16() && key.isValidUtf16();
}

QString storedForm(const QString &value)
{
    if (value.isEmpty())
        return value;
    const bool blankAtEdge = isBlank(value.front()) || isBlank(value.back());
    const bool ownQuotes
        = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front();
    if (blankAtEdge || ownQuotes)
        return u'"' + value + u'"';
    return value;
}

QString cutToSize(const QString &text, int size)
{
    if (size < 2)
        return {};
    if (text.size() < size)
        return text;
    QString cut = text.first(size - 1);
    if (cut.back().isHighSurrogate())
        cut.chop(1);
    return cut;
}

int placeAnswer(const QString &text, int size, QString &value)
{
    value = cutToSize(text, size);
    return int(value.size());
}

QString defaultAnswer(const QString &defaultValue)
{
    qsizetype end = defaultValue.size();
    while (end > 0 && defaultValue[end - 1] == u' ')
        --end;
    return defaultValue.first(end);
}

std::optional<QString> findValue(const QByteArray &text, const QString &section, const QString &key)
{
    if (!isValidSection(section) || !isValidKey(key))
        return std::nullopt;
    const QString wantedSection = trimmedBlanks(section);
    const QString wantedKey = trimmedBlanks(key);
    LineReader reader(text);
    Line line;
    bool inSection = false;
    while (reader.next(line)) {
        if (line.kind == LineKind::Section) {
            if (inSection)
                return std::nullopt; // only the first section of the name counts
            inSection = sameName(line.name, wantedSection);
        } else if (inSection && line.kind == LineKind::Key && sameName(line.name, wantedKey)) {
            return readValue(line.value);
        }
    }
    return std::nullopt;
}

QByteArray withValue(const QByteArray &text, const QString &section, const QString &key, const QString &value)
{
    const QString wantedSection = trimmedBlanks(section);
    const QString wantedKey = trimmedBlanks(key);
    LineReader reader(text);
    Line line;
    bool inSection = false;
    std::optional<Line> insertAfter; // the section's header or its last key
    while (reader.next(line)) {
        if (line.kind == LineKind::Section) {
            if (inSection)
                break;
            inSection = sameName(line.name, wantedSection);
            if (inSection)
                insertAfter = line;
        } else if (inSection && line.kind == LineKind::Key) {
            if (sameName(line.name, wantedKey)) {
                QByteArray result;
                result.reserve(text.size() + value.size() + 8);
                result.append(QByteArrayView(text).first(line.begin));
                result.append(keyLine(line.name, value));
                result.append(QByteArrayView(text).sliced(line.end));
                return result;
            }
            insertAfter = line;
        }
    }

    const QByteArray newKey = keyLine(wantedKey.toUtf8(), value);
    QByteArray result;
    result.reserve(text.size() + newKey.size() + wantedSection.size() + 8);
    if (insertAfter) {
        result.append(QByteArrayView(text).first(insertAfter->end));
        if (insertAfter->end == insertAfter->contentEnd)
            result.append(crLf); // the last line had no line break
        result.append(newKey);
        result.append(QByteArrayView(text).sliced(insertAfter->end));
        return result;
    }
    result.append(text);
    if (endsOpen(text))
        result.append(crLf);
    result.append('[');
    result.append(wantedSection.toUtf8());
    result.append(']');
    result.append(crLf);
    result.append(newKey);
    return result;
}

} // namespace platform::inifile
