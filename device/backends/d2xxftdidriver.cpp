#include "d2xxftdidriver.h"

#include "d2xxapi.h"

#include <QByteArray>
#include <QCoreApplication>

#include <memory>
#include <type_traits>
#include <vector>

struct D2xxFtdiDriver::Api {
    d2xx::CreateDeviceInfoListFn createDeviceInfoList = nullptr;
    d2xx::GetDeviceInfoListFn getDeviceInfoList = nullptr;
    d2xx::OpenFn open = nullptr;
    d2xx::ResetDeviceFn resetDevice = nullptr;
    d2xx::SetBaudRateFn setBaudRate = nullptr;
    d2xx::SetDataCharacteristicsFn setDataCharacteristics = nullptr;
    d2xx::SetTimeoutsFn setTimeouts = nullptr;
    d2xx::ReadFn read = nullptr;
    d2xx::WriteFn write = nullptr;
    d2xx::GetStatusFn getStatus = nullptr;
    d2xx::CloseFn close = nullptr;
    d2xx::SetLatencyTimerFn setLatencyTimer = nullptr; // optional
};

namespace
{

FtdiStatus status(d2xx::Status s)
{
    return FtdiStatus(s & 0xFFFFFFFFul);
}

QByteArray field(const char *text, int size)
{
    return QByteArray(text, int(qstrnlen(text, uint(size))));
}

// read() and write() after the library check: the library's call(&n), with the count it
// reports cut to the count asked.
template <typename Call>
FtdiStatus transfer(const void *buffer, quint32 count, quint32 *countDone, Call call)
{
    if (!buffer || !countDone)
        return FtdiDriver::InvalidParameter;
    d2xx::Dword n = 0;
    const FtdiStatus s = status(call(&n));
    *countDone = qMin(quint32(n), count);
    return s;
}

} // namespace

QString D2xxFtdiDriver::defaultLibraryName()
{
#if defined(Q_OS_WIN)
    return QStringLiteral("ftd2xx.dll");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("libftd2xx.dylib");
#else
    return QStringLiteral("libftd2xx.so");
#endif
}

D2xxFtdiDriver::D2xxFtdiDriver(const QString &libraryPath)
    : m_libraryName(libraryPath.isEmpty() ? defaultLibraryName() : libraryPath)
{
}

D2xxFtdiDriver::~D2xxFtdiDriver()
{
    // The library stays mapped: a handle's thread may still be leaving one of its calls.
    delete m_api;
}

bool D2xxFtdiDriver::load(QString *error)
{
    if (m_api)
        return true;
    m_library.setFileName(m_libraryName);
    if (!m_library.load()) {
        *error = QCoreApplication::translate("D2xxFtdiDriver",
                                             "FTDI D2XX driver library not found: %1")
                     .arg(m_libraryName);
        return false;
    }
    auto api = std::make_unique<Api>();
    QString missing;
    auto resolve = [&](auto &fn, const char *name, bool required = true) {
        fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(m_library.resolve(name));
        if (!fn && required && missing.isEmpty())
            missing = QString::fromLatin1(name);
    };
    resolve(api->createDeviceInfoList, "FT_CreateDeviceInfoList");
    resolve(api->getDeviceInfoList, "FT_GetDeviceInfoList");
    resolve(api->open, "FT_Open");
    resolve(api->resetDevice, "FT_ResetDevice");
    resolve(api->setBaudRate, "FT_SetBaudRate");
    resolve(api->setDataCharacteristics, "FT_SetDataCharacteristics");
    resolve(api->setTimeouts, "FT_SetTimeouts");
    resolve(api->read, "FT_Read");
    resolve(api->write, "FT_Write");
    resolve(api->getStatus, "FT_GetStatus");
    resolve(api->close, "FT_Close");
    resolve(api->setLatencyTimer, "FT_SetLatencyTimer", false);
    if (!missing.isEmpty()) {
        *error = QCoreApplication::translate("D2xxFtdiDriver",
                                             "FTDI D2XX driver library %1 lacks the function %2")
                     .arg(m_libraryName, missing);
        m_library.unload();
        return false;
    }
    m_api = api.release();
    return true;
}

FtdiStatus D2xxFtdiDriver::createDeviceInfoList(quint32 *count)
{
    if (!m_api)
        return DeviceNotFound;
    if (!count)
        return InvalidParameter;
    std::lock_guard<std::mutex> l(m_listMutex);
    d2xx::Dword n = 0;
    const FtdiStatus s = status(m_api->createDeviceInfoList(&n));
    m_listed = s == Ok ? n : 0;
    *count = m_listed;
    return s;
}

