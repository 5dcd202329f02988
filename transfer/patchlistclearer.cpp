#include "patchlistclearer.h"

#include "fixturestorechecks.h"

#include "blpmaster.h"

PatchListClearer::PatchListClearer(QObject *parent) : StoreWorker(AbortCancels::Request, parent) {}

void PatchListClearer::run()
{
    m_failure = DeviceFailure();
    if (m_abort) {
        emit aborted();
        return;
    }
    if (!haveMaster())
        return;
    if (m_master->writeData(sizeof m_payload, m_payload, FixtureStore::ClearPatchListCommand, 0)) {
        emit success();
        return;
    }
    if (m_abort) {
        emit aborted();
        return;
    }
    fail(DeviceFailure::of(m_master));
}
