#pragma once

#include <QApplication>
#include <QPointer>
#include <functional>

class QEventLoop;

namespace timing {

// How long an action took, and how long until the screen showed its result.
struct PaintTiming
{
    double actionMs = 0;  // the action itself (e.g. until a click handler returned)
    double paintedMs = 0; // until the paint pass that showed the result had finished
    bool timedOut = false;
};

// The application of the timing children: it sees every event that is
// delivered, so it can tell when a widget has finished painting.
class TimingApplication : public QApplication
{
public:
    TimingApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // Runs the action, then the event loop until `widget` (any widget when
    // null) has been painted while `ready` holds (always when empty). The
    // time runs from before the action to the end of that paint pass.
    PaintTiming timeUntilPainted(QWidget *widget, const std::function<void()> &action,
                                 const std::function<bool()> &ready = {}, int timeoutMs = 120000);

    // Runs the event loop for a while, so that pending paints are done
    // before the next measurement.
    static void settle(int ms);

private:
    void paintDelivered(QObject *receiver);

    QPointer<QWidget> m_widget;
    bool m_watchAny = false;
    bool m_watching = false;
    std::function<bool()> m_ready;
    qint64 m_paintedNs = 0;
    QEventLoop *m_loop = nullptr;
};

} // namespace timing
