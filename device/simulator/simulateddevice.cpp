#include "simulateddevice.h"

#include <QLoggingCategory>

#include <thread>

// What the simulated controllers receive and answer, off by default: the other side of
// kdr.link.frames.
Q_LOGGING_CATEGORY(lcSimulator, "kdr.simulator", QtInfoMsg)

namespace
{
constexpr int FrameLogLimit = 20000;
// Readers that nap briefly (timer slack lowered, as the link's reader does) wake from a
// timed wait within some 10 us, so only the last stretch before a byte is spun; a longer
// spin made an idle window's connection poll cost a third of a percent of a core.
constexpr std::chrono::microseconds SpinWindow{20};
} // namespace

bool SimulatedDevice::Fault::take()
{
    if (times == 0)
        return false;
    if (after > 0) {
        --after;
        return false;
    }
    if (times > 0)
        --times;
    return true;
}

SimulatedDevice::SimulatedDevice(const QByteArray &description, const QByteArray &serialNumber,
                                 bool isController)
    : m_description(description), m_serialNumber(serialNumber),
      m_controller(isController ? std::make_unique<SimulatedController>() : nullptr)
{
}

SimulatedDevice::~SimulatedDevice() = default;

void SimulatedDevice::dropAnswers(int times, int after)
{
    Lock l(m_mutex);
    m_drop = {after, times};
}

void SimulatedDevice::answerWithStatus(quint8 status, int times, int after)
{
    Lock l(m_mutex);
    m_forcedStatus = {after, times};
    m_forcedStatusValue = status;
}

void SimulatedDevice::corruptAnswers(int times, int after, int byteOffset)
{
    Lock l(m_mutex);
    m_corrupt = {after, times};
    m_corruptOffset = byteOffset;
}

void SimulatedDevice::clearFaults()
{
    Lock l(m_mutex);
    m_drop = {};
    m_forcedStatus = {};
    m_corrupt = {};
    m_answering = true;
    m_answerDelay = std::chrono::microseconds{0};
    m_unplugAfterBytes = 0;
}

void SimulatedDevice::unplug()
{
    Lock l(m_mutex);
    unplugLocked();
}

void SimulatedDevice::unplugLocked()
{
    m_plugged = false;
    m_open = false;
    ++m_generation;
    m_unplugAfterBytes = 0;
    purgeLocked();
    m_changed.notify_all();
}

quint64 SimulatedDevice::badFramesReceived() const
{
    Lock l(m_mutex);
    return m_receiver.badFrames();
}

void SimulatedDevice::clearFrameLog()
{
    Lock l(m_mutex);
    m_frameLog.clear();
}

bool SimulatedDevice::waitUntilAnswersTaken(std::chrono::milliseconds timeout) const
{
    Lock l(m_mutex);
    return m_changed.wait_for(l, timeout, [this] { return m_outbound.empty(); });
}

bool SimulatedDevice::portOpen(quint64 *generation)
{
    Lock l(m_mutex);
    if (!m_plugged || m_open)
        return false;
    m_open = true;
    m_baudRate = 9600;
    m_wordLength = 8;
    m_stopBits = 1;
    m_parity = 0;
    m_readTimeoutMs = 0;
    purgeLocked();
    *generation = m_generation;
    return true;
}

void SimulatedDevice::portClose(quint64 generation)
{
    Lock l(m_mutex);
    if (generation == m_generation)
        m_open = false;
    m_changed.notify_all();
}

bool SimulatedDevice::aliveLocked(quint64 generation) const
{
    return m_plugged && m_open && generation == m_generation;
}

void SimulatedDevice::purgeLocked()
{
    m_outbound.clear();
    m_receiver.reset();
    m_changed.notify_all();
}

FtdiStatus SimulatedDevice::portReset(quint64 generation)
{
    Lock l(m_mutex);
    if (!aliveLocked(generation))
        return FtdiDriver::IoError;
    purgeLocked();
    return FtdiDriver::Ok;
}

