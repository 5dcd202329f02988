#include "simulatedframes.h"

QByteArray SimulatedFrame::build(quint8 address, quint8 flags, quint8 type, quint8 command,
                                 quint16 parameter, quint8 sequence, const QByteArray &payload)
{
    const int length = int(payload.size());
    QByteArray frame(length + Overhead, '\0');
    auto *b = reinterpret_cast<quint8 *>(frame.data());
    b[0] = Start;
    b[1] = 0;
    b[2] = address;
    b[3] = flags;
    b[4] = type;
    b[5] = command;
    b[6] = quint8(parameter);
    b[7] = quint8(parameter >> 8);
    b[8] = quint8(length);
    b[9] = quint8(length >> 8);
    b[10] = sequence;
    quint8 sum = 0;
    for (int i = 0; i < 11; ++i)
        sum += b[i];
    b[11] = sum;
    for (int i = 0; i < length; ++i) {
        b[12 + i] = quint8(payload[i]);
        sum += b[12 + i];
    }
    b[12 + length] = sum;
    b[13 + length] = End;
    return frame;
}

void SimulatedFrameReceiver::reset()
{
    m_state = State::Hunting;
    m_headerPos = 0;
}

bool SimulatedFrameReceiver::input(quint8 byte)
{
    switch (m_state) {
    case State::Hunting:
        if (byte == SimulatedFrame::Start) {
            m_header[0] = byte;
            m_headerPos = 1;
            m_state = State::Header;
        }
        return false;
    case State::Header:
        m_header[m_headerPos++] = byte;
        if (m_headerPos == SimulatedFrame::HeaderSize)
            finishHeader();
        return false;
    case State::Payload:
        if (!m_frame.tooLong)
            m_frame.payload.append(char(byte));
        m_frameSum += byte;
        if (--m_payloadLeft == 0) {
            m_state = State::Trailer;
            m_trailerPos = 0;
        }
        return false;
    case State::Trailer:
        m_trailer[m_trailerPos++] = byte;
        if (m_trailerPos < 2)
            return false;
        m_state = State::Hunting;
        if (m_trailer[0] == m_frameSum && m_trailer[1] == SimulatedFrame::End)
            return true;
        ++m_badFrames;
        return false;
    }
    return false;
}

void SimulatedFrameReceiver::finishHeader()
{
    const quint8 address = m_header[2];
    if (address >= 1 && address <= 254) {
        m_state = State::Hunting; // someone else's frame: not an error
        return;
    }
    quint8 sum = 0;
    for (int i = 0; i < 11; ++i)
        sum += m_header[i];
    const quint8 type = m_header[4];
    if (sum != m_header[11] ||
        (type != SimulatedFrame::Data && type != SimulatedFrame::ReadRequest)) {
        ++m_badFrames;
        m_state = State::Hunting;
        return;
    }
    m_frame.address = address;
    m_frame.flags = m_header[3];
    m_frame.type = type;
    m_frame.command = m_header[5];
    m_frame.parameter = quint16(m_header[6] | (m_header[7] << 8));
    m_frame.length = quint16(m_header[8] | (m_header[9] << 8));
    m_frame.sequence = m_header[10];
    m_frame.tooLong = m_frame.length + SimulatedFrame::Overhead > m_maxFrameLength;
    m_frame.payload.clear();
    if (!m_frame.tooLong)
        m_frame.payload.reserve(m_frame.length);
    m_frameSum = sum;
    m_payloadLeft = m_frame.length;
    m_trailerPos = 0;
    m_state = m_payloadLeft > 0 ? State::Payload : State::Trailer;
}
