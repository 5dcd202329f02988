#include "fixturedefinitionsuploader.h"

#include "devicerecord.h"
#include "fixturestorechecks.h"

#include "blpmaster.h"
#include "model/qblfixturedefinition.h"

FixtureDefinitionsUploader::FixtureDefinitionsUploader(QObject *parent) : QThread(parent) {}

FixtureDefinitionsUploader::~FixtureDefinitionsUploader()
{
    qDeleteAll(m_definitions);
}

void FixtureDefinitionsUploader::setMaster(BLPMaster *master)
{
    if (master == m_master)
        return;
    if (m_master)
        disconnect(m_master, nullptr, this, nullptr);
    m_master = master;
    // Direct: the master emits inside writeData on this worker's thread, and a queued call
    // could arrive after the thread has ended.
    if (m_master)
        connect(m_master, &BLPMaster::sigTransferred, this,
                &FixtureDefinitionsUploader::progressCurrent, Qt::DirectConnection);
}

void FixtureDefinitionsUploader::addDefinition(const QBLFixtureDefinition &definition)
{
    auto *copy = new QBLFixtureDefinition;
    *copy = definition;
    m_definitions.append(copy);
}

void FixtureDefinitionsUploader::clearDefinitions()
{
    qDeleteAll(m_definitions);
    m_definitions.clear();
}

uint FixtureDefinitionsUploader::mapProgress(uint start, uint end, uint percents)
{
    const float total = float(start) + float(percents) * (float(end) - float(start)) / 100.0f;
    return uint(total);
}

void FixtureDefinitionsUploader::progressCurrent(uint percents)
{
    // Writes of other users of the master (and queued echoes) are not this job's.
    if (QThread::currentThread() != this)
        return;
    emit progressTotal(mapProgress(m_progressStart, m_progressEnd, percents));
}

void FixtureDefinitionsUploader::abort()
{
    m_abort = true;
}

void FixtureDefinitionsUploader::run()
{
    m_abort = false;
    const int n = int(m_definitions.size());
    if (n == 0) {
        emit progressTotal(100);
        emit dataSent();
        return;
    }
    if (!m_master || !FixtureStore::checkDevice(m_master)) {
        emit failed();
        return;
    }
    const FixtureStore::DeviceStatus status = FixtureStore::queryDeviceStatus(m_master, n);
    if (!status.enoughSpace) {
        emit failedNotEnoughFreeSpace();
        return;
    }
    if (status.patchListNeedsClearing) {
        emit failedPatchingNeedsToBeCleared();
        return;
    }
    for (const QBLFixtureDefinition *definition : m_definitions) {
        const int channels = definition->nbrOfChannels();
        if (channels < MinChannels || channels > MaxChannels) {
            emit failedTooManyOrNotEnoughChannels();
            return;
        }
    }

    m_progressStart = 0;
    m_progressEnd = uint(100 / n);
    for (int k = 1; k <= n; ++k) {
        m_record = encodeDeviceRecord(*m_definitions.at(k - 1));
        if (m_abort) {
            emit failed();
            return;
        }
        if (!m_master->writeData(quint32(m_record.size()), m_record.constData(),
                                 FixtureStore::RecordCommand, 0)) {
            emit failed();
            return;
        }
        emit progressTotal(m_progressEnd);
        m_progressStart = m_progressEnd.load();
        m_progressEnd = uint(100 * (k + 1) / n);
    }
    emit dataSent();
}
