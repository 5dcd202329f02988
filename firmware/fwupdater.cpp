#include "fwupdater.h"

#include "firmwarefile.h"

#include "blpmaster.h"
#include "blpmphyusb.h"
#include "blpprotocol.h"
#include "devicelink.h"

namespace
{

constexpr quint8 HeaderCommand = BLPCommand::FirmwareHeader;
constexpr quint8 SectorCommand = BLPCommand::FirmwareSector;
constexpr const char *DeviceName = BLPDevice::ControllerName;

} // namespace

FwUpdater::FwUpdater(QObject *parent) : QThread(parent) {}

void FwUpdater::setLink(BLPMaster *master, BLPmPhyUSB *phy)
{
    if (master != m_master) {
        if (m_master)
            disconnect(m_master, nullptr, this, nullptr);
        // Direct: the master emits inside writeData on the updater's thread, in order; a
        // queued call could arrive after the run and be dropped.
        if (master)
            connect(master, &BLPMaster::sigTransferred, this, &FwUpdater::onProgress,
                    Qt::DirectConnection);
    }
    m_master = master;
    m_phy = phy;
}

void FwUpdater::onProgress(uint prog)
{
    if (QThread::currentThread() != this || !m_file)
        return;
    const int totalSize = m_file->totalSize();
    if (totalSize <= 0)
        return;
    int blockLength = FirmwareFile::HeaderBlockSize;
    if (m_blockInProgress >= 0)
        blockLength = int(m_file->sector(m_blockInProgress).size());
    if (blockLength <= 0)
        blockLength = 1;
    emit progress(int((qint64(prog) * blockLength / 100 + m_bytesDone) * 100 / totalSize));
    if (prog == 100) {
        m_bytesDone += blockLength;
        ++m_blockInProgress;
    }
}

void FwUpdater::run()
{
    m_bytesDone = 0;
    m_blockInProgress = -1;
    const int deviceIndex = m_deviceIndex;
    m_failure = DeviceFailure();
    m_wrongDevice.store(false);
    if (!m_master || !m_phy || !m_file || deviceIndex == -1 || !m_file->isValid()) {
        m_failure = DeviceFailure::withStatus(BLPMaster::LinkStatus::InvalidRequest);
        emit failed();
        return;
    }
    bool ok = false;
    {
        const ScopedAnswerTimeout timeout(m_master, UpdateTimeoutMs);
        DeviceLink::switchDevice(m_master, m_phy, deviceIndex);
        ok = writeAll();
    }
    if (ok)
        emit success();
    else
        emit failed();
}

// True on success, and also when only the final segment of the last sector went
// unanswered: the controller restarts into the new firmware before it acknowledges. An error
// status, or silence on an earlier segment, is a failure.
bool FwUpdater::writeAll()
{
    QString name;
    int softwareVersion = 0;
    int hardwareVersion = 0;
    if (!m_master->readDeviceInfo(name, softwareVersion, hardwareVersion)) {
        m_failure = DeviceFailure::of(m_master);
        return false;
    }
    if (name != QLatin1String(DeviceName)) {
        m_failure = DeviceFailure::refused();
        m_wrongDevice.store(true);
        return false;
    }

    const QByteArrayView header = m_file->headerBlock();
    if (header.isNull()) {
        m_failure = DeviceFailure::withStatus(BLPMaster::LinkStatus::InvalidRequest);
        return false;
    }
    if (!m_master->writeData(quint32(header.size()), header.data(), HeaderCommand, 0)) {
        m_failure = DeviceFailure::of(m_master);
        return false;
    }

    const int count = m_file->sectorCount();
    for (int i = 0; i < count; ++i) {
        const QByteArrayView sector = m_file->sector(i);
        if (sector.isNull() || sector.isEmpty()) {
            m_failure = DeviceFailure::withStatus(BLPMaster::LinkStatus::InvalidRequest);
            return false;
        }
        if (!m_master->writeData(quint32(sector.size()), sector.data(), SectorCommand,
                                 quint16(i))) {
            const BLPMaster::LinkStatus status = m_master->lastStatus();
            const bool unanswered = status == BLPMaster::LinkStatus::TimedOut ||
                                    status == BLPMaster::LinkStatus::LinkLost;
            if (i == count - 1 && unanswered && m_master->lastFailureOnFinalSegment())
                return true;
            m_failure = DeviceFailure::of(m_master);
            return false;
        }
    }
    return true;
}
