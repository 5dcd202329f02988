#include "simlink.h"

SimLink::SimLink(bool wireTime, int responseTimeoutMs) : m_scope(&driver)
{
    driver.setWireTimeModel(wireTime);
    device = driver.addController();
    master = std::make_unique<BLPMaster>();
    phy = std::make_unique<BLPmPhyUSB>();
    phy->setDeviceIndex(0);
    master->attachPhy(phy.get());
    master->connectDevice();
    master->setResponseTimeout(responseTimeoutMs);
}

SimLink::~SimLink()
{
    master->resetLink();
    master.reset();
    phy.reset();
}

void SimLink::reconnect()
{
    master->resetLink();
    phy->setDeviceIndex(0);
    master->connectDevice();
}

QList<SimulatedFrameInfo> SimLink::framesOf(quint8 command) const
{
    QList<SimulatedFrameInfo> out;
    for (const SimulatedFrameInfo &f : device->frameLog()) {
        if (f.command == command)
            out.append(f);
    }
    return out;
}
