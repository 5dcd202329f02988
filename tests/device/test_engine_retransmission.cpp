#include "enginerecorder.h"
#include "framebytes.h"

#include <QtTest>

namespace
{

const uint8_t kPayload[] = {0x11, 0x22, 0x33, 0x44};

void sendSegment(EngineRecorder &r, bool first, bool last)
{
    engineBuildData(r.context(), sizeof kPayload, kPayload, first, last, 255, 12, 0);
    r.poll();
}

} // namespace

class EngineRetransmission : public QObject
{
    Q_OBJECT

private slots:
    void status8ResendsAMiddleSegmentWithFlags1AndBothChecksumsOneHigher()
    {
        EngineRecorder r;
        sendSegment(r, true, false);
        r.answer(statusAnswer(0, 0));
        sendSegment(r, false, false);
        r.answer(statusAnswer(8, 1));
        QCOMPARE(r.sent.size(), 3);
        const QByteArray original = r.sent[1];
        const QByteArray resent = r.sent[2];
        QCOMPARE(resent.size(), original.size());
        QCOMPARE(uint8_t(original[3]), uint8_t(0));
        QCOMPARE(uint8_t(resent[3]), uint8_t(1));
        QCOMPARE(uint8_t(resent[11]), uint8_t(original[11] + 1));
        QCOMPARE(uint8_t(resent[16]), uint8_t(original[16] + 1));
        QCOMPARE(resent.left(3), original.left(3));
        QCOMPARE(resent.mid(4, 7), original.mid(4, 7));
        QCOMPARE(resent.mid(12, 4), original.mid(12, 4));
        QCOMPARE(uint8_t(resent[17]), uint8_t(0xCC));
        QVERIFY(r.events.size() == 1); // only the status 0 of the first segment
    }

    void aSecondStatus8EndsTheTransactionWithStatus8()
    {
        EngineRecorder r;
        sendSegment(r, true, true);
        r.answer(statusAnswer(8));
        QCOMPARE(r.sent.size(), 2);
        QCOMPARE(r.events.size(), 0);
        r.answer(statusAnswer(8));
        QCOMPARE(r.sent.size(), 2);
        QCOMPARE(r.events.size(), 1);
        QCOMPARE(r.events[0].kind, EngineEvent::Status);
        QCOMPARE(r.events[0].status, uint8_t(8));
    }

    void aResentFirstOrLastSegmentIsByteForByteTheSame()
    {
        for (int which = 0; which < 3; ++which) {
            EngineRecorder r;
            const bool first = which != 1;
            const bool last = which != 0;
            if (!first) {
                sendSegment(r, true, false);
                r.answer(statusAnswer(0, 0));
            }
            sendSegment(r, first, last);
            const int n = r.sent.size();
            r.answer(statusAnswer(9, uint8_t(first ? 0 : 1)));
            QCOMPARE(r.sent.size(), n + 1);
            QCOMPARE(r.sent[n], r.sent[n - 1]);
        }
    }

    void eachOfTheStatuses7To10CausesOneResend()
    {
        for (uint8_t status = 7; status <= 10; ++status) {
            EngineRecorder r;
            sendSegment(r, true, true);
            r.answer(statusAnswer(status));
            QCOMPARE(r.sent.size(), 2);
            QCOMPARE(r.events.size(), 0);
            r.answer(statusAnswer(0));
            QCOMPARE(r.events.size(), 1);
            QCOMPARE(r.events[0].status, uint8_t(0));
        }
    }

    void status0GivesTheNextFrameItsResendBack()
    {
        EngineRecorder r;
        sendSegment(r, true, false);
        r.answer(statusAnswer(7, 0));
        r.answer(statusAnswer(0, 0));
        sendSegment(r, false, true);
        r.answer(statusAnswer(7, 1));
        QCOMPARE(r.sent.size(), 4);
        QCOMPARE(r.events.size(), 1);
    }

    void withoutStatus0InBetweenOnlyOneResendIsAllowedAcrossFrames()
    {
        // A data answer does not restore the retry: the resend budget lasts until status 0.
        EngineRecorder r;
        r.request(11);
        r.answer(statusAnswer(10, 0));
        QCOMPARE(r.sent.size(), 2);
        r.answer(dataAnswer("abc", 0, true, false));
        r.request(11, 0, false);
        r.answer(statusAnswer(10, 1));
        QCOMPARE(r.sent.size(), 3);
        QCOMPARE(r.events.size(), 2);
        QCOMPARE(r.events[1].kind, EngineEvent::Data);
        QCOMPARE(r.events[1].status, uint8_t(10));
    }

    void aFailureStatusOnAReadReachesTheDataCallbackWithNoPayload()
    {
        EngineRecorder r;
        r.request(13, 4);
        r.answer(statusAnswer(5, 0, 13));
        QCOMPARE(r.sent.size(), 1);
        QCOMPARE(r.events.size(), 1);
        QCOMPARE(r.events[0].kind, EngineEvent::Data);
        QCOMPARE(r.events[0].status, uint8_t(5));
        QCOMPARE(r.events[0].command, uint8_t(13));
        QVERIFY(r.events[0].payload.isEmpty());
        QVERIFY(r.events[0].first && r.events[0].last);
    }

    void aFailureStatusOnAWriteReachesTheStatusCallback()
    {
        EngineRecorder r;
        sendSegment(r, true, true);
        r.answer(statusAnswer(3));
        QCOMPARE(r.events.size(), 1);
        QCOMPARE(r.events[0].kind, EngineEvent::Status);
        QCOMPARE(r.events[0].status, uint8_t(3));
    }

    void aStatusAnswerWithoutItsStatusByteIsAFailure()
    {
        EngineRecorder r;
        sendSegment(r, true, true);
        FrameSpec empty;
        r.answer(frameBytes(empty));
        QCOMPARE(r.events.size(), 1);
        QVERIFY(r.events[0].status != 0);
    }

    void aReadRequestIsResentUnchanged()
    {
        EngineRecorder r;
        r.request(1);
        r.answer(statusAnswer(7));
        QCOMPARE(r.sent.size(), 2);
        QCOMPARE(r.sent[1], r.sent[0]);
    }

    void resetRestoresTheResendAndForgetsTheFunctions()
    {
        EngineRecorder r;
        sendSegment(r, true, true);
        r.answer(statusAnswer(7));
        engineReset(r.context());
        sendSegment(r, true, true);
        QCOMPARE(r.sent.size(), 2); // no send function after a reset
        r.install();
        sendSegment(r, true, true);
        r.answer(statusAnswer(7));
        QCOMPARE(r.sent.size(), 4);
        QCOMPARE(r.events.size(), 0);
    }
};

QTEST_GUILESS_MAIN(EngineRetransmission)
#include "test_engine_retransmission.moc"
