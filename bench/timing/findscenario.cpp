#include "bench/timing/findscenario.h"

#include "bench/timing/childrun.h"
#include "bench/timing/editorsession.h"
#include "bench/timing/memory.h"
#include "bench/timing/stats.h"
#include "bench/timing/timingapplication.h"
#include "forms/textbox.h"
#include "ui/find/findsession.h"
#include "ui/find/findwindow.h"
#include "ui/main/frmtextedit.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <ctime>

namespace timing {

namespace {

void putTimes(const QString &prefix, const QList<double> &times)
{
    put(qPrintable(prefix + QStringLiteral("_ms")), median(times));
    put(qPrintable(prefix + QStringLiteral("_max_ms")), maximum(times));
}

// CPU time of the whole process (all its threads): unlike the clock on
// the wall, it hardly depends on what else the machine runs.
double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The peak of the resident memory from here on (Linux: clear_refs 5).
void resetPeakRss()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

double peakRssSinceResetMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// The editor with the document opened by a click in the file list and the
// find window opened by Ctrl+F.
struct FindSetup
{
    EditorSession session;
    frmTextEdit *window = nullptr;
    forms::TextBox *box = nullptr;
    FindWindow *find = nullptr;
    QLineEdit *field = nullptr;
    QLabel *status = nullptr;
    double idleRss = 0;
    double openRss = 0;

