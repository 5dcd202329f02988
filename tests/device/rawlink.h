#pragma once

// Talks to a simulated controller the way a host would, at the byte level, through the
// driver interface only. Frames are built here by hand (not with the simulator's codec), so
// a codec bug cannot cancel itself out.

#include "ftdidriver.h"

#include <QByteArray>

#include <chrono>

struct RawAnswer {
    bool complete = false; // a whole frame (start to end byte) arrived in time
    QByteArray bytes;      // everything read, in order
    quint8 address = 0, flags = 0, type = 0, command = 0, sequence = 0;
    quint16 parameter = 0, length = 0;
    QByteArray payload;
    bool checksumsGood = false;
    quint8 status() const { return payload.isEmpty() ? 0xFF : quint8(payload[0]); }
};

QByteArray rawFrame(quint8 flags, quint8 type, quint8 command, quint16 parameter, quint8 sequence,
                    const QByteArray &payload = QByteArray(), quint8 address = 255);

class RawLink
{
public:
    // Lists the driver's devices and opens the given index, configured as the host does.
    RawLink(FtdiDriver *driver, int index);
    ~RawLink();
    bool isOpen() const { return m_handle != nullptr; }
    FtdiHandle handle() const { return m_handle; }

    bool send(const QByteArray &frame);
    // Reads one answer frame, giving up after `patience` without a byte.
    RawAnswer receive(std::chrono::milliseconds patience = std::chrono::milliseconds(200));
    RawAnswer exchange(const QByteArray &frame);

    // A whole read transaction (first request, then follow-ups until the last flag).
    bool readAll(quint8 command, quint16 parameter, QByteArray *data);
    // A whole segmented write with `segment` payload bytes per frame; the status of the
    // first non-zero answer, 0 when all were 0, 0xFF when an answer is missing.
    quint8 writeAll(quint8 command, quint16 parameter, const QByteArray &data, int segment);

private:
    FtdiDriver *m_driver;
    FtdiHandle m_handle = nullptr;
};
