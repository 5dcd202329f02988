#pragma once

// An engine context whose send function and callbacks record what they were given.

#include "blpengine.h"

#include <QByteArray>
#include <QList>

#include <memory>

struct EngineEvent {
    enum Kind { Status, Data } kind;
    uint8_t command;
    uint16_t parameter;
    uint8_t status;
    QByteArray payload;
    bool first;
    bool last;
};

class EngineRecorder
{
public:
    EngineRecorder();
    ~EngineRecorder();

    BLPEngineContext *context() { return m_context.get(); }
    // Installs the recording functions again (after engineReset).
    void install();
    void feed(const QByteArray &bytes);
    // Feeds the bytes, then polls once.
    void answer(const QByteArray &bytes);
    void poll() { enginePoll(m_context.get()); }
    // Builds a request to the broadcast address, then polls once so that it goes out.
    void request(uint8_t command, uint16_t parameter = 0, bool first = true)
    {
        engineBuildRequest(m_context.get(), 255, command, parameter, first);
        poll();
    }

    QList<QByteArray> sent;
    QList<EngineEvent> events;

private:
    std::unique_ptr<BLPEngineContext> m_context;
};
