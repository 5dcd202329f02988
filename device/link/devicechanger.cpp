#include "devicechanger.h"

#include "devicelink.h"

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
    if (master && phy)
        DeviceLink::switchDevice(master, phy, m_targetIndex.load());
    emit done();
}
