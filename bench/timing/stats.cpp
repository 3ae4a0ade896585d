#include "bench/timing/stats.h"

#include <algorithm>
#include <limits>

namespace timing {

double median(QList<double> values)
{
    if (values.isEmpty())
        return std::numeric_limits<double>::quiet_NaN();
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values.at(middle) : (values.at(middle - 1) + values.at(middle)) / 2.0;
}

double maximum(const QList<double> &values)
{
    if (values.isEmpty())
        return std::numeric_limits<double>::quiet_NaN();
    return *std::max_element(values.begin(), values.end());
}

} // namespace timing
