#include "simulatedcontroller.h"

namespace
{
constexpr int MaxWriteLength = 4 << 20; // far above any firmware sector; stops a runaway host
constexpr quint8 AnswerAddress = BLPFrame::AnswerAddress;

using Lock = std::lock_guard<std::mutex>;

void putLe16(QByteArray &b, int at, quint16 v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}
} // namespace

SimulatedController::SimulatedController()
    : m_name(BLPDevice::ControllerName), m_softwareVersion(0x0103), m_hardwareVersion(0x0100),
      m_frameLimit(MinFrameLimit), m_capacity(100)
{
}

int SimulatedController::acceptedFrameLength() const
{
    Lock l(m_mutex);
    return qMax(int(m_frameLimit), MinFrameLimit);
}

void SimulatedController::setCapacity(int slotCount)
{
    Lock l(m_mutex);
    m_capacity = qBound(0, slotCount, 255);
    while (!m_records.isEmpty() && m_records.lastKey() >= m_capacity)
        m_records.remove(m_records.lastKey());
}

int SimulatedController::storeRecord(const QByteArray &record)
{
    Lock l(m_mutex);
    return record.size() == RecordSize ? storeRecordLocked(record) : -1;
}

int SimulatedController::storeRecordLocked(const QByteArray &record)
{
    for (int slot = 0; slot < m_capacity; ++slot) {
        if (m_records.contains(slot))
            continue;
        QByteArray stored = record;
        stored[SlotByteOffset] = char(slot);
        m_records.insert(slot, stored);
        return slot;
    }
    return -1;
}

QByteArray SimulatedController::record(int slot) const
{
    Lock l(m_mutex);
    return m_records.value(slot);
}

bool SimulatedController::putRecord(int slot, const QByteArray &record)
{
    Lock l(m_mutex);
    if (slot < 0 || slot >= m_capacity)
        return false;
    m_records.insert(slot, record);
    return true;
}

bool SimulatedController::storeRecordAt(int slot, const QByteArray &record)
{
    Lock l(m_mutex);
    if (slot < 0 || slot >= m_capacity || record.size() != RecordSize)
        return false;
    QByteArray stored = record;
    stored[SlotByteOffset] = char(slot);
    m_records.insert(slot, stored);
    return true;
}

bool SimulatedController::removeRecord(int slot)
{
    Lock l(m_mutex);
    return m_records.remove(slot) > 0;
}

int SimulatedController::freeSlots() const
{
    Lock l(m_mutex);
    return freeSlotsLocked();
}

int SimulatedController::freeSlotsLocked() const
{
    return m_capacity - int(m_records.size());
}

void SimulatedController::clearRecords()
{
    Lock l(m_mutex);
    m_records.clear();
}

bool SimulatedController::firmwareImageIntact() const
{
    Lock l(m_mutex);
    return firmwareImageIntactLocked();
}

bool SimulatedController::firmwareImageIntactLocked() const
{
    if (m_firmwareHeader.size() != FirmwareHeaderSize)
        return false;
    const auto le32 = [this](int at) {
        quint32 v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | quint8(m_firmwareHeader[at + i]);
        return v;
    };
    const int count = qMin(int(quint8(m_firmwareHeader[46])), 8);
    if (m_firmwareSectors.size() != count)
        return false;
    quint32 sum = 0;
    for (int i = 0; i < count; ++i) {
        const FirmwareSectorReceipt &r = m_firmwareSectors[i];
        if (r.index != i || r.data.size() != qint64(qint32(le32(68 + 4 * i))))
            return false;
        for (char c : r.data)
            sum += quint8(c);
    }
    return sum == le32(100);
}

