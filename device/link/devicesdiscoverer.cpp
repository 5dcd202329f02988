#include "devicesdiscoverer.h"

#include "blpmaster.h"
#include "blpmphyusb.h"
#include "devicelink.h"
#include "linklog.h"

namespace
{

const QLatin1String kControllerName(BLPDevice::ControllerName);

} // namespace

QString softwareVersionText(int softwareVersion)
{
    return QStringLiteral("%1.%2").arg((softwareVersion >> 8) & 0xFF).arg(softwareVersion & 0xFF);
}

DevicesDiscoverer::DevicesDiscoverer(QObject *parent) : QThread(parent) {}

void DevicesDiscoverer::setLink(BLPMaster *master, BLPmPhyUSB *phy)
{
    m_master.store(master);
    m_phy.store(phy);
}

QList<DiscoveredDevice> DevicesDiscoverer::devices() const
{
    return m_devices;
}

void DevicesDiscoverer::run()
{
    m_devices.clear();
    BLPMaster *master = m_master.load();
    BLPmPhyUSB *phy = m_phy.load();
    if (!master || !phy)
        return;
    emit clearDevicesComboBox();

    // Listed twice: the first listing after a plug-in may still miss a device.
    phy->listDevices();
    const QList<int> indexes = phy->listDevices().keys();
    qCDebug(lcLink) << "devices listed:" << indexes.size();

    int controllers = 0;
    for (int index : indexes) {
        DeviceLink::switchDevice(master, phy, index);

        DiscoveredDevice d;
        d.deviceIndex = index;
        if (!master->readDeviceInfo(d.name, d.softwareVersion, d.hardwareVersion))
            continue;
        emit newFirmwareVersion(index, d.softwareVersion);

        d.entryText = d.name;
        if (d.name.startsWith(kControllerName)) {
            d.entryText += QStringLiteral(" #%1").arg(++controllers);
            QByteArray label(BLPSize::MaxLabelLength, '\0');
            qint32 received = 0;
            if (master->readData(BLPSize::MaxLabelLength, label.data(), received, BLPCommand::Label, 0)) {
                label.truncate(received);
                // A zero-padded label ends at its first zero byte.
                d.label = QString::fromLatin1(label.constData(),
                                              int(qstrnlen(label.constData(), uint(received))));
                d.hasLabel = true;
                // A controller never labelled answers with an empty one: no empty brackets.
                if (!d.label.isEmpty())
                    d.entryText += QStringLiteral(" (%1)").arg(d.label);
            }
        }
        m_devices.append(d);
        emit deviceFound(d.entryText, index);
        qCDebug(lcLink).noquote() << QStringLiteral("device %1: \"%2\", software %3, hardware %4")
                                         .arg(index)
                                         .arg(d.entryText, softwareVersionText(d.softwareVersion),
                                              softwareVersionText(d.hardwareVersion));
    }
}
