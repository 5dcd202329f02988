// The simulated controller at the byte level: host frames in through the driver interface,
// answer frames out, checked byte by byte.

#include "rawlink.h"
#include "schedulingdelay.h"
#include "simulatortestcase.h"

#include <QElapsedTimer>
#include <QTest>

namespace
{

QByteArray record(char fill)
{
    QByteArray r(5284, fill);
    r[0] = 'R';
    r[1] = fill;
    r[2] = 0; // name "R" + fill
    return r;
}

QString description(const uchar *node)
{
    return QString::fromLatin1(reinterpret_cast<const char *>(node + 32));
}

} // namespace

class SimulatorProtocolTest : public SimulatorTestCase
{
    Q_OBJECT

private slots:
    void theListShowsEveryPluggedDeviceWithItsDescriptionAtByte32()
    {
        m_driver->addController(SimulatedFtdiDriver::DongleDescription);
        SimulatedDevice *foreign = m_driver->addForeignDevice();
        quint32 count = 0;
        QCOMPARE(m_driver->createDeviceInfoList(&count), FtdiStatus(0));
        QCOMPARE(count, 3u);
        uchar nodes[3 * 100];
        memset(nodes, 0x55, sizeof nodes);
        QCOMPARE(m_driver->getDeviceInfoList(nodes, &count), FtdiStatus(0));
        QCOMPARE(description(nodes), QStringLiteral("BRENLOW BLP-DEV"));
        QCOMPARE(description(nodes + 100), QStringLiteral("BRENLOW BLP-DGL"));
        QCOMPARE(description(nodes + 200), QStringLiteral("FT232R USB UART"));
        QCOMPARE(nodes[32 + 15], uchar(0));

        foreign->unplug();
        QCOMPARE(m_driver->createDeviceInfoList(&count), FtdiStatus(0));
        QCOMPARE(count, 2u);
    }

    void aDeviceOpensOnlyOnceAtATime()
    {
        RawLink first(m_driver.get(), 0);
        QVERIFY(first.isOpen());
        FtdiHandle h = nullptr;
        QVERIFY(m_driver->open(0, &h) != FtdiDriver::Ok);
        QVERIFY(m_driver->open(5, &h) != FtdiDriver::Ok);
    }

    void theProbeIsAnsweredWithAByteExactStatusFrame()
    {
        RawLink link(m_driver.get(), 0);
        const RawAnswer a = link.exchange(rawFrame(0x0C, 0, 0, 0, 0, QByteArray(4, 'x')));
        const QByteArray expected = QByteArray::fromHex("aa00000c01000000010000b800b8cc");
        QCOMPARE(a.bytes.toHex(), expected.toHex());
    }

    void theInformationBlockCarriesVersionsNameAndFrameLimit()
    {
        SimulatedController *c = m_device->controller();
        c->setSoftwareVersion(0x0103);
        c->setHardwareVersion(0x0201);
        c->setFrameLimit(40);
        RawLink link(m_driver.get(), 0);
        QByteArray info;
        QVERIFY(link.readAll(1, 0, &info));
        QCOMPARE(info.size(), 50);
        QCOMPARE(info.mid(2, 4).toHex(), QByteArray("01020301"));
        QCOMPARE(info.mid(6, 9), QByteArray("KDR-450P\0", 9));
        QCOMPARE(info.mid(46, 2).toHex(), QByteArray("2800"));
    }

    void aNameOf39CharactersFillsItsFieldAndLongerOnesAreCut()
    {
        const QByteArray name39(39, 'N');
        m_device->controller()->setName(name39 + "EXTRA");
        RawLink link(m_driver.get(), 0);
        QByteArray info;
        QVERIFY(link.readAll(1, 0, &info));
        QCOMPARE(info.mid(6, 39), name39);
        QCOMPARE(info.at(45), '\0');
    }

    void aLabelLongerThanOneAnswerComesInSegmentsWithFirstAndLastFlags()
    {
        const QByteArray label(99, 'L');
        m_device->controller()->setLabel(label);
        RawLink link(m_driver.get(), 0);
        const RawAnswer a1 = link.exchange(rawFrame(0x0C, 2, 10, 0, 0));
        QCOMPARE(a1.type, quint8(3));
        QCOMPARE(a1.flags, quint8(0x08));
        QCOMPARE(a1.length, quint16(66)); // frame limit 80 less the 14 framing bytes
        const RawAnswer a2 = link.exchange(rawFrame(0x04, 2, 10, 0, 1));
        QCOMPARE(a2.flags, quint8(0x04));
        QCOMPARE(a2.sequence, quint8(1));
        QCOMPARE(a1.payload + a2.payload, label);
    }

