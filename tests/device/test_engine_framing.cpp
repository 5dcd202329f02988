#include "enginerecorder.h"
#include "framebytes.h"
#include "linklog.h"

#include <QtTest>

namespace
{

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

QStringList g_observed;

void observeFrame(BLPEngineContext *, bool sent, uint32_t length, const uint8_t *bytes)
{
    g_observed << describeFrame(sent, bytes, length);
}

} // namespace

class EngineFraming : public QObject
{
    Q_OBJECT

private slots:
    void aFirstReadRequestHasFlags0CAndSequence0ThenTheNextHasFlags04AndSequence1()
    {
        EngineRecorder r;
        r.request(11, 0x0302);
        QCOMPARE(r.sent.size(), 1);
        QCOMPARE(r.sent[0],
                 bytes({0xAA, 0, 255, 0x0C, 2, 11, 0x02, 0x03, 0, 0, 0, 0xC7, 0xC7, 0xCC}));

        r.answer(dataAnswer("x", 0, true, false, 11));
        r.request(11, 0x0302, false);
        QCOMPARE(r.sent.size(), 2);
        QCOMPARE(r.sent[1],
                 bytes({0xAA, 0, 255, 0x04, 2, 11, 0x02, 0x03, 0, 0, 1, 0xC0, 0xC0, 0xCC}));
    }

    void aDataFrameCarriesHeaderPayloadChecksumAndEndByte()
    {
        EngineRecorder r;
        const uint8_t payload[] = {0x10, 0xAA, 0xCC};
        engineBuildData(r.context(), 3, payload, true, true, 255, 12, 7);
        r.poll();
        QCOMPARE(r.sent.size(), 1);
        // header sum 0x1CB -> 0xCB; frame sum adds the payload
        QCOMPARE(r.sent[0], bytes({0xAA, 0, 255, 0x0C, 0, 12, 7, 0, 3, 0, 0, 0xCB, 0x10, 0xAA, 0xCC,
                                   0x51, 0xCC}));
    }

    void aMiddleSegmentHasNoFlagsAndTheNextSequenceNumber()
    {
        EngineRecorder r;
        const uint8_t payload[] = {1, 2};
        engineBuildData(r.context(), 2, payload, true, false, 255, 12, 0);
        r.poll();
        r.answer(statusAnswer(0, 0));
        engineBuildData(r.context(), 2, payload, false, false, 255, 12, 0);
        r.poll();
        engineBuildData(r.context(), 2, payload, false, true, 255, 12, 0);
        r.poll();
        QCOMPARE(r.sent.size(), 3);
        QCOMPARE(uint8_t(r.sent[0][3]), uint8_t(0x08));
        QCOMPARE(uint8_t(r.sent[1][3]), uint8_t(0x00));
        QCOMPARE(uint8_t(r.sent[1][10]), uint8_t(1));
        QCOMPARE(uint8_t(r.sent[2][3]), uint8_t(0x04));
        QCOMPARE(uint8_t(r.sent[2][10]), uint8_t(2));
    }

    // What kdr450p-tool --verbose prints: every frame sent (a resend too) and every answer
    // accepted, once each; a dropped answer is not shown.
    void theFrameObserverSeesEveryFrameSentAndEveryAnswerAccepted()
    {
        EngineRecorder r;
        engineSetFrameObserver(r.context(), observeFrame);
        g_observed.clear();

        r.request(BLPCommand::DeviceInfo);
        r.poll();
        r.answer(dataAnswer(QByteArray(50, 'i'), 0, true, true, BLPCommand::DeviceInfo));

        const uint8_t payload[] = {1, 2, 3};
        engineBuildData(r.context(), 3, payload, true, false, 255, BLPCommand::Record, 7);
        r.poll();
        r.answer(statusAnswer(0, 5, BLPCommand::Record)); // wrong sequence: dropped
        r.answer(statusAnswer(8, 0, BLPCommand::Record)); // transient: sent once more
        r.answer(statusAnswer(0, 0, BLPCommand::Record));
        engineBuildData(r.context(), 3, payload, false, true, 255, BLPCommand::Record, 7);
        r.poll();
        r.answer(statusAnswer(BLPStatus::PatchListInUse, 1, BLPCommand::Record));

        r.request(BLPCommand::StoreStatus);
        FrameSpec bare;
        bare.command = BLPCommand::StoreStatus;
        r.answer(frameBytes(bare)); // a status answer without its status byte

        QCOMPARE(g_observed, (QStringList{
                                 "send DeviceInfo(1) read seq=0 flags=0x0c status=- length=0",
                                 "recv DeviceInfo(1) answer seq=0 flags=0x0c status=- length=50",
                                 "send Record(12) data seq=0 flags=0x08 status=- length=3",
                                 "recv Record(12) status seq=0 flags=0x0c status=8 length=1",
                                 "send Record(12) data seq=0 flags=0x08 status=- length=3",
                                 "recv Record(12) status seq=0 flags=0x0c status=0 length=1",
                                 "send Record(12) data seq=1 flags=0x04 status=- length=3",
                                 "recv Record(12) status seq=1 flags=0x0c status=4 length=1",
                                 "send StoreStatus(14) read seq=0 flags=0x0c status=- length=0",
                                 "recv StoreStatus(14) status seq=0 flags=0x0c status=255 length=0",
                             }));
        // The frames the observer saw are the frames that went out.
        QCOMPARE(r.sent.size(), 5);
    }

