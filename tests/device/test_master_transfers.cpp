#include "simlink.h"
#include "threadend.h"

#include <QSignalSpy>
#include <QtTest>

namespace
{

constexpr quint8 kFirmwareSector = SimulatedController::FirmwareSector;
constexpr quint8 kRecord = SimulatedController::Record;
constexpr quint8 kLabel = SimulatedController::Label;

QByteArray pattern(int n)
{
    QByteArray b(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
        b[i] = char((i * 7 + 0xAA) & 0xFF); // plenty of 0xAA and 0xCC in there
    return b;
}

QList<int> segmentLengths(const SimLink &link, quint8 command)
{
    QList<int> lengths;
    for (const SimulatedFrameInfo &f : link.framesOf(command))
        lengths.append(f.length);
    return lengths;
}

QList<uint> values(const QSignalSpy &spy)
{
    QList<uint> out;
    for (const QList<QVariant> &args : spy)
        out.append(args.at(0).toUInt());
    return out;
}

} // namespace

class MasterTransfers : public QObject
{
    Q_OBJECT

private slots:
    void writesAreCutIntoSegmentsThatFitTheDefaultFrameLimitOf80_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<QList<int>>("segments");
        QTest::newRow("66 bytes go as one") << 66 << QList<int>{66};
        QTest::newRow("67 bytes go as 64 and 3") << 67 << QList<int>{64, 3};
        QTest::newRow("200 bytes go as 64, 64, 64, 8") << 200 << QList<int>{64, 64, 64, 8};
        QTest::newRow("128 bytes go as 64 and 64") << 128 << QList<int>{64, 64};
    }
    void writesAreCutIntoSegmentsThatFitTheDefaultFrameLimitOf80()
    {
        QFETCH(int, length);
        QFETCH(QList<int>, segments);
        SimLink link;
        const QByteArray data = pattern(length);
        QVERIFY(link.master->writeData(quint32(length), data.constData(), kFirmwareSector, 9));
        QCOMPARE(segmentLengths(link, kFirmwareSector), segments);
        const auto sectors = link.controller()->firmwareSectors();
        QCOMPARE(sectors.size(), 1);
        QCOMPARE(sectors[0].index, quint16(9));
        QCOMPARE(sectors[0].data, data);
    }

    void theSegmentsCarryFirstAndLastFlagsAndRisingSequenceNumbers()
    {
        SimLink link;
        const QByteArray data = pattern(200);
        QVERIFY(link.master->writeData(200, data.constData(), kFirmwareSector, 0));
        const auto frames = link.framesOf(kFirmwareSector);
        QCOMPARE(frames.size(), 4);
        QCOMPARE(frames[0].flags, quint8(0x08));
        QCOMPARE(frames[1].flags, quint8(0x00));
        QCOMPARE(frames[2].flags, quint8(0x00));
        QCOMPARE(frames[3].flags, quint8(0x04));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(frames[i].sequence, quint8(i));
    }

    void sigTransferredReportsEachValueOnceRisingToExactlyOneHundred()
    {
        SimLink link(true); // a real line speed gives the progress tick time to run
        QSignalSpy spy(link.master.get(), &BLPMaster::sigTransferred);
        const QByteArray record = pattern(5284);
        QVERIFY(link.master->writeData(5284, record.constData(), kRecord, 0));
        const QList<uint> seen = values(spy);
        QVERIFY(!seen.isEmpty());
        QCOMPARE(seen.count(100u), 1);
        QCOMPARE(seen.last(), 100u);
        for (int i = 1; i < seen.size(); ++i)
            QVERIFY2(seen[i] > seen[i - 1], "values rise and none repeats");
        QVERIFY(seen.size() > 20);
    }

    void aOneSegmentWriteReportsOneHundredOnce()
    {
        SimLink link;
        QSignalSpy spy(link.master.get(), &BLPMaster::sigTransferred);
        const QByteArray data = pattern(10);
        QVERIFY(link.master->writeData(10, data.constData(), kFirmwareSector, 0));
        QCOMPARE(values(spy).count(100u), 1);
        QCOMPARE(values(spy).last(), 100u);
    }

