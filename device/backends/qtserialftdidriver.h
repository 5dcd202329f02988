#pragma once

// The driver backend over Qt's serial ports, for systems where the FTDI chip shows as a
// serial port (the built-in driver on macOS, COM ports on Windows, ttyUSB on Linux). Ports
// are listed as serialportlist.h says.
//
// A QSerialPort belongs to one thread, while the seam reads and writes one handle from two:
// each open port lives in a thread of its own, the seam's calls are carried out there, and
// received bytes wait in a buffer that read() takes from without that thread.

#include "serialportdriverbase.h"

#include <QString>

class QtSerialFtdiDriver : public SerialPortDriverBase
{
public:
    explicit QtSerialFtdiDriver(const QString &explicitPort = QString());
    ~QtSerialFtdiDriver() override;

    struct Port;

private:
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