    void aBuiltFrameIsSentOnceHoweverOftenTheEngineIsPolled()
    {
        EngineRecorder r;
        engineBuildRequest(r.context(), 255, 1, 0, true);
        for (int i = 0; i < 5; ++i)
            r.poll();
        QCOMPARE(r.sent.size(), 1);
    }

    void aPayloadContaining0xAAAnd0xCCIsReceivedWhole()
    {
        EngineRecorder r;
        r.request(12, 3);
        const QByteArray payload = bytes({0xAA, 0xCC, 0xAA, 0x00, 0xCC, 0xCC, 0xAA});
        r.answer(dataAnswer(payload, 0, true, true, 12));
        QCOMPARE(r.events.size(), 1);
        QCOMPARE(r.events[0].kind, EngineEvent::Data);
        QCOMPARE(r.events[0].payload, payload);
        QCOMPARE(r.events[0].command, uint8_t(12));
        QVERIFY(r.events[0].first);
        QVERIFY(r.events[0].last);
        QCOMPARE(r.events[0].status, uint8_t(0));
    }

    void leadingNoiseBeforeTheStartByteIsSkipped()
    {
        EngineRecorder r;
        r.request(1);
        r.answer(bytes({0x00, 0xCC, 0x13}) + dataAnswer("abc"));
        QCOMPARE(r.events.size(), 1);
        QCOMPARE(r.events[0].payload, QByteArray("abc"));
    }

    void theFirstAndLastFlagsOfADataAnswerArePassedOn()
    {
        EngineRecorder r;
        r.request(11);
        r.answer(dataAnswer("ab", 0, true, false));
        r.request(11, 0, false);
        r.answer(dataAnswer("cd", 1, false, true));
        QCOMPARE(r.events.size(), 2);
        QVERIFY(r.events[0].first && !r.events[0].last);
        QVERIFY(!r.events[1].first && r.events[1].last);
    }

    void anAnswerAddressedTo0Or255IsAccepted()
    {
        for (int address : {0, 255}) {
            EngineRecorder r;
            engineBuildData(r.context(), 0, nullptr, true, true, 255, 0, 0);
            r.poll();
            FrameSpec f;
            f.address = uint8_t(address);
            f.payload = QByteArray(1, 0);
            r.answer(frameBytes(f));
            QCOMPARE(r.events.size(), 1);
        }
    }

    void anAnswerAddressedTo7IsDroppedWithoutBeingCounted()
    {
        EngineRecorder r;
        engineBuildData(r.context(), 0, nullptr, true, true, 255, 0, 0);
        r.poll();
        FrameSpec foreign;
        foreign.address = 7;
        foreign.payload = QByteArray(1, 0);
        // Far more than the bad-frame limit: none of them may count.
        for (int i = 0; i < 120; ++i)
            r.answer(frameBytes(foreign));
        QCOMPARE(r.events.size(), 0);
        QCOMPARE(r.sent.size(), 1);
        r.answer(statusAnswer(0));
        QCOMPARE(r.events.size(), 1);
        QCOMPARE(r.events[0].kind, EngineEvent::Status);
    }

    void anAnswerWithTheWrongSequenceIsDroppedAndCountedAsBad()
    {
        EngineRecorder r;
        engineBuildData(r.context(), 0, nullptr, true, true, 255, 0, 0);
        r.poll();
        for (int i = 0; i < 49; ++i)
            r.answer(statusAnswer(0, 5));
        QCOMPARE(r.events.size(), 0);
        QCOMPARE(r.sent.size(), 1);
        r.answer(statusAnswer(0, 5)); // the 50th bad frame resends the frame in flight
        QCOMPARE(r.events.size(), 0);
        QCOMPARE(r.sent.size(), 2);
        QCOMPARE(r.sent[1], r.sent[0]);
    }

