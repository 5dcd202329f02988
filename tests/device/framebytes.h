#pragma once

// Frames as a device would put them on the wire, for feeding the engine in tests.

#include "blpengine.h"

#include <QByteArray>

#include <cstdint>

struct FrameSpec {
    uint8_t address = 0;
    uint8_t flags = BLPFrame::FlagFirst | BLPFrame::FlagLast;
    uint8_t type = BLPFrame::TypeStatusAnswer;
    uint8_t command = 0;
    uint16_t parameter = 0;
    uint8_t sequence = 0;
    QByteArray payload;
};

inline QByteArray frameBytes(const FrameSpec &f)
{
    QByteArray b;
    b.append(char(BLPFrame::Start));
    b.append(char(0));
    b.append(char(f.address));
    b.append(char(f.flags));
    b.append(char(f.type));
    b.append(char(f.command));
    b.append(char(f.parameter & 0xFF));
    b.append(char(f.parameter >> 8));
    b.append(char(f.payload.size() & 0xFF));
    b.append(char((f.payload.size() >> 8) & 0xFF));
    b.append(char(f.sequence));
    uint8_t sum = 0;
    for (char ch : b)
        sum = uint8_t(sum + uint8_t(ch));
    b.append(char(sum));
    for (char ch : f.payload)
        sum = uint8_t(sum + uint8_t(ch));
    b.append(f.payload);
    b.append(char(sum));
    b.append(char(BLPFrame::End));
    return b;
}

inline QByteArray statusAnswer(uint8_t status, uint8_t sequence = 0, uint8_t command = 0)
{
    FrameSpec f;
    f.type = BLPFrame::TypeStatusAnswer;
    f.sequence = sequence;
    f.command = command;
    f.payload = QByteArray(1, char(status));
    return frameBytes(f);
}

inline QByteArray dataAnswer(const QByteArray &payload, uint8_t sequence = 0, bool first = true,
                             bool last = true, uint8_t command = 0)
{
    FrameSpec f;
    f.type = BLPFrame::TypeDataAnswer;
    f.flags = uint8_t((first ? BLPFrame::FlagFirst : 0) | (last ? BLPFrame::FlagLast : 0));
    f.sequence = sequence;
    f.command = command;
    f.payload = payload;
    return frameBytes(f);
}
