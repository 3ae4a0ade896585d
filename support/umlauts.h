#pragma once

#include <QString>

namespace support {

// Replaces the German umlauts, the sharp s, the copyright and euro signs and
// e with grave, acute and circumflex by their HTML entities; nothing else.
QString UmlautsToEntities(const QString &text);

} // namespace support
