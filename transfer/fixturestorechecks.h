#pragma once

#include "blpprotocol.h"
#include "devicefailure.h"

#include <QString>

class BLPMaster;

// The checks every fixture store job makes before it touches the controller's store.
namespace FixtureStore
{

constexpr const char *DeviceName = BLPDevice::ControllerName;
constexpr int MinSoftwareVersion = BLPDevice::MinStoreSoftwareVersion;
constexpr int StatusTimeoutMs = 4000;

enum Command : quint8 {
    ListCommand = BLPCommand::FixtureList,
    RecordCommand = BLPCommand::Record,
    DeleteCommand = BLPCommand::DeleteRecord,
    StatusCommand = BLPCommand::StoreStatus,
    ClearPatchListCommand = BLPCommand::ClearPatchList,
};

// The information block answers, the name is exactly "KDR-450P" and the software is newer
// than 1.1. Uses the master's current answer time-out. False with the reason in failure.
bool checkDevice(BLPMaster *master, DeviceFailure *failure);

struct DeviceStatus {
    bool enoughSpace = true;
    bool patchListNeedsClearing = false;
    int freeSlots = -1; // -1: no usable answer
};
// Free slots and the patch-list flag. A failed or malformed answer counts as enough space
// and an empty patch list: the writes that follow fail if the device is really gone.
DeviceStatus queryDeviceStatus(BLPMaster *master, int slotsNeeded);

// Reads the whole record of one slot into buffer (DeviceRecord::RecordSize bytes). A short
// answer fails too: it would leave the rest of the buffer from an earlier read.
bool readRecord(BLPMaster *master, quint16 slot, char *buffer, DeviceFailure *failure);

} // namespace FixtureStore
