#pragma once

// A protocol master and USB phy talking to one simulated KDR-450P, for tests and benchmarks
// of the device link and workers. Header-only: only code that links the device library
// includes it.

#include "blpmaster.h"
#include "blpmphyusb.h"
#include "simulatedcontroller.h"
#include "simulateddevice.h"
#include "simulatedftdidriver.h"

#include <QByteArray>

#include <cstring>

struct SimulatedLink {
    SimulatedFtdiDriver driver;
    SimulatedDevice *device = nullptr;
    SimulatedController *controller = nullptr;
    BLPmPhyUSB phy;
    BLPMaster master;

    explicit SimulatedLink(bool wireTime = false)
    {
        driver.setWireTimeModel(wireTime);
        device = driver.addController();
        controller = device->controller();
        prepare(controller);
        FtdiDriver::setCurrent(&driver);
        phy.setDeviceIndex(0);
        master.attachPhy(&phy);
        master.connectDevice();
        master.setResponseTimeout(2000);
    }

    ~SimulatedLink()
    {
        master.resetLink();
        FtdiDriver::setCurrent(nullptr);
    }

    // A controller as the workers meet it: named, of a known version, empty, nothing patched.
    static void prepare(SimulatedController *c)
    {
        c->setName("KDR-450P");
        c->setSoftwareVersion(0x0103);
        c->clearRecords();
        c->setPatchListEmpty(true);
    }

    // A stored record with the given names and channel count, for filling the store.
    static QByteArray record(const QByteArray &name, int channels)
    {
        QByteArray r(SimulatedController::RecordSize, '\0');
        std::memcpy(r.data(), name.constData(), size_t(qMin(int(name.size()), 100)));
        std::memcpy(r.data() + 100, name.constData(), size_t(qMin(int(name.size()), 20)));
        r[240] = char(channels);
        for (int i = 0; i < channels; ++i)
            r[244 + 112 * i + 12] = char('A' + i % 26);
        return r;
    }
};
