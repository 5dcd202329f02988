#include "blpengine.h"

#include <chrono>
#include <thread>

using namespace BLPFrame;

namespace
{

uint16_t readLe16(const uint8_t *p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

uint8_t sumOf(const uint8_t *p, int count)
{
    unsigned sum = 0;
    for (int i = 0; i < count; ++i)
        sum += p[i];
    return uint8_t(sum);
}

// Header of a frame into the transmit buffer; returns the header checksum.
uint8_t writeHeader(BLPEngineContext *c, uint8_t address, uint8_t flags, uint8_t type,
                    uint8_t command, uint16_t parameter, uint16_t length, uint8_t sequence)
{
    uint8_t *t = c->transmitBuffer;
    t[0] = Start;
    t[1] = 0;
    t[AddressOffset] = address;
    t[FlagsOffset] = flags;
    t[TypeOffset] = type;
    t[CommandOffset] = command;
    t[ParameterOffset] = uint8_t(parameter);
    t[ParameterOffset + 1] = uint8_t(parameter >> 8);
    t[LengthOffset] = uint8_t(length);
    t[LengthOffset + 1] = uint8_t(length >> 8);
    t[SequenceOffset] = sequence;
    t[HeaderChecksumOffset] = sumOf(t, HeaderChecksumOffset);
    return t[HeaderChecksumOffset];
}

uint8_t nextSequence(const BLPEngineContext *c, bool first)
{
    return first ? 0 : uint8_t(c->sequence.load(std::memory_order_relaxed) + 1);
}

uint16_t transmitLength(const BLPEngineContext *c)
{
    return readLe16(c->transmitBuffer + LengthOffset);
}

// Ends the transaction with a failure status: a read learns it through the data callback,
// a write through the status callback.
void reportFailure(BLPEngineContext *c, uint8_t command, uint16_t parameter, uint8_t status)
{
    if (c->requestOutstanding.load(std::memory_order_acquire)) {
        if (c->dataCallback)
            c->dataCallback(c, command, parameter, 0, nullptr, true, true, status);
    } else if (c->statusCallback) {
        c->statusCallback(c, command, parameter, status);
    }
}

// One resend per frame until the next status 0 or reset. A resent middle segment is marked
// with flags 1 (checksums kept valid) so the device can tell it from a new segment.
void retransmit(BLPEngineContext *c, uint8_t status)
{
    const int8_t was = c->retriesLeft;
    if (c->retriesLeft >= 0)
        --c->retriesLeft;
    if (was > 0) {
        uint8_t *t = c->transmitBuffer;
        if (t[FlagsOffset] == 0) {
            t[FlagsOffset] = FlagResentMiddle;
            ++t[HeaderChecksumOffset];
            ++t[HeaderSize + transmitLength(c)];
        }
        c->transmitIdle.store(0, std::memory_order_release);
        return;
    }
    reportFailure(c, c->transmitBuffer[CommandOffset],
                  readLe16(c->transmitBuffer + ParameterOffset), status);
}

void countBadFrame(BLPEngineContext *c)
{
    const uint8_t left = uint8_t(c->badFrameCountdown.load(std::memory_order_relaxed) - 1);
    if (left == 0) {
        c->badFrameCountdown.store(BLPEngineContext::BadFrameLimit, std::memory_order_relaxed);
        c->badFramesExhausted.store(1, std::memory_order_release);
    } else {
        c->badFrameCountdown.store(left, std::memory_order_relaxed);
    }
}

void headerDone(BLPEngineContext *c)
{
    const uint8_t *r = c->receiveBuffer;
    c->receiveState = BLPReceiveState::Hunting;
    const uint8_t address = r[AddressOffset];
    if (address != 0 && address != HostAddress)
        return; // someone else's frame: not ours to count
    const uint8_t type = r[TypeOffset];
    if (c->headerSum != r[HeaderChecksumOffset] ||
        (type != TypeStatusAnswer && type != TypeDataAnswer) ||
        r[SequenceOffset] != c->sequence.load(std::memory_order_relaxed)) {
        countBadFrame(c);
        return;
    }
    c->frameSum = r[HeaderChecksumOffset];
    c->payloadExpected = readLe16(r + LengthOffset);
    if (c->payloadExpected > 0) {
        c->receiveState = BLPReceiveState::Payload;
    } else {
        c->receiveState = BLPReceiveState::Trailer;
        c->trailerExpected = 2;
    }
}

void handleAnswer(BLPEngineContext *c)
{
    const uint8_t *r = c->receiveBuffer;
    const uint8_t command = r[CommandOffset];
    const uint16_t parameter = readLe16(r + ParameterOffset);
    const uint16_t length = readLe16(r + LengthOffset);

    if (r[TypeOffset] == TypeStatusAnswer) {
        // A status answer without its status byte says nothing good.
        const uint8_t status = length > 0 ? r[HeaderSize] : BLPStatus::Missing;
        if (status == 0) {
            c->retriesLeft = 1;
            if (c->statusCallback)
                c->statusCallback(c, command, parameter, 0);
        } else if (BLPStatus::isTransient(status)) {
            retransmit(c, status);
        } else {
            reportFailure(c, command, parameter, status);
        }
        return;
    }
    if (c->requestOutstanding.load(std::memory_order_acquire) && c->dataCallback) {
        const uint8_t flags = r[FlagsOffset];
        c->dataCallback(c, command, parameter, length, r + HeaderSize, (flags & FlagFirst) != 0,
                        (flags & FlagLast) != 0, 0);
    }
}

} // namespace

void engineReset(BLPEngineContext *context)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    BLPEngineContext *c = context;
    c->receiveState = BLPReceiveState::Hunting;
    c->receivePosition = 0;
    c->transmitPosition = 0;
    c->headerExpected = 0;
    c->payloadExpected = 0;
    c->trailerExpected = 0;
    c->headerSum = 0;
    c->frameSum = 0;
    c->retriesLeft = 1;
    c->send = nullptr;
    c->dataCallback = nullptr;
    c->statusCallback = nullptr;
    c->frameObserver = nullptr;
    c->requestOutstanding.store(0);
    c->sequence.store(0);
    c->badFrameCountdown.store(BLPEngineContext::BadFrameLimit);
    c->badFramesExhausted.store(0);
    c->transmitIdle.store(1);
    c->frameComplete.store(0);
}

