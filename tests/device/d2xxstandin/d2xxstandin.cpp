// A stand-in for the D2XX driver library: the functions the program loads, over a simulated
// FTDI bus, recording every call. Loaded by the program like the real library; tests drive it
// through the kdrStandIn* functions (in-process) or the environment (the tool's runs):
//   KDR_D2XX_STANDIN_DEVICES  comma-separated bus: dev, dgl, foreign, demo (the default:
//                             the demo controllers of --simulate)
//   KDR_D2XX_STANDIN_WIRETIME 0 switches the wire-time model off
//
// The list nodes are written at the byte offsets of the library's own layout for this
// pointer size, independently of the program's declarations, so a wrong layout there shows.

#include "demodevices.h"
#include "simulatedftdidriver.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#define STANDIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace
{

using Status = unsigned long;
using Dword = std::uint32_t;

constexpr size_t kNodeSize = sizeof(void *) == 8 ? 104 : 100;
constexpr size_t kSerialOffset = 16;
constexpr size_t kDescriptionOffset = 32;
constexpr size_t kHandleOffset = 96;

std::mutex g_mutex;
std::unique_ptr<SimulatedFtdiDriver> g_driver;
std::string g_calls;
std::string g_callsCopy;
quint32 g_listed = 0; // nodes in the latest list, as the library keeps them

void setUpLocked(const QByteArray &deviceKinds)
{
    g_driver = std::make_unique<SimulatedFtdiDriver>();
    for (const QByteArray &kind : deviceKinds.split(',')) {
        const QByteArray k = kind.trimmed();
        if (k == "dev")
            g_driver->addController(SimulatedFtdiDriver::DeviceDescription);
        else if (k == "dgl")
            g_driver->addController(SimulatedFtdiDriver::DongleDescription);
        else if (k == "foreign")
            g_driver->addForeignDevice();
        else if (k == "demo")
            addDemoControllers(*g_driver);
    }
    for (SimulatedDevice *d : g_driver->devices()) {
        if (SimulatedController *c = d->controller()) {
            if (c->name().isEmpty())
                c->setName("KDR-450P");
        }
    }
    if (qgetenv("KDR_D2XX_STANDIN_WIRETIME") == "0")
        g_driver->setWireTimeModel(false);
}

// The bus, set up from the environment on first use. Calls run outside the lock: the
// simulated driver guards itself, and a read may wait while a write goes on.
SimulatedFtdiDriver *bus(const std::string &call)
{
    std::lock_guard<std::mutex> l(g_mutex);
    if (!g_driver) {
        const QByteArray deviceKinds = qgetenv("KDR_D2XX_STANDIN_DEVICES");
        setUpLocked(deviceKinds.isEmpty() ? QByteArray("demo") : deviceKinds);
    }
    if (g_calls.size() < (8u << 20))
        g_calls += call + '\n';
    return g_driver.get();
}

std::string str(unsigned long v)
{
    return std::to_string(v);
}

} // namespace

STANDIN_EXPORT void kdrStandInSetUp(const char *deviceKinds)
{
    std::lock_guard<std::mutex> l(g_mutex);
    setUpLocked(QByteArray(deviceKinds));
    g_calls.clear();
}

STANDIN_EXPORT const char *kdrStandInCalls()
{
    std::lock_guard<std::mutex> l(g_mutex);
    g_callsCopy = g_calls;
    return g_callsCopy.c_str();
}

// Takes device `index` off the bus: its open handles fail from now on.
STANDIN_EXPORT void kdrStandInUnplug(int index)
{
    std::lock_guard<std::mutex> l(g_mutex);
    if (!g_driver)
        return;
    const QList<SimulatedDevice *> devices = g_driver->devices();
    if (index >= 0 && index < devices.size())
        devices[index]->unplug();
}

STANDIN_EXPORT Status FT_CreateDeviceInfoList(Dword *count)
{
    quint32 n = 0;
    const Status s = bus("FT_CreateDeviceInfoList")->createDeviceInfoList(&n);
    std::lock_guard<std::mutex> l(g_mutex);
    g_listed = s == 0 ? n : 0;
    if (count)
        *count = g_listed;
    return s;
}

