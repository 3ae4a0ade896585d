#pragma once

#include <QList>

namespace timing {

// NaN for an empty list.
double median(QList<double> values);
double maximum(const QList<double> &values);

} // namespace timing
