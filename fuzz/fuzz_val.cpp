// The lenient number parse and the rounding used for stored numbers.
// Checked: Val never gives a non-finite result, skips blanks, tabs and line
// feeds wherever they are, reads back what NumberText and a 17-digit form
// wrote, and stops at text after the number; RoundHalfEven gives the nearest
// whole number with halves to the even one.
#include "fuzzcheck.h"

#include "app/settings.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>

namespace {

using fuzz::check;

QString numberDetail(const QString &text, double value)
{
    return QStringLiteral("%1 gave %2").arg(fuzz::shown(text)).arg(value, 0, 'g', 17);
}

// Mostly the characters a number is made of, so that the parse goes deep.
QString textFrom(FuzzedDataProvider &input)
{
    static constexpr char16_t alphabet[] = {u'0', u'1', u'5',  u'9',  u'.',  u'-', u'+', u'e',     u'E',     u'd',
                                            u'D', u' ', u'\t', u'\n', u'\r', u'x', u',', u'\x660', u'\xFF11'};
    QString text;
    const size_t length = input.ConsumeIntegralInRange<size_t>(0, 400);
    for (size_t i = 0; i < length && input.remaining_bytes() > 0; ++i) {
        const uint8_t byte = input.ConsumeIntegral<uint8_t>();
        text += byte < 0xF0 ? QChar(alphabet[byte % std::size(alphabet)]) : QChar(input.ConsumeIntegral<char16_t>());
    }
    return text;
}

QString withBlanksInserted(const QString &text, FuzzedDataProvider &input)
{
    static constexpr char16_t blanks[] = {u' ', u'\t', u'\n'};
    QString out;
    for (const QChar c : text) {
        const uint8_t byte = input.ConsumeIntegral<uint8_t>();
        if (byte % 4 == 0)
            out += QChar(blanks[byte / 4 % 3]);
        out += c;
    }
    if (input.ConsumeBool())
        out += u'\t';
    return out;
}

bool sameNumber(double a, double b)
{
    return a == b && std::signbit(a) == std::signbit(b);
}

void checkVal(const QString &text, FuzzedDataProvider &input)
{
    const double value = Val(text);
    check(std::isfinite(value), "Val gives a finite number", numberDetail(text, value));
    const QString spread = withBlanksInserted(text, input);
    const double spreadValue = Val(spread);
    check(sameNumber(spreadValue, value), "Val skips blanks, tabs and line feeds anywhere",
          numberDetail(text, value) + u'\n' + numberDetail(spread, spreadValue));
}

void checkWholeNumber(long long number)
{
    const QString text = NumberText(number);
    const QString digits = number < 0 ? text.mid(1) : text;
    check(!digits.isEmpty() && (digits == u"0" || digits[0] != u'0') && (number < 0) == text.startsWith(u'-'),
          "NumberText has no leading zeros, blanks or plus sign", fuzz::shown(text));
    for (const QChar c : digits)
        check(c >= u'0' && c <= u'9', "NumberText holds digits only", fuzz::shown(text));
    check(Val(text) == static_cast<double>(number), "Val reads NumberText back", numberDetail(text, Val(text)));
    // Text after the number ends the parse.
    for (const QString &tail :
         {QStringLiteral(";1"), QStringLiteral("abc"), QStringLiteral(",5"), QStringLiteral("x1e5")})
        check(Val(text + tail) == static_cast<double>(number), "Val stops at text after the number",
              numberDetail(text + tail, Val(text + tail)));
}

void checkDecimal(double number)
{
    if (!std::isfinite(number) || (number != 0 && !std::isnormal(number)))
        return;
    const QString text = QString::number(number, 'g', 17);
    check(sameNumber(Val(text), number) || (number == 0 && Val(text) == 0), "Val reads a 17-digit form back exactly",
          numberDetail(text, Val(text)));
}

void checkRounding(double value)
{
    const double rounded = RoundHalfEven(value);
    if (!std::isfinite(value)) {
        check(std::isnan(value) ? std::isnan(rounded) : rounded == value, "RoundHalfEven keeps infinities and NaN");
        return;
    }
    const QString detail = QStringLiteral("%1 gave %2").arg(value, 0, 'g', 17).arg(rounded, 0, 'g', 17);
    check(std::trunc(rounded) == rounded, "RoundHalfEven gives a whole number", detail);
    const double distance = std::fabs(rounded - value);
    check(distance <= 0.5, "RoundHalfEven gives the nearest whole number", detail);
    if (distance == 0.5)
        check(std::fmod(rounded, 2.0) == 0.0, "RoundHalfEven takes the even neighbour of a half", detail);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    checkWholeNumber(input.ConsumeIntegral<long long>());
    checkWholeNumber(input.ConsumeIntegralInRange<long long>(-100000, 100000));
    checkDecimal(input.ConsumeFloatingPoint<double>());
    checkRounding(input.ConsumeFloatingPoint<double>());
    checkRounding(input.ConsumeIntegralInRange(-40000, 40000) / 2.0);
    checkRounding(input.ConsumeIntegralInRange(-40000, 40000) * 0.85);
    const QString text = textFrom(input);
    checkVal(text, input);
    return 0;
}