FtdiStatus SimulatedDevice::portSetBaudRate(quint64 generation, quint32 baudRate)
{
    Lock l(m_mutex);
    if (!aliveLocked(generation))
        return FtdiDriver::IoError;
    if (baudRate == 0)
        return FtdiDriver::InvalidParameter;
    m_baudRate = baudRate;
    return FtdiDriver::Ok;
}

FtdiStatus SimulatedDevice::portSetDataCharacteristics(quint64 generation, quint8 wordLength,
                                                       quint8 stopBits, quint8 parity)
{
    Lock l(m_mutex);
    if (!aliveLocked(generation))
        return FtdiDriver::IoError;
    if ((wordLength != 7 && wordLength != 8) || (stopBits != 1 && stopBits != 2) || parity > 4)
        return FtdiDriver::InvalidParameter;
    m_wordLength = wordLength;
    m_stopBits = stopBits;
    m_parity = parity;
    return FtdiDriver::Ok;
}

FtdiStatus SimulatedDevice::portSetTimeouts(quint64 generation, quint32 readMs, quint32)
{
    // Writes never block here (the wire model delays arrival, not the call), so the write
    // time-out has nothing to bound.
    Lock l(m_mutex);
    if (!aliveLocked(generation))
        return FtdiDriver::IoError;
    m_readTimeoutMs = readMs;
    return FtdiDriver::Ok;
}

bool SimulatedDevice::lineMatchesLocked() const
{
    // The controller's UART runs at 250000 baud 8N2; anything else reaches it as noise.
    return m_baudRate == LineBaudRate && m_wordLength == 8 && m_stopBits == 2 && m_parity == 0;
}

FtdiStatus SimulatedDevice::portWrite(quint64 generation, const uchar *buffer, quint32 count,
                                      quint32 *countWritten)
{
    *countWritten = 0;
    Lock l(m_mutex);
    if (!aliveLocked(generation))
        return FtdiDriver::IoError;
    const Clock::time_point now = Clock::now();
    const bool understood = lineMatchesLocked() && m_controller;
    if (m_controller)
        m_receiver.setMaxFrameLength(m_controller->acceptedFrameLength());
    for (quint32 i = 0; i < count; ++i) {
        Clock::time_point at = now;
        if (m_wireTime) {
            at = qMax(m_inboundFreeAt, now) + ByteTime;
            m_inboundFreeAt = at;
        }
        ++m_bytesReceived;
        *countWritten = i + 1;
        if (understood && m_receiver.input(buffer[i]))
            frameArrivedLocked(m_receiver.frame(), at);
        if (m_unplugAfterBytes > 0 && --m_unplugAfterBytes == 0) {
            unplugLocked();
            return i + 1 == count ? FtdiDriver::Ok : FtdiDriver::IoError;
        }
    }
    return FtdiDriver::Ok;
}