STANDIN_EXPORT Status FT_GetDeviceInfoList(void *nodes, Dword *count)
{
    SimulatedFtdiDriver *d = bus("FT_GetDeviceInfoList");
    quint32 n = 0;
    {
        std::lock_guard<std::mutex> l(g_mutex);
        n = g_listed;
    }
    std::vector<uchar> seam(size_t(n) * FtdiDriver::NodeSize);
    if (Status s = d->getDeviceInfoList(seam.data(), &n))
        return s;
    auto *out = static_cast<uchar *>(nodes);
    for (quint32 i = 0; i < n; ++i) {
        uchar *node = out + i * kNodeSize;
        const uchar *from = seam.data() + i * FtdiDriver::NodeSize;
        std::memset(node, 0, kNodeSize);
        node[0] = 0x02; // flags: high speed, so a reader that skips the words sees garbage
        node[4] = 0x05; // type
        std::memcpy(node + kSerialOffset, from + FtdiDriver::NodeSerialNumberOffset, 16);
        std::memcpy(node + kDescriptionOffset, from + FtdiDriver::NodeDescriptionOffset, 64);
        std::memset(node + kHandleOffset, 0xA5, sizeof(void *));
    }
    if (count)
        *count = n;
    return 0;
}

STANDIN_EXPORT Status FT_Open(int index, void **handle)
{
    return bus("FT_Open " + std::to_string(index))->open(index, handle);
}

STANDIN_EXPORT Status FT_ResetDevice(void *handle)
{
    return bus("FT_ResetDevice")->resetDevice(handle);
}

#ifndef KDR_STANDIN_WITHOUT_LATENCYTIMER
STANDIN_EXPORT Status FT_SetLatencyTimer(void *handle, unsigned char ms)
{
    bus("FT_SetLatencyTimer " + str(ms));
    return handle ? 0 : 1;
}
#endif

STANDIN_EXPORT Status FT_SetBaudRate(void *handle, unsigned long baud)
{
    return bus("FT_SetBaudRate " + str(baud))->setBaudRate(handle, quint32(baud));
}

STANDIN_EXPORT Status FT_SetDataCharacteristics(void *handle, unsigned char bits,
                                                unsigned char stop, unsigned char parity)
{
    return bus("FT_SetDataCharacteristics " + str(bits) + ' ' + str(stop) + ' ' + str(parity))
        ->setDataCharacteristics(handle, bits, stop, parity);
}

STANDIN_EXPORT Status FT_SetTimeouts(void *handle, unsigned long readMs, unsigned long writeMs)
{
    return bus("FT_SetTimeouts " + str(readMs) + ' ' + str(writeMs))
        ->setTimeouts(handle, quint32(readMs), quint32(writeMs));
}

STANDIN_EXPORT Status FT_Read(void *handle, void *buffer, Dword count, Dword *countRead)
{
    quint32 n = 0;
    const Status s = bus("FT_Read " + str(count))->read(handle, buffer, count, &n);
    *countRead = n;
    return s;
}

STANDIN_EXPORT Status FT_Write(void *handle, void *buffer, Dword count, Dword *countWritten)
{
    quint32 n = 0;
    const Status s = bus("FT_Write " + str(count))->write(handle, buffer, count, &n);
    *countWritten = n;
    return s;
}

#ifndef KDR_STANDIN_WITHOUT_GETSTATUS
STANDIN_EXPORT Status FT_GetStatus(void *handle, Dword *rx, Dword *tx, Dword *event)
{
    quint32 r = 0, t = 0, e = 0;
    const Status s = bus("FT_GetStatus")->getStatus(handle, &r, &t, &e);
    *rx = r;
    *tx = t;
    *event = e;
    return s;
}
#endif

STANDIN_EXPORT Status FT_Close(void *handle)
{
    return bus("FT_Close")->close(handle);
}
