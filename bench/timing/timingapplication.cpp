#include "bench/timing/timingapplication.h"

#include "bench/timing/clock.h"

#include <QEventLoop>
#include <QTimer>
#include <QWidget>

namespace timing {

TimingApplication::TimingApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool TimingApplication::notify(QObject *receiver, QEvent *event)
{
    const bool paint = event->type() == QEvent::Paint;
    const bool result = QApplication::notify(receiver, event);
    if (paint && m_watching)
        paintDelivered(receiver);
    return result;
}

void TimingApplication::paintDelivered(QObject *receiver)
{
    if (!m_watchAny && receiver != static_cast<QObject *>(m_widget.data()))
        return;
    if (m_ready && !m_ready())
        return;
    m_watching = false;
    m_paintedNs = nowNs();
    // The loop ends once the whole paint pass (and its flush) is over.
    if (m_loop)
        m_loop->quit();
}

PaintTiming TimingApplication::timeUntilPainted(QWidget *widget, const std::function<void()> &action,
                                                const std::function<bool()> &ready, int timeoutMs)
{
    PaintTiming timing;
    m_widget = widget;
    m_watchAny = widget == nullptr;
    m_ready = ready;
    m_paintedNs = 0;
    m_watching = true;

    const qint64 start = nowNs();
    action();
    const qint64 actionEnd = nowNs();
    timing.actionMs = msBetween(start, actionEnd);

    if (m_watching) {
        QEventLoop loop;
        QTimer timeout;
        timeout.setSingleShot(true);
        QObject::connect(&timeout, &QTimer::timeout, &loop, [&loop, &timing] {
            timing.timedOut = true;
            loop.quit();
        });
        timeout.start(timeoutMs);
        m_loop = &loop;
        loop.exec();
        m_loop = nullptr;
        timing.paintedMs = msBetween(start, nowNs());
    } else {
        // Painted inside the action (it ran the event loop itself).
        timing.paintedMs = msBetween(start, m_paintedNs);
    }
    m_watching = false;
    m_ready = {};
    return timing;
}

void TimingApplication::settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace timing
