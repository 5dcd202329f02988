#pragma once

// The brain of a simulated KDR-450P: what it stores and how it answers each host frame.
// Thread-safe on its own (one internal mutex), so tests may change its settings and inspect
// its store while a host talks to it. Timing, faults and the wire live in SimulatedDevice.

#include "blpprotocol.h"
#include "lockedaccess.h"
#include "simulatedframes.h"

#include <QByteArray>
#include <QList>
#include <QMap>

#include <mutex>

class SimulatedController
{
public:
    static constexpr int InfoBlockSize = BLPSize::InfoBlockLength;
    static constexpr int MaxNameLength = BLPSize::MaxNameLength;
    static constexpr int MaxLabelLength = BLPSize::MaxLabelLength;
    static constexpr int RecordSize = BLPSize::RecordSize;
    static constexpr int RecordHeaderSize = BLPSize::RecordHeaderSize;
    static constexpr int SlotByteOffset = BLPSize::RecordSlotOffset;
    static constexpr int FirmwareHeaderSize = BLPSize::FirmwareHeaderLength;
    static constexpr int MinFrameLimit = BLPSize::MinimumFrameLength;

    enum Command : quint8 {
        Probe = BLPCommand::Probe,
        DeviceInfo = BLPCommand::DeviceInfo,
        FirmwareHeader = BLPCommand::FirmwareHeader,
        FirmwareSector = BLPCommand::FirmwareSector,
        Label = BLPCommand::Label,
        FixtureList = BLPCommand::FixtureList,
        Record = BLPCommand::Record,
        DeleteRecord = BLPCommand::DeleteRecord,
        StoreStatus = BLPCommand::StoreStatus,
        ClearPatchList = BLPCommand::ClearPatchList,
    };
    // Failure statuses are the controller's own; the host treats every non-zero value but
    // the transient ones as a plain failure.
    enum AnswerStatus : quint8 {
        StatusOk = BLPStatus::Ok,
        StatusUnknownCommand = BLPStatus::UnknownCommand,
        StatusBadRequest = BLPStatus::BadRequest,
        StatusStoreFull = BLPStatus::StoreFull,
        StatusPatchListInUse = BLPStatus::PatchListInUse,
        StatusNoSuchSlot = BLPStatus::NoSuchSlot,
    };

    // The bytes themselves, so that a test sees a resend or reconnect that corrupts them.
    struct FirmwareSectorReceipt {
        quint16 index = 0;
        QByteArray data;
    };

    SimulatedController();

    QByteArray name() const { return lockedGet(m_mutex, m_name); }
    // More than 39 characters are cut.
    void setName(const QByteArray &name) { lockedSet(m_mutex, m_name, name.left(MaxNameLength)); }
    quint16 softwareVersion() const { return lockedGet(m_mutex, m_softwareVersion); }
    // Major in the high byte.
    void setSoftwareVersion(quint16 version) { lockedSet(m_mutex, m_softwareVersion, version); }
    quint16 hardwareVersion() const { return lockedGet(m_mutex, m_hardwareVersion); }
    void setHardwareVersion(quint16 version) { lockedSet(m_mutex, m_hardwareVersion, version); }
    QByteArray label() const { return lockedGet(m_mutex, m_label); }
    // More than 99 characters are cut.
    void setLabel(const QByteArray &label)
    {
        lockedSet(m_mutex, m_label, label.left(MaxLabelLength));
    }
    // The value the information block reports. The controller accepts frames up to the larger
    // of this and 80 bytes, as the host never goes below 80.
    quint16 frameLimit() const { return lockedGet(m_mutex, m_frameLimit); }
    void setFrameLimit(quint16 limit) { lockedSet(m_mutex, m_frameLimit, limit); }

    int capacity() const { return lockedGet(m_mutex, m_capacity); }
    void setCapacity(int slotCount); // 0..255; records in slots beyond it are dropped
    bool patchListEmpty() const { return lockedGet(m_mutex, m_patchListEmpty); }
    void setPatchListEmpty(bool empty) { lockedSet(m_mutex, m_patchListEmpty, empty); }

