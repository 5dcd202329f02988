#pragma once

#include "devicefailure.h"

#include <QThread>

#include <atomic>

class BLPMaster;

// What the fixture store workers share: the master they talk through, the abort flag polled
// between requests, and why the last run failed. Each run happens on the worker's own thread.
class StoreWorker : public QThread
{
    Q_OBJECT

public:
    // The master, unless it is the one already set; connectMaster() adds what the worker
    // needs of it.
    void setMaster(BLPMaster *master);
    // Clears the abort flag for the new run here rather than in run(), so that an abort()
    // given between start() and run() is not lost.
    void start(Priority priority = InheritPriority);
    // After failed(): why. Written on the worker's thread before that signal, read after it.
    const DeviceFailure &failureCause() const { return m_failure; }

signals:
    void failed();

public slots:
    void abort();

protected:
    // Whether abort() also cancels the master's running request, or lets it end.
    enum class AbortCancels { Request, Nothing };

    explicit StoreWorker(AbortCancels abortCancels, QObject *parent = nullptr);

    // Called with the new master (never null) after the old one was disconnected.
    virtual void connectMaster(BLPMaster *) {}

    // Ends the run: keeps the reason and emits failed(). Returns false, for `return fail(..)`.
    bool fail(const DeviceFailure &why);
    // False, after failed(), when no master was set.
    bool haveMaster();
    // False, after failed(), when no master was set or it does not lead to the controller.
    bool haveController();
    // The opening of a worker's run over items: the last failure forgotten, then an abort
    // given before the run (aborted), nothing to do (progress 100, then done), or no
    // controller (failed). True when the run goes on.
    template <typename Worker>
    bool beginRun(Worker *worker, qsizetype items, void (Worker::*done)())
    {
        m_failure = DeviceFailure();
        if (m_abort) {
            emit worker->aborted();
            return false;
        }
        if (items == 0) {
            emit worker->progressTotal(100);
            (worker->*done)(); // a signal
            return false;
        }
        return haveController();
    }

    BLPMaster *m_master = nullptr;
    DeviceFailure m_failure;
    std::atomic<bool> m_abort{false};

private:
    const AbortCancels m_abortCancels;
};
