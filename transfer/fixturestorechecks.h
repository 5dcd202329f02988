#pragma once

#include <QString>

class BLPMaster;

// The checks every fixture store job makes before it touches the controller's store.
namespace FixtureStore
{

constexpr char DeviceName[] = "KDR-450P";
// Software 1.1 (0x0101) and older have no fixture store commands.
constexpr int MinSoftwareVersion = 0x0102;
constexpr int StatusTimeoutMs = 4000;

enum Command : quint8 {
    ListCommand = 11,
    RecordCommand = 12,
    DeleteCommand = 13,
    StatusCommand = 14,
    ClearPatchListCommand = 15,
};

// The information block answers, the name is exactly "KDR-450P" and the software is newer
// than 1.1. Uses the master's current answer time-out.
bool checkDevice(BLPMaster *master);

struct DeviceStatus {
    bool enoughSpace = true;
    bool patchListNeedsClearing = false;
};
// Free slots and the patch-list flag. A failed or malformed answer counts as enough space
// and an empty patch list: the writes that follow fail if the device is really gone.
DeviceStatus queryDeviceStatus(BLPMaster *master, int slotsNeeded);

} // namespace FixtureStore
