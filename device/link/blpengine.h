#pragma once

// Frame layer of the device protocol: builds the one outgoing frame of a transaction,
// recognises the answer byte by byte, resends once on transient errors and reports the
// outcome through callbacks. A plain module over one context record; it knows nothing of
// threads, devices or commands.
//
// The frame layout is in blpprotocol.h.
//
// Threads: engineInputByte runs on the reader thread; enginePoll on the embedder's polling
// thread; the builders on the thread that runs the transaction, only while no frame of an
// earlier transaction is in flight. They meet only through the atomic flags below; every
// other field belongs to one side. engineReset needs all three sides quiet.

#include "blpprotocol.h"

#include <atomic>
#include <cstdint>

struct BLPEngineContext;

// length: the whole frame, up to 65549 bytes.
using BLPEngineSendFunction = void (*)(BLPEngineContext *context, uint32_t length,
                                       const uint8_t *bytes);
using BLPEngineDataCallback = void (*)(BLPEngineContext *context, uint8_t command,
                                       uint16_t parameter, uint16_t length, const uint8_t *payload,
                                       bool first, bool last, uint8_t status);
using BLPEngineStatusCallback = void (*)(BLPEngineContext *context, uint8_t command,
                                         uint16_t parameter, uint8_t status);
// Sees every frame that leaves and every valid answer that arrives, whole, on the polling
// thread; for diagnostics only.
using BLPEngineFrameObserver = void (*)(BLPEngineContext *context, bool sent, uint32_t length,
                                        const uint8_t *bytes);

enum class BLPReceiveState : uint8_t { Hunting, Header, Payload, Trailer };

struct BLPEngineContext {
    // Larger than the largest frame (65535 + 14 bytes).
    static constexpr int BufferSize = 80400;
    static constexpr uint8_t BadFrameLimit = 50;

    uint8_t receiveBuffer[BufferSize];
    uint8_t transmitBuffer[BufferSize];
    uint32_t receivePosition = 0;
    uint32_t transmitPosition = 0;

    // Reader side.
    BLPReceiveState receiveState = BLPReceiveState::Hunting;
    uint16_t headerExpected = 0;
    uint16_t payloadExpected = 0;
    uint8_t trailerExpected = 0;
    uint8_t headerSum = 0;
    uint8_t frameSum = 0;

    // Set by the reader when a whole valid answer is in the receive buffer; the buffer is
    // handed over to the poller until it clears the flag.
    std::atomic<uint8_t> frameComplete{0};
    // 0 while the transmit buffer holds a frame not yet sent; the builder hands the buffer
    // to the poller by clearing it.
    std::atomic<uint8_t> transmitIdle{1};
    std::atomic<uint8_t> requestOutstanding{0};
    // Sequence number of the frame in the transmit buffer; answers must carry it.
    std::atomic<uint8_t> sequence{0};
    std::atomic<uint8_t> badFrameCountdown{BadFrameLimit};
    // Set by the reader when the countdown ran out; the poller treats the frame in flight
    // like a transient status, so that callbacks run on one thread only.
    std::atomic<uint8_t> badFramesExhausted{0};

    // Poller side.
    int8_t retriesLeft = 1;

    BLPEngineSendFunction send = nullptr;
    BLPEngineDataCallback dataCallback = nullptr;
    BLPEngineStatusCallback statusCallback = nullptr;
    BLPEngineFrameObserver frameObserver = nullptr;
};

// Returns to the idle state and clears the four functions (set them again afterwards).
void engineReset(BLPEngineContext *context);
void engineSetCallbacks(BLPEngineContext *context, BLPEngineDataCallback dataCallback,
                        BLPEngineStatusCallback statusCallback);
void engineSetSendFunction(BLPEngineContext *context, BLPEngineSendFunction send);
void engineSetFrameObserver(BLPEngineContext *context, BLPEngineFrameObserver observer);

void engineBuildRequest(BLPEngineContext *context, uint8_t address, uint8_t command,
                        uint16_t parameter, bool first);
void engineBuildData(BLPEngineContext *context, uint16_t length, const uint8_t *payload, bool first,
                     bool last, uint8_t address, uint8_t command, uint16_t parameter);

void engineInputByte(BLPEngineContext *context, uint8_t byte);
void enginePoll(BLPEngineContext *context);
// True while enginePoll has something to do: an answer to hand on, a frame to send, or the
// bad-frame limit reached. Any thread.
bool engineHasWork(const BLPEngineContext *context);