void engineSetCallbacks(BLPEngineContext *context, BLPEngineDataCallback dataCallback,
                        BLPEngineStatusCallback statusCallback)
{
    context->dataCallback = dataCallback;
    context->statusCallback = statusCallback;
}

void engineSetSendFunction(BLPEngineContext *context, BLPEngineSendFunction send)
{
    context->send = send;
}

void engineSetFrameObserver(BLPEngineContext *context, BLPEngineFrameObserver observer)
{
    context->frameObserver = observer;
}

void engineBuildRequest(BLPEngineContext *context, uint8_t address, uint8_t command,
                        uint16_t parameter, bool first)
{
    BLPEngineContext *c = context;
    const uint8_t sequence = nextSequence(c, first);
    const uint8_t flags = first ? (FlagFirst | FlagLast) : FlagLast;
    const uint8_t checksum =
        writeHeader(c, address, flags, TypeReadRequest, command, parameter, 0, sequence);
    c->transmitBuffer[HeaderSize] = checksum;
    c->transmitBuffer[HeaderSize + 1] = End;
    c->transmitPosition = HeaderSize + 2;
    c->sequence.store(sequence, std::memory_order_relaxed);
    c->requestOutstanding.store(1, std::memory_order_relaxed);
    c->transmitIdle.store(0, std::memory_order_release);
}

