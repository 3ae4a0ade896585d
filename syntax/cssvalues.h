#pragma once

#include <QString>
#include <QStringView>
#include <utility>

namespace syntax {

// The values that CSS tokens stand for, from their text: escapes resolved,
// NUL as U+FFFD.

// An identifier, at-keyword, hash or function name (without its "@", "#"
// or "(").
QString cssIdentifierValue(QStringView text);
// The characters between a string's quotes.
QString cssStringValue(QStringView text);
// A url token's text from "url(" on; `terminated` when its ")" is there.
QString cssUrlValue(QStringView text, bool terminated);
// A number's text as a double.
double cssNumberValue(QStringView text);
// A unicode-range token's text ("U+26", "u+0-7F", "U+4??") as its first and
// last code point.
std::pair<uint, uint> cssUnicodeRange(QStringView text);

} // namespace syntax
