#include "simlink.h"

#include "blpmaster.h"
#include "blpmphy.h"

#include <QtTest>

#include <chrono>
#include <functional>

using namespace std::chrono_literals;

namespace
{

constexpr int kTimeoutMs = 400;
// Generous, so that slow (sanitizer) builds pass; a hang would take far longer.
constexpr int kSlackMs = 1500;

using Fault = std::function<void(SimulatedDevice *)>;

enum class Operation { SegmentedWrite, SegmentedRead, Info, Probe };

QByteArray pattern(int n)
{
    QByteArray b(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
        b[i] = char(i * 37 + i / 256);
    return b;
}

bool run(SimLink &link, Operation op)
{
    switch (op) {
    case Operation::SegmentedWrite: {
        // Patterned, so that a resend that lands in the wrong place shows in the bytes.
        const QByteArray data = pattern(300);
        const auto sectors = [&link] { return link.controller()->firmwareSectors(); };
        return link.master->writeData(300, data.constData(), SimulatedController::FirmwareSector,
                                      1) &&
               sectors().size() == 1 && sectors().first().data == data;
    }
    case Operation::SegmentedRead: {
        QByteArray buffer(99, '\0');
        qint32 received = 0;
        return link.master->readData(99, buffer.data(), received, SimulatedController::Label, 0) &&
               received == 99 && buffer == link.controller()->label();
    }
    case Operation::Info: {
        QString name;
        int sw = 0, hw = 0;
        return link.master->readDeviceInfo(name, sw, hw) && name == QLatin1String("KDR-450P");
    }
    case Operation::Probe:
        return link.master->probeDevice() == BLPMaster::ProbeAnswered;
    }
    return false;
}

} // namespace

Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(Operation)

class LinkFaults : public QObject
{
    Q_OBJECT

private slots:
    void everyFaultEndsEachOperationWithAResultWithinTheTimeout_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<BLPMaster::LinkStatus>("expected");

        using S = BLPMaster::LinkStatus;
        const auto add = [](const char *name, Fault fault, S expected) {
            QTest::newRow(name) << fault << expected;
        };
        for (quint8 status = 7; status <= 10; ++status) {
            add(
                qPrintable(QStringLiteral("status %1 once: resent, succeeds").arg(status)),
                [status](SimulatedDevice *d) { d->answerWithStatus(status, 1); }, S::Ok);
            add(
                qPrintable(QStringLiteral("status %1 twice: fails").arg(status)),
                [status](SimulatedDevice *d) { d->answerWithStatus(status, 2); },
                S::DeviceStatus);
        }
        add(
            "status 7 on the second frame: resent, succeeds",
            [](SimulatedDevice *d) { d->answerWithStatus(7, 1, 1); }, S::Ok);
        add(
            "failure status 3: fails", [](SimulatedDevice *d) { d->answerWithStatus(3, 1); },
            S::DeviceStatus);
        add(
            "answer dropped: fails", [](SimulatedDevice *d) { d->dropAnswers(1); }, S::TimedOut);
        add(
            "header checksum corrupted: fails",
            [](SimulatedDevice *d) { d->corruptAnswers(1, 0, 11); }, S::TimedOut);
        add(
            "frame checksum corrupted: fails",
            [](SimulatedDevice *d) { d->corruptAnswers(1, 0, -2); }, S::TimedOut);
        add(
            "a payload byte corrupted: fails",
            [](SimulatedDevice *d) { d->corruptAnswers(1, 0, 12); }, S::TimedOut);
        add(
            "stops answering: fails", [](SimulatedDevice *d) { d->setAnswering(false); },
            S::TimedOut);
        add(
            "unplugged after a few bytes: fails",
            [](SimulatedDevice *d) { d->unplugAfterReceivedBytes(10); }, S::LinkLost);
        add(
            "unplugged before: fails", [](SimulatedDevice *d) { d->unplug(); }, S::LinkLost);
        add(
            "answers slowly within the timeout: succeeds",
            [](SimulatedDevice *d) { d->setAnswerDelay(60ms); }, S::Ok);
        add(
            "answers slower than the timeout: fails",
            [](SimulatedDevice *d) {
                d->setAnswerDelay(std::chrono::milliseconds(kTimeoutMs + 300));
            },
            S::TimedOut);
    }

