#include "fixturelistdownloader.h"

#include "devicerecord.h"
#include "fixturestorechecks.h"

#include "blpmaster.h"
#include "devicelink.h"

FixtureListDownloader::FixtureListDownloader(QObject *parent)
    : StoreWorker(AbortCancels::Request, parent),
      m_buffer(DeviceRecord::FixtureListBufferSize, '\0')
{
}

void FixtureListDownloader::run()
{
    m_freeSlots = -1;
    m_failure = DeviceFailure();
    if (!haveMaster())
        return;
    if (m_abort) {
        emit downloadAborted();
        return;
    }
    bool checked = false;
    {
        const ScopedAnswerTimeout timeout(m_master, ListTimeoutMs);
        checked = FixtureStore::checkDevice(m_master, &m_failure);
    }
    // The information request takes no cancel, and the list read drops one given before it.
    if (m_abort) {
        emit downloadAborted();
        return;
    }
    if (!checked) {
        emit failed();
        return;
    }

    int received = 0;
    bool ok = false;
    {
        const ScopedAnswerTimeout timeout(m_master, ListTimeoutMs);
        ok = m_master->readData(DeviceRecord::FixtureListBufferSize, m_buffer.data(), received,
                                FixtureStore::ListCommand, 0);
        if (!ok)
            m_failure = DeviceFailure::of(m_master);
    }
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