    void aRecordGoesIntoTheLowestFreeSlotWithItsSlotByteSet()
    {
        SimulatedController *c = m_device->controller();
        QCOMPARE(c->storeRecord(record('a')), 0);
        QCOMPARE(c->storeRecord(record('b')), 1);
        RawLink link(m_driver.get(), 0);
        QByteArray ignored;
        QVERIFY(link.readAll(13, 0, &ignored)); // delete slot 0
        QCOMPARE(link.writeAll(12, 0, record('c'), 64), quint8(0));
        const QByteArray stored = c->record(0);
        QCOMPARE(stored.size(), 5284);
        QCOMPARE(stored.at(242), '\0');
        QCOMPARE(stored.mid(243), record('c').mid(243));
        QCOMPARE(link.writeAll(12, 0, record('d'), 64), quint8(0));
        QCOMPARE(c->record(2).at(242), char(2));
    }

    void theFixtureListHasTheCountAndOneHeaderPerStoredRecord()
    {
        SimulatedController *c = m_device->controller();
        c->storeRecord(record('a'));
        c->storeRecord(record('b'));
        c->storeRecord(record('c'));
        RawLink link(m_driver.get(), 0);
        QByteArray ignored;
        QVERIFY(link.readAll(13, 1, &ignored));
        QByteArray list;
        QVERIFY(link.readAll(11, 0, &list));
        QCOMPARE(list.size(), 2 + 2 * 244);
        QCOMPARE(list.left(2).toHex(), QByteArray("0200"));
        QCOMPARE(list.at(2 + 1), 'a');
        QCOMPARE(list.at(2 + 242), char(0));
        QCOMPARE(list.at(2 + 244 + 1), 'c');
        QCOMPARE(list.at(2 + 244 + 242), char(2));
    }

    void anEmptyStoreListsAsTheTwoByteCountAlone()
    {
        RawLink link(m_driver.get(), 0);
        QByteArray list;
        QVERIFY(link.readAll(11, 0, &list));
        QCOMPARE(list.toHex(), QByteArray("0000"));
    }

    void aRecordReadsBackWholeBySlot()
    {
        m_device->controller()->storeRecord(record('y'));
        QByteArray r = record('z');
        const int slot = m_device->controller()->storeRecord(r);
        QCOMPARE(slot, 1);
        r[242] = char(slot);
        RawLink link(m_driver.get(), 0);
        QByteArray back;
        QVERIFY(link.readAll(12, quint16(slot), &back));
        QCOMPARE(back, r);
        const RawAnswer missing = link.exchange(rawFrame(0x0C, 2, 12, 7, 0));
        QCOMPARE(missing.type, quint8(1));
        QVERIFY(missing.status() != 0);
    }

    void theStatusReportsFreeSlotsAndThePatchList()
    {
        SimulatedController *c = m_device->controller();
        c->setCapacity(3);
        c->storeRecord(record('a'));
        RawLink link(m_driver.get(), 0);
        QByteArray status;
        QVERIFY(link.readAll(14, 0, &status));
        QCOMPARE(status.toHex(), QByteArray("0201"));
        c->setPatchListEmpty(false);
        QVERIFY(link.readAll(14, 0, &status));
        QCOMPARE(status.toHex(), QByteArray("0200"));
    }

    void aPatchListBlocksWritesAndDeletesUntilItIsCleared()
    {
        SimulatedController *c = m_device->controller();
        c->storeRecord(record('a'));
        c->setPatchListEmpty(false);
        RawLink link(m_driver.get(), 0);
        QVERIFY(link.writeAll(12, 0, record('b'), 64) != 0);
        QCOMPARE(link.exchange(rawFrame(0x0C, 2, 13, 0, 0)).type, quint8(1));
        QCOMPARE(c->records().size(), 1);

        QCOMPARE(link.writeAll(15, 0, QByteArray(2, '\0'), 64), quint8(0));
        QVERIFY(c->patchListEmpty());
        QCOMPARE(link.writeAll(12, 0, record('b'), 64), quint8(0));
        QCOMPARE(c->records().size(), 2);
    }

