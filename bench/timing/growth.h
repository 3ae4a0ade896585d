#pragma once

#include "bench/timing/resulttable.h"

namespace timing {

// A row comparing one path at 1x and 10x the size: the ratio of the times
// and whether it stays linear (or better) rather than growing faster.
ResultRow growthRow(const QString &what, const QString &subject, double atOne, double atTen);

} // namespace timing
