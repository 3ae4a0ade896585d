#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace document {

// A 64-bit digest of a file's bytes (the public XXH64 function, seed 0),
// to tell whether a file on disk still holds what was read or written. It
// is the same in every run and on every machine, which Qt's own hashes are
// not, and it costs about a hundredth of a cryptographic one: a check of
// 100 MB takes milliseconds. It guards against accidents, not attackers.
quint64 contentDigest(QByteArrayView bytes);

} // namespace document