    void aFullStoreRefusesTheNextRecord()
    {
        SimulatedController *c = m_device->controller();
        c->setCapacity(1);
        c->storeRecord(record('a'));
        RawLink link(m_driver.get(), 0);
        QVERIFY(link.writeAll(12, 0, record('b'), 64) != 0);
        QCOMPARE(c->records().size(), 1);
    }

    void aRecordOfTheWrongSizeIsRefused()
    {
        RawLink link(m_driver.get(), 0);
        QVERIFY(link.writeAll(12, 0, QByteArray(5283, 'x'), 64) != 0);
        QVERIFY(m_device->controller()->records().isEmpty());
    }

    void firmwareHeaderAndSectorsArriveWithTheirBytes()
    {
        QByteArray header(256, '\0');
        header.replace(0, 5, QByteArray("BLU2\0", 5));
        QByteArray sector(1000, '\0');
        for (int i = 0; i < sector.size(); ++i)
            sector[i] = char(i * 7 + 3);
        RawLink link(m_driver.get(), 0);
        QCOMPARE(link.writeAll(3, 0, header, 64), quint8(0));
        QCOMPARE(link.writeAll(4, 0, sector, 64), quint8(0));
        QCOMPARE(link.writeAll(4, 1, sector.left(10), 64), quint8(0));
        SimulatedController *c = m_device->controller();
        QCOMPARE(c->firmwareHeader(), header);
        const auto sectors = c->firmwareSectors();
        QCOMPARE(sectors.size(), 2);
        QCOMPARE(sectors[0].index, quint16(0));
        QCOMPARE(sectors[0].data, sector);
        QCOMPARE(sectors[1].index, quint16(1));
        QCOMPARE(sectors[1].data, sector.left(10));
    }

    void aWholeFirmwareImageIsRecognisedAsIntactAndAMissingSectorIsNot()
    {
        const QByteArray s0(512, char(0x11));
        const QByteArray s1(300, char(0x22));
        QByteArray header(256, '\0');
        header.replace(0, 5, QByteArray("BLU2\0", 5));
        header[46] = 2;
        header[68] = char(512 & 0xFF);
        header[69] = char(512 >> 8);
        header[72] = char(300 & 0xFF);
        header[73] = char(300 >> 8);
        const quint32 sum = 512 * 0x11 + 300 * 0x22;
        for (int i = 0; i < 4; ++i)
            header[100 + i] = char((sum >> (8 * i)) & 0xFF);
        SimulatedController *c = m_device->controller();
        RawLink link(m_driver.get(), 0);
        QCOMPARE(link.writeAll(3, 0, header, 64), quint8(0));
        QCOMPARE(link.writeAll(4, 0, s0, 64), quint8(0));
        QVERIFY(!c->firmwareImageIntact());
        QCOMPARE(link.writeAll(4, 1, s1, 64), quint8(0));
        QVERIFY(c->firmwareImageIntact());

        QCOMPARE(link.writeAll(3, 0, header, 64), quint8(0)); // a new update starts afresh
        QCOMPARE(link.writeAll(4, 0, s0, 64), quint8(0));
        QByteArray damaged = s1;
        damaged[5] = 0x23;
        QCOMPARE(link.writeAll(4, 1, damaged, 64), quint8(0));
        QVERIFY(!c->firmwareImageIntact());
    }

    void aControllerThatRestartsAfterFirmwareLeavesOnlyTheLastSegmentUnanswered()
    {
        QByteArray header(256, '\0');
        header[46] = 2;
        m_device->controller()->setRestartsAfterFirmware(true);
        RawLink link(m_driver.get(), 0);
        QCOMPARE(link.writeAll(3, 0, header, 64), quint8(0));
        QCOMPARE(link.writeAll(4, 0, QByteArray(100, 'a'), 64), quint8(0));
        QCOMPARE(link.exchange(rawFrame(0x08, 0, 4, 1, 0, QByteArray(64, 'b'))).status(),
                 quint8(0));
        QVERIFY(link.send(rawFrame(0x04, 0, 4, 1, 1, QByteArray(36, 'b'))));
        QVERIFY(!link.receive(std::chrono::milliseconds(60)).complete);
        QCOMPARE(m_device->controller()->firmwareSectors().size(), 2);
    }

