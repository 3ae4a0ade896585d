#pragma once

#include <QList>
#include <QString>

#include <cstdio>
#include <limits>

namespace timing {

inline constexpr double notMeasured = std::numeric_limits<double>::quiet_NaN();

// One line of the result table. Times are in milliseconds unless `unit`
// says otherwise; NaN leaves a cell empty.
struct ResultRow
{
    QString group;
    QString subject;
    double value = notMeasured;
    double max = notMeasured;
    QString unit = QStringLiteral("ms");
    QString referenceName;
    double reference = notMeasured;
    double ratio = notMeasured;
    double peakMiB = notMeasured;
    double rssMiB = notMeasured;
    QString target;
    QString verdict;
    QString note;
};

// The one table the timing program prints: aligned plain text, or CSV.
class ResultTable
{
public:
    void add(const ResultRow &row) { m_rows << row; }
    void printPlain(std::FILE *out) const;
    void printCsv(std::FILE *out) const;

private:
    QList<ResultRow> m_rows;
};

// "12.3", "0.42", "1234"; empty for NaN.
QString number(double value);

} // namespace timing
