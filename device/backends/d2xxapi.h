#pragma once

// Our declarations of the D2XX driver library's types and of the functions we call, written
// from its public function reference. The library is loaded at run time, so these are types
// of function pointers, not prototypes.

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define KDR_D2XX_CALL __stdcall
#else
#define KDR_D2XX_CALL
#endif

namespace d2xx
{

using Handle = void *;
using Dword = std::uint32_t;
using Uchar = unsigned char;
// ULONG in the reference. Only zero / non-zero matters, and only the low 32 bits are read:
// some builds return a 32-bit value in a 64-bit register.
using Status = unsigned long;

constexpr Status Ok = 0;
constexpr Uchar Bits8 = 8;
constexpr Uchar StopBits2 = 2;
constexpr Uchar ParityNone = 0;

// One node of the device information list. The four leading words are 32-bit on every
// platform; the handle makes the node 100 bytes on 32-bit builds and 104 on 64-bit ones.
struct ListNode {
    Dword flags;
    Dword type;
    Dword id;
    Dword locationId;
    char serialNumber[16];
    char description[64];
    Handle handle;
};
static_assert(offsetof(ListNode, serialNumber) == 16, "serial number at byte 16");
static_assert(offsetof(ListNode, description) == 32, "description at byte 32");
static_assert(sizeof(ListNode) == (sizeof(void *) == 8 ? 104 : 100),
              "the node of the build's pointer size");

using CreateDeviceInfoListFn = Status(KDR_D2XX_CALL *)(Dword *count);
using GetDeviceInfoListFn = Status(KDR_D2XX_CALL *)(ListNode *nodes, Dword *count);
using OpenFn = Status(KDR_D2XX_CALL *)(int index, Handle *handle);
using ResetDeviceFn = Status(KDR_D2XX_CALL *)(Handle handle);
using SetBaudRateFn = Status(KDR_D2XX_CALL *)(Handle handle, unsigned long baudRate);
using SetDataCharacteristicsFn = Status(KDR_D2XX_CALL *)(Handle handle, Uchar wordLength,
                                                         Uchar stopBits, Uchar parity);
using SetTimeoutsFn = Status(KDR_D2XX_CALL *)(Handle handle, unsigned long readMs,
                                              unsigned long writeMs);
using ReadFn = Status(KDR_D2XX_CALL *)(Handle handle, void *buffer, Dword count, Dword *countRead);
using WriteFn = Status(KDR_D2XX_CALL *)(Handle handle, void *buffer, Dword count,
                                        Dword *countWritten);
using GetStatusFn = Status(KDR_D2XX_CALL *)(Handle handle, Dword *rxQueue, Dword *txQueue,
                                            Dword *eventWord);
using CloseFn = Status(KDR_D2XX_CALL *)(Handle handle);
using SetLatencyTimerFn = Status(KDR_D2XX_CALL *)(Handle handle, Uchar milliseconds);

} // namespace d2xx
