#pragma once

// A master and a USB phy connected to one simulated controller, as the main window sets
// them up, for tests that drive the link through its public operations.

#include "blpmaster.h"
#include "blpmphyusb.h"
#include "simulatedftdidriver.h"

#include <QElapsedTimer>

#include <memory>

class SimLink
{
public:
    // wireTime: the 44 us-per-byte line model; off makes tests fast.
    explicit SimLink(bool wireTime = false, int responseTimeoutMs = 2000);
    ~SimLink();

    SimulatedFtdiDriver driver;
    SimulatedDevice *device = nullptr;
    SimulatedController *controller() const { return device->controller(); }
    std::unique_ptr<BLPMaster> master;
    std::unique_ptr<BLPmPhyUSB> phy;

    // resetLink, then connect the phy to device index 0 again.
    void reconnect();
    // Host frames of one command the device has seen, oldest first.
    QList<SimulatedFrameInfo> framesOf(quint8 command) const;

private:
    ScopedFtdiDriver m_scope;
};

// Milliseconds an expression took.
template <typename F> qint64 elapsedMs(F &&f)
{
    QElapsedTimer t;
    t.start();
    f();
    return t.elapsed();
}
