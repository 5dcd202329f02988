#include "patchlistclearer.h"

#include "fixturestorechecks.h"

#include "blpmaster.h"

PatchListClearer::PatchListClearer(QObject *parent) : QThread(parent) {}

void PatchListClearer::abort()
{
    if (!isRunning() || !m_master)
        return;
    m_abort = true;
    m_master->cancel();
}

void PatchListClearer::run()
{
    m_abort = false;
    m_failure = DeviceFailure();
    if (!m_master) {
        m_failure = DeviceFailure::withStatus(BLPMaster::LinkStatus::InvalidRequest);
        emit failed();
        return;
    }
    if (m_master->writeData(sizeof m_payload, m_payload, FixtureStore::ClearPatchListCommand, 0)) {
        emit success();
        return;
    }
    if (m_abort) {
        emit aborted();
        return;
    }
    m_failure = DeviceFailure::of(m_master);
    emit failed();
}
