#include "bench/timing/resulttable.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace timing {

QString number(double value)
{
    if (std::isnan(value))
        return {};
    const double magnitude = std::abs(value);
    const int decimals = magnitude >= 100 ? 0 : magnitude >= 10 ? 1 : magnitude >= 1 ? 2 : 3;
    return QString::number(value, 'f', decimals);
}

namespace {

QString withUnit(double value, const QString &unit)
{
    return std::isnan(value) ? QString() : number(value) + QLatin1Char(' ') + unit;
}

QStringList plainCells(const ResultRow &row)
{
    const QString reference = std::isnan(row.reference)
        ? row.referenceName
        : row.referenceName + QLatin1Char(' ') + withUnit(row.reference, row.unit);
    QString memory;
    if (!std::isnan(row.peakMiB))
        memory = number(row.peakMiB) + QStringLiteral(" / ") + number(row.rssMiB);
    return {row.group,
            row.subject,
            withUnit(row.value, row.unit),
            withUnit(row.max, row.unit),
            reference,
            std::isnan(row.ratio) ? QString() : number(row.ratio) + QStringLiteral(" x"),
            memory,
            row.target,
            row.verdict,
            row.note};
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString csvNumber(double value)
{
    return std::isnan(value) ? QString() : QString::number(value, 'f', 4);
}

} // namespace

void ResultTable::printPlain(std::FILE *out) const
{
    const QStringList header = {QStringLiteral("what"),         QStringLiteral("subject"),   QStringLiteral("median"),
                                QStringLiteral("max"),          QStringLiteral("reference"), QStringLiteral("ratio"),
                                QStringLiteral("peak/now MiB"), QStringLiteral("target"),    QStringLiteral("verdict"),
                                QStringLiteral("note")};
    // Rows of one kind together, kinds in the order they first came.
    QStringList groups;
    for (const ResultRow &row : m_rows)
        if (!groups.contains(row.group))
            groups << row.group;
    QList<QStringList> lines = {header};
    for (const QString &group : groups)
        for (const ResultRow &row : m_rows)
            if (row.group == group)
                lines << plainCells(row);
    QList<qsizetype> widths(header.size(), 0);
    for (const QStringList &line : lines)
        for (qsizetype i = 0; i < line.size(); ++i)
            widths[i] = std::max(widths[i], line.at(i).size());

    QString previousGroup;
    for (qsizetype l = 0; l < lines.size(); ++l) {
        const QStringList &line = lines.at(l);
        if (l > 1 && line.first() != previousGroup)
            std::fputs("\n", out);
        previousGroup = line.first();
        QString text;
        for (qsizetype i = 0; i < line.size(); ++i) {
            // Numbers right-aligned, words left-aligned.
            const bool numeric = i == 2 || i == 3 || i == 5 || i == 6;
            text += numeric ? line.at(i).rightJustified(widths[i]) : line.at(i).leftJustified(widths[i]);
            text += QStringLiteral("  ");
        }
        std::fprintf(out, "%s\n", qPrintable(text.trimmed()));
        if (l == 0) {
            qsizetype total = 0;
            for (qsizetype width : widths)
                total += width + 2;
            std::fprintf(out, "%s\n", qPrintable(QString(total - 2, QLatin1Char('-'))));
        }
    }
}

void ResultTable::printCsv(std::FILE *out) const
{
    std::fputs("what,subject,median,max,unit,reference_name,reference,ratio,peak_rss_mib,rss_mib,target,verdict,note\n",
               out);
    for (const ResultRow &row : m_rows) {
        const QStringList fields
            = {csvField(row.group),    csvField(row.subject),       csvNumber(row.value),     csvNumber(row.max),
               csvField(row.unit),     csvField(row.referenceName), csvNumber(row.reference), csvNumber(row.ratio),
               csvNumber(row.peakMiB), csvNumber(row.rssMiB),       csvField(row.target),     csvField(row.verdict),
               csvField(row.note)};
        std::fprintf(out, "%s\n", qPrintable(fields.join(QLatin1Char(','))));
    }
}

} // namespace timing
