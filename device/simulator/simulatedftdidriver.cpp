#include "simulatedftdidriver.h"

namespace
{
using Lock = std::lock_guard<std::mutex>;
}

SimulatedFtdiDriver::SimulatedFtdiDriver() = default;

SimulatedFtdiDriver::~SimulatedFtdiDriver() = default;

SimulatedDevice *SimulatedFtdiDriver::addController(const QByteArray &description)
{
    return addDevice(description, true);
}

SimulatedDevice *SimulatedFtdiDriver::addForeignDevice(const QByteArray &description)
{
    return addDevice(description, false);
}

SimulatedDevice *SimulatedFtdiDriver::addDevice(const QByteArray &description, bool isController)
{
    Lock l(m_mutex);
    const QByteArray serial = "BLSIM" + QByteArray::number(qulonglong(m_devices.size() + 1));
    m_devices.push_back(std::make_unique<SimulatedDevice>(description, serial, isController));
    m_devices.back()->setWireTimeModel(m_wireTime);
    return m_devices.back().get();
}

QList<SimulatedDevice *> SimulatedFtdiDriver::devices() const
{
    Lock l(m_mutex);
    QList<SimulatedDevice *> list;
    for (const auto &d : m_devices)
        list.append(d.get());
    return list;
}

void SimulatedFtdiDriver::setWireTimeModel(bool on)
{
    Lock l(m_mutex);
    m_wireTime = on;
    for (const auto &d : m_devices)
        d->setWireTimeModel(on);
}

QList<SimulatedFtdiDriver::Listed> SimulatedFtdiDriver::listDevices()
{
    Lock l(m_mutex);
    QList<Listed> devices;
    for (const auto &d : m_devices) {
        if (d->isPlugged())
            devices.append({d->serialNumber(), d->description(), d.get()});
    }
    return devices;
}

FtdiStatus SimulatedFtdiDriver::open(int index, FtdiHandle *handle)
{
    if (!handle)
        return InvalidParameter;
    Session s;
    if (!listedTarget(index, &s.device))
        return DeviceNotFound;
    Lock l(m_mutex);
    if (!s.device->portOpen(&s.generation))
        return DeviceNotOpened;
    const quintptr id = m_nextHandle++;
    m_sessions[id] = s;
    *handle = reinterpret_cast<FtdiHandle>(id);
    return Ok;
}

bool SimulatedFtdiDriver::session(FtdiHandle handle, Session *out) const
{
    Lock l(m_mutex);
    const auto it = m_sessions.find(reinterpret_cast<quintptr>(handle));
    if (it == m_sessions.end())
        return false;
    *out = it->second;
    return true;
}

FtdiStatus SimulatedFtdiDriver::transferSession(FtdiHandle handle, const void *buffer,
                                                quint32 *countDone, Session *out) const
{
    if (!buffer || !countDone)
        return InvalidParameter;
    return session(handle, out) ? Ok : InvalidHandle;
}

// Device objects never go away before the driver, so a session's device pointer stays valid
// after the driver lock is dropped; blocking calls run under the device's lock only.

FtdiStatus SimulatedFtdiDriver::resetDevice(FtdiHandle handle)
{
    Session s;
    return session(handle, &s) ? s.device->portReset(s.generation) : InvalidHandle;
}

FtdiStatus SimulatedFtdiDriver::setBaudRate(FtdiHandle handle, quint32 baudRate)
{
    Session s;
    return session(handle, &s) ? s.device->portSetBaudRate(s.generation, baudRate) : InvalidHandle;
}

FtdiStatus SimulatedFtdiDriver::setDataCharacteristics(FtdiHandle handle, quint8 wordLength,
                                                       quint8 stopBits, quint8 parity)
{
    Session s;
    return session(handle, &s)
               ? s.device->portSetDataCharacteristics(s.generation, wordLength, stopBits, parity)
               : InvalidHandle;
}

FtdiStatus SimulatedFtdiDriver::setTimeouts(FtdiHandle handle, quint32 readMs, quint32 writeMs)
{
    Session s;
    return session(handle, &s) ? s.device->portSetTimeouts(s.generation, readMs, writeMs)
                               : InvalidHandle;
}

FtdiStatus SimulatedFtdiDriver::read(FtdiHandle handle, void *buffer, quint32 count,
                                     quint32 *countRead)
{
    Session s;
    if (const FtdiStatus status = transferSession(handle, buffer, countRead, &s))
        return status;
    return s.device->portRead(s.generation, static_cast<uchar *>(buffer), count, countRead);
}

FtdiStatus SimulatedFtdiDriver::write(FtdiHandle handle, const void *buffer, quint32 count,
                                      quint32 *countWritten)
{
    Session s;
    if (const FtdiStatus status = transferSession(handle, buffer, countWritten, &s))
        return status;
    return s.device->portWrite(s.generation, static_cast<const uchar *>(buffer), count,
                               countWritten);
}

FtdiStatus SimulatedFtdiDriver::getStatus(FtdiHandle handle, quint32 *rxQueue, quint32 *txQueue,
                                          quint32 *eventWord)
{
    Session s;
    if (!session(handle, &s))
        return InvalidHandle;
    quint32 rx = 0;
    const FtdiStatus status = s.device->portStatus(s.generation, &rx);
    reportStatus(rxQueue, txQueue, eventWord, rx, 0, 0);
    return status;
}

FtdiStatus SimulatedFtdiDriver::close(FtdiHandle handle)
{
    Session s;
    {
        Lock l(m_mutex);
        const auto it = m_sessions.find(reinterpret_cast<quintptr>(handle));
        if (it == m_sessions.end())
            return InvalidHandle;
        s = it->second;
        m_sessions.erase(it);
    }
    s.device->portClose(s.generation);
    return Ok;
}
