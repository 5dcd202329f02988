#pragma once

// Why a device operation failed, as the link saw it: the master's status, the controller's
// status, and the phy's driver status. Captured on the operation's own thread right after the
// operation returned false; each front end words it for itself.

#include "blpmaster.h"
#include "ftdidriver.h"

#include <QMetaType>

struct DeviceFailure {
    BLPMaster::LinkStatus status = BLPMaster::LinkStatus::Ok;
    quint8 deviceStatus = 0;                  // DeviceStatus: what the controller answered
    int answerTimeoutMs = 0;                  // TimedOut: the answer time-out in force
    FtdiStatus driverStatus = FtdiDriver::Ok; // LinkLost: the failing driver call's status
    bool deviceGone = false;                  // LinkLost: the phy found the device gone
    bool deviceRefused = false; // the link worked, but the controller is not one the job serves

    bool isKnown() const { return status != BLPMaster::LinkStatus::Ok || deviceRefused; }

    // What the master (and its USB phy) report about the operation that just failed on this
    // thread.
    static DeviceFailure of(const BLPMaster *master);
    static DeviceFailure withStatus(BLPMaster::LinkStatus status);
    static DeviceFailure refused();
};

Q_DECLARE_METATYPE(DeviceFailure)
