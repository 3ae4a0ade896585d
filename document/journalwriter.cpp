#include "document/journalwriter.h"

#include <QSemaphore>
#include <QThread>

namespace document {

JournalWriter::JournalWriter()
    : m_thread(std::make_unique<QThread>())
    , m_worker(std::make_unique<QObject>())
{
    m_thread->setObjectName(QStringLiteral("journal writer"));
    m_worker->moveToThread(m_thread.get());
    m_thread->start();
}

JournalWriter::~JournalWriter()
{
    waitIdle();
    m_thread->quit();
    m_thread->wait();
}

void JournalWriter::post(std::function<void()> work)
{
    QMetaObject::invokeMethod(m_worker.get(), std::move(work), Qt::QueuedConnection);
}

void JournalWriter::waitIdle()
{
    QSemaphore done;
    post([&done] { done.release(); });
    done.acquire();
}

} // namespace document
