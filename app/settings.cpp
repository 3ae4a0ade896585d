#include "app/settings.h"

#include "app/settingslocation.h"
#include "platform/profile.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

constexpr int iniBufferSize = 2048;

bool isSkippedInNumber(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isExponentLetter(QChar c)
{
    return c == u'E' || c == u'e' || c == u'D' || c == u'd';
}

// The characters of the text that can take part in a number, with the
// skipped blanks, tabs and line feeds removed.
class NumberScanner
{
public:
    explicit NumberScanner(const QString &text)
        : m_text(text)
    {
        skipBlanks();
    }

    QChar peek() const { return m_pos < m_text.size() ? m_text[m_pos] : QChar(); }

    void advance()
    {
        ++m_pos;
        skipBlanks();
    }

private:
    void skipBlanks()
    {
        while (m_pos < m_text.size() && isSkippedInNumber(m_text[m_pos]))
            ++m_pos;
    }

    const QString &m_text;
    qsizetype m_pos = 0;
};

// Appends the digits at the scanner's position; returns how many there were.
int takeDigits(NumberScanner &scanner, std::string &number)
{
    int count = 0;
    while (isDigit(scanner.peek())) {
        number.push_back(char(scanner.peek().unicode()));
        scanner.advance();
        ++count;
    }
    return count;
}

// Upper case character by character, so that a name keeps its length ("ß"
// would otherwise become "SS" and no longer match the name in the file).
QString upperCased(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper) {
        if (!c.isSurrogate())
            c = c.toUpper();
    }
    return upper;
}

} // namespace

QString ReadIni(const QString &section, const QString &key, const QString &file, const QString &defaultValue)
{
    QString buffer(iniBufferSize, u' ');
    const int count
        = platform::readProfileString(upperCased(section), upperCased(key), QString(), buffer, iniBufferSize, file);
    if (count > 0)
        return buffer.first(qMin<qsizetype>(count, buffer.size()));
    return defaultValue;
}

QString ReadIni(const QString &section, const QString &key, const QString &file, long long defaultValue)
{
    return ReadIni(section, key, file, NumberText(defaultValue));
}

QString WriteIni(const QString &section, const QString &key, const QString &value, const QString &file)
{
    CreateSettingsFolderFor(file);
    platform::writeProfileString(section, key, value, file);
    return QString();
}

void WriteIniValues(const QString &section, const QList<std::pair<QString, QString>> &values, const QString &file)
{
    CreateSettingsFolderFor(file);
    platform::writeProfileStrings(section, values, file);
}

double Val(const QString &text)
{
    NumberScanner scanner(text);
    std::string number;
    if (scanner.peek() == u'-' || scanner.peek() == u'+') {
        if (scanner.peek() == u'-')
            number.push_back('-');
        scanner.advance();
    }
    int digits = takeDigits(scanner, number);
    if (scanner.peek() == u'.') {
        number.push_back('.');
        scanner.advance();
        digits += takeDigits(scanner, number);
    }
    if (digits == 0)
        return 0.0;

    if (isExponentLetter(scanner.peek())) {
        std::string exponent = "e";
        scanner.advance();
        if (scanner.peek() == u'-' || scanner.peek() == u'+') {
            exponent.push_back(char(scanner.peek().unicode()));
            scanner.advance();
        }
        // Without digits the letter is text after the number: "1e" is 1.
        if (takeDigits(scanner, exponent) > 0)
            number += exponent;
    }

    double result = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), result);
    // A number too large for a double is no usable number; callers turn the
    // result into sizes and positions.
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(result))
        return 0.0;
    return result;
}

QString NumberText(long long value)
{
    return QString::number(value);
}

double RoundHalfEven(double value)
{
    if (std::fabs(value - std::trunc(value)) == 0.5)
        return 2.0 * std::round(value / 2.0);
    return std::round(value);
}
