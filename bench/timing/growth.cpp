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
    // Small times carry fixed costs and noise, and a sort adds a log factor
    // (about 12.5 from 10,000 to 100,000); quadratic work shows as ~100.
    if (!std::isnan(row.ratio)) {
        row.verdict = row.ratio <= 15 ? QStringLiteral("linear or better")
            : row.ratio <= 30         ? QStringLiteral("above linear")
                                      : QStringLiteral("SUPERLINEAR");
    }
    return row;
}

} // namespace timing
