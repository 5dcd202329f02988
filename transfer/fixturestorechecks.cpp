#include "fixturestorechecks.h"

#include "devicerecord.h"

#include "blpmaster.h"
#include "devicelink.h"

namespace FixtureStore
{

bool checkDevice(BLPMaster *master, DeviceFailure *failure)
{
    QString name;
    int softwareVersion = 0;
    int hardwareVersion = 0;
    if (!master->readDeviceInfo(name, softwareVersion, hardwareVersion)) {
        *failure = DeviceFailure::of(master);
        return false;
    }
    if (name != QLatin1String(DeviceName) || softwareVersion < MinSoftwareVersion) {
        *failure = DeviceFailure::refused();
        return false;
    }
    return true;
}

DeviceStatus queryDeviceStatus(BLPMaster *master, int slotsNeeded)
{
    char answer[2] = {0, 0};
    int received = 0;
    bool ok = false;
    {
        const ScopedAnswerTimeout timeout(master, StatusTimeoutMs);
        ok = master->readData(2, answer, received, StatusCommand, 0);
    }

    DeviceStatus status;
    if (!ok || received != 2)
        return status;
    status.patchListNeedsClearing = (quint8(answer[1]) & 0x01) == 0;
    status.freeSlots = quint8(answer[0]);
    status.enoughSpace = status.freeSlots >= slotsNeeded;
    return status;
}

bool readRecord(BLPMaster *master, quint16 slot, char *buffer, DeviceFailure *failure)
{
    int received = 0;
    if (!master->readData(DeviceRecord::RecordSize, buffer, received, RecordCommand, slot)) {
        *failure = DeviceFailure::of(master);
        return false;
    }
    if (received != DeviceRecord::RecordSize) {
        *failure = DeviceFailure::withStatus(BLPMaster::LinkStatus::BadAnswer);
        return false;
    }
    return true;
}

} // namespace FixtureStore
