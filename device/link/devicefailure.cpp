#include "devicefailure.h"

#include "blpmphyusb.h"

DeviceFailure DeviceFailure::of(const BLPMaster *master)
{
    DeviceFailure failure;
    failure.status = master->lastStatus();
    switch (failure.status) {
    case BLPMaster::LinkStatus::DeviceStatus:
        failure.deviceStatus = master->lastDeviceStatus();
        break;
    case BLPMaster::LinkStatus::TimedOut:
        failure.answerTimeoutMs = master->responseTimeout();
        break;
    case BLPMaster::LinkStatus::LinkLost:
        // The phy's driver status is stale unless the link was lost through it.
        if (const auto *phy = qobject_cast<const BLPmPhyUSB *>(master->phy())) {
            failure.driverStatus = phy->lastDriverStatus();
            failure.deviceGone = phy->deviceGone();
        }
        break;
    default:
        break;
    }
    return failure;
}

DeviceFailure DeviceFailure::withStatus(BLPMaster::LinkStatus status)
{
    DeviceFailure failure;
    failure.status = status;
    return failure;
}

DeviceFailure DeviceFailure::refused()
{
    DeviceFailure failure;
    failure.deviceRefused = true;
    return failure;
}
