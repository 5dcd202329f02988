#pragma once

// The simulated FTDI bus: a driver backend whose devices are SimulatedDevice objects in this
// process. It is the program's demo mode (--simulate) and the tests' controller.

#include "blpprotocol.h"
#include "listingftdidriver.h"
#include "simulateddevice.h"

#include <QByteArray>
#include <QList>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

class SimulatedFtdiDriver : public ListingFtdiDriver<SimulatedDevice *>
{
public:
    static constexpr const char *DeviceDescription = BLPDevice::DeviceDescription;
    static constexpr const char *DongleDescription = BLPDevice::DongleDescription;
    static constexpr const char *ForeignDescription = "FT232R USB UART";

    SimulatedFtdiDriver();
    ~SimulatedFtdiDriver() override;

    // Devices are attached in call order (the driver's list order) and live as long as the
    // driver; unplug() takes one off the bus. The driver owns them.
    SimulatedDevice *addController(const QByteArray &description = DeviceDescription);
    SimulatedDevice *addForeignDevice(const QByteArray &description = ForeignDescription);
    QList<SimulatedDevice *> devices() const;
    // Switches the wire-time model of every device, present and future.
    void setWireTimeModel(bool on);

    FtdiStatus open(int index, FtdiHandle *handle) override;
    FtdiStatus resetDevice(FtdiHandle handle) override;
    FtdiStatus setBaudRate(FtdiHandle handle, quint32 baudRate) override;
    FtdiStatus setDataCharacteristics(FtdiHandle handle, quint8 wordLength, quint8 stopBits,
                                      quint8 parity) override;
    FtdiStatus setTimeouts(FtdiHandle handle, quint32 readMs, quint32 writeMs) override;
    FtdiStatus read(FtdiHandle handle, void *buffer, quint32 count, quint32 *countRead) override;
    FtdiStatus write(FtdiHandle handle, const void *buffer, quint32 count,
                     quint32 *countWritten) override;
    FtdiStatus getStatus(FtdiHandle handle, quint32 *rxQueue, quint32 *txQueue,
                         quint32 *eventWord) override;
    FtdiStatus close(FtdiHandle handle) override;

private:
    struct Session {
        SimulatedDevice *device = nullptr;
        quint64 generation = 0;
    };

    QList<Listed> listDevices() override;
    SimulatedDevice *addDevice(const QByteArray &description, bool isController);
    bool session(FtdiHandle handle, Session *out) const;
    // The checks read() and write() share: the arguments, then the handle's session.
    FtdiStatus transferSession(FtdiHandle handle, const void *buffer, quint32 *countDone,
                               Session *out) const;

    mutable std::mutex m_mutex; // guards the device list and the sessions
    std::vector<std::unique_ptr<SimulatedDevice>> m_devices;
    std::map<quintptr, Session> m_sessions;
    quintptr m_nextHandle = 1;
    bool m_wireTime = true;
};
