#pragma once

// The controller's side of the frame format: the simulated controller parses what the host
// sends with the same rules the host applies to answers, and builds answers byte-exactly.
// Written apart from the host's protocol engine on purpose, so that a host bug cannot hide
// behind a shared codec.

#include <QByteArray>
#include <QtGlobal>

struct SimulatedFrame {
    enum Type : quint8 { Data = 0, StatusAnswer = 1, ReadRequest = 2, DataAnswer = 3 };
    enum Flag : quint8 { FirstSegment = 0x08, LastSegment = 0x04, ResentMiddle = 0x01 };
    static constexpr quint8 Start = 0xAA;
    static constexpr quint8 End = 0xCC;
    static constexpr int HeaderSize = 12;
    static constexpr int Overhead = 14;

    quint8 address = 0;
    quint8 flags = 0;
    quint8 type = 0;
    quint8 command = 0;
    quint16 parameter = 0;
    quint16 length = 0; // as announced; payload is empty when the frame was too long
    quint8 sequence = 0;
    bool tooLong = false; // longer than the receiver's limit: checked but not stored
    QByteArray payload;

    bool isFirst() const { return flags & FirstSegment; }
    bool isLast() const { return flags & LastSegment; }

    // A whole frame in wire form (checksums and end byte included).
    static QByteArray build(quint8 address, quint8 flags, quint8 type, quint8 command,
                            quint16 parameter, quint8 sequence, const QByteArray &payload);
};

// Recognises host frames byte by byte: hunt for 0xAA, 11 more header bytes, payload, frame
// checksum and 0xCC. Frames addressed 1..254 are dropped silently; a bad header checksum or a
// type other than data or read request is a bad frame, and so is a bad trailer.
class SimulatedFrameReceiver
{
public:
    // Returns true when this byte completed a valid frame; it is then in frame().
    bool input(quint8 byte);
    const SimulatedFrame &frame() const { return m_frame; }

    // Frames longer than this are checked but their payload is not kept.
    void setMaxFrameLength(int length) { m_maxFrameLength = length; }
    quint64 badFrames() const { return m_badFrames; }
    void reset();

private:
    enum class State { Hunting, Header, Payload, Trailer };

    void finishHeader();

    State m_state = State::Hunting;
    quint8 m_header[SimulatedFrame::HeaderSize] = {};
    int m_headerPos = 0;
    int m_payloadLeft = 0;
    int m_trailerPos = 0;
    quint8 m_frameSum = 0;
    quint8 m_trailer[2] = {};
    int m_maxFrameLength = 65549;
    quint64 m_badFrames = 0;
    SimulatedFrame m_frame;
};
