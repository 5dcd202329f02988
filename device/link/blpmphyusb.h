#pragma once

// Physical layer over the FTDI driver seam (whichever backend is current): finds controllers
// by their USB description, opens and configures one, writes whole frames and runs the reader
// thread that feeds answer bytes into the master while it awaits an answer.
//
// Threads: the master's thread calls send (and through it possibly connectDevice); the
// object's own thread reads; worker threads call listDevices, setDeviceIndex and, through
// the master, connectDevice and disconnectDevice.

#include "blpmphy.h"
#include "blpprotocol.h"
#include "ftdidriver.h"

#include <QMap>
#include <QMutex>
#include <QString>

#include <atomic>

class BLPmPhyUSB : public BLPmPhy
{
    Q_OBJECT

public:
    static constexpr int BaudRate = BLPSize::BaudRate;
    static constexpr int ReadTimeoutMs = 40;
    static constexpr int WriteTimeoutMs = 2000;

    explicit BLPmPhyUSB(QObject *parent = nullptr);
    // Stops the reader and closes the device if the owner has not done so.
    ~BLPmPhyUSB() override;

    // Rebuilds the device map: driver list position -> "USB Device n" / "USB Dongle n", for
    // the controllers among the attached FTDI devices. Ordered by index.
    QMap<int, QString> listDevices();
    QMap<int, QString> deviceMap() const;
    // -1: the first device found.
    void setDeviceIndex(int index) { m_deviceIndex.store(index); }
    int deviceIndex() const { return m_deviceIndex.load(); }
    bool isConnected() const { return m_connected.load(); }
    bool isOpened() const { return m_opened.load(); }
    // The reason of the latest failure, for diagnosis.
    QString lastError() const;
    // The status of the driver call that failed last, and whether the device has gone: a
    // failed read or status probe means that (driver seam), as does a connection attempt that
    // finds no controller where the list worked. Both clear on a good connect.
    FtdiStatus lastDriverStatus() const { return m_lastDriverStatus.load(); }
    bool deviceGone() const { return m_deviceGone.load(); }

    bool send(quint32 length, const quint8 *data) override;
    void connectDevice() override;
    void disconnectDevice() override;

protected:
    void run() override;

private:
    enum class ReadResult { Byte, TimedOut, Failed };

    void setLastError(const QString &text, FtdiStatus driverStatus = FtdiDriver::Ok);
    bool openDevice(int index);
    void closeHandle();
    ReadResult readByte(quint8 &byte);
    bool deviceStillThere();

    std::atomic<int> m_deviceIndex{-1};
    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_opened{false};
    // The driver that gave out the handle is the one it goes back to.
    std::atomic<FtdiDriver *> m_driver{nullptr};
    std::atomic<FtdiHandle> m_handle{nullptr};
    // The reader's last word; disconnectDevice waits for it.
    std::atomic<bool> m_readerExited{true};
    std::atomic<FtdiStatus> m_lastDriverStatus{FtdiDriver::Ok};
    std::atomic<bool> m_deviceGone{false};
    std::atomic<bool> m_listFailed{false};

    mutable QMutex m_mutex; // guards the map and the error text
    QMap<int, QString> m_deviceMap;
    QString m_lastError;
};