    void fiftyMoreBadFramesAfterTheResendEndTheTransactionWithStatus11()
    {
        EngineRecorder r;
        r.request(1);
        FrameSpec badType;
        badType.type = 5;
        for (int i = 0; i < 50; ++i)
            r.answer(frameBytes(badType));
        QCOMPARE(r.sent.size(), 2);
        QCOMPARE(r.events.size(), 0);
        for (int i = 0; i < 50; ++i)
            r.answer(statusAnswer(0, 9));
        QCOMPARE(r.sent.size(), 2);
        QCOMPARE(r.events.size(), 1);
        QCOMPARE(r.events[0].kind, EngineEvent::Data);
        QCOMPARE(r.events[0].status, uint8_t(11));
        QVERIFY(r.events[0].payload.isEmpty());
        QVERIFY(r.events[0].first && r.events[0].last);
    }

    void aGoodAnswerSetsTheBadFrameCountBackToFifty()
    {
        EngineRecorder r;
        engineBuildData(r.context(), 0, nullptr, true, true, 255, 0, 0);
        r.poll();
        QByteArray corrupt = statusAnswer(0);
        corrupt[11] = char(corrupt[11] + 1);
        for (int i = 0; i < 49; ++i)
            r.answer(corrupt);
        r.answer(statusAnswer(0));
        engineBuildData(r.context(), 0, nullptr, false, true, 255, 0, 0);
        r.poll();
        for (int i = 0; i < 49; ++i)
            r.answer(corrupt);
        QCOMPARE(r.sent.size(), 2); // no resend: the count started again
    }

    void aBadTrailerDropsTheFrameSilently()
    {
        EngineRecorder r;
        engineBuildData(r.context(), 0, nullptr, true, true, 255, 0, 0);
        r.poll();
        QByteArray wrongSum = statusAnswer(0);
        wrongSum[12 + 1] = char(wrongSum[13] + 1);
        QByteArray wrongEnd = statusAnswer(0);
        wrongEnd[14] = char(0xCD);
        for (int i = 0; i < 60; ++i) {
            r.answer(wrongSum);
            r.answer(wrongEnd);
        }
        QCOMPARE(r.events.size(), 0);
        QCOMPARE(r.sent.size(), 1);
        r.answer(statusAnswer(0));
        QCOMPARE(r.events.size(), 1);
    }

    void aDataAnswerWithoutAnOutstandingRequestIsIgnored()
    {
        EngineRecorder r;
        engineBuildData(r.context(), 1, reinterpret_cast<const uint8_t *>("z"), true, true, 255, 0,
                        0);
        r.poll();
        r.answer(dataAnswer("stray"));
        QCOMPARE(r.events.size(), 0);
    }

    void aSecondAnswerBeforeThePollIsIgnoredUntilTheFirstIsHandled()
    {
        EngineRecorder r;
        r.request(1);
        r.feed(dataAnswer("first"));
        r.feed(dataAnswer("second"));
        r.poll();
        r.poll();
        QCOMPARE(r.events.size(), 1);
        QCOMPARE(r.events[0].payload, QByteArray("first"));
    }

    void aFrameSplitAcrossManyPollsIsStillAssembled()
    {
        EngineRecorder r;
        r.request(1);
        const QByteArray frame = dataAnswer(QByteArray(300, char(0xAA)));
        for (char b : frame) {
            r.feed(QByteArray(1, b));
            r.poll();
        }
        QCOMPARE(r.events.size(), 1);
        QCOMPARE(r.events[0].payload.size(), 300);
    }

    void aLargestPossibleFrameFitsTheBuffers()
    {
        EngineRecorder r;
        QByteArray payload(65535, char(0x5A));
        engineBuildData(r.context(), 65535, reinterpret_cast<const uint8_t *>(payload.constData()),
                        true, true, 255, 12, 0);
        r.poll();
        QCOMPARE(r.sent.size(), 1);
        QCOMPARE(r.sent[0].size(), 65549);
        QCOMPARE(uint8_t(r.sent[0].back()), uint8_t(0xCC));
        r.request(12);
        r.answer(dataAnswer(payload));
        QCOMPARE(r.events.size(), 1);
        QCOMPARE(r.events[0].payload, payload);
    }
};

QTEST_GUILESS_MAIN(EngineFraming)
#include "test_engine_framing.moc"
