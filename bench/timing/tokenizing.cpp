#include "bench/timing/tokenizing.h"

#include "bench/timing/clock.h"
#include "bench/timing/stats.h"
#include "syntax/filetype.h"
#include "syntax/highlighter.h"
#include "syntax/linestates.h"
#include "syntax/stringtext.h"

#include <QFile>
#include <QFileInfo>

namespace timing {

void measureTokenizer(const QString &path, ResultTable &table)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    const syntax::StringText text(QString::fromUtf8(bytes));
    const syntax::Language language = syntax::languageForFile(path);
    const double megabytes = bytes.size() / 1e6;
    QList<double> states;
    QList<double> colours;
    for (int i = 0; i < 5; ++i) {
        syntax::LineStates lineStates(text);
        lineStates.setLanguage(language);
        qint64 start = nowNs();
        lineStates.advance(text.textSize(), QDeadlineTimer::Forever);
        states << megabytes / (msBetween(start, nowNs()) / 1000);

        // Every line with its spans, from the states read.
        std::vector<syntax::RoleSpan> spans;
        start = nowNs();
        for (int line = 0; line < text.lineCount(); ++line) {
            const int from = text.lineStart(line);
            const int to = line + 1 < text.lineCount() ? text.lineStart(line + 1) : text.textSize();
            for (int piece = from; piece < to; piece += syntax::LineStates::stride) {
                spans.clear();
                lineStates.spans(piece, std::min(to, piece + syntax::LineStates::stride), spans,
                                 QDeadlineTimer::Forever);
            }
        }
        colours << megabytes / (msBetween(start, nowNs()) / 1000);
    }
    const QString name = language == syntax::Language::Css ? QStringLiteral("CSS") : QStringLiteral("HTML");
    const QString subject = QStringLiteral("%1, %2 MB").arg(name, number(megabytes));
    ResultRow row;
    row.group = QStringLiteral("tokenizer throughput");
    row.unit = QStringLiteral("MB/s");
    row.subject = subject + QStringLiteral(", states at line starts");
    row.value = median(states);
    row.target = QStringLiteral(">= 300 MB/s");
    row.verdict = row.value >= 300 ? QStringLiteral("met") : QStringLiteral("MISSED");
    row.note = QStringLiteral("median of 5, min %1").arg(number(*std::min_element(states.begin(), states.end())));
    table.add(row);
    row.subject = subject + QStringLiteral(", with colours");
    row.value = median(colours);
    row.target.clear();
    row.verdict.clear();
    row.note = QStringLiteral("median of 5, every line's spans as painting asks for them");
    table.add(row);
}

} // namespace timing
