#pragma once

// What the two backends over the system's serial ports share: the listing of the ports (open()
// reaches one by its path), the set of open ports (a port is opened once per driver, whichever
// thread asks), the per-handle time-outs and the checks of handles and arguments. A backend
// adds the I/O.

#include "listingftdidriver.h"
#include "serialportlist.h"

#include <QString>

#include <atomic>
#include <mutex>
#include <set>

class SerialPortDriverBase : public ListingFtdiDriver<QString>
{
public:
    ~SerialPortDriverBase() override;

    // Opens the listed port unless this driver has it open already: a backend's own lock on
    // the line may not stop a second opener (TIOCEXCL does not stop a privileged process).
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

protected:
    // A backend's open port derives from this; the handle points at this part.
    struct OpenPort {
        virtual ~OpenPort();
        QString path;                          // canonical
        std::atomic<quint32> readTimeoutMs{0}; // 0: without limit, as the driver does by default
        std::atomic<quint32> writeTimeoutMs{0};
        std::atomic<bool> gone{false};
    };

    explicit SerialPortDriverBase(const QString &explicitPort);

    QList<Listed> listDevices() override;

    // The backend's side of open(): the port at path, opened, or null when it does not open.
    virtual OpenPort *openPath(const QString &path) = 0;
    // The backend's side of resetDevice(), setBaudRate() and setDataCharacteristics(), on an
    // open port; the rate is not zero, the characteristics are within the seam's range.
    virtual FtdiStatus resetPort(OpenPort *port) = 0;
    virtual FtdiStatus setPortBaudRate(OpenPort *port, quint32 baudRate) = 0;
    virtual FtdiStatus setPortDataCharacteristics(OpenPort *port, quint8 wordLength,
                                                  quint8 stopBits, quint8 parity) = 0;
    // The backend's side of read() and write(), on an open port with the arguments checked
    // and the count reported zeroed; a read is never of zero bytes.
    virtual FtdiStatus readPort(OpenPort *port, void *buffer, quint32 count,
                                quint32 *countRead) = 0;
    virtual FtdiStatus writePort(OpenPort *port, const void *buffer, quint32 count,
                                 quint32 *countWritten) = 0;
    // The backend's side of getStatus(), on a port not known to be gone: the bytes waiting
    // each way, or IoError once it finds the device gone.
    virtual FtdiStatus queuesOf(OpenPort *port, quint32 *rxQueue, quint32 *txQueue) = 0;
    // Frees what the backend holds for the port before it is deleted; false on an I/O error.
    virtual bool release(OpenPort *port) = 0;
    // Closes every port still open; a backend's destructor calls it while release() is still
    // its own.
    void closeAll();

private:
    bool isOpen(const QString &canonicalPath) const; // m_mutex held
    // Null unless the handle is open.
    OpenPort *openPort(FtdiHandle handle) const;
    // The checks read() and write() share: the arguments, the count reported zeroed, then
    // the handle's port.
    FtdiStatus transferPort(FtdiHandle handle, const void *buffer, quint32 *countDone,
                            OpenPort **port) const;

    const QString m_explicitPort;
    mutable std::mutex m_mutex; // guards the set of open ports
    std::set<OpenPort *> m_ports;
};
