// The editor's timing program: start-up, open, typing, save and the file
// list on generated files, each measured in fresh processes of this same
// program (the child modes below), printed as one table.
#include "bench/timing/clock.h"
#include "bench/timing/findscenario.h"
#include "bench/timing/scenarios.h"
#include "bench/timing/timingapplication.h"
#include "bench/timing/timingrun.h"

#include <QCoreApplication>
#include <QSize>
#include <QStringList>
#include <QStyleFactory>

#include <cstdio>
#include <cstring>

namespace {

void usage()
{
    std::fputs("usage: brenwick-timing [--quick] [--csv] [--dir FOLDER] [--startup-runs N] [--open-runs N] [--plain]\n"
               "                      [--find-runs N] [--only ROWS]   (startup, documents, listing, find,\n"
               "                                                        tokenizer, or document keys)\n"
               "       brenwick-timing --generate-only FOLDER [--quick]\n"
               "--plain runs the documents with syntax colouring and line numbers off (on by default);\n"
               "--only takes a comma-separated list of document keys (10k, 1m, 10m, 100m, css05m, css1m,\n"
               "css5m, rtl1m, mixed10m, html10m, html100m), startup, listing and tokenizer.\n"
               "Runs offscreen unless DISPLAY is set and QT_QPA_PLATFORM is not offscreen.\n",
               stderr);
}

// Child modes run the real windows; they get a QApplication with the
// editor's style, as the editor's own main() sets it.
int runChildMode(int argc, char **argv, qint64 entryNs)
{
    const QString mode = QString::fromLocal8Bit(argv[1]);
    timing::TimingApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const qint64 appReadyNs = timing::nowNs();
    const QStringList args = QCoreApplication::arguments();
    if (mode == QLatin1String("--editor-startup") && args.size() >= 3)
        return timing::editorStartup(app, entryNs, appReadyNs, args.at(2));
    if (mode == QLatin1String("--bare-startup") && args.size() >= 5)
        return timing::bareStartup(app, entryNs, appReadyNs, QSize(args.at(2).toInt(), args.at(3).toInt()), args.at(4));
    if (mode == QLatin1String("--document") && args.size() >= 3)
        return timing::documentScenario(app, args.at(2), !args.contains(QStringLiteral("--no-typing")),
                                        !args.contains(QStringLiteral("--plain")));
    if (mode == QLatin1String("--find") && args.size() >= 3)
        return timing::findScenario(app, args.at(2));
    if (mode == QLatin1String("--find-next") && args.size() >= 3)
        return timing::findNextScenario(app, args.at(2));
    if (mode == QLatin1String("--listing") && args.size() >= 5)
        return timing::listingScenario(app, args.at(2), args.at(3), args.at(4).toInt());
    usage();
    return 2;
}

bool isChildMode(const char *argument)
{
    for (const char *mode : {"--editor-startup", "--bare-startup", "--document", "--listing", "--find", "--find-next"})
        if (std::strcmp(argument, mode) == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    const qint64 entryNs = timing::nowNs();
    // Without a display (or when asked for) the windows run offscreen; the
    // children inherit the choice.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 2 && isChildMode(argv[1]))
        return runChildMode(argc, argv, entryNs);

    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    timing::RunOptions options;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--quick")) {
            options.quick = true;
        } else if (arg == QLatin1String("--csv")) {
            options.csv = true;
        } else if (arg == QLatin1String("--dir") && hasValue) {
            options.folder = args.at(++i);
        } else if (arg == QLatin1String("--startup-runs") && hasValue) {
            options.startupRuns = qMax(1, args.at(++i).toInt());
        } else if (arg == QLatin1String("--open-runs") && hasValue) {
            options.openRuns = qMax(1, args.at(++i).toInt());
        } else if (arg == QLatin1String("--find-runs") && hasValue) {
            options.findRuns = qMax(1, args.at(++i).toInt());
        } else if (arg == QLatin1String("--plain")) {
            options.plain = true;
        } else if (arg == QLatin1String("--only") && hasValue) {
            options.only = args.at(++i).split(QLatin1Char(','), Qt::SkipEmptyParts);
        } else if (arg == QLatin1String("--generate-only") && hasValue) {
            return timing::generateOnly(args.at(i + 1), args.contains(QStringLiteral("--quick")));
        } else {
            usage();
            return 2;
        }
    }
    return timing::runTiming(options);
}
