#pragma once

#include "devicefailure.h"

#include <QThread>

#include <atomic>

class BLPMaster;

// Reads the controller's fixture list (command 11) on its own thread. Ends with exactly one
// of receivedData, failed or downloadAborted.
class FixtureListDownloader : public QThread
{
    Q_OBJECT

public:
    static constexpr int ListTimeoutMs = 4000;

    explicit FixtureListDownloader(QObject *parent = nullptr);

    void setMaster(BLPMaster *master) { m_master = master; }
    // Clears the abort flag for the new run here rather than in run(), so that an abort()
    // given between start() and run() is not lost.
    void start(Priority priority = InheritPriority);
    // The store's free slots as the controller reported them with the last list; -1 unknown.
    int freeSlots() const { return m_freeSlots; }
    // After failed(): why. Written on the worker's thread before that signal, read after it.
    const DeviceFailure &failureCause() const { return m_failure; }

signals:
    // data points into this worker's buffer; valid until it runs again or is destroyed.
    void receivedData(void *data, int readLength);
    void failed();
    void downloadAborted();

public slots:
    void abort();

protected:
    void run() override;

private:
    BLPMaster *m_master = nullptr;
    DeviceFailure m_failure;
    QByteArray m_buffer;
    std::atomic<bool> m_abort{false};
    std::atomic<int> m_freeSlots{-1};
};
