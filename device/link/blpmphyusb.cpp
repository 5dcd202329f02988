#include "blpmphyusb.h"

#include "blpmaster.h"

#include <QMutexLocker>

#include <cstring>
#include <vector>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

namespace
{

// A count beyond this is a driver fault, not a bus.
constexpr quint32 kMaxListedDevices = 4096;

constexpr unsigned long kBriskSleepUs = 40;
constexpr unsigned long kLongestIdleSleepUs = 8000;  // with no master to wake the reader
constexpr unsigned long kMasterIdleSleepUs = 100000; // the master wakes the reader for answers
constexpr unsigned long kAfterFailureSleepUs = 100;

} // namespace

BLPmPhyUSB::BLPmPhyUSB(QObject *parent) : BLPmPhy(parent) {}

BLPmPhyUSB::~BLPmPhyUSB()
{
    disconnectDevice();
}

void BLPmPhyUSB::setLastError(const QString &text, FtdiStatus driverStatus)
{
    if (driverStatus != FtdiDriver::Ok)
        m_lastDriverStatus.store(driverStatus);
    QMutexLocker locker(&m_mutex);
    m_lastError = text;
}

QString BLPmPhyUSB::lastError() const
{
    QMutexLocker locker(&m_mutex);
    return m_lastError;
}

QMap<int, QString> BLPmPhyUSB::deviceMap() const
{
    QMutexLocker locker(&m_mutex);
    return m_deviceMap;
}

QMap<int, QString> BLPmPhyUSB::listDevices()
{
    QMap<int, QString> map;
    FtdiDriver *driver = FtdiDriver::current();
    quint32 count = 0;
    const FtdiStatus listed = driver ? driver->createDeviceInfoList(&count) : FtdiDriver::Ok;
    m_listFailed.store(listed != FtdiDriver::Ok);
    if (listed != FtdiDriver::Ok) {
        setLastError(tr("Failed to list devices."), listed);
    } else if (count == 0) {
        setLastError(tr("No device found."));
    } else if (count > kMaxListedDevices) {
        setLastError(tr("Failed to list devices."));
    } else {
        std::vector<uchar> nodes(size_t(count) * FtdiDriver::NodeSize, 0);
        quint32 filled = count;
        if (const FtdiStatus status = driver->getDeviceInfoList(nodes.data(), &filled);
            status != FtdiDriver::Ok) {
            m_listFailed.store(true);
            setLastError(tr("Failed to list devices."), status);
        } else {
            int number = 0;
            for (quint32 i = 0; i < qMin(filled, count); ++i) {
                const uchar *description = nodes.data() + size_t(i) * FtdiDriver::NodeSize +
                                           FtdiDriver::NodeDescriptionOffset;
                if (std::memcmp(description, BLPDevice::DeviceDescription, sizeof BLPDevice::DeviceDescription) == 0)
                    map.insert(int(i), tr("USB Device %1").arg(++number));
                else if (std::memcmp(description, BLPDevice::DongleDescription, sizeof BLPDevice::DongleDescription) ==
                         0)
                    map.insert(int(i), tr("USB Dongle %1").arg(++number));
            }
        }
    }
    QMutexLocker locker(&m_mutex);
    m_deviceMap = map;
    return map;
}

bool BLPmPhyUSB::openDevice(int index)
{
    m_opened.store(false);
    m_connected.store(false);
    FtdiDriver *driver = FtdiDriver::current();
    FtdiHandle handle = nullptr;
    const FtdiStatus opened = driver ? driver->open(index, &handle) : FtdiDriver::DeviceNotFound;
    if (opened != FtdiDriver::Ok) {
        setLastError(tr("Failed to open connection"), opened);
        return false;
    }
    m_driver.store(driver);
    m_handle.store(handle);
    m_opened.store(true);
    if (const FtdiStatus status = driver->resetDevice(handle); status != FtdiDriver::Ok) {
        setLastError(tr("Failed to reset the device"), status);
        return false;
    }
    if (const FtdiStatus status = driver->setBaudRate(handle, BaudRate); status != FtdiDriver::Ok) {
        setLastError(tr("Failed to configure the baudrate"), status);
        return false;
    }
    if (const FtdiStatus status = driver->setDataCharacteristics(handle, 8, 2, 0);
        status != FtdiDriver::Ok) {
        setLastError(tr("Datagram configuration failed"), status);
        return false;
    }
    if (const FtdiStatus status = driver->setTimeouts(handle, ReadTimeoutMs, WriteTimeoutMs);
        status != FtdiDriver::Ok) {
        setLastError(tr("Failed to configure timeouts"), status);
        return false;
    }
    m_connected.store(true);
    return true;
}

