#include "fixturedefinitionsdownloader.h"

#include "devicerecord.h"
#include "fixturestorechecks.h"
#include "qblremotefixturedefinition.h"

#include "blpmaster.h"
#include "model/qblfixturedefinition.h"

FixtureDefinitionsDownloader::FixtureDefinitionsDownloader(QObject *parent)
    : StoreWorker(AbortCancels::Request, parent), m_buffer(DeviceRecord::RecordSize, '\0')
{
}

FixtureDefinitionsDownloader::~FixtureDefinitionsDownloader()
{
    qDeleteAll(m_requested);
    qDeleteAll(m_downloaded);
}

void FixtureDefinitionsDownloader::connectMaster(BLPMaster *master)
{
    // Direct: the master emits inside readData on this worker's thread; a queued call could
    // arrive after the thread has ended and be dropped.
    connect(master, &BLPMaster::sigReceived, this, &FixtureDefinitionsDownloader::received,
            Qt::DirectConnection);
}

void FixtureDefinitionsDownloader::addDefinition(const QBLRemoteFixtureDefinition &entry)
{
    auto *copy = new QBLRemoteFixtureDefinition;
    *copy = entry;
    m_requested.append(copy);
}

void FixtureDefinitionsDownloader::clearDefinitions()
{
    qDeleteAll(m_requested);
    m_requested.clear();
}

QList<QBLFixtureDefinition *> FixtureDefinitionsDownloader::takeDownloadedDefinitions()
{
    QList<QBLFixtureDefinition *> taken;
    taken.swap(m_downloaded);
    return taken;
}

uint FixtureDefinitionsDownloader::itemPercent(uint nBytes)
{
    if (nBytes == ReadEnded || nBytes >= BytesPerItemProgress)
        return 100;
    return nBytes * 100 / BytesPerItemProgress;
}

void FixtureDefinitionsDownloader::received(uint nBytes)
{
    // Reads of other users of the master are not this job's.
    if (QThread::currentThread() != this)
        return;
    const uint p = itemPercent(nBytes);
    const uint start = m_progressStart;
    const uint end = m_progressEnd;
    emit progressCurrent(p);
    emit progressTotal(start + (end - start) * p / 100);
}

void FixtureDefinitionsDownloader::clearDownloaded()
{
    qDeleteAll(m_downloaded);
    m_downloaded.clear();
}

void FixtureDefinitionsDownloader::run()
{
    m_failure = DeviceFailure();
    if (m_abort) {
        clearDownloaded();
        emit aborted();
        return;
    }
    const int n = int(m_requested.size());
    if (n == 0) {
        clearDownloaded();
        emit progressTotal(100);
        emit fixturesDownloaded();
        return;
    }
    if (!haveController())
        return;
    clearDownloaded();

    m_progressStart = 0;
    m_progressEnd = uint(100 / n);
    emit progressTotal(0);
    for (int k = 1; k <= n; ++k) {
        // Looked at before each read too: a read clears the master's cancel as it starts.
        if (m_abort) {
            emit aborted();
            return;
        }
        DeviceFailure why;
        const bool ok = FixtureStore::readRecord(m_master, m_requested.at(k - 1)->slotNumber(),
                                                 m_buffer.data(), &why);
        if (m_abort) {
            emit aborted();
            return;
        }
        if (!ok) {
            fail(why);
            return;
        }
        auto *definition = new QBLFixtureDefinition;
        decodeDeviceRecord(QByteArrayView(m_buffer.constData(), m_buffer.size()), *definition);
        m_downloaded.append(definition);
        m_progressStart = uint(100 * k / n);
        m_progressEnd = uint(100 * (k + 1) / n);
        emit progressTotal(m_progressStart);
    }
    emit fixturesDownloaded();
}