FtdiStatus D2xxFtdiDriver::getDeviceInfoList(uchar *nodes, quint32 *count)
{
    if (!m_api)
        return DeviceNotFound;
    if (!nodes || !count)
        return InvalidParameter;
    std::lock_guard<std::mutex> l(m_listMutex);
    // The library fills every node of its latest list, whatever the caller asked for, in its
    // own layout: room for all of them, then the seam's nodes for those the caller has.
    std::vector<d2xx::ListNode> list(qMax<size_t>(m_listed, 1));
    d2xx::Dword filled = d2xx::Dword(list.size());
    const FtdiStatus s = status(m_api->getDeviceInfoList(list.data(), &filled));
    if (s != Ok)
        return s;
    fillNodes(nodes, count, qMin(quint32(filled), quint32(list.size())),
              [&list](quint32 i, QByteArray *serialNumber, QByteArray *description) {
                  *serialNumber = field(list[i].serialNumber, int(sizeof list[i].serialNumber));
                  *description = field(list[i].description, int(sizeof list[i].description));
              });
    return Ok;
}

FtdiStatus D2xxFtdiDriver::open(int index, FtdiHandle *handle)
{
    if (!m_api)
        return DeviceNotFound;
    if (!handle)
        return InvalidParameter;
    d2xx::Handle h = nullptr;
    const FtdiStatus s = status(m_api->open(index, &h));
    if (s == Ok)
        *handle = h;
    return s;
}

FtdiStatus D2xxFtdiDriver::resetDevice(FtdiHandle handle)
{
    if (!m_api)
        return DeviceNotFound;
    const FtdiStatus s = status(m_api->resetDevice(handle));
    // Best effort: without it the chip holds short answers back for its default 16 ms.
    if (s == Ok && m_api->setLatencyTimer)
        m_api->setLatencyTimer(handle, 1);
    return s;
}

FtdiStatus D2xxFtdiDriver::setBaudRate(FtdiHandle handle, quint32 baudRate)
{
    if (!m_api)
        return DeviceNotFound;
    return status(m_api->setBaudRate(handle, baudRate));
}

FtdiStatus D2xxFtdiDriver::setDataCharacteristics(FtdiHandle handle, quint8 wordLength,
                                                  quint8 stopBits, quint8 parity)
{
    if (!m_api)
        return DeviceNotFound;
    return status(m_api->setDataCharacteristics(handle, wordLength, stopBits, parity));
}

FtdiStatus D2xxFtdiDriver::setTimeouts(FtdiHandle handle, quint32 readMs, quint32 writeMs)
{
    if (!m_api)
        return DeviceNotFound;
    return status(m_api->setTimeouts(handle, readMs, writeMs));
}

FtdiStatus D2xxFtdiDriver::read(FtdiHandle handle, void *buffer, quint32 count,
                                quint32 *countRead)
{
    if (!m_api)
        return DeviceNotFound;
    return transfer(buffer, count, countRead,
                    [&](d2xx::Dword *n) { return m_api->read(handle, buffer, count, n); });
}

FtdiStatus D2xxFtdiDriver::write(FtdiHandle handle, const void *buffer, quint32 count,
                                 quint32 *countWritten)
{
    if (!m_api)
        return DeviceNotFound;
    // The library's write takes a non-const buffer but does not change it.
    return transfer(buffer, count, countWritten, [&](d2xx::Dword *n) {
        return m_api->write(handle, const_cast<void *>(buffer), count, n);
    });
}

FtdiStatus D2xxFtdiDriver::getStatus(FtdiHandle handle, quint32 *rxQueue, quint32 *txQueue,
                                     quint32 *eventWord)
{
    if (!m_api)
        return DeviceNotFound;
    d2xx::Dword rx = 0;
    d2xx::Dword tx = 0;
    d2xx::Dword event = 0;
    const FtdiStatus s = status(m_api->getStatus(handle, &rx, &tx, &event));
    reportStatus(rxQueue, txQueue, eventWord, rx, tx, event);
    return s;
}

FtdiStatus D2xxFtdiDriver::close(FtdiHandle handle)
{
    if (!m_api)
        return DeviceNotFound;
    return status(m_api->close(handle));
}
