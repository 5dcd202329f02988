#include "fixturelistdownloader.h"

#include "devicerecord.h"
#include "fixturestorechecks.h"

#include "blpmaster.h"

FixtureListDownloader::FixtureListDownloader(QObject *parent)
    : QThread(parent), m_buffer(DeviceRecord::FixtureListBufferSize, '\0')
{
}

void FixtureListDownloader::start(Priority priority)
{
    m_abort = false;
    QThread::start(priority);
}

void FixtureListDownloader::abort()
{
    m_abort = true;
    if (isRunning() && m_master)
        m_master->cancel();
}

void FixtureListDownloader::run()
{
    m_freeSlots = -1;
    if (!m_master) {
        emit failed();
        return;
    }
    if (m_abort) {
        emit downloadAborted();
        return;
    }
    const int savedTimeout = m_master->responseTimeout();
    m_master->setResponseTimeout(ListTimeoutMs);
    QString name;
    int softwareVersion = 0;
    int hardwareVersion = 0;
    const bool answered = m_master->readDeviceInfo(name, softwareVersion, hardwareVersion);
    m_master->setResponseTimeout(savedTimeout);
    // The information request takes no cancel, and the list read drops one given before it.
    if (m_abort) {
        emit downloadAborted();
        return;
    }
    if (!answered || name != QLatin1String(FixtureStore::DeviceName) ||
        softwareVersion < FixtureStore::MinSoftwareVersion) {
        emit failed();
        return;
    }

    m_master->setResponseTimeout(ListTimeoutMs);
    int received = 0;
    const bool ok = m_master->readData(DeviceRecord::FixtureListBufferSize, m_buffer.data(),
                                       received, FixtureStore::ListCommand, 0);
    m_master->setResponseTimeout(savedTimeout);
    // The store's use is shown beside the list; asked only when the list came.
    if (ok && !m_abort)
        m_freeSlots = FixtureStore::queryDeviceStatus(m_master, 0).freeSlots;
    if (ok)
        emit receivedData(m_buffer.data(), received);
    else if (m_abort)
        emit downloadAborted();
    else
        emit failed();
}
