#include "devicechanger.h"

#include "blpmaster.h"
#include "blpmphyusb.h"

DeviceChanger::DeviceChanger(QObject *parent) : QThread(parent) {}

void DeviceChanger::setLink(BLPMaster *master, BLPmPhyUSB *phy)
{
    m_master.store(master);
    m_phy.store(phy);
}

void DeviceChanger::run()
{
    BLPMaster *master = m_master.load();
    BLPmPhyUSB *phy = m_phy.load();
    if (master && phy) {
        master->resetLink();
        phy->setDeviceIndex(m_targetIndex.load());
        master->connectDevice();
    }
    emit done();
}