    void recordsPlacedInChosenSlotsListWithTheirSlotNumbers()
    {
        SimulatedController *c = m_device->controller();
        QVERIFY(c->storeRecordAt(7, record('s')));
        QVERIFY(c->storeRecordAt(3, record('t')));
        QVERIFY(!c->storeRecordAt(100, record('u'))); // beyond the capacity
        QVERIFY(!c->storeRecordAt(4, QByteArray(10, 'v')));
        RawLink link(m_driver.get(), 0);
        QByteArray list;
        QVERIFY(link.readAll(11, 0, &list));
        QCOMPARE(list.size(), 2 + 2 * 244);
        QCOMPARE(quint8(list[2 + 242]), quint8(3));
        QCOMPARE(quint8(list[2 + 244 + 242]), quint8(7));
        QVERIFY(c->removeRecord(3));
        QVERIFY(!c->removeRecord(3));
        QCOMPARE(c->storeRecord(record('w')), 0);
    }

    void aPayloadFullOfStartAndEndBytesIsReceivedWhole()
    {
        QByteArray r(5284, char(0xAA));
        for (int i = 0; i < r.size(); i += 3)
            r[i] = char(0xCC);
        RawLink link(m_driver.get(), 0);
        QCOMPARE(link.writeAll(12, 0, r, 64), quint8(0));
        QCOMPARE(m_device->controller()->record(0).left(242), r.left(242));
    }

    void aFrameForAnotherAddressIsIgnoredSilently()
    {
        RawLink link(m_driver.get(), 0);
        QVERIFY(link.send(rawFrame(0x0C, 0, 0, 0, 0, QByteArray(4, 'x'), 7)));
        QVERIFY(!link.receive(std::chrono::milliseconds(60)).complete);
        QCOMPARE(m_device->badFramesReceived(), quint64(0));
        QCOMPARE(link.exchange(rawFrame(0x0C, 0, 0, 0, 0, QByteArray(4, 'x'), 0)).status(),
                 quint8(0));
    }

    void aFrameWithABadChecksumGetsNoAnswerAndCountsAsBad()
    {
        RawLink link(m_driver.get(), 0);
        QByteArray header = rawFrame(0x0C, 0, 0, 0, 0, QByteArray(4, 'x'));
        header[11] = char(header[11] + 1);
        QVERIFY(link.send(header));
        QByteArray trailer = rawFrame(0x0C, 0, 0, 0, 0, QByteArray(4, 'x'));
        trailer[16] = char(trailer[16] + 1);
        QVERIFY(link.send(trailer));
        QVERIFY(!link.receive(std::chrono::milliseconds(60)).complete);
        QCOMPARE(m_device->badFramesReceived(), quint64(2));
        QCOMPARE(m_device->framesReceived(), quint64(0));
    }

    void aFrameOutOfSequenceIsRefused()
    {
        RawLink link(m_driver.get(), 0);
        QCOMPARE(link.exchange(rawFrame(0x08, 0, 12, 0, 0, QByteArray(64, 'x'))).status(),
                 quint8(0));
        QVERIFY(link.exchange(rawFrame(0x00, 0, 12, 0, 2, QByteArray(64, 'x'))).status() != 0);
        QVERIFY(link.exchange(rawFrame(0x0C, 2, 1, 0, 1)).status() != 0);
    }

    void aResentMiddleSegmentWithFlagsOneIsStoredOnce()
    {
        m_device->controller()->setFrameLimit(5200 + 14);
        RawLink link(m_driver.get(), 0);
        QByteArray r = record('m');
        QCOMPARE(link.exchange(rawFrame(0x08, 0, 12, 0, 0, r.left(64))).status(), quint8(0));
        const QByteArray middle = r.mid(64, 64);
        QCOMPARE(link.exchange(rawFrame(0x00, 0, 12, 0, 1, middle)).status(), quint8(0));
        // The host's resend: flags 1, both checksums one higher (which keeps them valid).
        QByteArray resent = rawFrame(0x00, 0, 12, 0, 1, middle);
        resent[3] = 1;
        resent[11] = char(resent[11] + 1);
        resent[12 + 64] = char(resent[12 + 64] + 1);
        QCOMPARE(link.exchange(resent).status(), quint8(0));
        QCOMPARE(link.exchange(rawFrame(0x04, 0, 12, 0, 2, r.mid(128))).status(), quint8(0));
        QCOMPARE(m_device->controller()->record(0).mid(243), r.mid(243));
    }

