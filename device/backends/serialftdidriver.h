#pragma once

// The driver backend for real controllers on Linux: the kernel's FTDI driver shows each chip
// as a serial port; this lists those ports and does the I/O on the file descriptor.
//
// A port whose USB product description is "BRENLOW BLP-DEV" or "BRENLOW BLP-DGL" appears
// with that description. An explicit port (--port PATH) is taken as a controller whatever it
// is (an adapter with another description, a test rig's pseudo-terminal): it is listed first,
// described as "BRENLOW BLP-DEV", so discovery shows it as the first "USB Device".
//
// No Qt object is shared between threads: QSerialPortInfo is only used while listing, and
// each open port is a plain descriptor with atomic time-outs.

#include "serialportdriverbase.h"

#include <QString>

class SerialFtdiDriver : public SerialPortDriverBase
{
public:
    explicit SerialFtdiDriver(const QString &explicitPort = QString());
    ~SerialFtdiDriver() override;

private:
    struct Port;

    OpenPort *openPath(const QString &path) override;
    FtdiStatus resetPort(OpenPort *port) override;
    FtdiStatus setPortBaudRate(OpenPort *port, quint32 baudRate) override;
    FtdiStatus setPortDataCharacteristics(OpenPort *port, quint8 wordLength, quint8 stopBits,
                                          quint8 parity) override;
    FtdiStatus readPort(OpenPort *port, void *buffer, quint32 count, quint32 *countRead) override;
    FtdiStatus writePort(OpenPort *port, const void *buffer, quint32 count,
                         quint32 *countWritten) override;
    FtdiStatus queuesOf(OpenPort *port, quint32 *rxQueue, quint32 *txQueue) override;
    bool release(OpenPort *port) override;
};
