#pragma once

#include "support/textfile.h"

#include <QByteArray>
#include <QByteArrayView>

namespace support {

// encodeText with `suffix` appended, in one buffer, so a large text is not
// copied again to add its final line break.
// The text may come in pieces, encoded one after the other.
QByteArray encodeTextWithSuffix(std::span<const QStringView> pieces, TextEncoding encoding, TextEncoding *used,
                                QByteArrayView suffix);

} // namespace support