    FindSetup(TimingApplication &app, const QString &path)
        : session(QFileInfo(path).absolutePath())
    {
        app.timeUntilPainted(nullptr, [this] { window = session.start(); });
        TimingApplication::settle(50);
        idleRss = currentRssMiB();
        box = window->findChild<forms::TextBox *>(QStringLiteral("txtTXT"));
        const int row = fileListRow(window, QFileInfo(path).fileName());
        if (row < 0)
            return;
        const PaintTiming open = app.timeUntilPainted(
            box->viewport(), [this, row] { clickFileListRow(window, row); }, [this] { return box->Length() > 0; });
        if (open.timedOut)
            return;
        TimingApplication::settle(50);
        openRss = currentRssMiB();
        box->setFocus();
        box->SetSelStart(0);
        QTest::keyClick(box, Qt::Key_F, Qt::ControlModifier);
        find = window->findChild<FindWindow *>();
        field = find->findChild<QLineEdit *>(QStringLiteral("findField"));
        status = find->findChild<QLabel *>(QStringLiteral("status"));
        TimingApplication::settle(50);
    }
    bool ok() const { return field && status && box->Length() > 0; }
    // Empties the field and waits until nothing runs.
    void reset(int caret = 0)
    {
        field->clear();
        box->SetSelStart(caret);
        while (find->session()->busy())
            TimingApplication::settle(5);
        TimingApplication::settle(20);
    }
    // Types the pattern in one go; the time until the status line is painted
    // with its final answer.
    PaintTiming countUntilShown(TimingApplication &app, const QString &pattern)
    {
        return app.timeUntilPainted(
            status, [this, pattern] { field->setText(pattern); },
            [this] { return !find->session()->busy() && status->text().startsWith(QStringLiteral("Treffer")); }, 60000);
    }
};

} // namespace

int findScenario(TimingApplication &app, const QString &path)
{
    FindSetup setup(app, path);
    if (!setup.ok())
        return 3;
    const double length = setup.box->Length();
    put("text_length", length);
    put("document_mib", setup.openRss - setup.idleRss);
    const QString word = QStringLiteral("Leuchtturm");

    QList<double> first;
    QList<double> firstHandler;
    QList<double> literal;
    QList<double> literalCpu;
    QList<double> regex;
    QList<double> regexCpu;
    for (int i = 0; i < 3; ++i) {
        setup.reset();
        const PaintTiming shown = app.timeUntilPainted(
            setup.box->viewport(), [&setup, &word] { setup.field->setText(word); },
            [&setup] { return setup.box->selectionEnd() > setup.box->selectionStart(); });
        first << shown.paintedMs;
        firstHandler << shown.actionMs;
        setup.reset();
        const double cpu = processCpuMs();
        literal << setup.countUntilShown(app, word).paintedMs;
        literalCpu << processCpuMs() - cpu;
    }
    std::printf("literal_status=%s\n", qPrintable(setup.status->text()));
    setup.find->findChild<QCheckBox *>(QStringLiteral("regularExpression"))->setChecked(true);
    for (int i = 0; i < 3; ++i) {
        setup.reset();
        const double cpu = processCpuMs();
        regex << setup.countUntilShown(app, QStringLiteral("\\bcol(o|ou)r\\b")).paintedMs;
        regexCpu << processCpuMs() - cpu;
    }
    std::printf("regex_status=%s\n", qPrintable(setup.status->text()));
    setup.find->findChild<QCheckBox *>(QStringLiteral("regularExpression"))->setChecked(false);
    putTimes(QStringLiteral("first_match"), first);
    putTimes(QStringLiteral("first_match_handler"), firstHandler);
    putTimes(QStringLiteral("count_literal"), literal);
    putTimes(QStringLiteral("count_regex"), regex);
    putTimes(QStringLiteral("count_literal_cpu"), literalCpu);
    putTimes(QStringLiteral("count_regex_cpu"), regexCpu);

    setup.reset();
    setup.find->findChild<QLineEdit *>(QStringLiteral("replaceField"))->setText(QStringLiteral("Feuerschiff"));
    setup.countUntilShown(app, word);
    TimingApplication::settle(50);
    resetPeakRss();
    const double before = currentRssMiB();
    auto *replaceAll = setup.find->findChild<QPushButton *>(QStringLiteral("replaceAll"));
    const PaintTiming replaced = app.timeUntilPainted(
        setup.status, [replaceAll] { replaceAll->click(); },
        [&setup] { return setup.status->text().endsWith(QStringLiteral("Stellen ersetzt")); }, 60000);
    put("replace_all_ms", replaced.timedOut ? -1 : replaced.paintedMs);
    put("replace_peak_mib", peakRssSinceResetMiB());
    put("replace_before_mib", before);
    put("idle_mib", setup.idleRss);
    std::printf("replace_status=%s\n", qPrintable(setup.status->text()));
    std::fflush(stdout);
    TimingApplication::settle(50);
    const PaintTiming undone = app.timeUntilPainted(
        setup.box->viewport(), [&setup] { QTest::keyClick(setup.box, Qt::Key_Z, Qt::ControlModifier); },
        [&setup, length] { return setup.box->Length() == int(length); }, 60000);
    put("undo_ms", undone.timedOut ? -1 : undone.paintedMs);
    return replaced.timedOut || undone.timedOut ? 4 : 0;
}

int findNextScenario(TimingApplication &app, const QString &path)
{
    FindSetup setup(app, path);
    if (!setup.ok())
        return 3;
    auto *next = setup.find->findChild<QPushButton *>(QStringLiteral("next"));
    // Near: a word of every rule. Round: the one rule in the middle, from
    // itself round the whole line back to itself.
    const std::pair<const char *, QString> cases[]
        = {{"near", QStringLiteral("Arial")}, {"round", QStringLiteral(".k70000{")}};
    for (const auto &[name, pattern] : cases) {
        setup.reset(setup.box->Length() / 2);
        setup.field->setText(pattern);
        while (setup.find->session()->busy())
            TimingApplication::settle(5);
        QList<double> times;
        for (int i = 0; i < 20; ++i) {
            TimingApplication::settle(10);
            const PaintTiming shown = app.timeUntilPainted(
                setup.box->viewport(), [next] { next->click(); }, [&setup] { return !setup.find->session()->busy(); });
            times << shown.paintedMs;
        }
        putTimes(QStringLiteral("next_%1").arg(QLatin1String(name)), times);
    }
    return 0;
}

} // namespace timing