    void aWriteOfLengthZeroFailsWithoutSendingAnything()
    {
        SimLink link;
        const char byte = 0;
        QVERIFY(!link.master->writeData(0, &byte, kFirmwareSector, 0));
        QCOMPARE(link.device->framesReceived(), quint64(0));
    }

    void aFixtureRecordIsStoredAndReadBackAcrossSeveralAnswers()
    {
        SimLink link;
        const QByteArray record = pattern(5284);
        QVERIFY(link.master->writeData(5284, record.constData(), kRecord, 0));
        const QMap<int, QByteArray> stored = link.controller()->records();
        QCOMPARE(stored.size(), 1);
        const int slot = stored.firstKey();

        QSignalSpy spy(link.master.get(), &BLPMaster::sigReceived);
        QByteArray buffer(5284, '\0');
        qint32 received = -1;
        QVERIFY(link.master->readData(5284, buffer.data(), received, kRecord, quint16(slot)));
        QCOMPARE(received, 5284);
        QCOMPARE(buffer, stored.value(slot));
        const QList<uint> seen = values(spy);
        QCOMPARE(seen.first(), 0u);
        QCOMPARE(seen.last(), 0xFFFFFFFFu);
        QCOMPARE(seen.at(seen.size() - 2), 5284u);
        QVERIFY(seen.size() > 3);                         // several answers
        QCOMPARE(seen.at(1), uint(80 - 14));              // one answer of the frame limit
        QCOMPARE(link.framesOf(kRecord).size() - 83, 81); // 83 written segments, 81 requests
    }

    void aReadWhoseFirstAnswerIsTheLastReportsZeroTheCountAndTheEnd()
    {
        SimLink link;
        link.controller()->setLabel("Stage left");
        QSignalSpy spy(link.master.get(), &BLPMaster::sigReceived);
        QByteArray buffer(99, '\0');
        qint32 received = 0;
        QVERIFY(link.master->readData(99, buffer.data(), received, kLabel, 0));
        QCOMPARE(received, 10);
        QCOMPARE(buffer.left(10), QByteArray("Stage left"));
        QCOMPARE(values(spy), (QList<uint>{0u, 10u, 0xFFFFFFFFu}));
    }

    void aReadNeverWritesPastTheCallersBufferAndAnOverflowingAnswerFailsIt()
    {
        SimLink link;
        link.controller()->setLabel(QByteArray(99, 'L')); // two answers: 66 and 33 bytes
        QByteArray buffer(100 + 16, char(0x5C));
        qint32 received = 0;
        QVERIFY(!link.master->readData(80, buffer.data(), received, kLabel, 0));
        QCOMPARE(buffer.mid(80), QByteArray(36, char(0x5C)));
        // The link is still usable afterwards.
        QVERIFY(link.master->readData(99, buffer.data(), received, kLabel, 0));
        QCOMPARE(received, 99);
    }

    void aReadIntoABufferSmallerThanOneAnswerFailsWithoutTouchingIt()
    {
        SimLink link;
        link.controller()->setLabel(QByteArray(40, 'x'));
        QByteArray buffer(64, char(0x11));
        qint32 received = 0;
        QVERIFY(!link.master->readData(8, buffer.data(), received, kLabel, 0));
        QCOMPARE(buffer, QByteArray(64, char(0x11)));
        QCOMPARE(received, 0);
    }

    void theInformationBlockGivesNameVersionsAndFrameLimit()
    {
        SimLink link;
        link.controller()->setName("KDR-450P");
        link.controller()->setSoftwareVersion(0x0103);
        link.controller()->setHardwareVersion(0x0201);
        link.controller()->setFrameLimit(200);
        QString name;
        int sw = 0, hw = 0;
        QVERIFY(link.master->readDeviceInfo(name, sw, hw));
        QCOMPARE(name, QStringLiteral("KDR-450P"));
        QCOMPARE(sw, 0x0103);
        QCOMPARE(hw, 0x0201);
        QCOMPARE(link.master->maxFrameLength(), 200);
        const QByteArray data = pattern(400);
        QVERIFY(link.master->writeData(400, data.constData(), kFirmwareSector, 0));
        QCOMPARE(segmentLengths(link, kFirmwareSector), (QList<int>{184, 184, 32}));
    }

