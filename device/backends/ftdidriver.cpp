#include "ftdidriver.h"

#ifdef KDR_WITH_TERMIOS2
#include "serialftdidriver.h"
#else
#include "qtserialftdidriver.h"
#endif

#include <QByteArray>

#include <atomic>
#include <cstring>

namespace
{
std::atomic<FtdiDriver *> g_current{nullptr};
std::atomic<bool> g_platformForbidden{false};

void putField(uchar *field, int size, const QByteArray &text)
{
    const int n = qMin(int(text.size()), size - 1);
    std::memcpy(field, text.constData(), size_t(n));
    field[n] = 0;
}
} // namespace

FtdiDriver::~FtdiDriver() = default;

FtdiDriver *FtdiDriver::current()
{
    if (FtdiDriver *d = g_current.load())
        return d;
    if (g_platformForbidden.load()) {
        qFatal("The serial-port backend was reached in a program that must not touch the "
               "machine's ports; install a simulated bus first");
    }
    // Never destroyed, like an installed driver: threads may use it until the process ends.
#ifdef KDR_WITH_TERMIOS2
    static FtdiDriver *const serial = new SerialFtdiDriver;
#else
    static FtdiDriver *const serial = new QtSerialFtdiDriver;
#endif
    return serial;
}

void FtdiDriver::setCurrent(FtdiDriver *driver)
{
    g_current.store(driver);
}

bool FtdiDriver::hasCurrent()
{
    return g_current.load() != nullptr;
}

void FtdiDriver::forbidPlatformBackend()
{
    g_platformForbidden.store(true);
}

void FtdiDriver::fillNode(uchar *node, const QByteArray &serialNumber,
                          const QByteArray &description)
{
    std::memset(node, 0, NodeSize);
    putField(node + NodeSerialNumberOffset, NodeDescriptionOffset - NodeSerialNumberOffset,
             serialNumber);
    putField(node + NodeDescriptionOffset, NodeDescriptionSize, description);
}

void FtdiDriver::reportStatus(quint32 *rxQueue, quint32 *txQueue, quint32 *eventWord, quint32 rx,
                              quint32 tx, quint32 event)
{
    if (rxQueue)
        *rxQueue = rx;
    if (txQueue)
        *txQueue = tx;
    if (eventWord)
        *eventWord = event;
}

ScopedFtdiDriver::ScopedFtdiDriver(FtdiDriver *driver) : m_previous(g_current.load())
{
    FtdiDriver::setCurrent(driver);
}

ScopedFtdiDriver::~ScopedFtdiDriver()
{
    FtdiDriver::setCurrent(m_previous);
}
