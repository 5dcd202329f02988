#pragma once

#include "devicefailure.h"

#include <QThread>

#include <atomic>

class BLPMaster;

// Erases the controller's patch list (command 15), which must be empty before definitions may
// be stored or deleted. Makes no device check of its own. Ends with exactly one of success,
// failed or aborted.
class PatchListClearer : public QThread
{
    Q_OBJECT

public:
    explicit PatchListClearer(QObject *parent = nullptr);

    void setMaster(BLPMaster *master) { m_master = master; }
    // After failed(): why. Written on the worker's thread before that signal, read after it.
    const DeviceFailure &failureCause() const { return m_failure; }
    // Clears the abort flag for the new run here rather than in run(), so that an abort()
    // given between start() and run() is not lost.
    void start(Priority priority = InheritPriority);

signals:
    void success();
    void failed();
    void aborted();

public slots:
    void abort();

protected:
    void run() override;

private:
    BLPMaster *m_master = nullptr;
    DeviceFailure m_failure;
    char m_payload[2] = {0, 0};
    std::atomic<bool> m_abort{false};
};
