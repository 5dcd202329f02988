#include "enginerecorder.h"

#include <QHash>

namespace
{

QHash<BLPEngineContext *, EngineRecorder *> &recorders()
{
    static QHash<BLPEngineContext *, EngineRecorder *> map;
    return map;
}

void recordSend(BLPEngineContext *c, uint32_t length, const uint8_t *bytes)
{
    if (EngineRecorder *r = recorders().value(c))
        r->sent.append(QByteArray(reinterpret_cast<const char *>(bytes), int(length)));
}

void recordData(BLPEngineContext *c, uint8_t command, uint16_t parameter, uint16_t length,
                const uint8_t *payload, bool first, bool last, uint8_t status)
{
    if (EngineRecorder *r = recorders().value(c)) {
        const QByteArray bytes =
            payload ? QByteArray(reinterpret_cast<const char *>(payload), length) : QByteArray();
        r->events.append({EngineEvent::Data, command, parameter, status, bytes, first, last});
    }
}

void recordStatus(BLPEngineContext *c, uint8_t command, uint16_t parameter, uint8_t status)
{
    if (EngineRecorder *r = recorders().value(c))
        r->events.append({EngineEvent::Status, command, parameter, status, {}, false, false});
}

} // namespace

EngineRecorder::EngineRecorder() : m_context(std::make_unique<BLPEngineContext>())
{
    recorders().insert(m_context.get(), this);
    engineReset(m_context.get());
    install();
}

EngineRecorder::~EngineRecorder()
{
    recorders().remove(m_context.get());
}

void EngineRecorder::install()
{
    engineSetCallbacks(m_context.get(), recordData, recordStatus);
    engineSetSendFunction(m_context.get(), recordSend);
}

void EngineRecorder::feed(const QByteArray &bytes)
{
    for (char b : bytes)
        engineInputByte(m_context.get(), uint8_t(b));
}

void EngineRecorder::answer(const QByteArray &bytes)
{
    feed(bytes);
    poll();
}
