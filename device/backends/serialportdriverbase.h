#pragma once

// What the two backends over the system's serial ports share: the snapshot of listed ports,
// the set of open ports (a port is opened once per driver, whichever thread asks) and the
// per-handle time-outs. A backend adds the port's I/O.

#include "ftdidriver.h"
#include "serialportlist.h"

#include <QList>
#include <QString>

#include <atomic>
#include <mutex>
#include <set>

class SerialPortDriverBase : public FtdiDriver
{
public:
    ~SerialPortDriverBase() override;

    FtdiStatus createDeviceInfoList(quint32 *count) override;
    FtdiStatus getDeviceInfoList(uchar *nodes, quint32 *count) override;
    FtdiStatus setTimeouts(FtdiHandle handle, quint32 readMs, quint32 writeMs) override;
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

    // The latest snapshot's port at index, as listed and canonical: DeviceNotFound without
    // one, DeviceNotOpened while this driver has it open.
    FtdiStatus portToOpen(int index, QString *path, QString *canonicalPath) const;
    // Hands out an opened port as the handle. DeviceNotOpened when another thread opened the
    // same port meanwhile; the port is then released and deleted here.
    FtdiStatus addOpenPort(OpenPort *port, FtdiHandle *handle);
    // Null unless the handle is open.
    OpenPort *openPort(FtdiHandle handle) const;

    static bool validDataCharacteristics(quint8 wordLength, quint8 stopBits, quint8 parity);

    // Frees what the backend holds for the port before it is deleted; false on an I/O error.
    virtual bool release(OpenPort *port) = 0;
    // Closes every port still open; a backend's destructor calls it while release() is still
    // its own.
    void closeAll();

private:
    bool isOpen(const QString &canonicalPath) const; // m_mutex held

    const QString m_explicitPort;
    mutable std::mutex m_mutex; // guards the snapshot and the set of open ports
    QList<SerialPortEntry> m_snapshot;
    std::set<OpenPort *> m_ports;
};
