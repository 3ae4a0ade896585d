#pragma once

#include <QtGlobal>

namespace timing {

// Nanoseconds of the monotonic clock; the same clock in every process, so a
// parent can compare its own readings with a child's.
qint64 nowNs();

double msBetween(qint64 fromNs, qint64 toNs);

} // namespace timing
