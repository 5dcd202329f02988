// The answer stream comes from a USB cable that may be flaky or from a device that
// misbehaves: the receiver must stay in bounds whatever arrives, and what it accepts must be
// a well-formed answer to the frame in flight. Each accepted frame is exactly the last bytes
// that arrived, and the controller's own encoder, given its fields, writes those same bytes.
// Input: byte 0 picks the pending request (read or write, first or not), byte 1 how often
// the poller runs; the rest is the answer stream.
#include "blpengine.h"
#include "simulatedframes.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace
{

using namespace BLPFrame;

[[noreturn]] void fail()
{
    __builtin_trap();
}

uint16_t le16(const uint8_t *p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

// What the engine sends is a whole host frame as the controller's encoder would write it
// (a resent middle segment included: flags 1, both checksums one higher).
void checkSent(BLPEngineContext *, uint32_t length, const uint8_t *bytes)
{
    if (length < uint32_t(Overhead) || length > uint32_t(BLPEngineContext::BufferSize) ||
        length != uint32_t(le16(bytes + LengthOffset)) + Overhead ||
        (bytes[TypeOffset] != TypeData && bytes[TypeOffset] != TypeReadRequest))
        fail();
    const QByteArray payload(reinterpret_cast<const char *>(bytes + HeaderSize),
                             qsizetype(length) - Overhead);
    const QByteArray again = SimulatedFrame::build(
        bytes[AddressOffset], bytes[FlagsOffset], bytes[TypeOffset], bytes[CommandOffset],
        le16(bytes + ParameterOffset), bytes[SequenceOffset], payload);
    if (uint32_t(again.size()) != length || std::memcmp(again.constData(), bytes, length) != 0)
        fail();
}

// The receiver has just completed a frame with the input byte before end.
void checkAccepted(const BLPEngineContext *c, const uint8_t *stream, size_t end)
{
    const uint8_t *r = c->receiveBuffer;
    const size_t length = size_t(le16(r + LengthOffset)) + Overhead;
    if (length > end || std::memcmp(r, stream + end - length, length) != 0)
        fail();
    // An answer, addressed to the host, to the frame in flight.
    if ((r[TypeOffset] != TypeStatusAnswer && r[TypeOffset] != TypeDataAnswer) ||
        (r[AddressOffset] != AnswerAddress && r[AddressOffset] != HostAddress) ||
        r[SequenceOffset] != c->sequence.load())
        fail();
    const QByteArray payload(reinterpret_cast<const char *>(r + HeaderSize),
                             qsizetype(length - Overhead));
    QByteArray again =
        SimulatedFrame::build(r[AddressOffset], r[FlagsOffset], r[TypeOffset], r[CommandOffset],
                              le16(r + ParameterOffset), r[SequenceOffset], payload);
    // The reserved byte means nothing to the receiver, but both checksums count it.
    again[1] = char(r[1]);
    again[HeaderChecksumOffset] = char(again[HeaderChecksumOffset] + r[1]);
    again[qsizetype(length) - 2] = char(again[qsizetype(length) - 2] + r[1]);
    if (size_t(again.size()) != length || std::memcmp(again.constData(), r, length) != 0)
        fail();
}

// Callbacks run while the answer is still in the receive buffer: what they report must be
// that answer.
void onData(BLPEngineContext *c, uint8_t command, uint16_t parameter, uint16_t length,
            const uint8_t *payload, bool first, bool last, uint8_t status)
{
    if (status != 0)
        return; // a failure the engine reports for the frame in flight, not an answer's data
    const uint8_t *r = c->receiveBuffer;
    if (r[TypeOffset] != TypeDataAnswer || command != r[CommandOffset] ||
        parameter != le16(r + ParameterOffset) || length != le16(r + LengthOffset) ||
        payload != r + HeaderSize || first != bool(r[FlagsOffset] & FlagFirst) ||
        last != bool(r[FlagsOffset] & FlagLast))
        fail();
}

void onStatus(BLPEngineContext *c, uint8_t command, uint16_t parameter, uint8_t status)
{
    if (status != 0)
        return;
    const uint8_t *r = c->receiveBuffer;
    if (r[TypeOffset] != TypeStatusAnswer || le16(r + LengthOffset) == 0 || r[HeaderSize] != 0 ||
        command != r[CommandOffset] || parameter != le16(r + ParameterOffset))
        fail();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    // A fresh context is in the reset state; engineReset is left out, as it sleeps.
    const auto context = std::make_unique<BLPEngineContext>();
    BLPEngineContext *c = context.get();
    engineSetSendFunction(c, checkSent);
    engineSetCallbacks(c, onData, onStatus);

    const uint8_t mode = data[0];
    const unsigned pollEvery = 1u + data[1] % 64;
    const bool first = mode & 1;
    if (mode & 2) {
        static const uint8_t payload[64] = {1, 2, 3};
        engineBuildData(c, uint16_t(mode & 0x3f), payload, first, mode & 4, HostAddress, 12, 0);
    } else {
        engineBuildRequest(c, HostAddress, uint8_t(mode >> 4), 0, first);
    }
    enginePoll(c);
    const uint8_t *stream = data + 2;
    const size_t streamSize = size - 2;
    for (size_t i = 0; i < streamSize; ++i) {
        const bool waiting = c->frameComplete.load() == 0;
        engineInputByte(c, stream[i]);
        if (waiting && c->frameComplete.load() != 0)
            checkAccepted(c, stream, i + 1);
        if ((i + 2) % pollEvery == 0)
            enginePoll(c);
    }
    enginePoll(c);
    return 0;
}
