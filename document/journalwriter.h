#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QThread;

namespace document {

// A thread of its own for the journals' disk work (copies of base files,
// appends, syncs), so that typing never waits for the disk. Work runs in
// the order it was posted.
class JournalWriter
{
public:
    JournalWriter();
    ~JournalWriter();
    JournalWriter(const JournalWriter &) = delete;
    JournalWriter &operator=(const JournalWriter &) = delete;

    void post(std::function<void()> work);
    // Returns once everything posted before has run.
    void waitIdle();

private:
    std::unique_ptr<QThread> m_thread;
    std::unique_ptr<QObject> m_worker;
};

} // namespace document
