#include "storeworker.h"

#include "fixturestorechecks.h"

#include "blpmaster.h"

StoreWorker::StoreWorker(AbortCancels abortCancels, QObject *parent)
    : QThread(parent), m_abortCancels(abortCancels)
{
}

void StoreWorker::setMaster(BLPMaster *master)
{
    if (master == m_master)
        return;
    if (m_master)
        disconnect(m_master, nullptr, this, nullptr);
    m_master = master;
    if (m_master)
        connectMaster(m_master);
}

void StoreWorker::start(Priority priority)
{
    m_abort = false;
    QThread::start(priority);
}

void StoreWorker::abort()
{
    m_abort = true;
    if (m_abortCancels == AbortCancels::Request && isRunning() && m_master)
        m_master->cancel();
}

bool StoreWorker::fail(const DeviceFailure &why)
{
    m_failure = why;
    emit failed();
    return false;
}

bool StoreWorker::haveMaster()
{
    if (m_master)
        return true;
    return fail(DeviceFailure::withStatus(BLPMaster::LinkStatus::InvalidRequest));
}

bool StoreWorker::haveController()
{
    if (!haveMaster())
        return false;
    if (FixtureStore::checkDevice(m_master, &m_failure))
        return true;
    emit failed();
    return false;
}
