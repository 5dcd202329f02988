#include "serialportlist.h"

#include "blpprotocol.h"

#include <QFileInfo>
#include <QSerialPortInfo>

namespace
{

bool isControllerDescription(const QString &d)
{
    return d == QLatin1String(BLPDevice::DeviceDescription) ||
           d == QLatin1String(BLPDevice::DongleDescription);
}

} // namespace

QString canonicalPortPath(const QString &path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? path : c;
}

QList<SerialPortEntry> listSerialPortEntries(const QString &explicitPort)
{
    QList<SerialPortEntry> entries;
    QString explicitCanonical;
    if (!explicitPort.isEmpty()) {
        explicitCanonical = canonicalPortPath(explicitPort);
        entries.append({explicitPort, QByteArray(), QByteArray(BLPDevice::DeviceDescription)});
    }
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        const bool ftdi = info.hasVendorIdentifier() && info.vendorIdentifier() == BLPDevice::FtdiVendorId;
        if (!ftdi && !isControllerDescription(info.description()))
            continue;
        if (!explicitCanonical.isEmpty() &&
            canonicalPortPath(info.systemLocation()) == explicitCanonical)
            continue;
        entries.append(
            {info.systemLocation(), info.serialNumber().toLatin1(), info.description().toLatin1()});
    }
    return entries;
}
