#pragma once

#include <QString>

// One temporary folder per fuzzer process, removed at exit; the fuzzers that
// touch files work in it and nowhere else.
namespace fuzz {

QString scratchPath(const QString &name);

} // namespace fuzz
