#include "framebytes.h"

#include <QRandomGenerator>
#include <QtTest>

#include <memory>

namespace
{

// Checked on every callback: a delivered answer must be a whole, consistent frame.
struct FuzzState {
    BLPEngineContext *context = nullptr;
    qint64 deliveries = 0;
    qint64 sends = 0;
    qint64 inconsistent = 0;
};
FuzzState g_state;

bool receivedFrameIsConsistent(const BLPEngineContext *c, uint16_t length)
{
    const uint8_t *r = c->receiveBuffer;
    if (r[0] != BLPFrame::Start || r[BLPFrame::LengthOffset] != (length & 0xFF) ||
        r[BLPFrame::LengthOffset + 1] != (length >> 8))
        return false;
    unsigned sum = 0;
    for (int i = 0; i < BLPFrame::HeaderChecksumOffset; ++i)
        sum += r[i];
    if (uint8_t(sum) != r[BLPFrame::HeaderChecksumOffset])
        return false;
    sum = r[BLPFrame::HeaderChecksumOffset];
    for (int i = 0; i < length; ++i)
        sum += r[BLPFrame::HeaderSize + i];
    return uint8_t(sum) == r[BLPFrame::HeaderSize + length] &&
           r[BLPFrame::HeaderSize + length + 1] == BLPFrame::End;
}

void onSend(BLPEngineContext *, uint32_t length, const uint8_t *bytes)
{
    ++g_state.sends;
    if (length < BLPFrame::Overhead || bytes[length - 1] != BLPFrame::End)
        ++g_state.inconsistent;
}

void onData(BLPEngineContext *c, uint8_t, uint16_t, uint16_t length, const uint8_t *payload, bool,
            bool, uint8_t status)
{
    ++g_state.deliveries;
    if (status == 0) {
        if (payload != c->receiveBuffer + BLPFrame::HeaderSize ||
            !receivedFrameIsConsistent(c, length))
            ++g_state.inconsistent;
    } else if (payload || length != 0) {
        ++g_state.inconsistent;
    }
}

void onStatus(BLPEngineContext *, uint8_t, uint16_t, uint8_t)
{
    ++g_state.deliveries;
}

void install(BLPEngineContext *c)
{
    engineSetCallbacks(c, onData, onStatus);
    engineSetSendFunction(c, onSend);
}

void feed(BLPEngineContext *c, const QByteArray &bytes)
{
    for (char b : bytes)
        engineInputByte(c, uint8_t(b));
}

QByteArray randomBytes(QRandomGenerator &rng, int n)
{
    QByteArray b(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
        b[i] = char(rng.bounded(256));
    return b;
}

// A plausible answer stream for the frame in flight, then damaged in a few places.
QByteArray mutatedAnswers(QRandomGenerator &rng, uint8_t sequence)
{
    QByteArray stream;
    const int frames = 1 + rng.bounded(4);
    for (int i = 0; i < frames; ++i) {
        FrameSpec f;
        f.address = rng.bounded(4) == 0 ? uint8_t(rng.bounded(256)) : 0;
        f.type = rng.bounded(2) ? BLPFrame::TypeDataAnswer : BLPFrame::TypeStatusAnswer;
        f.sequence = rng.bounded(5) == 0 ? uint8_t(rng.bounded(256)) : sequence;
        f.flags = uint8_t(rng.bounded(16));
        const int length = rng.bounded(10) == 0 ? rng.bounded(3000) : rng.bounded(80);
        f.payload = randomBytes(rng, length);
        if (f.type == BLPFrame::TypeStatusAnswer && length > 0)
            f.payload[0] = char(rng.bounded(13));
        stream += frameBytes(f);
    }
    const int mutations = rng.bounded(4);
    for (int m = 0; m < mutations && !stream.isEmpty(); ++m) {
        const int at = rng.bounded(int(stream.size()));
        switch (rng.bounded(4)) {
        case 0:
            stream[at] = char(stream[at] ^ (1 << rng.bounded(8)));
            break;
        case 1:
            stream.remove(at, 1 + rng.bounded(4));
            break;
        case 2:
            stream.insert(at, randomBytes(rng, 1 + rng.bounded(4)));
            break;
        default:
            stream.truncate(at);
            break;
        }
    }
    return stream;
}

// Enough bytes that are never a start byte to finish any frame in progress, however long.
void resynchronise(BLPEngineContext *c)
{
    feed(c, QByteArray(65536 + 16, char(0)));
    enginePoll(c);
}

} // namespace

class EngineFuzz : public QObject
{
    Q_OBJECT

private slots:
    void millionsOfRandomAndMutatedBytesNeverCorruptTheEngineAndItRecoversAfterwards()
    {
        auto context = std::make_unique<BLPEngineContext>();
        BLPEngineContext *c = context.get();
        g_state = FuzzState();
        g_state.context = c;
        engineReset(c);
        install(c);

        QRandomGenerator rng(20261208);
        qint64 fed = 0;
        int round = 0;
        while (fed < 6'000'000) {
            ++round;
            // Vary the engine's side too: a new read or write now and then.
            if (rng.bounded(3) == 0) {
                const bool first = rng.bounded(2);
                if (rng.bounded(2)) {
                    engineBuildRequest(c, 255, uint8_t(rng.bounded(16)), 0, first);
                } else {
                    const QByteArray payload = randomBytes(rng, rng.bounded(70));
                    engineBuildData(c, uint16_t(payload.size()),
                                    reinterpret_cast<const uint8_t *>(payload.constData()), first,
                                    rng.bounded(2), 255, 12, 0);
                }
            }
            const QByteArray chunk = rng.bounded(3) == 0 ? randomBytes(rng, 1 + rng.bounded(2000))
                                                         : mutatedAnswers(rng, c->sequence.load());
            for (int i = 0; i < chunk.size(); ++i) {
                engineInputByte(c, uint8_t(chunk[i]));
                if (rng.bounded(64) == 0)
                    enginePoll(c);
            }
            enginePoll(c);
            fed += chunk.size();
            if (round % 500 == 0) {
                engineReset(c);
                install(c);
            }
        }
        QCOMPARE(g_state.inconsistent, qint64(0));
        QVERIFY2(g_state.deliveries > 1000, "the mutated frames should often get through");

        // After any amount of garbage, a clean exchange works again.
        resynchronise(c);
        engineReset(c);
        install(c);
        engineBuildRequest(c, 255, 1, 0, true);
        enginePoll(c);
        const qint64 before = g_state.deliveries;
        feed(c, dataAnswer(QByteArray(50, char(0xAA))));
        enginePoll(c);
        QCOMPARE(g_state.deliveries, before + 1);
    }

    void anyStreamLeavesTheReceiverAbleToTakeTheNextAnswerOnceDrained()
    {
        auto context = std::make_unique<BLPEngineContext>();
        BLPEngineContext *c = context.get();
        g_state = FuzzState();
        engineReset(c);
        install(c);
        QRandomGenerator rng(77);
        for (int round = 0; round < 40; ++round) {
            engineBuildRequest(c, 255, 11, 0, true);
            enginePoll(c);
            feed(c, randomBytes(rng, 2000 + rng.bounded(20000)));
            resynchronise(c);
            engineReset(c); // a bad-frame resend may have used the retry; start clean
            install(c);
            engineBuildRequest(c, 255, 11, 0, true);
            enginePoll(c);
            const qint64 before = g_state.deliveries;
            feed(c, dataAnswer("ok"));
            enginePoll(c);
            QCOMPARE(g_state.deliveries, before + 1);
        }
        QCOMPARE(g_state.inconsistent, qint64(0));
    }
};

QTEST_GUILESS_MAIN(EngineFuzz)
#include "test_engine_fuzz.moc"