void engineBuildData(BLPEngineContext *context, uint16_t length, const uint8_t *payload, bool first,
                     bool last, uint8_t address, uint8_t command, uint16_t parameter)
{
    BLPEngineContext *c = context;
    const uint8_t sequence = nextSequence(c, first);
    const uint8_t flags = uint8_t((first ? FlagFirst : 0) | (last ? FlagLast : 0));
    const uint8_t checksum =
        writeHeader(c, address, flags, TypeData, command, parameter, length, sequence);
    uint8_t *t = c->transmitBuffer;
    unsigned sum = checksum;
    for (int i = 0; i < length; ++i) {
        t[HeaderSize + i] = payload[i];
        sum += payload[i];
    }
    t[HeaderSize + length] = uint8_t(sum);
    t[HeaderSize + length + 1] = End;
    c->transmitPosition = uint32_t(HeaderSize + length + 2);
    c->sequence.store(sequence, std::memory_order_relaxed);
    c->requestOutstanding.store(0, std::memory_order_relaxed);
    c->transmitIdle.store(0, std::memory_order_release);
}

void engineInputByte(BLPEngineContext *context, uint8_t byte)
{
    BLPEngineContext *c = context;
    if (c->frameComplete.load(std::memory_order_acquire))
        return;
    switch (c->receiveState) {
    case BLPReceiveState::Hunting:
        if (byte != Start)
            return;
        c->receiveBuffer[0] = byte;
        c->receivePosition = 1;
        c->headerSum = byte;
        c->headerExpected = HeaderSize - 1;
        c->receiveState = BLPReceiveState::Header;
        return;
    case BLPReceiveState::Header:
        c->receiveBuffer[c->receivePosition++] = byte;
        if (--c->headerExpected > 0) {
            c->headerSum = uint8_t(c->headerSum + byte);
            return;
        }
        headerDone(c); // the last header byte is the checksum itself
        return;
    case BLPReceiveState::Payload:
        c->receiveBuffer[c->receivePosition++] = byte;
        c->frameSum = uint8_t(c->frameSum + byte);
        if (--c->payloadExpected == 0) {
            c->receiveState = BLPReceiveState::Trailer;
            c->trailerExpected = 2;
        }
        return;
    case BLPReceiveState::Trailer:
        c->receiveBuffer[c->receivePosition++] = byte;
        if (--c->trailerExpected > 0)
            return;
        c->receiveState = BLPReceiveState::Hunting;
        if (byte == End && c->receiveBuffer[c->receivePosition - 2] == c->frameSum)
            c->frameComplete.store(1, std::memory_order_release);
        return;
    }
}

void enginePoll(BLPEngineContext *context)
{
    BLPEngineContext *c = context;
    if (c->badFramesExhausted.exchange(0, std::memory_order_acquire))
        retransmit(c, StatusTooManyBadFrames);
    if (c->frameComplete.load(std::memory_order_acquire)) {
        c->badFrameCountdown.store(BLPEngineContext::BadFrameLimit, std::memory_order_relaxed);
        if (c->frameObserver)
            c->frameObserver(c, false, c->receivePosition, c->receiveBuffer);
        handleAnswer(c);
        // Released only now, so the reader cannot overwrite an answer a callback still reads.
        c->frameComplete.store(0, std::memory_order_release);
    }
    if (c->transmitIdle.load(std::memory_order_acquire) == 0) {
        c->transmitIdle.store(1, std::memory_order_relaxed);
        const uint32_t length = uint32_t(transmitLength(c) + Overhead);
        if (c->frameObserver)
            c->frameObserver(c, true, length, c->transmitBuffer);
        if (c->send)
            c->send(c, length, c->transmitBuffer);
    }
}

bool engineHasWork(const BLPEngineContext *context)
{
    return context->frameComplete.load(std::memory_order_acquire) != 0 ||
           context->transmitIdle.load(std::memory_order_acquire) == 0 ||
           context->badFramesExhausted.load(std::memory_order_acquire) != 0;
}
