#include "simulatedpty.h"

#include "simulatedftdidriver.h"

#include <QtGlobal>

// Pseudo-terminals are POSIX: elsewhere the bridge is not built, and nothing may use it.
#ifdef Q_OS_UNIX

#include <cerrno>
#include <chrono>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

int openPtyMaster(QString *slavePath)
{
    const int fd = posix_openpt(O_RDWR | O_NOCTTY);
    if (fd < 0)
        return -1;
    if (grantpt(fd) != 0 || unlockpt(fd) != 0 || !ptsname(fd)) {
        ::close(fd);
        return -1;
    }
    *slavePath = QString::fromLocal8Bit(ptsname(fd));
    return fd;
}

SimulatedPtyBridge::SimulatedPtyBridge(SimulatedFtdiDriver *driver, int index) : m_driver(driver)
{
    QString slavePath;
    const int fd = openPtyMaster(&slavePath);
    if (fd < 0)
        return;
    // Never blocks: with no program on the slave side, answers would fill the line for good.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    // Raw on the master side too, so no byte of a frame is taken for a line-editing key.
    termios t{};
    if (tcgetattr(fd, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
    }
    quint32 count = 0;
    FtdiHandle h = nullptr;
    if (driver->createDeviceInfoList(&count) != 0 || index < 0 || quint32(index) >= count ||
        driver->open(index, &h) != 0) {
        ::close(fd);
        return;
    }
    // The line as a controller's port is set, so the simulated device takes the bytes.
    driver->resetDevice(h);
    driver->setBaudRate(h, 250000);
    driver->setDataCharacteristics(h, 8, 2, 0);
    driver->setTimeouts(h, 20, 2000);
    m_slavePath = slavePath;
    m_master = fd;
    m_handle = h;
    m_in = std::thread([this] { toDevice(); });
    m_out = std::thread([this] { fromDevice(); });
}

SimulatedPtyBridge::~SimulatedPtyBridge()
{
    m_stop.store(true);
    if (m_in.joinable())
        m_in.join();
    if (m_out.joinable())
        m_out.join();
    if (m_handle)
        m_driver->close(m_handle);
    if (m_master >= 0)
        ::close(m_master);
}

void SimulatedPtyBridge::toDevice()
{
    char buf[512];
    while (!m_stop.load()) {
        pollfd pfd{m_master, POLLIN, 0};
        const int ready = poll(&pfd, 1, 10);
        if (ready <= 0)
            continue;
        if (!(pfd.revents & POLLIN)) {
            // No program has the slave side open (yet, or any more): wait for the next one.
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        quint32 written = 0;
        m_driver->write(m_handle, buf, quint32(n), &written);
    }
}

void SimulatedPtyBridge::fromDevice()
{
    char buf[512];
    while (!m_stop.load()) {
        quint32 queued = 0;
        m_driver->getStatus(m_handle, &queued, nullptr, nullptr);
        // One byte with the read time-out when nothing waits, so the loop does not spin.
        const quint32 want = qBound<quint32>(1, queued, sizeof buf);
        quint32 got = 0;
        if (m_driver->read(m_handle, buf, want, &got) != 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        for (quint32 done = 0; done < got && !m_stop.load();) {
            const ssize_t n = ::write(m_master, buf + done, got - done);
            if (n > 0)
                done += quint32(n);
            else if (n < 0 && errno != EAGAIN && errno != EINTR)
                break; // nobody on the slave side: the bytes are lost, as on an unplugged line
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
}

#endif // Q_OS_UNIX
