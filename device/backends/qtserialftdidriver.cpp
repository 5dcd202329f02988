#include "qtserialftdidriver.h"

#include <QByteArray>
#include <QMetaObject>
#include <QSerialPort>
#include <QThread>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <limits>

#ifdef Q_OS_UNIX
#include <poll.h>
#endif

namespace
{
using Lock = std::lock_guard<std::mutex>;

bool hungUp(QSerialPort *serial)
{
#ifdef Q_OS_UNIX
    pollfd pfd{int(serial->handle()), 0, 0};
    return poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL));
#else
    Q_UNUSED(serial);
    return false; // the system reports a vanished port as a resource error
#endif
}

} // namespace

struct QtSerialFtdiDriver::Port : OpenPort {
    QThread thread;
    QObject *context = nullptr; // lives in thread; the serial port is its child
    QSerialPort *serial = nullptr;

    std::mutex mutex; // guards received, queued and sent
    std::condition_variable arrived;
    std::condition_variable flushed;
    QByteArray received;
    quint64 queued = 0; // bytes handed to the serial port, ever
    quint64 sent = 0;   // of those, bytes the system took

    // Runs f in the port's thread and returns its result. The result comes back through a
    // mutex of ours rather than Qt's blocking call, whose semaphore the thread checker cannot
    // see, so the hand-over stays checkable.
    template <typename F> auto call(F f) -> decltype(f())
    {
        decltype(f()) result{};
        std::mutex m;
        std::condition_variable cv;
        bool done = false;
        // Held from before the functor is made until the wait, so the port's thread, taking
        // it first, sees everything this thread wrote.
        std::unique_lock<std::mutex> l(m);
        QMetaObject::invokeMethod(
            context,
            [&] {
                std::lock_guard<std::mutex> g(m);
                result = f();
                done = true;
                cv.notify_one();
            },
            Qt::QueuedConnection);
        cv.wait(l, [&] { return done; });
        return result;
    }

    void markGone()
    {
        {
            Lock l(mutex);
            gone.store(true);
        }
        arrived.notify_all();
        flushed.notify_all();
    }

    // In the port thread.
    void noteWritten(qint64 n)
    {
        {
            Lock l(mutex);
            sent += quint64(n);
        }
        flushed.notify_all();
    }

    // In the port's thread.
    void takeReceived()
    {
        const QByteArray bytes = serial->readAll();
        if (bytes.isEmpty())
            return;
        {
            Lock l(mutex);
            received.append(bytes);
        }
        arrived.notify_all();
    }
};

QtSerialFtdiDriver::QtSerialFtdiDriver(const QString &explicitPort)
    : SerialPortDriverBase(explicitPort)
{
}

QtSerialFtdiDriver::~QtSerialFtdiDriver()
{
    closeAll();
}

SerialPortDriverBase::OpenPort *QtSerialFtdiDriver::openPath(const QString &path)
{
    auto *p = new Port;
    p->thread.setObjectName(QStringLiteral("kdr-serial-port"));
    p->context = new QObject;
    p->context->moveToThread(&p->thread);
    p->thread.start();
    const bool opened = p->call([p, path] {
        p->serial = new QSerialPort(path, p->context);
        QObject::connect(p->serial, &QSerialPort::readyRead, p->context,
                         [p] { p->takeReceived(); });
        QObject::connect(p->serial, &QSerialPort::bytesWritten, p->context,
                         [p](qint64 n) { p->noteWritten(n); });
        QObject::connect(p->serial, &QSerialPort::errorOccurred, p->context,
                         [p](QSerialPort::SerialPortError e) {
                             // A read error is also what a wake-up without data gives.
                             if (e == QSerialPort::ResourceError ||
                                 ((e == QSerialPort::ReadError ||
                                   e == QSerialPort::WriteError) &&
                                  hungUp(p->serial))) {
                                 p->markGone();
                                 // Else a hung-up line keeps waking the thread.
                                 QMetaObject::invokeMethod(
                                     p->context, [p] { p->serial->close(); },
                                     Qt::QueuedConnection);
                             }
                         });
        if (!p->serial->open(QIODevice::ReadWrite))
            return false;
        p->serial->setFlowControl(QSerialPort::NoFlowControl);
        return true;
    });
    if (!opened) {
        QMetaObject::invokeMethod(p->context, [p] { delete p->context; },
                                  Qt::BlockingQueuedConnection);
        p->thread.quit();
        p->thread.wait();
        delete p;
        return nullptr;
    }
    return p;
}

