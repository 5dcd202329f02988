#pragma once

// One FTDI device attached to the simulated bus: the USB-serial line (with a wire-time model
// and fault switches) and, for a controller, the SimulatedController behind it. A foreign
// FTDI device has no controller and never answers.
//
// Thread-safe: host reads and writes arrive from two threads through SimulatedFtdiDriver, and
// tests flip switches from a third. One mutex guards the line; reads wait on a condition
// variable, so an idle link costs nothing.

#include "ftdidriver.h"
#include "lockedaccess.h"
#include "simulatedcontroller.h"
#include "simulatedframes.h"

#include <QByteArray>
#include <QList>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

// What the device saw of one host frame, for tests that check the host's framing.
struct SimulatedFrameInfo {
    quint8 flags = 0;
    quint8 type = 0;
    quint8 command = 0;
    quint16 parameter = 0;
    quint16 length = 0;
    quint8 sequence = 0;
};

class SimulatedDevice
{
public:
    using Clock = std::chrono::steady_clock;
    // 11 bits per byte (start, 8 data, 2 stop) at 250000 baud.
    static constexpr std::chrono::microseconds ByteTime{44};
    static constexpr quint32 LineBaudRate = 250000;

    SimulatedDevice(const QByteArray &description, const QByteArray &serialNumber,
                    bool isController);
    ~SimulatedDevice();
    SimulatedDevice(const SimulatedDevice &) = delete;
    SimulatedDevice &operator=(const SimulatedDevice &) = delete;

    QByteArray description() const { return m_description; }
    QByteArray serialNumber() const { return m_serialNumber; }
    // Null for a foreign device.
    SimulatedController *controller() const { return m_controller.get(); }

    // With the model on (the default) every byte takes 44 us on the wire in each direction;
    // off, answers are ready as soon as the request is complete.
    void setWireTimeModel(bool on) { lockedSet(m_mutex, m_wireTime, on); }
    bool wireTimeModel() const { return lockedGet(m_mutex, m_wireTime); }

    // Fault switches. Each one counts the host's complete frames from the moment it is set:
    // `after` frames pass untouched, then the next `times` frames (-1: every later one) get
    // the fault. A frame answered with a forced status is not seen by the controller; a
    // dropped or corrupted answer is, as if the line had lost it.
    void dropAnswers(int times, int after = 0);
    void answerWithStatus(quint8 status, int times, int after = 0);
    // Flips all bits of one answer byte: offset from the frame's start, or from its end when
    // negative (-2: the frame checksum, 11: the header checksum).
    void corruptAnswers(int times, int after = 0, int byteOffset = -2);
    // false: frames are swallowed and nothing is answered until switched back.
    void setAnswering(bool answering) { lockedSet(m_mutex, m_answering, answering); }
    // Extra time before each answer's first byte ("answers slowly").
    void setAnswerDelay(std::chrono::microseconds delay)
    {
        lockedSet(m_mutex, m_answerDelay, delay);
    }
    // The device goes away once it has received this many more bytes (mid-transfer unplug);
    // 0 switches it off.
    void unplugAfterReceivedBytes(qint64 bytes)
    {
        lockedSet(m_mutex, m_unplugAfterBytes, qMax<qint64>(0, bytes));
    }
    void clearFaults(); // all of the above back to normal

    // Gone: open handles fail at once (a blocked read wakes), listings leave it out.
    void unplug();
    // Back on the bus as a new device: old handles stay dead.
    void plugIn() { lockedSet(m_mutex, m_plugged, true); }
    bool isPlugged() const { return lockedGet(m_mutex, m_plugged); }

    // Valid host frames.
    quint64 framesReceived() const { return lockedGet(m_mutex, m_framesReceived); }
    quint64 badFramesReceived() const;
    quint64 answersSent() const { return lockedGet(m_mutex, m_answersSent); }
    quint64 bytesReceived() const { return lockedGet(m_mutex, m_bytesReceived); }
    // Answer bytes handed to the host.
    quint64 bytesSent() const { return lockedGet(m_mutex, m_bytesSent); }
    // The latest frames, oldest first.
    QList<SimulatedFrameInfo> frameLog() const { return lockedGet(m_mutex, m_frameLog); }
    void clearFrameLog();
    // Blocks until the host has no answer bytes pending or the timeout passes (tests).
    bool waitUntilAnswersTaken(std::chrono::milliseconds timeout) const;

private:
    friend class SimulatedFtdiDriver;

    struct Fault {
        int after = 0;
        int times = 0;
        bool take();
    };
    struct PendingAnswer {
        QByteArray bytes;
        Clock::time_point firstByteAt;
        int taken = 0;
    };
    using Lock = std::unique_lock<std::mutex>;

    // The port side, for SimulatedFtdiDriver. A handle remembers the generation it opened;
    // unplugging starts a new one.
    bool portOpen(quint64 *generation);
    void portClose(quint64 generation);
    FtdiStatus portReset(quint64 generation);
    FtdiStatus portSetBaudRate(quint64 generation, quint32 baudRate);
    FtdiStatus portSetDataCharacteristics(quint64 generation, quint8 wordLength, quint8 stopBits,
                                          quint8 parity);
    FtdiStatus portSetTimeouts(quint64 generation, quint32 readMs, quint32 writeMs);
    FtdiStatus portRead(quint64 generation, uchar *buffer, quint32 count, quint32 *countRead);
    FtdiStatus portWrite(quint64 generation, const uchar *buffer, quint32 count,
                         quint32 *countWritten);
    FtdiStatus portStatus(quint64 generation, quint32 *rxQueue);

    bool aliveLocked(quint64 generation) const;
    bool lineMatchesLocked() const;
    void frameArrivedLocked(const SimulatedFrame &frame, Clock::time_point at);
    void unplugLocked();
    void purgeLocked();
    Clock::time_point byteAvailableAt(const PendingAnswer &a, int index) const;
    quint32 availableLocked(Clock::time_point now) const;

    const QByteArray m_description;
    const QByteArray m_serialNumber;
    const std::unique_ptr<SimulatedController> m_controller;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_plugged = true;
    bool m_open = false;
    quint64 m_generation = 1;
    quint32 m_baudRate = 9600;
    quint8 m_wordLength = 8;
    quint8 m_stopBits = 1;
    quint8 m_parity = 0;
    quint32 m_readTimeoutMs = 0; // 0: wait without limit, as the driver does before set-up
    bool m_wireTime = true;
    Clock::time_point m_inboundFreeAt;
    Clock::time_point m_outboundFreeAt;
    SimulatedFrameReceiver m_receiver;
    std::deque<PendingAnswer> m_outbound;

    Fault m_drop;
    Fault m_forcedStatus;
    quint8 m_forcedStatusValue = 0;
    Fault m_corrupt;
    int m_corruptOffset = -2;
    bool m_answering = true;
    std::chrono::microseconds m_answerDelay{0};
    qint64 m_unplugAfterBytes = 0;

    quint64 m_framesReceived = 0;
    quint64 m_answersSent = 0;
    quint64 m_bytesReceived = 0;
    quint64 m_bytesSent = 0;
    QList<SimulatedFrameInfo> m_frameLog;
};
