#pragma once

#include "storeworker.h"

#include <QList>

class QBLRemoteFixtureDefinition;

// Deletes the records of chosen slots (command 13), one request per slot. Ends with exactly
// one of fixturesDeleted, failed, aborted or failedPatchingNeedsToBeCleared.
class FixturesDeleter : public StoreWorker
{
    Q_OBJECT

public:
    explicit FixturesDeleter(QObject *parent = nullptr);

    // Not copied: the rows must outlive the run.
    void addTarget(QBLRemoteFixtureDefinition *target) { m_targets.append(target); }
    void clearTargets() { m_targets.clear(); }
    int targetCount() const { return int(m_targets.size()); }
    // The slots the last run deleted.
    int deletedCount() const { return m_deleted; }

signals:
    void fixturesDeleted();
    // abort() took effect after the running request.
    void aborted();
    void progressTotal(uint percents);
    void failedPatchingNeedsToBeCleared();

protected:
    void run() override;

private:
    QList<QBLRemoteFixtureDefinition *> m_targets;
    std::atomic<int> m_deleted{0};
};