QByteArray SimulatedController::answer(const SimulatedFrame &frame)
{
    Lock l(m_mutex);
    if (frame.isFirst()) {
        m_writing = false;
        m_reading = false;
        if (frame.sequence != 0) {
            m_inTransaction = false;
            return statusAnswer(frame, StatusBadRequest);
        }
        m_inTransaction = true;
        m_lastSequence = 0;
    } else {
        if (!m_inTransaction)
            return statusAnswer(frame, StatusBadRequest);
        if (frame.sequence == m_lastSequence)
            return m_lastAnswer; // a resend: the first copy was handled already
        if (frame.sequence != quint8(m_lastSequence + 1)) {
            m_inTransaction = false;
            return statusAnswer(frame, StatusBadRequest);
        }
        m_lastSequence = frame.sequence;
    }
    QByteArray reply = frame.tooLong                        ? statusAnswer(frame, StatusBadRequest)
                       : frame.type == SimulatedFrame::Data ? handleWrite(frame)
                                                            : handleRead(frame);
    if (reply.isEmpty()) {
        m_inTransaction = false;
    } else if (reply.at(4) == char(SimulatedFrame::StatusAnswer) &&
               reply.at(12) != char(StatusOk)) {
        m_inTransaction = false;
        m_writing = false;
        m_reading = false;
    }
    m_lastAnswer = reply;
    return reply;
}

QByteArray SimulatedController::statusAnswer(const SimulatedFrame &frame, quint8 status) const
{
    return SimulatedFrame::build(
        AnswerAddress, frame.flags & (SimulatedFrame::FirstSegment | SimulatedFrame::LastSegment),
        SimulatedFrame::StatusAnswer, frame.command, frame.parameter, frame.sequence,
        QByteArray(1, char(status)));
}

// A segment of the write of the sector that the last header names as its last one.
bool SimulatedController::writesLastSectorLocked(const SimulatedFrame &frame) const
{
    return frame.command == FirmwareSector && m_firmwareHeader.size() == FirmwareHeaderSize &&
           frame.parameter + 1 == quint8(m_firmwareHeader[46]);
}

QByteArray SimulatedController::handleWrite(const SimulatedFrame &frame)
{
    if (writesLastSectorLocked(frame)) {
        const LastSectorFaults &faults = m_lastSectorFaults;
        if (frame.isFirst() && faults.status != StatusOk)
            return statusAnswer(frame, faults.status);
        const int segment = frame.isFirst() ? 1 : m_writeSegments + 1;
        if (faults.silentAfter >= 0 && segment > faults.silentAfter)
            return QByteArray();
    }
    if (frame.isFirst()) {
        switch (frame.command) {
        case Record:
            if (!m_patchListEmpty)
                return statusAnswer(frame, StatusPatchListInUse);
            if (freeSlotsLocked() <= 0)
                return statusAnswer(frame, StatusStoreFull);
            break;
        case Probe:
        case FirmwareHeader:
        case FirmwareSector:
        case ClearPatchList:
            break;
        default:
            return statusAnswer(frame, StatusUnknownCommand);
        }
        m_writing = true;
        m_writeCommand = frame.command;
        m_writeParameter = frame.parameter;
        m_writeData = frame.payload;
        m_writeSegments = 1;
    } else {
        if (!m_writing || frame.command != m_writeCommand)
            return statusAnswer(frame, StatusBadRequest);
        m_writeData.append(frame.payload);
        ++m_writeSegments;
        if (m_writeData.size() > MaxWriteLength)
            return statusAnswer(frame, StatusBadRequest);
    }
    if (!frame.isLast())
        return statusAnswer(frame, StatusOk);
    m_writing = false;
    const bool restart = m_restartsAfterFirmware && writesLastSectorLocked(frame);
    const quint8 status = completeWrite();
    return restart ? QByteArray() : statusAnswer(frame, status);
}