    void aDeviceReportingAFrameLimitOf40IsTreatedAs80()
    {
        SimLink link;
        link.controller()->setFrameLimit(40);
        QString name;
        int sw = 0, hw = 0;
        QVERIFY(link.master->readDeviceInfo(name, sw, hw));
        QCOMPARE(link.master->maxFrameLength(), 80);
        const QByteArray data = pattern(67);
        QVERIFY(link.master->writeData(67, data.constData(), kFirmwareSector, 0));
        QCOMPARE(segmentLengths(link, kFirmwareSector), (QList<int>{64, 3}));
    }

    void aNameFillingAll39CharactersYieldsA39CharacterName()
    {
        SimLink link;
        const QByteArray longName = "KDR-450P 0123456789 abcdefghijklmnopqrs";
        QCOMPARE(longName.size(), 39);
        link.controller()->setName(longName);
        QString name;
        int sw = 0, hw = 0;
        QVERIFY(link.master->readDeviceInfo(name, sw, hw));
        QCOMPARE(name, QString::fromLatin1(longName));
    }

    void aProbeOfAnAnsweringDeviceGivesTwo()
    {
        SimLink link;
        QCOMPARE(link.master->probeDevice(), int(BLPMaster::ProbeAnswered));
        const auto probes = link.framesOf(SimulatedController::Probe);
        QCOMPARE(probes.size(), 1);
        QCOMPARE(probes[0].length, quint16(4));
        QCOMPARE(probes[0].flags, quint8(0x0C));
    }

    void cancelStopsAWriteAfterItsCurrentSegment()
    {
        SimLink link;
        QObject::connect(
            link.master.get(), &BLPMaster::sigTransferred, link.master.get(),
            [&link](uint percent) {
                if (percent >= 10)
                    link.master->cancel();
            },
            Qt::DirectConnection);
        const QByteArray data = pattern(2000);
        QVERIFY(!link.master->writeData(2000, data.constData(), kFirmwareSector, 0));
        const int sent = link.framesOf(kFirmwareSector).size();
        QVERIFY2(sent >= 2 && sent < 10, qPrintable(QString::number(sent)));
        QVERIFY(!link.master->isLinkLost());
        // A cancel belongs to the operation it stopped; the next one runs whole.
        QObject::disconnect(link.master.get(), &BLPMaster::sigTransferred, nullptr, nullptr);
        QVERIFY(link.master->writeData(66, data.constData(), kFirmwareSector, 0));
    }

    void cancelStopsAReadAfterItsCurrentAnswer()
    {
        SimLink link;
        const QByteArray record = pattern(5284);
        QVERIFY(link.master->writeData(5284, record.constData(), kRecord, 0));
        const int slot = link.controller()->records().firstKey();
        QObject::connect(
            link.master.get(), &BLPMaster::sigReceived, link.master.get(),
            [&link](uint bytes) {
                if (bytes >= 500 && bytes != 0xFFFFFFFFu)
                    link.master->cancel();
            },
            Qt::DirectConnection);
        QByteArray buffer(5284, '\0');
        qint32 received = 0;
        QVERIFY(!link.master->readData(5284, buffer.data(), received, kRecord, quint16(slot)));
        QVERIFY2(received < 1000, qPrintable(QString::number(received)));
    }

    void theBlockingOperationsRunFromAnyWorkerThread()
    {
        SimLink link;
        bool ok = false;
        QString name;
        std::unique_ptr<QThread> worker(QThread::create([&] {
            int sw = 0, hw = 0;
            const QByteArray record = pattern(5284);
            ok = link.master->readDeviceInfo(name, sw, hw) &&
                 link.master->writeData(5284, record.constData(), kRecord, 0) &&
                 link.master->probeDevice() == BLPMaster::ProbeAnswered;
        }));
        ThreadEnd end(worker.get());
        worker->start();
        QVERIFY(end.wait(10000));
        QVERIFY(ok);
        QCOMPARE(name, QStringLiteral("KDR-450P"));
        QCOMPARE(link.controller()->records().size(), 1);
    }
};

QTEST_GUILESS_MAIN(MasterTransfers)
#include "test_master_transfers.moc"