void BLPmPhyUSB::closeHandle()
{
    if (m_opened.exchange(false)) {
        FtdiDriver *driver = m_driver.exchange(nullptr);
        const FtdiHandle handle = m_handle.exchange(nullptr);
        if (driver) {
            if (const FtdiStatus status = driver->close(handle); status != FtdiDriver::Ok)
                setLastError(tr("Failed to close the device"), status);
        }
    }
    m_connected.store(false);
}

void BLPmPhyUSB::connectDevice()
{
    // A held handle would leak, and the reader may still be using it: start from closed.
    if (m_opened.load())
        disconnectDevice();
    // The cause of a failed attempt replaces the last one only once it is known: the worker
    // whose send lost the link may read it meanwhile.
    const QMap<int, QString> map = listDevices();
    if (map.isEmpty()) {
        m_deviceGone.store(!m_listFailed.load());
        return;
    }
    const int index = m_deviceIndex.load();
    if (index == -1 || map.contains(index)) {
        const bool opened = openDevice(index == -1 ? map.firstKey() : index);
        m_deviceGone.store(false);
        if (opened)
            m_lastDriverStatus.store(FtdiDriver::Ok);
    } else {
        m_deviceGone.store(true);
    }
    if (!isRunning()) {
        m_stopRequest.store(false);
        m_readerExited.store(false);
        start();
    }
}

void BLPmPhyUSB::disconnectDevice()
{
    if (isRunning()) {
        m_stopRequest.store(true);
        if (BLPMaster *m = master())
            m->wakeSleepers();
        while (!m_readerExited.load())
            QThread::usleep(10);
        wait();
    }
    closeHandle();
}

bool BLPmPhyUSB::send(quint32 length, const quint8 *data)
{
    if (!m_connected.load()) {
        QThread::usleep(100);
        connectDevice();
        if (!m_connected.load()) {
            setLastError(tr("Trying to send data, while device is not connected"));
            if (BLPMaster *m = master())
                m->linkLost();
            return false;
        }
    }
    quint32 written = 0;
    const FtdiStatus status = m_driver.load()->write(m_handle.load(), data, length, &written);
    if (status != FtdiDriver::Ok || written != length) {
        setLastError(tr("Time out during write operation"), status);
        if (BLPMaster *m = master())
            m->linkLost();
        return false;
    }
    return true;
}

BLPmPhyUSB::ReadResult BLPmPhyUSB::readByte(quint8 &byte)
{
    if (!m_connected.load()) {
        setLastError(tr("Trying to read from device, while device is not connected"));
        return ReadResult::Failed;
    }
    quint32 got = 0;
    if (const FtdiStatus status = m_driver.load()->read(m_handle.load(), &byte, 1, &got);
        status != FtdiDriver::Ok) {
        // The driver fails a read at once when the device has gone.
        m_deviceGone.store(true);
        setLastError(tr("Failed to read from device"), status);
        return ReadResult::Failed;
    }
    if (got < 1) {
        setLastError(tr("Read operation has timed out"));
        return ReadResult::TimedOut;
    }
    return ReadResult::Byte;
}

bool BLPmPhyUSB::deviceStillThere()
{
    if (!m_connected.load())
        return false;
    quint32 rx = 0, tx = 0, events = 0;
    if (const FtdiStatus status = m_driver.load()->getStatus(m_handle.load(), &rx, &tx, &events);
        status != FtdiDriver::Ok) {
        m_deviceGone.store(true);
        m_lastDriverStatus.store(status);
        m_connected.store(false);
        return false;
    }
    return true;
}

// Reads only while the master awaits an answer. Otherwise it sleeps until the master sends a
// request, so an idle link costs next to nothing; the driver holds the bytes that arrive
// meanwhile.
void BLPmPhyUSB::run()
{
#ifdef Q_OS_LINUX
    prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0); // short naps while an answer is awaited
#endif
    unsigned long idleSleepUs = kBriskSleepUs;
    for (;;) {
        if (m_stopRequest.load()) {
            m_stopRequest.store(false);
            m_readerExited.store(true);
            return;
        }
        BLPMaster *m = master();
        if (!m || !m->isAwaitingAnswer()) {
            if (m) {
                m->sleepUntilAwaiting(kMasterIdleSleepUs, &m_stopRequest);
            } else {
                idleSleepUs = qMin(idleSleepUs * 2, kLongestIdleSleepUs);
                QThread::usleep(idleSleepUs);
            }
            continue;
        }
        idleSleepUs = kBriskSleepUs;
        quint8 byte = 0;
        const ReadResult result = readByte(byte);
        if (result == ReadResult::Byte) {
            m->inputByte(byte);
            continue;
        }
        // A failing read means the device has gone: end the waiting operation now rather
        // than after its time-out.
        if (result == ReadResult::Failed || !deviceStillThere()) {
            m_connected.store(false);
            m->linkLost();
        }
        QThread::usleep(kAfterFailureSleepUs);
    }
}
