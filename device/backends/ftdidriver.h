#pragma once

// The driver seam of the device link: the eleven operations the USB physical layer needs
// from an FTDI USB-to-serial driver, and nothing else. Backends (the Linux serial port, the
// simulated controller) derive from FtdiDriver; nothing above the physical layer knows which
// one runs.
//
// Every operation returns a status word: 0 (FtdiDriver::Ok) is success, any other value a
// failure. Callers only look at zero / non-zero.
//
// Threads. One FtdiDriver serves the whole process and every handle it gave out:
//  - list, open, reset, set baud rate, set data characteristics, set time-outs and close may
//    be called from any thread (worker threads, the master's thread through a reconnect);
//    a backend guards its own state, so listing while another handle is open is fine.
//  - on one open handle, read() and getStatus() come from the reader thread while write()
//    comes from the master's thread, concurrently. A backend never shares a Qt object
//    between those two threads.
//  - close() is called once per handle, after the reader thread using it has stopped and
//    while no write on it is running; the handle is invalid afterwards.

#include <QByteArray>
#include <QtGlobal>

using FtdiStatus = quint32;
using FtdiHandle = void *;

class FtdiDriver
{
public:
    enum Status : FtdiStatus {
        Ok = 0,
        InvalidHandle = 1,
        DeviceNotFound = 2,
        DeviceNotOpened = 3,
        IoError = 4,
        InsufficientResources = 5,
        InvalidParameter = 6,
    };

    // Layout of one node of the device information list.
    static constexpr int NodeSize = 100;
    static constexpr int NodeSerialNumberOffset = 16; // 16 bytes, NUL-terminated
    static constexpr int NodeDescriptionOffset = 32;  // 64 bytes, NUL-terminated
    static constexpr int NodeDescriptionSize = 64;

    FtdiDriver() = default;
    FtdiDriver(const FtdiDriver &) = delete;
    FtdiDriver &operator=(const FtdiDriver &) = delete;
    virtual ~FtdiDriver();

    // Takes a fresh snapshot of the attached devices and reports their number. The indexes
    // of getDeviceInfoList() and open() refer to the latest snapshot.
    virtual FtdiStatus createDeviceInfoList(quint32 *count) = 0;
    // nodes: caller-allocated, *count nodes of NodeSize bytes. Fills at most *count nodes
    // and sets *count to the number filled.
    virtual FtdiStatus getDeviceInfoList(uchar *nodes, quint32 *count) = 0;
    virtual FtdiStatus open(int index, FtdiHandle *handle) = 0;
    virtual FtdiStatus resetDevice(FtdiHandle handle) = 0;
    virtual FtdiStatus setBaudRate(FtdiHandle handle, quint32 baudRate) = 0;
    // wordLength 8 or 7; stopBits 1 or 2; parity 0 none, 1 odd, 2 even.
    virtual FtdiStatus setDataCharacteristics(FtdiHandle handle, quint8 wordLength, quint8 stopBits,
                                              quint8 parity) = 0;
    virtual FtdiStatus setTimeouts(FtdiHandle handle, quint32 readMs, quint32 writeMs) = 0;
    // Waits at most the read time-out; fewer bytes than asked with Ok means it timed out.
    // A device that has gone fails at once instead of waiting.
    virtual FtdiStatus read(FtdiHandle handle, void *buffer, quint32 count, quint32 *countRead) = 0;
    // Reports the bytes that left within the write time-out.
    virtual FtdiStatus write(FtdiHandle handle, const void *buffer, quint32 count,
                             quint32 *countWritten) = 0;
    // Non-zero once the device has gone; the three values are informative only.
    virtual FtdiStatus getStatus(FtdiHandle handle, quint32 *rxQueue, quint32 *txQueue,
                                 quint32 *eventWord) = 0;
    virtual FtdiStatus close(FtdiHandle handle) = 0;

    // The process-wide driver used by the physical layer; never null. Until a backend is
    // installed (the programs install one from their --simulate / --port options, see
    // driverselection.h; tests install their own) it is the serial-port backend. Not owned:
    // whoever installs a driver keeps it alive while it is current and while handles from it
    // are open. Safe from any thread.
    static FtdiDriver *current();
    static void setCurrent(FtdiDriver *driver);
    // True while a driver is installed, false while current() falls back to its own.
    static bool hasCurrent();
    // For programs that must never touch the machine's ports (the window tests, the window
    // benchmark): from now on, falling back to the serial-port backend stops the program
    // with a fatal message instead. Any thread.
    static void forbidPlatformBackend();

    // Writes one list node: serial number and description, each cut to its field and
    // NUL-terminated, every other byte zero.
    static void fillNode(uchar *node, const QByteArray &serialNumber,
                         const QByteArray &description);

protected:
    // The end of a backend's getDeviceInfoList(): fills the nodes of the first
    // min(*count, listed) devices, node i from nodeText(i, &serialNumber, &description), and
    // sets *count to their number.
    template <typename NodeText>
    static void fillNodes(uchar *nodes, quint32 *count, quint32 listed, NodeText nodeText)
    {
        const quint32 n = qMin(*count, listed);
        for (quint32 i = 0; i < n; ++i) {
            QByteArray serialNumber;
            QByteArray description;
            nodeText(i, &serialNumber, &description);
            fillNode(nodes + size_t(i) * NodeSize, serialNumber, description);
        }
        *count = n;
    }
    // Hands getStatus()'s values to those of the caller's pointers that are not null.
    static void reportStatus(quint32 *rxQueue, quint32 *txQueue, quint32 *eventWord, quint32 rx,
                             quint32 tx, quint32 event);
};

// Installs a driver as the current one for the lifetime of the object, then puts back the
// previous one (tests).
class ScopedFtdiDriver
{
public:
    explicit ScopedFtdiDriver(FtdiDriver *driver);
    ~ScopedFtdiDriver();
    ScopedFtdiDriver(const ScopedFtdiDriver &) = delete;
    ScopedFtdiDriver &operator=(const ScopedFtdiDriver &) = delete;

private:
    FtdiDriver *m_previous;
};