quint8 SimulatedController::completeWrite()
{
    const QByteArray data = std::move(m_writeData);
    m_writeData = QByteArray();
    switch (m_writeCommand) {
    case Probe:
        return StatusOk;
    case ClearPatchList:
        m_patchListEmpty = true;
        return StatusOk;
    case Record:
        if (data.size() != RecordSize)
            return StatusBadRequest;
        return storeRecordLocked(data) >= 0 ? StatusOk : StatusStoreFull;
    case FirmwareHeader:
        if (data.size() != FirmwareHeaderSize)
            return StatusBadRequest;
        m_firmwareHeader = data;
        m_firmwareSectors.clear();
        return StatusOk;
    case FirmwareSector: {
        m_firmwareSectors.append(FirmwareSectorReceipt{m_writeParameter, data});
        // The whole image is in: the controller now runs it.
        if (m_versionAfterFirmware != 0 && firmwareImageIntactLocked())
            m_softwareVersion = m_versionAfterFirmware;
        return StatusOk;
    }
    default:
        return StatusUnknownCommand;
    }
}

QByteArray SimulatedController::handleRead(const SimulatedFrame &frame)
{
    if (frame.isFirst()) {
        const quint8 status = startRead(frame.command, frame.parameter);
        if (status != StatusOk)
            return statusAnswer(frame, status);
    } else if (!m_reading || frame.command != m_readCommand) {
        return statusAnswer(frame, StatusBadRequest);
    }
    return nextReadAnswer(frame);
}

quint8 SimulatedController::startRead(quint8 command, quint16 parameter)
{
    switch (command) {
    case DeviceInfo:
        m_readData = infoBlock();
        break;
    case Label:
        m_readData = m_label;
        break;
    case FixtureList:
        m_readData = fixtureList();
        break;
    case StoreStatus:
        m_readData = QByteArray(2, '\0');
        m_readData[0] = char(qBound(0, freeSlotsLocked(), 255));
        m_readData[1] = char(m_patchListEmpty ? 1 : 0);
        break;
    case Record:
        if (!m_records.contains(parameter))
            return StatusNoSuchSlot;
        m_readData = m_records.value(parameter);
        break;
    case DeleteRecord:
        if (!m_patchListEmpty)
            return StatusPatchListInUse;
        if (!m_records.remove(parameter))
            return StatusNoSuchSlot;
        m_readData = QByteArray(2, '\0');
        m_readData[0] = char(parameter);
        break;
    default:
        return StatusUnknownCommand;
    }
    m_reading = true;
    m_readCommand = command;
    m_readOffset = 0;
    return StatusOk;
}

QByteArray SimulatedController::nextReadAnswer(const SimulatedFrame &frame)
{
    const int size = int(m_readData.size());
    const int chunk = qMin(size - m_readOffset, readChunkSize());
    quint8 flags = 0;
    if (m_readOffset == 0)
        flags |= SimulatedFrame::FirstSegment;
    if (m_readOffset + chunk == size) {
        flags |= SimulatedFrame::LastSegment;
        m_reading = false;
    }
    const QByteArray payload = m_readData.mid(m_readOffset, chunk);
    m_readOffset += chunk;
    return SimulatedFrame::build(AnswerAddress, flags, SimulatedFrame::DataAnswer, frame.command,
                                 frame.parameter, frame.sequence, payload);
}

int SimulatedController::readChunkSize() const
{
    return qMax(int(m_frameLimit), MinFrameLimit) - SimulatedFrame::Overhead;
}

QByteArray SimulatedController::infoBlock() const
{
    QByteArray b(InfoBlockSize, '\0');
    putLe16(b, 2, m_hardwareVersion);
    putLe16(b, 4, m_softwareVersion);
    for (int i = 0; i < m_name.size(); ++i)
        b[6 + i] = m_name[i];
    putLe16(b, 46, m_frameLimit);
    return b;
}

QByteArray SimulatedController::fixtureList() const
{
    QByteArray list(2, '\0');
    putLe16(list, 0, quint16(m_records.size()));
    for (auto it = m_records.cbegin(); it != m_records.cend(); ++it) {
        // Entries are whole headers carrying their slot, even for a record put in raw.
        QByteArray header = it.value().left(RecordHeaderSize);
        header.append(QByteArray(RecordHeaderSize - header.size(), '\0'));
        header[SlotByteOffset] = char(it.key());
        list.append(header);
    }
    return list;
}
