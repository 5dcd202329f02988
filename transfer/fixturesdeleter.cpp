#include "fixturesdeleter.h"

#include "fixturestorechecks.h"
#include "qblremotefixturedefinition.h"

#include "blpmaster.h"

FixturesDeleter::FixturesDeleter(QObject *parent) : StoreWorker(AbortCancels::Nothing, parent) {}

void FixturesDeleter::run()
{
    m_deleted = 0;
    const int n = int(m_targets.size());
    if (!beginRun(this, n, &FixturesDeleter::fixturesDeleted))
        return;
    if (FixtureStore::queryDeviceStatus(m_master, 0).patchListNeedsClearing) {
        emit failedPatchingNeedsToBeCleared();
        return;
    }
    if (m_abort) {
        emit aborted();
        return;
    }
    for (int k = 1; k <= n; ++k) {
        // The answer's content carries nothing the deletion needs.
        char answer[4];
        int received = 0;
        const bool ok = m_master->readData(4, answer, received, FixtureStore::DeleteCommand,
                                           m_targets.at(k - 1)->slotNumber());
        if (!ok) {
            fail(DeviceFailure::of(m_master));
            return;
        }
        m_deleted = k;
        if (m_abort && k < n) {
            emit aborted();
            return;
        }
        emit progressTotal(uint(100 * k / n));
    }
    emit fixturesDeleted();
}
