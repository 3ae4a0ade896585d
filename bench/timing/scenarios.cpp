#include "bench/timing/scenarios.h"
#include "tests/mainwindowcontrols.h"

#include "bench/timing/barewindow.h"
#include "bench/timing/childrun.h"
#include "bench/timing/clock.h"
#include "bench/timing/editorsession.h"
#include "bench/timing/journaltiming.h"
#include "bench/timing/memory.h"
#include "bench/timing/plainio.h"
#include "bench/timing/stats.h"
#include "bench/timing/timingapplication.h"
#include "forms/commandbutton.h"
#include "forms/filelist.h"
#include "forms/syntaxcolouring.h"
#include "forms/textbox.h"
#include "syntax/filetype.h"
#include "ui/main/frmtextedit.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstdio>

namespace timing {

namespace {

// Per position: stop after this much typing time, so that a slow text box
// cannot stretch the run beyond minutes.
constexpr double typingBudgetMs = 8000;
constexpr int keysPerPosition = 20;

// The text box's length; Length() where the box offers it, else the size of
// Text() (the last assigned text is kept as it was, so that copy is cheap).
qsizetype textLength(const forms::TextBox *box)
{
    if constexpr (requires { box->Length(); })
        return box->Length();
    else
        return box->Text().size();
}

void putMemory(const QString &prefix)
{
    put(prefix + QStringLiteral("_peak_rss_mib"), peakRssMiB());
    put(prefix + QStringLiteral("_rss_mib"), currentRssMiB());
}

// The first paint of a freshly shown window, through the whole frame.
double startupFrame(TimingApplication &app, const std::function<void()> &show, qint64 entryNs, qint64 appReadyNs)
{
    const qint64 before = nowNs();
    const PaintTiming shown = app.timeUntilPainted(nullptr, show);
    const qint64 frameNs = nowNs();
    put("app_ms", msBetween(entryNs, appReadyNs));
    put("create_show_ms", shown.actionMs);
    put("main_to_frame_ms", msBetween(before, frameNs));
    put("entry_to_frame_ms", msBetween(entryNs, frameNs));
    std::printf("frame_ns=%lld\n", static_cast<long long>(frameNs));
    std::fflush(stdout);
    return shown.timedOut ? -1 : 0;
}

// Types at one position `keysPerPosition` times; returns the paint times.
QList<double> typeAt(TimingApplication &app, frmTextEdit *window, qsizetype &length, int &changes,
                     const std::function<qsizetype(qsizetype)> &position)
{
    QList<double> times;
    double spent = 0;
    for (int i = 0; i < keysPerPosition && spent < typingBudgetMs; ++i) {
        txtTXT(window)->SetSelStart(int(position(length)));
        TimingApplication::settle(10);
        changes = 0;
        const PaintTiming typed = app.timeUntilPainted(
            txtTXT(window)->viewport(), [window] { QTest::keyClick(txtTXT(window), Qt::Key_X); },
            [&changes] { return changes > 0; }, 60000);
        if (typed.timedOut)
            break;
        ++length;
        times << typed.paintedMs;
        spent += typed.paintedMs;
    }
    return times;
}

// Runs the event loop until the document's colours have settled; returns
// the time since `startNs`, or NaN after the time-out.
double settledAfter(frmTextEdit *window, qint64 startNs, int timeoutMs = 60000)
{
    const forms::SyntaxColouring *colouring = txtTXT(window)->findChild<forms::SyntaxColouring *>();
    while (!colouring->isSettled()) {
        if (msBetween(startNs, nowNs()) > timeoutMs)
            return std::nan("");
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return msBetween(startNs, nowNs());
}

// Ctrl+End and Ctrl+Home in turn, each until the text box has repainted;
// with colouring, the first Ctrl+End also until the colours have settled.
void measureJumps(TimingApplication &app, frmTextEdit *window, bool colouring)
{
    forms::TextBox *box = txtTXT(window);
    QList<double> toEnd;
    QList<double> toStart;
    box->SetSelStart(0);
    for (int i = 0; i < 5; ++i) {
        TimingApplication::settle(10);
        const qint64 pressed = nowNs();
        const PaintTiming end = app.timeUntilPainted(
            box->viewport(), [box] { QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier); },
            [box] { return box->SelStart() == textLength(box); }, 60000);
        if (colouring && i == 0)
            put("ctrl_end_settled_ms", settledAfter(window, pressed));
        TimingApplication::settle(10);
        const PaintTiming start = app.timeUntilPainted(
            box->viewport(), [box] { QTest::keyClick(box, Qt::Key_Home, Qt::ControlModifier); },
            [box] { return box->SelStart() == 0; }, 60000);
        if (end.timedOut || start.timedOut)
            break;
        toEnd << end.paintedMs;
        toStart << start.paintedMs;
    }
    put("ctrl_end_median_ms", median(toEnd));
    put("ctrl_end_max_ms", maximum(toEnd));
    put("ctrl_home_median_ms", median(toStart));
    put("ctrl_home_max_ms", maximum(toStart));
}

} // namespace

int editorStartup(TimingApplication &app, qint64 entryNs, qint64 appReadyNs, const QString &startFolder)
{
    EditorSession session(startFolder);
    if (!session.isValid())
        return 2;
    const int result = startupFrame(
        app, [&session] { session.start(); }, entryNs, appReadyNs);
    put("window_width", session.window()->width());
    put("window_height", session.window()->height());
    return result;
}

int bareStartup(TimingApplication &app, qint64 entryNs, qint64 appReadyNs, const QSize &size, const QString &folder)
{
    std::unique_ptr<BareWindow> window;
    return startupFrame(
        app,
        [&window, &size, &folder] {
            window = std::make_unique<BareWindow>(size, folder);
            window->show();
        },
        entryNs, appReadyNs);
}

// A keystroke in the middle, once the colours there have settled, until
// they have settled again: what reading on after an edit costs.
void measureRetokenizing(frmTextEdit *window)
{
    forms::TextBox *box = txtTXT(window);
    QList<double> times;
    for (int i = 0; i < 5; ++i) {
        box->SetSelStart(static_cast<int>(textLength(box) / 2));
        settledAfter(window, nowNs());
        TimingApplication::settle(10);
        const qint64 pressed = nowNs();
        QTest::keyClick(box, Qt::Key_X);
        times << settledAfter(window, pressed);
    }
    put("retokenize_median_ms", median(times));
    put("retokenize_max_ms", maximum(times));
}

int documentScenario(TimingApplication &app, const QString &path, bool typing, bool colouring)
{
    const QFileInfo file(path);
    EditorSession session(file.absolutePath(), colouring);
    // Colours to wait for: a coloured language with colouring on.
    const bool coloured = colouring && syntax::languageForFile(path) != syntax::Language::Plain;
    if (!session.isValid())
        return 2;
    app.timeUntilPainted(nullptr, [&session] { session.start(); });
    frmTextEdit *window = session.window();
    TimingApplication::settle(50);
    putMemory(QStringLiteral("idle"));

    const int row = fileListRow(window, file.fileName());
    if (row < 0) {
        std::fprintf(stderr, "%s is not in the file list\n", qPrintable(file.fileName()));
        return 3;
    }
    const PaintTiming open = app.timeUntilPainted(
        txtTXT(window)->viewport(), [window, row] { clickFileListRow(window, row); },
        [window] { return textLength(txtTXT(window)) > 0; });
    if (open.timedOut)
        return 4;
    put("open_handler_ms", open.actionMs);
    put("open_painted_ms", open.paintedMs);
    putMemory(QStringLiteral("open"));
    qsizetype length = textLength(txtTXT(window));
    put("text_length", double(length));

    int changes = 0;
    QObject::connect(txtTXT(window), &forms::TextBox::Change, window, [&changes] { ++changes; });
    txtTXT(window)->setFocus();
    TimingApplication::settle(20);

    if (typing) {
        measureJumps(app, window, coloured);
        const std::pair<const char *, std::function<qsizetype(qsizetype)>> positions[] = {
            {"start", [](qsizetype) { return qsizetype(0); }},
            {"middle", [](qsizetype n) { return n / 2; }},
            {"end", [](qsizetype n) { return n; }},
        };
        for (const auto &[name, position] : positions) {
            const QList<double> times = typeAt(app, window, length, changes, position);
            put(QStringLiteral("key_%1_median_ms").arg(QLatin1String(name)), median(times));
            put(QStringLiteral("key_%1_max_ms").arg(QLatin1String(name)), maximum(times));
            put(QStringLiteral("key_%1_count").arg(QLatin1String(name)), double(times.size()));
        }
        putMemory(QStringLiteral("typed"));
        if (coloured)
            measureRetokenizing(window);
    } else {
        txtTXT(window)->SetSelStart(0);
        QTest::keyClick(txtTXT(window), Qt::Key_X);
    }

    if (typing)
        measureJournal(app, window, session.journalFolder());

    // Save writes synchronously inside the click handler.
    TimingApplication::settle(20);
    if (!cmdSave(window)->Enabled())
        return 5;
    const qint64 beforeSave = nowNs();
    QTest::mouseClick(cmdSave(window), Qt::LeftButton);
    put("save_ms", msBetween(beforeSave, nowNs()));
    if (window->Changed())
        return 5;
    put("saved_bytes", double(QFileInfo(path).size()));
    if (typing) {
        // The window's own look at its save comes and goes first.
        TimingApplication::settle(2500);
        measureReload(app, window, path);
    }

    const PlainIo plain = measurePlainIo(path);
    put("read_ms", plain.readMs);
    put("write_ms", plain.writeMs);
    put("write_fsync_ms", plain.writeSyncMs);
    putMemory(QStringLiteral("end"));
    return plain.ok ? 0 : 6;
}

int listingScenario(TimingApplication &app, const QString &folder, const QString &pattern, int expected)
{
    QTemporaryDir empty;
    if (!empty.isValid())
        return 2;
    EditorSession session(empty.path());
    app.timeUntilPainted(nullptr, [&session] { session.start(); });
    frmTextEdit *window = session.window();
    File2(window)->SetPattern(pattern);
    TimingApplication::settle(50);

    QList<double> setPath;
    QList<double> painted;
    int listed = -1;
    for (int i = 0; i < 3; ++i) {
        File2(window)->SetPath(QDir::toNativeSeparators(empty.path()));
        TimingApplication::settle(30);
        const PaintTiming shown = app.timeUntilPainted(
            File2(window)->viewport(), [window, &folder] { File2(window)->SetPath(QDir::toNativeSeparators(folder)); },
            [window] { return File2(window)->ListCount() > 0; });
        if (shown.timedOut)
            return 4;
        setPath << shown.actionMs;
        painted << shown.paintedMs;
        listed = File2(window)->ListCount();
    }
    put("setpath_ms", median(setPath));
    put("setpath_max_ms", maximum(setPath));
    put("painted_ms", median(painted));
    put("painted_max_ms", maximum(painted));
    put("listed", listed);
    put("expected", expected);
    putMemory(QStringLiteral("listed"));
    return listed == expected ? 0 : 7;
}

} // namespace timing
