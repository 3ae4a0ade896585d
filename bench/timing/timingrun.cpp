#include "bench/timing/timingrun.h"

#include "bench/timing/childrun.h"
#include "bench/timing/clock.h"
#include "bench/timing/documents.h"
#include "bench/timing/growth.h"
#include "bench/timing/resulttable.h"
#include "bench/timing/stats.h"
#include "bench/timing/tokenizing.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QThread>

#include <cmath>
#include <cstdio>
#include <optional>

namespace timing {

namespace {

constexpr int childTimeoutMs = 300000;

void progress(const QString &text)
{
    std::fprintf(stderr, "[timing] %s\n", qPrintable(text));
}

QString thousands(qint64 value)
{
    return QLocale(QLocale::English).toString(value);
}

QList<double> valuesOf(const QList<ChildResult> &runs, const QString &key)
{
    QList<double> values;
    for (const ChildResult &run : runs)
        if (!std::isnan(run.value(key)))
            values << run.value(key);
    return values;
}

QString verdict(bool met)
{
    return met ? QStringLiteral("met") : QStringLiteral("MISSED");
}

QString runsNote(const QList<ChildResult> &runs, int wanted)
{
    QString note = QStringLiteral("%1 of %2 runs").arg(runs.size()).arg(wanted);
    return note;
}

// Start-up of the editor and of the bare window, alternating fresh processes.
void measureStartup(const RunOptions &options, const QString &folder, ResultTable &table)
{
    progress(QStringLiteral("start-up, %1 fresh processes each").arg(options.startupRuns));
    QList<ChildResult> editor;
    QList<ChildResult> bare;
    QStringList size;
    for (int i = 0; i < options.startupRuns; ++i) {
        ChildResult run = runChild({QStringLiteral("--editor-startup"), folder}, childTimeoutMs);
        if (!run.ok)
            continue;
        size = QStringList{QString::number(run.value(QStringLiteral("window_width"))),
                           QString::number(run.value(QStringLiteral("window_height")))};
        editor << run;
        ChildResult plain
            = runChild({QStringLiteral("--bare-startup"), size.at(0), size.at(1), folder}, childTimeoutMs);
        if (plain.ok)
            bare << plain;
    }
    auto launchToFrame = [](const QList<ChildResult> &runs) {
        QList<double> values;
        for (const ChildResult &run : runs)
            values << msBetween(run.launchNs, qint64(run.value(QStringLiteral("frame_ns"))));
        return values;
    };

    const double editorLaunch = median(launchToFrame(editor));
    const double bareLaunch = median(launchToFrame(bare));
    ResultRow fromLaunch;
    fromLaunch.group = QStringLiteral("start-up");
    fromLaunch.subject = QStringLiteral("launch to first frame");
    fromLaunch.value = editorLaunch;
    fromLaunch.max = maximum(launchToFrame(editor));
    fromLaunch.referenceName = QStringLiteral("bare Qt");
    fromLaunch.reference = bareLaunch;
    fromLaunch.ratio = editorLaunch / bareLaunch;
    fromLaunch.target = QStringLiteral("<= 1.5 x bare");
    fromLaunch.verdict = verdict(fromLaunch.ratio <= 1.5);
    fromLaunch.note = runsNote(editor, options.startupRuns) + QStringLiteral(", exec to end of first paint");
    table.add(fromLaunch);

    const double editorMain = median(valuesOf(editor, QStringLiteral("main_to_frame_ms")));
    const double bareMain = median(valuesOf(bare, QStringLiteral("main_to_frame_ms")));
    ResultRow inProcess = fromLaunch;
    inProcess.subject = QStringLiteral("Main() to first frame");
    inProcess.value = editorMain;
    inProcess.max = maximum(valuesOf(editor, QStringLiteral("main_to_frame_ms")));
    inProcess.reference = bareMain;
    inProcess.ratio = editorMain / bareMain;
    inProcess.verdict = verdict(inProcess.ratio <= 1.5);
    inProcess.note
        = QStringLiteral("after QApplication (%1 ms)").arg(number(median(valuesOf(editor, QStringLiteral("app_ms")))));
    table.add(inProcess);
}

struct DocumentFigures
{
    GeneratedDocument document;
    qint64 lines = 0;
    QList<ChildResult> runs;
    double open = notMeasured;
    double save = notMeasured;
    double keyMiddle = notMeasured;
};

DocumentFigures measureDocument(const RunOptions &options, const GeneratedDocument &document, const QString &path,
                                ResultTable &table)
{
    DocumentFigures figures;
    figures.document = document;
    figures.lines = lineCountOf(path);
    const int wanted = document.bytes > 20 * 1024 * 1024 ? 1 : options.openRuns;
    progress(QStringLiteral("%1: %2 fresh process(es)").arg(document.label).arg(wanted));
    for (int i = 0; i < wanted; ++i) {
        QStringList arguments = {QStringLiteral("--document"), path};
        if (i > 0)
            arguments << QStringLiteral("--no-typing");
        if (options.plain)
            arguments << QStringLiteral("--plain");
        ChildResult run = runChild(arguments, childTimeoutMs);
        if (run.ok || (i == 0 && !run.values.isEmpty()))
            figures.runs << run;
    }
    // The open of a page with colouring on, against the same open with it
    // off: only what is shown is read.
    QList<ChildResult> plainRuns;
    if (document.kind == DocumentKind::HtmlLines && !options.plain) {
        for (int i = 0; i < wanted; ++i) {
            ChildResult run = runChild(
                {QStringLiteral("--document"), path, QStringLiteral("--no-typing"), QStringLiteral("--plain")},
                childTimeoutMs);
            if (run.ok)
                plainRuns << run;
        }
    }
    const QString subject = document.oneLine()
        ? document.label
        : QStringLiteral("%1 (%2 lines)").arg(document.label, thousands(figures.lines));
    const double sizeMiB = double(document.bytes) / (1024.0 * 1024.0);

    ResultRow open;
    open.group = QStringLiteral("open (click to painted)");
    open.subject = subject;
    open.value = figures.open = median(valuesOf(figures.runs, QStringLiteral("open_painted_ms")));
    open.max = maximum(valuesOf(figures.runs, QStringLiteral("open_painted_ms")));
    open.referenceName = QStringLiteral("read()");
    open.reference = median(valuesOf(figures.runs, QStringLiteral("read_ms")));
    open.ratio = open.value / open.reference;
    open.peakMiB = median(valuesOf(figures.runs, QStringLiteral("open_peak_rss_mib")));
    open.rssMiB = median(valuesOf(figures.runs, QStringLiteral("open_rss_mib")));
    open.note = runsNote(figures.runs, wanted)
        + QStringLiteral(", handler %1 ms")
              .arg(number(median(valuesOf(figures.runs, QStringLiteral("open_handler_ms")))));
    if (document.key == QLatin1String("10m")) {
        open.target = QStringLiteral("< 100 ms");
        open.verdict = verdict(open.value < 100);
    } else if (document.key == QLatin1String("100m")) {
        open.target = QStringLiteral("< 1000 ms, peak < 4 x size");
        open.verdict = verdict(open.value < 1000 && open.peakMiB < 4 * sizeMiB);
        open.note += QStringLiteral(", peak = %1 x size").arg(number(open.peakMiB / sizeMiB));
    }
    table.add(open);
    if (!plainRuns.isEmpty()) {
        ResultRow against;
        against.group = QStringLiteral("open, colouring on vs off");
        against.subject = subject;
        against.value = open.value;
        against.max = open.max;
        against.referenceName = QStringLiteral("off");
        against.reference = median(valuesOf(plainRuns, QStringLiteral("open_painted_ms")));
        against.ratio = against.value / against.reference;
        against.target = QStringLiteral("<= 1.05 x off");
        against.verdict = verdict(against.ratio <= 1.05);
        against.note = runsNote(plainRuns, wanted) + QStringLiteral(" off");
        table.add(against);
    }

    if (!figures.runs.isEmpty()) {
        const ChildResult &typed = figures.runs.first();
        for (const char *position : {"start", "middle", "end"}) {
            const QString prefix = QStringLiteral("key_%1_").arg(QLatin1String(position));
            ResultRow key;
            key.group = QStringLiteral("keystroke (key to painted)");
            key.subject = subject + QStringLiteral(", at ") + QLatin1String(position);
            key.value = typed.value(prefix + QStringLiteral("median_ms"));
            key.max = typed.value(prefix + QStringLiteral("max_ms"));
            key.target = QStringLiteral("median < 16, max < 50");
            key.verdict = std::isnan(key.value) ? QStringLiteral("MISSED") : verdict(key.value < 16 && key.max < 50);
            key.note = QStringLiteral("%1 keys").arg(typed.value(prefix + QStringLiteral("count")));
            if (typed.value(prefix + QStringLiteral("count")) < 20)
                key.note += QStringLiteral(" (8 s budget)");
            if (QLatin1String(position) == QLatin1String("middle"))
                figures.keyMiddle = key.value;
            table.add(key);
        }
    }

    if (!figures.runs.isEmpty()) {
        const ChildResult &typed = figures.runs.first();
        for (const auto &[key, label] : {std::pair{"ctrl_end", "Ctrl+End"}, std::pair{"ctrl_home", "Ctrl+Home"}}) {
            ResultRow jump;
            jump.group = QStringLiteral("jump (key to painted)");
            jump.subject = subject + QStringLiteral(", ") + QLatin1String(label);
            jump.value = typed.value(QLatin1String(key) + QStringLiteral("_median_ms"));
            jump.max = typed.value(QLatin1String(key) + QStringLiteral("_max_ms"));
            jump.target = QStringLiteral("< 50 ms");
            jump.verdict = std::isnan(jump.value) ? QStringLiteral("MISSED") : verdict(jump.max < 50);
            jump.note = QStringLiteral("median of 5");
            table.add(jump);
        }
    }

    if (!figures.runs.isEmpty()) {
        const ChildResult &typed = figures.runs.first();
        ResultRow journal;
        journal.group = QStringLiteral("recovery journal (one edit)");
        journal.subject = subject + QStringLiteral(", window held up");
        journal.value = typed.value(QStringLiteral("journal_ui_median_ms"));
        journal.max = typed.value(QStringLiteral("journal_ui_max_ms"));
        journal.target = QStringLiteral("<= 20 ms");
        journal.verdict = std::isnan(journal.max) ? QStringLiteral("MISSED") : verdict(journal.max <= 20);
        journal.note = QStringLiteral("on disk after %1 ms (max %2)")
                           .arg(number(typed.value(QStringLiteral("journal_disk_median_ms"))),
                                number(typed.value(QStringLiteral("journal_disk_max_ms"))));
        table.add(journal);

        ResultRow reload;
        reload.group = QStringLiteral("another program's write (written to shown)");
        reload.subject = subject;
        reload.value = typed.value(QStringLiteral("reload_ms"));
        reload.target = QStringLiteral("< 1000 ms");
        reload.verdict = std::isnan(reload.value) ? QStringLiteral("MISSED") : verdict(reload.value < 1000);
        reload.note = QStringLiteral("same size, so the bytes decide");
        table.add(reload);
    }

    if (!figures.runs.isEmpty() && !std::isnan(figures.runs.first().value(QStringLiteral("ctrl_end_settled_ms")))) {
        const ChildResult &typed = figures.runs.first();
        ResultRow settled;
        settled.group = QStringLiteral("colours (key to settled)");
        settled.subject = subject + QStringLiteral(", first Ctrl+End");
        settled.value = typed.value(QStringLiteral("ctrl_end_settled_ms"));
        settled.target = QStringLiteral("< 1000 ms");
        settled.verdict = verdict(settled.value < 1000);
        settled.note = QStringLiteral("states read from the start in slices");
        table.add(settled);
        ResultRow retokenize = settled;
        retokenize.subject = subject + QStringLiteral(", keystroke in the middle");
        retokenize.value = typed.value(QStringLiteral("retokenize_median_ms"));
        retokenize.max = typed.value(QStringLiteral("retokenize_max_ms"));
        retokenize.target.clear();
        retokenize.verdict.clear();
        retokenize.note = QStringLiteral("median of 5, reading on until the states agree");
        table.add(retokenize);
    }

    ResultRow save;
    save.group = QStringLiteral("save (click to written)");
    save.subject = subject;
    save.value = figures.save = median(valuesOf(figures.runs, QStringLiteral("save_ms")));
    save.max = maximum(valuesOf(figures.runs, QStringLiteral("save_ms")));
    save.referenceName = QStringLiteral("write()+fsync()");
    save.reference = median(valuesOf(figures.runs, QStringLiteral("write_fsync_ms")));
    save.ratio = save.value / save.reference;
    save.note
        = QStringLiteral("write() alone %1 ms").arg(number(median(valuesOf(figures.runs, QStringLiteral("write_ms")))));
    if (document.key == QLatin1String("10m")) {
        save.target = QStringLiteral("<= 3 x write+fsync");
        save.verdict = verdict(save.ratio <= 3);
    }
    table.add(save);
    return figures;
}

struct ListingFigures
{
    int files = 0;
    bool allMatch = false;
    double painted = notMeasured;
};

ListingFigures measureListing(const QString &folder, int files, bool allMatch, ResultTable &table)
{
    const QString pattern = allMatch ? QStringLiteral("*.txt;*.dat") : QStringLiteral("*.txt");
    const int expected = allMatch ? files : files / 2;
    progress(QStringLiteral("file list: %1 files, pattern %2").arg(files).arg(pattern));
    const ChildResult run
        = runChild({QStringLiteral("--listing"), folder, pattern, QString::number(expected)}, childTimeoutMs);
    ListingFigures figures{files, allMatch, run.value(QStringLiteral("painted_ms"))};
    ResultRow row;
    row.group = QStringLiteral("file list (SetPath to painted)");
    row.subject = QStringLiteral("%1 files, %2")
                      .arg(thousands(files), allMatch ? QStringLiteral("all match") : QStringLiteral("half match"));
    row.value = figures.painted;
    row.max = run.value(QStringLiteral("painted_max_ms"));
    row.referenceName = QStringLiteral("SetPath alone");
    row.reference = run.value(QStringLiteral("setpath_ms"));
    row.peakMiB = run.value(QStringLiteral("listed_peak_rss_mib"));
    row.rssMiB = run.value(QStringLiteral("listed_rss_mib"));
    row.note = QStringLiteral("median of 3, %1 listed").arg(run.value(QStringLiteral("listed")));
    if (!run.ok)
        row.note += QStringLiteral(", ") + run.failure;
    if (files == 100000) {
        row.target = QStringLiteral("< 300 ms");
        row.verdict = verdict(row.max < 300);
    }
    table.add(row);
    return figures;
}

// Find and replace: the big document of lines in fresh processes, and the
// next match on the long stylesheet line.
void measureFind(const RunOptions &options, const QString &root, const QString &cssPath, ResultTable &table)
{
    const GeneratedDocument document = findDocument(options.quick);
    progress(QStringLiteral("find and replace: %1, %2 fresh processes").arg(document.label).arg(options.findRuns));
    const QString path = writeDocument(root, document);
    QList<ChildResult> runs;
    for (int i = 0; i < options.findRuns && !path.isEmpty(); ++i) {
        ChildResult run = runChild({QStringLiteral("--find"), path}, childTimeoutMs);
        if (run.ok)
            runs << run;
    }
    const bool big = document.bytes >= 100 * 1024 * 1024;
    auto row = [&](const QString &subject, const QString &key, double target, const QString &note = QString()) {
        ResultRow result;
        result.group = QStringLiteral("find (request to painted)");
        result.subject = document.label + QStringLiteral(", ") + subject;
        result.value = median(valuesOf(runs, key + QStringLiteral("_ms")));
        result.max = maximum(valuesOf(runs, key + QStringLiteral("_ms")));
        if (big) {
            result.target = QStringLiteral("<= %1 ms").arg(target);
            result.verdict = std::isnan(result.value) ? QStringLiteral("MISSED") : verdict(result.value <= target);
        }
        result.note = runsNote(runs, options.findRuns) + note;
        table.add(result);
    };
    row(QStringLiteral("first match from the top"), QStringLiteral("first_match"), 20);
    const auto cpu = [&runs](const char *key) {
        return QStringLiteral(", CPU %1 ms").arg(number(median(valuesOf(runs, QLatin1String(key)))));
    };
    row(QStringLiteral("count a literal word"), QStringLiteral("count_literal"), 300, cpu("count_literal_cpu_ms"));
    row(QStringLiteral("count \\bcol(o|ou)r\\b"), QStringLiteral("count_regex"), 1500, cpu("count_regex_cpu_ms"));
    row(big ? QStringLiteral("replace all (1,000,000)") : QStringLiteral("replace all"), QStringLiteral("replace_all"),
        3000);
    row(QStringLiteral("undo the replace all"), QStringLiteral("undo"), 1000);

    ResultRow memory;
    memory.group = QStringLiteral("find (request to painted)");
    memory.subject = document.label + QStringLiteral(", peak memory of replace all");
    const double documentMiB = median(valuesOf(runs, QStringLiteral("document_mib")));
    const double peakMiB = median(valuesOf(runs, QStringLiteral("replace_peak_mib")));
    const double idleMiB = median(valuesOf(runs, QStringLiteral("idle_mib")));
    memory.value = (peakMiB - idleMiB) / documentMiB;
    memory.unit = QStringLiteral("x doc");
    memory.peakMiB = peakMiB;
    memory.note = QStringLiteral("(peak - idle) / (open - idle); document %1 MiB").arg(number(documentMiB));
    if (big) {
        memory.target = QStringLiteral("< 2 x document");
        memory.verdict = verdict(memory.value < 2);
    }
    table.add(memory);

    if (cssPath.isEmpty())
        return;
    progress(QStringLiteral("find: next match on one long line"));
    const ChildResult next = runChild({QStringLiteral("--find-next"), cssPath}, childTimeoutMs);
    for (const auto &[key, subject] : {std::pair{"next_near", "5 MB one line, next match (near)"},
                                       std::pair{"next_round", "5 MB one line, next match (round the line)"}}) {
        ResultRow result;
        result.group = QStringLiteral("find (request to painted)");
        result.subject = QLatin1String(subject);
        result.value = next.value(QLatin1String(key) + QStringLiteral("_ms"));
        result.max = next.value(QLatin1String(key) + QStringLiteral("_max_ms"));
        result.target = QStringLiteral("<= 50 ms");
        result.verdict = std::isnan(result.max) ? QStringLiteral("MISSED") : verdict(result.max <= 50);
        result.note = QStringLiteral("median of 20");
        table.add(result);
    }
}

std::optional<DocumentFigures> figuresOf(const QList<DocumentFigures> &all, const QString &key)
{
    for (const DocumentFigures &figures : all)
        if (figures.document.key == key)
            return figures;
    return std::nullopt;
}

} // namespace

int generateOnly(const QString &folder, bool quick)
{
    if (!QDir().mkpath(folder))
        return 1;
    for (const GeneratedDocument &document : documentSpecs(quick)) {
        const QString path = writeDocument(folder, document);
        if (path.isEmpty())
            return 1;
        std::printf("%s=%s\n", qPrintable(document.key), qPrintable(path));
    }
    return 0;
}

int runTiming(const RunOptions &options)
{
    QTemporaryDir temporary;
    const QString root = options.folder.isEmpty() ? temporary.path() : options.folder;
    if (root.isEmpty() || !QDir().mkpath(root))
        return 1;

    auto runs = [&options](const char *row) { return options.runs(QLatin1String(row)); };
    progress(QStringLiteral("generating files in %1").arg(root));
    QList<std::pair<GeneratedDocument, QString>> documents;
    QString cssPath;
    QStringList tokenizerPaths;
    for (const GeneratedDocument &document : documentSpecs(options.quick)) {
        // A document is measured when the documents or its key are asked
        // for; the tokenizer and find rows read some of them too.
        const bool measured = runs("documents") || (!options.only.isEmpty() && options.runs(document.key));
        const bool tokenizer
            = runs("tokenizer") && (document.key == QLatin1String("html10m") || document.key == QLatin1String("css5m"));
        if (!measured && !tokenizer && !(runs("find") && document.key == QLatin1String("css5m")))
            continue;
        const QString path = writeDocument(root, document);
        if (path.isEmpty())
            return 1;
        if (document.key == QLatin1String("css5m"))
            cssPath = path;
        if (tokenizer)
            tokenizerPaths << path;
        if (measured)
            documents.append({document, path});
    }
    QList<int> folderSizes;
    if (runs("listing"))
        folderSizes << 10000;
    if (runs("listing") && !options.quick)
        folderSizes << 100000;
    QList<std::pair<int, QString>> folders;
    for (int files : folderSizes) {
        const QString folder = writeFileFolder(root, files);
        if (folder.isEmpty())
            return 1;
        folders.append({files, folder});
    }

    ResultTable table;
    if (runs("startup"))
        measureStartup(options, root, table);
    if (runs("tokenizer")) {
        progress(QStringLiteral("tokenizer throughput"));
        for (const QString &path : tokenizerPaths)
            measureTokenizer(path, table);
    }
    QList<DocumentFigures> documentFigures;
    for (const auto &[document, path] : documents) {
        if (options.runs(document.key))
            documentFigures << measureDocument(options, document, path, table);
    }
    QList<ListingFigures> listingFigures;
    for (const auto &[files, folder] : folders)
        for (bool allMatch : {false, true})
            listingFigures << measureListing(folder, files, allMatch, table);
    if (runs("find"))
        measureFind(options, root, cssPath, table);

    // Growth: the same path at 1x and 10x the size.
    const QList<std::pair<QString, QString>> pairs = {{QStringLiteral("1m"), QStringLiteral("10m")},
                                                      {QStringLiteral("10m"), QStringLiteral("100m")},
                                                      {QStringLiteral("css05m"), QStringLiteral("css5m")}};
    for (const auto &[small, large] : pairs) {
        const auto one = figuresOf(documentFigures, small);
        const auto ten = figuresOf(documentFigures, large);
        if (!one || !ten)
            continue;
        const QString subject = one->document.label + QStringLiteral(" -> ") + ten->document.label;
        table.add(growthRow(QStringLiteral("open"), subject, one->open, ten->open));
        table.add(growthRow(QStringLiteral("keystroke (middle, median)"), subject, one->keyMiddle, ten->keyMiddle));
        table.add(growthRow(QStringLiteral("save"), subject, one->save, ten->save));
    }
    for (bool allMatch : {false, true}) {
        const ListingFigures *one = nullptr;
        const ListingFigures *ten = nullptr;
        for (const ListingFigures &figures : listingFigures) {
            if (figures.allMatch != allMatch)
                continue;
            if (figures.files == 10000)
                one = &figures;
            if (figures.files == 100000)
                ten = &figures;
        }
        if (one && ten)
            table.add(growthRow(QStringLiteral("file list"),
                                allMatch ? QStringLiteral("10,000 -> 100,000 files, all match")
                                         : QStringLiteral("10,000 -> 100,000 files, half match"),
                                one->painted, ten->painted));
    }

    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("xcb"));
    std::printf("Editor timing: platform %s%s, Qt %s, %d CPUs, %s\n", qPrintable(platform),
                platform == QLatin1String("offscreen")
                    ? ""
                    : qPrintable(QStringLiteral(" (DISPLAY ") + qEnvironmentVariable("DISPLAY") + QLatin1Char(')')),
                qVersion(), QThread::idealThreadCount(),
                qPrintable(QDateTime::currentDateTime().toString(Qt::ISODate)));
    std::printf("Syntax colouring and line numbers %s.\n", options.plain ? "off" : "on");
    std::printf("Every figure from fresh processes; medians. Save syncs (fsync) as write()+fsync() does.\n"
                "Keystroke: 20 typed characters per position, each until the text box has repainted.\n"
                "Growth rows: time at 10x size / time at 1x size (10 = linear, 100 = quadratic).\n\n");
    if (options.csv)
        table.printCsv(stdout);
    else
        table.printPlain(stdout);
    return 0;
}

} // namespace timing