void SimulatedDevice::frameArrivedLocked(const SimulatedFrame &frame, Clock::time_point at)
{
    ++m_framesReceived;
    if (m_frameLog.size() >= FrameLogLimit)
        m_frameLog.remove(0, FrameLogLimit / 2);
    m_frameLog.append(
        {frame.flags, frame.type, frame.command, frame.parameter, frame.length, frame.sequence});
    qCDebug(lcSimulator).noquote() << QStringLiteral("%1: frame in: command %2 seq %3 length %4")
                                          .arg(QLatin1String(m_description))
                                          .arg(frame.command)
                                          .arg(frame.sequence)
                                          .arg(frame.length);

    // Every switch counts every frame, whichever of them acts on it.
    const bool forceStatus = m_forcedStatus.take();
    const bool drop = m_drop.take();
    const bool corrupt = m_corrupt.take();
    if (!m_answering)
        return;
    QByteArray answer;
    if (forceStatus) {
        answer = SimulatedFrame::build(0, frame.flags & 0x0C, SimulatedFrame::StatusAnswer,
                                       frame.command, frame.parameter, frame.sequence,
                                       QByteArray(1, char(m_forcedStatusValue)));
    } else {
        answer = m_controller->answer(frame);
    }
    if (drop || answer.isEmpty())
        return;
    if (corrupt) {
        const int at = m_corruptOffset >= 0 ? m_corruptOffset : answer.size() + m_corruptOffset;
        if (at >= 0 && at < answer.size())
            answer[at] = char(~quint8(answer[at]));
    }
    Clock::time_point first = (m_wireTime ? at : Clock::now()) + m_answerDelay;
    if (m_wireTime)
        first = qMax(first, m_outboundFreeAt) + ByteTime;
    PendingAnswer pending{answer, first, 0};
    if (m_wireTime)
        m_outboundFreeAt = byteAvailableAt(pending, int(answer.size()) - 1);
    qCDebug(lcSimulator).noquote() << QStringLiteral("%1: answer out: command %2 seq %3 bytes %4")
                                          .arg(QLatin1String(m_description))
                                          .arg(frame.command)
                                          .arg(frame.sequence)
                                          .arg(answer.size());
    m_outbound.push_back(std::move(pending));
    ++m_answersSent;
    m_changed.notify_all();
}

SimulatedDevice::Clock::time_point SimulatedDevice::byteAvailableAt(const PendingAnswer &a,
                                                                    int index) const
{
    return m_wireTime ? a.firstByteAt + index * ByteTime : a.firstByteAt;
}

quint32 SimulatedDevice::availableLocked(Clock::time_point now) const
{
    quint32 n = 0;
    for (const PendingAnswer &a : m_outbound) {
        for (int i = a.taken; i < a.bytes.size(); ++i) {
            if (byteAvailableAt(a, i) > now)
                return n;
            ++n;
        }
    }
    return n;
}

FtdiStatus SimulatedDevice::portRead(quint64 generation, uchar *buffer, quint32 count,
                                     quint32 *countRead)
{
    *countRead = 0;
    Lock l(m_mutex);
    const bool bounded = m_readTimeoutMs > 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(m_readTimeoutMs);
    for (;;) {
        if (!aliveLocked(generation))
            return FtdiDriver::IoError;
        const Clock::time_point now = Clock::now();
        quint32 n = 0;
        while (n < count && !m_outbound.empty()) {
            PendingAnswer &a = m_outbound.front();
            if (byteAvailableAt(a, a.taken) > now)
                break;
            buffer[n++] = uchar(a.bytes[a.taken++]);
            if (a.taken == a.bytes.size())
                m_outbound.pop_front();
        }
        if (n > 0) {
            *countRead = n;
            m_bytesSent += n;
            if (m_outbound.empty())
                m_changed.notify_all();
            return FtdiDriver::Ok;
        }
        if (bounded && now >= deadline)
            return FtdiDriver::Ok;
        if (m_outbound.empty()) {
            if (bounded)
                m_changed.wait_until(l, deadline);
            else
                m_changed.wait(l);
        } else {
            const PendingAnswer &a = m_outbound.front();
            const Clock::time_point next = byteAvailableAt(a, a.taken);
            const Clock::time_point wake = bounded ? qMin(next, deadline) : next;
            if (wake - now > SpinWindow) {
                // A timed wait wakes a little late; leave the last stretch to the spin below.
                m_changed.wait_until(l, wake - SpinWindow);
            } else {
                // A byte is due within moments: yield instead of sleeping, so that
                // the line delivers at wire speed rather than at the timer's granularity.
                l.unlock();
                std::this_thread::yield();
                l.lock();
            }
        }
    }
}

FtdiStatus SimulatedDevice::portStatus(quint64 generation, quint32 *rxQueue)
{
    Lock l(m_mutex);
    if (!aliveLocked(generation))
        return FtdiDriver::IoError;
    *rxQueue = availableLocked(Clock::now());
    return FtdiDriver::Ok;
}
