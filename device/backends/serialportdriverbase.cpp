#include "serialportdriverbase.h"

namespace
{
using Lock = std::lock_guard<std::mutex>;
}

SerialPortDriverBase::OpenPort::~OpenPort() = default;

SerialPortDriverBase::SerialPortDriverBase(const QString &explicitPort)
    : m_explicitPort(explicitPort)
{
}

SerialPortDriverBase::~SerialPortDriverBase() = default;

QList<SerialPortDriverBase::Listed> SerialPortDriverBase::listDevices()
{
    QList<Listed> devices;
    for (const SerialPortEntry &entry : listSerialPortEntries(m_explicitPort))
        devices.append({entry.serialNumber, entry.description, entry.path});
    return devices;
}

FtdiStatus SerialPortDriverBase::open(int index, FtdiHandle *handle)
{
    if (!handle)
        return InvalidParameter;
    QString path;
    if (!listedTarget(index, &path))
        return DeviceNotFound;
    const QString key = canonicalPortPath(path);
    {
        Lock l(m_mutex);
        if (isOpen(key))
            return DeviceNotOpened;
    }
    OpenPort *port = openPath(path);
    if (!port)
        return DeviceNotOpened;
    port->path = key;
    {
        Lock l(m_mutex);
        if (!isOpen(key)) {
            m_ports.insert(port);
            *handle = port;
            return Ok;
        }
    }
    // Opened by another thread meanwhile.
    release(port);
    delete port;
    return DeviceNotOpened;
}

bool SerialPortDriverBase::isOpen(const QString &canonicalPath) const
{
    for (const OpenPort *open : m_ports) {
        if (open->path == canonicalPath)
            return true;
    }
    return false;
}

SerialPortDriverBase::OpenPort *SerialPortDriverBase::openPort(FtdiHandle handle) const
{
    Lock l(m_mutex);
    auto *p = static_cast<OpenPort *>(handle);
    return m_ports.count(p) ? p : nullptr;
}

FtdiStatus SerialPortDriverBase::resetDevice(FtdiHandle handle)
{
    OpenPort *p = openPort(handle);
    return p ? resetPort(p) : InvalidHandle;
}

FtdiStatus SerialPortDriverBase::setBaudRate(FtdiHandle handle, quint32 baudRate)
{
    OpenPort *p = openPort(handle);
    if (!p)
        return InvalidHandle;
    if (baudRate == 0)
        return InvalidParameter;
    return setPortBaudRate(p, baudRate);
}

FtdiStatus SerialPortDriverBase::setDataCharacteristics(FtdiHandle handle, quint8 wordLength,
                                                        quint8 stopBits, quint8 parity)
{
    OpenPort *p = openPort(handle);
    if (!p)
        return InvalidHandle;
    if (wordLength < 5 || wordLength > 8 || (stopBits != 1 && stopBits != 2) || parity > 2)
        return InvalidParameter;
    return setPortDataCharacteristics(p, wordLength, stopBits, parity);
}

FtdiStatus SerialPortDriverBase::setTimeouts(FtdiHandle handle, quint32 readMs, quint32 writeMs)
{
    OpenPort *p = openPort(handle);
    if (!p)
        return InvalidHandle;
    p->readTimeoutMs.store(readMs);
    p->writeTimeoutMs.store(writeMs);
    return Ok;
}

FtdiStatus SerialPortDriverBase::transferPort(FtdiHandle handle, const void *buffer,
                                              quint32 *countDone, OpenPort **port) const
{
    if (!buffer || !countDone)
        return InvalidParameter;
    *countDone = 0;
    *port = openPort(handle);
    return *port ? Ok : InvalidHandle;
}

FtdiStatus SerialPortDriverBase::read(FtdiHandle handle, void *buffer, quint32 count,
                                      quint32 *countRead)
{
    OpenPort *p = nullptr;
    if (const FtdiStatus s = transferPort(handle, buffer, countRead, &p))
        return s;
    return count == 0 ? Ok : readPort(p, buffer, count, countRead);
}

FtdiStatus SerialPortDriverBase::write(FtdiHandle handle, const void *buffer, quint32 count,
                                       quint32 *countWritten)
{
    OpenPort *p = nullptr;
    if (const FtdiStatus s = transferPort(handle, buffer, countWritten, &p))
        return s;
    return writePort(p, buffer, count, countWritten);
}

FtdiStatus SerialPortDriverBase::getStatus(FtdiHandle handle, quint32 *rxQueue, quint32 *txQueue,
                                           quint32 *eventWord)
{
    OpenPort *p = openPort(handle);
    if (!p)
        return InvalidHandle;
    if (p->gone.load())
        return IoError;
    quint32 rx = 0;
    quint32 tx = 0;
    if (const FtdiStatus s = queuesOf(p, &rx, &tx))
        return s;
    reportStatus(rxQueue, txQueue, eventWord, rx, tx, 0);
    return Ok;
}

FtdiStatus SerialPortDriverBase::close(FtdiHandle handle)
{
    OpenPort *p = nullptr;
    {
        Lock l(m_mutex);
        auto *candidate = static_cast<OpenPort *>(handle);
        if (!m_ports.erase(candidate))
            return InvalidHandle;
        p = candidate;
    }
    const bool released = release(p);
    delete p;
    return released ? Ok : IoError;
}

void SerialPortDriverBase::closeAll()
{
    std::set<OpenPort *> ports;
    {
        Lock l(m_mutex);
        ports.swap(m_ports);
    }
    for (OpenPort *p : ports) {
        release(p);
        delete p;
    }
}
