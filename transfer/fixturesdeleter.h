#pragma once

#include "devicefailure.h"

#include <QList>
#include <QThread>

#include <atomic>

class BLPMaster;
class QBLRemoteFixtureDefinition;

// Deletes the records of chosen slots (command 13), one request per slot. Ends with exactly
// one of fixturesDeleted, failed, aborted or failedPatchingNeedsToBeCleared.
class FixturesDeleter : public QThread
{
    Q_OBJECT

public:
    explicit FixturesDeleter(QObject *parent = nullptr);

    void setMaster(BLPMaster *master) { m_master = master; }
    // Clears the abort flag for the new run here rather than in run(), so that an abort()
    // given between start() and run() is not lost.
    void start(Priority priority = InheritPriority);
    // Not copied: the rows must outlive the run.
    void addTarget(QBLRemoteFixtureDefinition *target) { m_targets.append(target); }
    void clearTargets() { m_targets.clear(); }
    int targetCount() const { return int(m_targets.size()); }
    // The slots the last run deleted.
    int deletedCount() const { return m_deleted; }
    // After failed(): why. Written on the worker's thread before that signal, read after it.
    const DeviceFailure &failureCause() const { return m_failure; }

signals:
    void fixturesDeleted();
    void failed();
    // abort() took effect after the running request.
    void aborted();
    void progressTotal(uint percents);
    void failedPatchingNeedsToBeCleared();

public slots:
    void abort() { m_abort = true; }

protected:
    void run() override;

private:
    QList<QBLRemoteFixtureDefinition *> m_targets;
    BLPMaster *m_master = nullptr;
    DeviceFailure m_failure;
    std::atomic<bool> m_abort{false};
    std::atomic<int> m_deleted{0};
};