    // Stores a 5284-byte record in the lowest free slot and sets its slot byte; -1 when the
    // record has another size or no slot is free.
    int storeRecord(const QByteArray &record);
    QByteArray record(int slot) const; // empty when the slot is free
    // Puts a record into one slot as given, unchecked: restoring a saved store, or a damaged
    // record for tests. False for a slot outside the capacity.
    bool putRecord(int slot, const QByteArray &record);
    // Puts a record into the given slot (replacing what is there) and sets its slot byte;
    // false for a slot outside the capacity or a record of another size.
    bool storeRecordAt(int slot, const QByteArray &record);
    bool removeRecord(int slot);
    QMap<int, QByteArray> records() const { return lockedGet(m_mutex, m_records); }
    int freeSlots() const;
    void clearRecords();

    // The last header block received.
    QByteArray firmwareHeader() const { return lockedGet(m_mutex, m_firmwareHeader); }
    // Sectors received since the last header block, in arrival order.
    QList<FirmwareSectorReceipt> firmwareSectors() const
    {
        return lockedGet(m_mutex, m_firmwareSectors);
    }
    // True when the sectors the header announces (count at byte 46, sizes from byte 68) have
    // each arrived once, whole, and their bytes add up to the header's checksum (byte 100).
    bool firmwareImageIntact() const;
    // On: the final segment of the header's last sector is taken but not answered, as the
    // controller restarts into its new firmware. Off by default.
    void setRestartsAfterFirmware(bool restarts)
    {
        lockedSet(m_mutex, m_restartsAfterFirmware, restarts);
    }
    bool restartsAfterFirmware() const { return lockedGet(m_mutex, m_restartsAfterFirmware); }
    // Faults while the header's last sector is written, so that the host's rule for that
    // sector can be tried. Off by default.
    struct LastSectorFaults {
        quint8 status = 0;    // answered to its first segment; 0: off
        int silentAfter = -1; // no answer to its segments after this many; -1: off
    };
    void setLastSectorFaults(const LastSectorFaults &faults)
    {
        lockedSet(m_mutex, m_lastSectorFaults, faults);
    }
    LastSectorFaults lastSectorFaults() const { return lockedGet(m_mutex, m_lastSectorFaults); }
    // The software version the controller reports once an intact image has been programmed
    // (1.3 unless set; 0 keeps the version unchanged).
    void setVersionAfterFirmwareUpdate(quint16 version)
    {
        lockedSet(m_mutex, m_versionAfterFirmware, version);
    }

    // Handles one valid host frame; returns the whole answer frame in wire form, or nothing
    // when the controller does not answer.
    QByteArray answer(const SimulatedFrame &frame);

    // What the host may not exceed, for the frame receiver.
    int acceptedFrameLength() const;

private:
    QByteArray handleWrite(const SimulatedFrame &frame);
    QByteArray handleRead(const SimulatedFrame &frame);
    quint8 completeWrite();
    bool writesLastSectorLocked(const SimulatedFrame &frame) const;
    bool firmwareImageIntactLocked() const;
    quint8 startRead(quint8 command, quint16 parameter);
    QByteArray nextReadAnswer(const SimulatedFrame &frame);
    QByteArray statusAnswer(const SimulatedFrame &frame, quint8 status) const;
    QByteArray infoBlock() const;
    QByteArray fixtureList() const;
    int freeSlotsLocked() const;
    int storeRecordLocked(const QByteArray &record);
    int readChunkSize() const;

    mutable std::mutex m_mutex;
    QByteArray m_name;
    quint16 m_softwareVersion;
    quint16 m_hardwareVersion;
    QByteArray m_label;
    quint16 m_frameLimit;
    int m_capacity;
    bool m_patchListEmpty = true;
    QMap<int, QByteArray> m_records;
    QByteArray m_firmwareHeader;
    QList<FirmwareSectorReceipt> m_firmwareSectors;
    bool m_restartsAfterFirmware = false;
    LastSectorFaults m_lastSectorFaults;
    quint16 m_versionAfterFirmware = 0x0103;

    // The frame sequence of the running transaction, and the answer last given, so that a
    // resent frame (same sequence) is answered again instead of being applied twice.
    bool m_inTransaction = false;
    quint8 m_lastSequence = 0;
    QByteArray m_lastAnswer;

    // A segmented write being received.
    bool m_writing = false;
    quint8 m_writeCommand = 0;
    quint16 m_writeParameter = 0;
    QByteArray m_writeData;
    int m_writeSegments = 0;

    // A read being answered segment by segment.
    bool m_reading = false;
    quint8 m_readCommand = 0;
    QByteArray m_readData;
    int m_readOffset = 0;
};
