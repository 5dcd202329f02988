#include "serialftdidriver.h"

#include "blpprotocol.h"
#include "serialline.h"

#include <QFile>

#include <cerrno>
#include <chrono>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace
{

using Clock = std::chrono::steady_clock;

// Milliseconds left until the deadline, for poll(); -1 waits without limit.
int msLeft(bool bounded, Clock::time_point deadline)
{
    if (!bounded)
        return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

bool hungUp(short revents)
{
    return revents & (POLLHUP | POLLERR | POLLNVAL);
}

bool deviceGoneErrno(int e)
{
    return e == EIO || e == ENODEV || e == ENXIO || e == EBADF;
}

} // namespace

struct SerialFtdiDriver::Port : OpenPort {
    int fd = -1;
    SerialLineSettings line;
};

SerialFtdiDriver::SerialFtdiDriver(const QString &explicitPort) : SerialPortDriverBase(explicitPort)
{
}

SerialFtdiDriver::~SerialFtdiDriver()
{
    closeAll();
}

SerialPortDriverBase::OpenPort *SerialFtdiDriver::openPath(const QString &path)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    // One program at a time on the line; a second opener would steal answer bytes.
    if (ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY) {
        ::close(fd);
        return nullptr;
    }
    auto *p = new Port;
    p->fd = fd;
    return p;
}

bool SerialFtdiDriver::release(OpenPort *port)
{
    return ::close(static_cast<Port *>(port)->fd) == 0;
}

FtdiStatus SerialFtdiDriver::resetPort(OpenPort *port)
{
    auto *p = static_cast<Port *>(port);
    if (tcflush(p->fd, TCIOFLUSH) != 0)
        return IoError;
    // Best effort: without the flag every answer waits for the chip's latency timer.
    setSerialLowLatency(p->fd);
    return Ok;
}

FtdiStatus SerialFtdiDriver::setPortBaudRate(OpenPort *port, quint32 baudRate)
{
    auto *p = static_cast<Port *>(port);
    SerialLineSettings line = p->line;
    line.baudRate = baudRate;
    if (!applySerialLineSettings(p->fd, line))
        return IoError;
    p->line = line;
    return Ok;
}

FtdiStatus SerialFtdiDriver::setPortDataCharacteristics(OpenPort *port, quint8 wordLength,
                                                        quint8 stopBits, quint8 parity)
{
    auto *p = static_cast<Port *>(port);
    SerialLineSettings line = p->line;
    line.wordLength = wordLength;
    line.stopBits = stopBits;
    line.parity = parity;
    if (!applySerialLineSettings(p->fd, line))
        return IoError;
    p->line = line;
    return Ok;
}

FtdiStatus SerialFtdiDriver::readPort(OpenPort *port, void *buffer, quint32 count,
                                      quint32 *countRead)
{
    auto *p = static_cast<Port *>(port);
    const quint32 timeout = p->readTimeoutMs.load();
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout);
    for (;;) {
        if (p->gone.load())
            return IoError;
        const ssize_t n = ::read(p->fd, buffer, count);
        if (n > 0) {
            *countRead = quint32(n);
            return Ok;
        }
        if (n == 0 || (n < 0 && deviceGoneErrno(errno))) {
            // A tty reads end-of-file only after a hang-up: the device has gone.
            p->gone.store(true);
            return IoError;
        }
        if (errno != EAGAIN && errno != EINTR)
            return IoError;
        const int wait = msLeft(timeout > 0, deadline);
        if (wait == 0)
            return Ok;
        pollfd pfd{p->fd, POLLIN, 0};
        const int r = poll(&pfd, 1, wait);
        if (r < 0 && errno != EINTR)
            return IoError;
        if (r > 0 && hungUp(pfd.revents) && !(pfd.revents & POLLIN)) {
            p->gone.store(true);
            return IoError;
        }
    }
}

FtdiStatus SerialFtdiDriver::writePort(OpenPort *port, const void *buffer, quint32 count,
                                       quint32 *countWritten)
{
    auto *p = static_cast<Port *>(port);
    const quint32 timeout = p->writeTimeoutMs.load();
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout);
    const auto *bytes = static_cast<const char *>(buffer);
    quint32 done = 0;
    while (done < count) {
        if (p->gone.load())
            break;
        const ssize_t n = ::write(p->fd, bytes + done, count - done);
        if (n > 0) {
            done += quint32(n);
            continue;
        }
        if (n < 0 && deviceGoneErrno(errno)) {
            p->gone.store(true);
            break;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            break;
        const int wait = msLeft(timeout > 0, deadline);
        if (wait == 0)
            break; // the write time-out: report what left
        pollfd pfd{p->fd, POLLOUT, 0};
        const int r = poll(&pfd, 1, wait);
        if (r < 0 && errno != EINTR)
            break;
        if (r > 0 && hungUp(pfd.revents)) {
            p->gone.store(true);
            break;
        }
    }
    *countWritten = done;
    return p->gone.load() ? IoError : Ok;
}

FtdiStatus SerialFtdiDriver::queuesOf(OpenPort *port, quint32 *rxQueue, quint32 *txQueue)
{
    auto *p = static_cast<Port *>(port);
    pollfd pfd{p->fd, 0, 0};
    if (poll(&pfd, 1, 0) > 0 && hungUp(pfd.revents)) {
        p->gone.store(true);
        return IoError;
    }
    int modem = 0;
    if (ioctl(p->fd, TIOCMGET, &modem) != 0 && deviceGoneErrno(errno)) {
        p->gone.store(true);
        return IoError;
    }
    int rx = 0;
    int tx = 0;
    if (ioctl(p->fd, FIONREAD, &rx) != 0)
        rx = 0;
    if (ioctl(p->fd, TIOCOUTQ, &tx) != 0)
        tx = 0;
    *rxQueue = quint32(qMax(0, rx));
    *txQueue = quint32(qMax(0, tx));
    return Ok;
}
