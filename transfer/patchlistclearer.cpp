#include "patchlistclearer.h"

#include "fixturestorechecks.h"

#include "blpmaster.h"

PatchListClearer::PatchListClearer(QObject *parent) : QThread(parent) {}

void PatchListClearer::start(Priority priority)
{
    m_abort = false;
    QThread::start(priority);
}

void PatchListClearer::abort()
{
    m_abort = true;
    if (isRunning() && m_master)
        m_master->cancel();
}

void PatchListClearer::run()
{
    m_failure = DeviceFailure();
    if (m_abort) {
        emit aborted();
        return;
    }
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
