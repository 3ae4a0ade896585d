#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace support {

// The text of strictly valid UTF-8 (no overlong forms, no surrogates, nothing
// above U+10FFFF, no sequence cut off at the end), or nothing as soon as an
// invalid byte is met. A byte-order mark is kept as a character.
std::optional<QString> decodeStrictUtf8(QByteArrayView bytes);

} // namespace support
