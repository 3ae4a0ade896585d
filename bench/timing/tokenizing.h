#pragma once

#include "bench/timing/resulttable.h"

#include <QString>

namespace timing {

// The tokenizers' throughput on a generated file, in MB of the file per
// second: reading the states at every line start as the editor catches up
// with a jump, and colouring every line as painting does. Median of five.
void measureTokenizer(const QString &path, ResultTable &table);

} // namespace timing
