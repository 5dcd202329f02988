#pragma once

// What a device job is and how it ended: the one value every front end words for itself.

#include "storeplan.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QMetaType>

#include <memory>
#include <vector>

class QBLRemoteFixtureDefinition;

enum class DeviceJob {
    None,
    Refresh,        // reading the fixture list
    Upload,
    Download,
    Delete,
    ClearPatchList,
    ChangeDevice,
    Discover,
    FirmwareUpdate,
    Probe,          // the connection poll's probe; holds the lock like any job
};

// One per job, whatever terminal signal its worker gave. A failure comes with its cause
// (DeviceFailure, see DeviceJobRunner::jobEnded).
enum class DeviceJobOutcome {
    Done,                    // receivedData, dataSent, fixturesDownloaded, fixturesDeleted,
                             // success, done, finished
    Failed,                  // failed(): the link, the device check or the controller
    Aborted,                 // downloadAborted, aborted, the clearer's aborted
    NotEnoughFreeSlots,      // failedNotEnoughFreeSpace
    ChannelCountsOutOfRange, // failedTooManyOrNotEnoughChannels
    PatchListKept,           // failedPatchingNeedsToBeCleared, and the patch list was not cleared
    PatchListClearFailed,    // the clearer's failed() on the way to an upload or deletion
    PatchListClearAborted,   // the clearer's aborted() on that way
    MalformedList,           // a fixture list answer of the wrong length
    WrongDevice,             // the firmware updater's refusal: not a KDR-450P, nothing written
};

Q_DECLARE_METATYPE(DeviceJob)
Q_DECLARE_METATYPE(DeviceJobOutcome)

// A fixture list answer, checked once: a 2-byte count, then count 244-byte headers. The window,
// the tool and the job runner all read it through here.
class StoredFixtureList
{
public:
    // False for an answer of the wrong length (the list then stays empty). An answer of only
    // the count 0 is a store without definitions: parsed, and empty.
    bool parse(QByteArrayView answer);
    void clear();

    int count() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }
    // The controller's answer as it came: the count, then the headers back to back.
    const QByteArray &answer() const { return m_answer; }
    // In list order, viewing answer().
    QList<QByteArrayView> headers() const;
    // Each header with the slot its slot byte names.
    QList<StoredRecord> storedHeaders() const;
    // The free slots reported with the list; -1 when the controller did not say.
    int freeSlots() const { return m_freeSlots; }
    void setFreeSlots(int freeSlots) { m_freeSlots = freeSlots; }
    // Stored plus free: the store's size, or -1 when unknown.
    int capacity() const { return m_freeSlots < 0 ? -1 : m_count + m_freeSlots; }
    std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> entries() const;

private:
    QByteArray m_answer;
    int m_count = 0;
    int m_freeSlots = -1;
};
