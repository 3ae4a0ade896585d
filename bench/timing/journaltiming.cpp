#include "bench/timing/journaltiming.h"

#include "bench/timing/childrun.h"
#include "bench/timing/clock.h"
#include "bench/timing/stats.h"
#include "bench/timing/timingapplication.h"
#include "tests/mainwindowcontrols.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

namespace timing {

namespace {

qint64 journalBytes(const QString &folder)
{
    qint64 bytes = 0;
    for (const QFileInfo &file : QDir(folder).entryInfoList({QStringLiteral("*.journal")}, QDir::Files))
        bytes += file.size();
    return bytes;
}

} // namespace

void measureJournal(TimingApplication &app, frmTextEdit *window, const QString &journalFolder)
{
    Q_UNUSED(app);
    forms::TextBox *box = txtTXT(window);
    QList<double> stalls;
    QList<double> toDisk;
    for (int i = 0; i < 8; ++i) {
        box->SetSelStart(box->Length() / 2);
        const qint64 before = journalBytes(journalFolder);
        QTest::keyClick(box, Qt::Key_Y);
        const qint64 typed = nowNs();
        // A timer of 1 ms shows how long the event loop was held up.
        double longest = 0;
        qint64 last = nowNs();
        QEventLoop loop;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
            const qint64 now = nowNs();
            longest = std::max(longest, msBetween(last, now));
            last = now;
            if (journalBytes(journalFolder) > before || msBetween(typed, now) > 10000)
                loop.quit();
        });
        tick.start(1);
        loop.exec();
        stalls << longest;
        toDisk << msBetween(typed, nowNs());
    }
    put("journal_ui_median_ms", median(stalls));
    put("journal_ui_max_ms", maximum(stalls));
    put("journal_disk_median_ms", median(toDisk));
    put("journal_disk_max_ms", maximum(toDisk));
}

void measureReload(TimingApplication &app, frmTextEdit *window, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QByteArray bytes = file.readAll();
    file.close();
    if (bytes.isEmpty())
        return;
    bytes[0] = bytes[0] == 'R' ? 'r' : 'R';
    const QChar first = QChar::fromLatin1(bytes[0]);
    forms::TextBox *box = txtTXT(window);
    qint64 written = 0;
    const PaintTiming reload = app.timeUntilPainted(
        box->viewport(),
        [&] {
            QFile out(path);
            if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
                out.write(bytes);
            out.close();
            written = nowNs();
        },
        [box, first] { return box->Length() > 0 && box->content().at(0) == first; }, 60000);
    if (!reload.timedOut)
        put("reload_ms", reload.paintedMs - reload.actionMs);
}

} // namespace timing
