#pragma once

#include <QThread>

#include <atomic>

// Waits for the end of a thread's runs so that a test may reuse what a run touched.
// QThread::wait() hands over inside the Qt libraries, where ThreadSanitizer sees no
// ordering, so stack memory a run read and the test later reused looked raced. The
// finished signal, sent from the thread once run() has returned, makes the hand-over
// visible: a release there, an acquire after wait(). Attach before start().
class ThreadEnd
{
public:
    explicit ThreadEnd(QThread *thread) : m_thread(thread)
    {
        m_connection = QObject::connect(
            thread, &QThread::finished, thread,
            [this] { m_runs.fetch_add(1, std::memory_order_release); }, Qt::DirectConnection);
    }
    ~ThreadEnd() { QObject::disconnect(m_connection); }
    ThreadEnd(const ThreadEnd &) = delete;
    ThreadEnd &operator=(const ThreadEnd &) = delete;

    // True once the thread has ended; false if it still runs after timeoutMs.
    bool wait(unsigned long timeoutMs)
    {
        if (!m_thread->wait(timeoutMs))
            return false;
        m_runs.load(std::memory_order_acquire);
        return true;
    }

private:
    QThread *m_thread;
    QMetaObject::Connection m_connection;
    std::atomic<int> m_runs{0};
};