FtdiStatus QtSerialFtdiDriver::resetPort(OpenPort *port)
{
    auto *p = static_cast<Port *>(port);
    if (p->gone.load())
        return IoError;
    const bool cleared = p->call([p] { return p->serial->clear(QSerialPort::AllDirections); });
    Lock l(p->mutex);
    p->received.clear();
    p->sent = p->queued;
    return cleared ? Ok : IoError;
}

FtdiStatus QtSerialFtdiDriver::setPortBaudRate(OpenPort *port, quint32 baudRate)
{
    auto *p = static_cast<Port *>(port);
    if (baudRate > quint32(std::numeric_limits<qint32>::max()))
        return InvalidParameter;
    return p->call([p, baudRate] { return p->serial->setBaudRate(qint32(baudRate)); }) ? Ok
                                                                                         : IoError;
}

FtdiStatus QtSerialFtdiDriver::setPortDataCharacteristics(OpenPort *port, quint8 wordLength,
                                                          quint8 stopBits, quint8 parity)
{
    auto *p = static_cast<Port *>(port);
    const auto bits = QSerialPort::DataBits(wordLength);
    const auto stop = stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop;
    const auto par = parity == 1   ? QSerialPort::OddParity
                     : parity == 2 ? QSerialPort::EvenParity
                                   : QSerialPort::NoParity;
    const bool ok = p->call([p, bits, stop, par] {
        return p->serial->setDataBits(bits) && p->serial->setStopBits(stop) &&
               p->serial->setParity(par);
    });
    return ok ? Ok : IoError;
}

FtdiStatus QtSerialFtdiDriver::readPort(OpenPort *port, void *buffer, quint32 count,
                                        quint32 *countRead)
{
    auto *p = static_cast<Port *>(port);
    const quint32 timeout = p->readTimeoutMs.load();
    std::unique_lock<std::mutex> l(p->mutex);
    auto ready = [p] { return !p->received.isEmpty() || p->gone.load(); };
    if (timeout == 0)
        p->arrived.wait(l, ready);
    else
        p->arrived.wait_for(l, std::chrono::milliseconds(timeout), ready);
    if (p->received.isEmpty())
        return p->gone.load() ? IoError : Ok;
    const quint32 n = qMin(count, quint32(p->received.size()));
    std::memcpy(buffer, p->received.constData(), n);
    p->received.remove(0, int(n));
    *countRead = n;
    return Ok;
}

FtdiStatus QtSerialFtdiDriver::writePort(OpenPort *port, const void *buffer, quint32 count,
                                         quint32 *countWritten)
{
    auto *p = static_cast<Port *>(port);
    if (p->gone.load())
        return IoError;
    const QByteArray bytes(static_cast<const char *>(buffer), int(count));
    // The port's thread only queues the bytes; its event loop sends them and counts them
    // sent, so it never blocks in a wait of its own (which would read the line from inside
    // the write) while the other thread reads.
    const quint64 target = p->call([p, bytes]() -> quint64 {
        if (p->serial->write(bytes) != bytes.size())
            return 0;
        Lock l(p->mutex);
        p->queued += quint64(bytes.size());
        return p->queued;
    });
    if (target == 0)
        return IoError;
    const quint32 timeout = p->writeTimeoutMs.load();
    {
        std::unique_lock<std::mutex> l(p->mutex);
        auto done = [p, target] { return p->sent >= target || p->gone.load(); };
        if (timeout == 0)
            p->flushed.wait(l, done);
        else
            p->flushed.wait_for(l, std::chrono::milliseconds(timeout), done);
        if (p->sent >= target) {
            *countWritten = count;
            return Ok;
        }
    }
    const qint64 left = p->call([p] {
        const qint64 unsent = p->serial->bytesToWrite();
        // What missed the time-out never goes out late, in the middle of the next frame.
        if (unsent > 0)
            p->serial->clear(QSerialPort::Output);
        Lock l(p->mutex);
        p->sent = p->queued;
        return unsent;
    });
    *countWritten = count - quint32(qBound<qint64>(0, left, count));
    return p->gone.load() ? IoError : Ok;
}

FtdiStatus QtSerialFtdiDriver::queuesOf(OpenPort *port, quint32 *rx, quint32 *tx)
{
    auto *p = static_cast<Port *>(port);
    Lock l(p->mutex);
    *rx = quint32(p->received.size());
    *tx = 0;
    return Ok;
}

bool QtSerialFtdiDriver::release(OpenPort *port)
{
    auto *p = static_cast<Port *>(port);
    p->call([p] {
        p->serial->close();
        delete p->context;
        return true;
    });
    p->thread.quit();
    p->thread.wait();
    return true;
}