    void aFrameLongerThanTheFrameLimitIsRefused()
    {
        RawLink link(m_driver.get(), 0);
        const RawAnswer a = link.exchange(rawFrame(0x0C, 0, 0, 0, 0, QByteArray(67, 'x')));
        QCOMPARE(a.type, quint8(1));
        QVERIFY(a.status() != 0);
        m_device->controller()->setFrameLimit(200);
        QCOMPARE(link.exchange(rawFrame(0x0C, 0, 0, 0, 0, QByteArray(186, 'x'))).status(),
                 quint8(0));
    }

    void aLineNotSetTo250000Baud8N2HearsNothing()
    {
        quint32 count = 0;
        FtdiHandle h = nullptr;
        QCOMPARE(m_driver->createDeviceInfoList(&count), FtdiStatus(0));
        QCOMPARE(m_driver->open(0, &h), FtdiStatus(0));
        QCOMPARE(m_driver->setTimeouts(h, 40, 2000), FtdiStatus(0));
        QCOMPARE(m_driver->setBaudRate(h, 115200), FtdiStatus(0));
        QCOMPARE(m_driver->setDataCharacteristics(h, 8, 2, 0), FtdiStatus(0));
        const QByteArray probe = rawFrame(0x0C, 0, 0, 0, 0, QByteArray(4, 'x'));
        quint32 n = 0;
        QCOMPARE(m_driver->write(h, probe.constData(), quint32(probe.size()), &n), FtdiStatus(0));
        uchar b;
        QCOMPARE(m_driver->read(h, &b, 1, &n), FtdiStatus(0));
        QCOMPARE(n, 0u);
        QCOMPARE(m_device->framesReceived(), quint64(0));
        QCOMPARE(m_driver->close(h), FtdiStatus(0));
    }

    void aReadWithNothingToReadReturnsEmptyAfterTheReadTimeout()
    {
        RawLink link(m_driver.get(), 0);
        QElapsedTimer t;
        t.start();
        uchar b;
        quint32 n = 1;
        QCOMPARE(m_driver->read(link.handle(), &b, 1, &n), FtdiStatus(0));
        QCOMPARE(n, 0u);
        QVERIFY2(t.elapsed() >= 39 && t.elapsed() < 200, qPrintable(QString::number(t.elapsed())));
    }

    // The upper bound leaves out the time the process waited for a processor, which a
    // loaded machine adds; waits of the model itself still count.
    void theWireTimeModelTakes44MicrosecondsPerByteBothWays()
    {
        m_device->setWireTimeModel(true);
        RawLink link(m_driver.get(), 0);
        QByteArray r = record('w');
        SchedulingAwareTimer t;
        QCOMPARE(link.writeAll(12, 0, r, 64), quint8(0));
        t.stop();
        // 83 frames of up to 78 bytes out, 83 status answers of 15 bytes back.
        const qint64 bytes = qint64(m_device->bytesReceived() + m_device->bytesSent());
        const QString figures = QStringLiteral("%1 for %2 bytes").arg(t.describe()).arg(bytes);
        QVERIFY2(t.elapsedUs() >= bytes * 44, qPrintable(figures));
        QVERIFY2(t.unloadedUs() < bytes * 44 * 2, qPrintable(figures));
    }

    void handlesFromAnotherDriverOrAfterCloseAreRefused()
    {
        RawLink link(m_driver.get(), 0);
        uchar b = 0;
        quint32 n = 0;
        QVERIFY(m_driver->write(reinterpret_cast<FtdiHandle>(quintptr(999)), &b, 1, &n) != 0);
        FtdiHandle h = link.handle();
        QCOMPARE(m_driver->close(h), FtdiStatus(0));
        QVERIFY(m_driver->close(h) != 0);
        QVERIFY(m_driver->getStatus(h, &n, &n, &n) != 0);
        FtdiHandle again = nullptr;
        QCOMPARE(m_driver->open(0, &again), FtdiStatus(0)); // closed, so free again
        QCOMPARE(m_driver->close(again), FtdiStatus(0));
    }
};

QTEST_GUILESS_MAIN(SimulatorProtocolTest)
#include "test_simulator_protocol.moc"
