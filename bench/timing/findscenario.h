#pragma once

#include <QString>

namespace timing {

class TimingApplication;

// Find and replace in the real window, each figure from the request until
// the answer is painted:
// - on a document of many lines: the first match from the top, counting a
//   literal word and a regular expression, replacing every match of the
//   word and taking that back, with the peak memory of the replacing;
// - on one long line: the next match, near and round the whole line.
int findScenario(TimingApplication &app, const QString &path);
int findNextScenario(TimingApplication &app, const QString &path);

} // namespace timing
