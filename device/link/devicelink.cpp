#include "devicelink.h"

#include "blpmaster.h"
#include "blpmphyusb.h"

#include <QCoreApplication>

namespace
{

struct DeviceLinkText {
    Q_DECLARE_TR_FUNCTIONS(DeviceLinkText)
};

} // namespace

DeviceLink::DeviceLink()
    : m_master(std::make_unique<BLPMaster>()), m_phy(std::make_unique<BLPmPhyUSB>())
{
    m_phy->setDeviceIndex(0);
    m_master->attachPhy(m_phy.get());
    m_master->setResponseTimeout(ResponseTimeoutMs);
}

DeviceLink::~DeviceLink()
{
    m_master->cancel();
    m_master->resetLink();
}

bool DeviceLink::installBackend(const DriverOptions &options, QString *error)
{
    return installDriver(options, error);
}

void DeviceLink::switchDevice(BLPMaster *master, BLPmPhyUSB *phy, int deviceIndex)
{
    master->switchDevice([phy, deviceIndex] { phy->setDeviceIndex(deviceIndex); });
}

QMap<int, QString> DeviceLink::controllers()
{
    return m_phy->listDevices();
}

bool DeviceLink::open(int deviceIndex, QString *error)
{
    const QMap<int, QString> found = controllers();
    if (found.isEmpty()) {
        *error = DeviceLinkText::tr("no controller found");
        return false;
    }
    const int index = deviceIndex < 0 ? found.firstKey() : deviceIndex;
    if (!found.contains(index)) {
        *error =
            DeviceLinkText::tr("no controller with device number %1 (see 'kdr450p-tool devices')")
                .arg(index);
        return false;
    }
    selectDevice(index);
    DeviceIdentity id;
    id.deviceIndex = index;
    id.usbName = found.value(index);
    if (!m_master->readDeviceInfo(id.name, id.softwareVersion, id.hardwareVersion)) {
        const QString reason = m_phy->lastError();
        *error =
            reason.isEmpty()
                ? DeviceLinkText::tr("device %1 (%2) does not answer").arg(index).arg(id.usbName)
                : DeviceLinkText::tr("device %1 (%2) does not answer: %3")
                      .arg(index)
                      .arg(id.usbName, reason);
        return false;
    }
    id.frameLimit = m_master->maxFrameLength();
    m_identity = id;
    return true;
}

ScopedAnswerTimeout::ScopedAnswerTimeout(BLPMaster *master, int ms)
    : m_master(master), m_saved(master->responseTimeout())
{
    m_master->setResponseTimeout(ms);
}

ScopedAnswerTimeout::~ScopedAnswerTimeout()
{
    m_master->setResponseTimeout(m_saved);
}
