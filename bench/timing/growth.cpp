#include "bench/timing/growth.h"

#include <cmath>

namespace timing {

ResultRow growthRow(const QString &what, const QString &subject, double atOne, double atTen)
{
    ResultRow row;
    row.group = QStringLiteral("growth 1x -> 10x");
    row.subject = what + QStringLiteral(", ") + subject;
    row.value = atTen;
    row.referenceName = QStringLiteral("at 1x");
    row.reference = atOne;
    row.ratio = atTen / atOne;
    row.target = QStringLiteral("ratio <= ~10");
    // Small times carry fixed costs and noise; 15 still reads as linear.
    if (!std::isnan(row.ratio))
        row.verdict = row.ratio <= 15 ? QStringLiteral("linear or better") : QStringLiteral("SUPERLINEAR");
    return row;
}

} // namespace timing
