// The answer stream comes from a USB cable that may be flaky or from a device that
// misbehaves: the receiver must stay in bounds whatever arrives.
// Input: byte 0 picks the pending request (read or write, first or not), byte 1 how often
// the poller runs; the rest is the answer stream.
#include "blpengine.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

// Every byte handed out is read, so that the sanitizer sees any read out of bounds.
volatile uint8_t sink = 0;

void ignoreSend(BLPEngineContext *, uint32_t length, const uint8_t *bytes)
{
    for (uint32_t i = 0; i < length; ++i)
        sink ^= bytes[i];
}

void onData(BLPEngineContext *, uint8_t, uint16_t, uint16_t length, const uint8_t *payload, bool,
            bool, uint8_t)
{
    for (uint16_t i = 0; i < length; ++i)
        sink ^= payload[i];
}

void onStatus(BLPEngineContext *, uint8_t, uint16_t, uint8_t) {}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static auto context = std::make_unique<BLPEngineContext>();
    if (size < 2)
        return 0;
    BLPEngineContext *c = context.get();
    engineReset(c);
    engineSetSendFunction(c, ignoreSend);
    engineSetCallbacks(c, onData, onStatus);

    const uint8_t mode = data[0];
    const unsigned pollEvery = 1u + data[1] % 64;
    const bool first = mode & 1;
    if (mode & 2) {
        static const uint8_t payload[64] = {1, 2, 3};
        engineBuildData(c, uint16_t(mode & 0x3f), payload, first, mode & 4, 255, 12, 0);
    } else {
        engineBuildRequest(c, 255, uint8_t(mode >> 4), 0, first);
    }
    enginePoll(c);
    for (size_t i = 2; i < size; ++i) {
        engineInputByte(c, data[i]);
        if ((i % pollEvery) == 0)
            enginePoll(c);
    }
    enginePoll(c);
    return 0;
}
