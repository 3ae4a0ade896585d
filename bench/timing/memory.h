#pragma once

namespace timing {

// Highest resident set of this process so far, in MiB (getrusage).
double peakRssMiB();
// Resident set now, in MiB (/proc/self/statm).
double currentRssMiB();

} // namespace timing