    void everyFaultEndsEachOperationWithAResultWithinTheTimeout()
    {
        QFETCH(Fault, fault);
        QFETCH(BLPMaster::LinkStatus, expected);
        for (Operation op : {Operation::SegmentedWrite, Operation::SegmentedRead, Operation::Info,
                             Operation::Probe}) {
            SimLink link(true, kTimeoutMs);
            link.controller()->setLabel(QByteArray(99, 'q')); // a read of two answers
            fault(link.device);
            const bool succeeds = expected == BLPMaster::LinkStatus::Ok;
            bool ok = !succeeds;
            const qint64 ms = elapsedMs([&] { ok = run(link, op); });
            const QString what = QStringLiteral("operation %1 took %2 ms").arg(int(op)).arg(ms);
            QVERIFY2(ok == succeeds, qPrintable(what));
            QVERIFY2(link.master->lastStatus() == expected,
                     qPrintable(what + QStringLiteral(", status %1")
                                           .arg(int(link.master->lastStatus()))));
            if (expected == BLPMaster::LinkStatus::DeviceStatus)
                QVERIFY(link.master->lastDeviceStatus() != 0);
            QVERIFY2(ms < kTimeoutMs + kSlackMs, qPrintable(what));
        }
    }

    void aFailureStatusEndsTheOperationWithoutWaitingForTheTimeout()
    {
        SimLink link(false, 3000);
        link.device->answerWithStatus(8, 2);
        bool ok = true;
        const qint64 ms = elapsedMs([&] { ok = run(link, Operation::SegmentedWrite); });
        QVERIFY(!ok);
        QVERIFY2(ms < 1000, qPrintable(QString::number(ms)));
        QVERIFY(!link.master->isLinkLost()); // an answered failure keeps the link
        link.device->clearFaults();
        QVERIFY(run(link, Operation::SegmentedWrite));
    }

    // The phy base class has no device: it once claimed every frame as sent, so the master
    // waited for an answer that could not come.
    void aPhyWithoutADeviceLosesTheLinkAtOnceInsteadOfTimingOut()
    {
        BLPMaster master;
        BLPmPhy phy;
        master.attachPhy(&phy);
        master.setResponseTimeout(3000);
        QString name;
        int sw = 0, hw = 0;
        bool ok = true;
        const qint64 ms = elapsedMs([&] { ok = master.readDeviceInfo(name, sw, hw); });
        QVERIFY(!ok);
        QCOMPARE(master.lastStatus(), BLPMaster::LinkStatus::LinkLost);
        QVERIFY2(ms < 1000, qPrintable(QString::number(ms)));
        master.resetLink();
    }

    void aResentMiddleSegmentIsStoredOnceByTheDevice()
    {
        SimLink link;
        link.device->answerWithStatus(9, 1, 2); // the third frame of the write
        const QByteArray data = pattern(300);
        QVERIFY(
            link.master->writeData(300, data.constData(), SimulatedController::FirmwareSector, 3));
        const auto frames = link.framesOf(SimulatedController::FirmwareSector);
        QCOMPARE(frames.size(), 6); // five segments, one of them twice
        QCOMPARE(frames[3].flags, quint8(0x01));
        QCOMPARE(frames[3].sequence, frames[2].sequence);
        const auto sectors = link.controller()->firmwareSectors();
        QCOMPARE(sectors.size(), 1);
        QCOMPARE(sectors[0].data, data);
    }
};

QTEST_GUILESS_MAIN(LinkFaults)
#include "test_link_faults.moc"
