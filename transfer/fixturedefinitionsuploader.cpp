#include "fixturedefinitionsuploader.h"

#include "devicerecord.h"
#include "fixturestorechecks.h"
#include "storeplan.h"

#include "blpmaster.h"
#include "model/qblfixturedefinition.h"

FixtureDefinitionsUploader::FixtureDefinitionsUploader(QObject *parent)
    : StoreWorker(AbortCancels::Nothing, parent)
{
}

FixtureDefinitionsUploader::~FixtureDefinitionsUploader()
{
    qDeleteAll(m_definitions);
}

void FixtureDefinitionsUploader::connectMaster(BLPMaster *master)
{
    // Direct: the master emits inside writeData on this worker's thread, and a queued call
    // could arrive after the thread has ended.
    connect(master, &BLPMaster::sigTransferred, this, &FixtureDefinitionsUploader::progressCurrent,
            Qt::DirectConnection);
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
    m_candidates.clear();
    m_heldIn.clear();
}

void FixtureDefinitionsUploader::dropHeldDefinitions()
{
    QList<QBLFixtureDefinition *> kept;
    for (int i = 0; i < m_definitions.size(); ++i) {
        if (m_heldIn.value(i, -1) >= 0)
            delete m_definitions.at(i);
        else
            kept.append(m_definitions.at(i));
    }
    m_definitions = kept;
    m_heldIn.clear();
}

bool FixtureDefinitionsUploader::findHeld()
{
    m_heldIn.clear();
    QList<StoredRecord> stored;
    QByteArray buffer(DeviceRecord::RecordSize, '\0');
    for (int slot : m_candidates) {
        if (!FixtureStore::readRecord(m_master, quint16(slot), buffer.data(), &m_failure))
            return false;
        stored.append(StoredRecord{slot, buffer});
    }
    const StorePlan plan = planStore(
        stored, QList<const QBLFixtureDefinition *>(m_definitions.begin(), m_definitions.end()),
        -1);
    if (plan.toWrite < m_definitions.size())
        m_heldIn = plan.heldIn;
    return true;
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

void FixtureDefinitionsUploader::run()
{
    m_sent = 0;
    m_freeSlots = -1;
    const int n = int(m_definitions.size());
    if (!beginRun(this, n, &FixtureDefinitionsUploader::dataSent))
        return;
    if (!m_candidates.isEmpty()) {
        if (!findHeld()) {
            emit failed();
            return;
        }
        if (!m_heldIn.isEmpty()) {
            emit alreadyHeld();
            return;
        }
    }
    const FixtureStore::DeviceStatus status = FixtureStore::queryDeviceStatus(m_master, n);
    m_freeSlots = status.freeSlots;
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
            emit aborted();
            return;
        }
        if (!m_master->writeData(quint32(m_record.size()), m_record.constData(),
                                 FixtureStore::RecordCommand, 0)) {
            fail(DeviceFailure::of(m_master));
            return;
        }
        m_sent = k;
        emit progressTotal(m_progressEnd);
        m_progressStart = m_progressEnd.load();
        m_progressEnd = uint(100 * (k + 1) / n);
    }
    emit dataSent();
}
