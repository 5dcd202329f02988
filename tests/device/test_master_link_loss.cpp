#include "devicelink.h"
#include "schedulingdelay.h"
#include "simlink.h"
#include "simulatedcontroller.h"
#include "threadend.h"

#include <QtTest>

#include <atomic>
#include <chrono>
#include <mutex>

using namespace std::chrono_literals;

namespace
{

// Opening an adapter takes a few milliseconds, time enough for a second opener to meet it.
// Counts the opens, and those refused because the device was open already.
class SlowOpeningDriver : public SimulatedFtdiDriver
{
public:
    FtdiStatus open(int index, FtdiHandle *handle) override
    {
        ++opens;
        QThread::usleep(2000);
        const FtdiStatus status = SimulatedFtdiDriver::open(index, handle);
        if (status != FtdiDriver::Ok)
            ++refused;
        return status;
    }

    std::atomic<int> opens{0};
    std::atomic<int> refused{0};
};

bool readInfo(BLPMaster &master)
{
    QString name;
    int sw = 0, hw = 0;
    return master.readDeviceInfo(name, sw, hw);
}

} // namespace

class MasterLinkLoss : public QObject
{
    Q_OBJECT

private slots:
    // The answer would come long after the time-out, so only the time-out can end it this
    // soon; the bound leaves out what the machine's load adds.
    void anAnswerSlowerThanTheTimeoutFailsTheOperationAndLosesTheLink()
    {
        SimLink link(false, 300);
        link.device->setAnswerDelay(10s);
        bool ok = true;
        const SchedulingAwareTimer t = timed([&] { ok = readInfo(*link.master); });
        QVERIFY(!ok);
        QCOMPARE(link.master->lastStatus(), BLPMaster::LinkStatus::TimedOut);
        QVERIFY2(t.elapsedMs() >= 290 && t.unloadedMs() < 800, qPrintable(t.describe()));
        QVERIFY(link.master->isLinkLost());
    }

    void afterALostLinkEveryOperationFailsAtOnceUntilResetLink()
    {
        SimLink link(false, 200);
        link.device->setAnswering(false);
        QCOMPARE(link.master->probeDevice(), int(BLPMaster::ProbeNoAnswer));
        link.device->setAnswering(true);
        link.device->waitUntilAnswersTaken(100ms);

        // Each operation that waited for an answer would take the whole time-out.
        link.master->setResponseTimeout(5000);
        const quint64 framesBefore = link.device->framesReceived();
        const char data[4] = {1, 2, 3, 4};
        QByteArray buffer(99, '\0');
        qint32 received = 0;
        const SchedulingAwareTimer t = timed([&] {
            QCOMPARE(link.master->probeDevice(), int(BLPMaster::ProbeNoAnswer));
            QVERIFY(!readInfo(*link.master));
            QVERIFY(!link.master->writeData(4, data, SimulatedController::FirmwareSector, 0));
            QVERIFY(
                !link.master->readData(99, buffer.data(), received, SimulatedController::Label, 0));
        });
        QVERIFY2(t.unloadedMs() < 100, qPrintable(t.describe()));
        QCOMPARE(link.device->framesReceived(), framesBefore); // nothing went out

        link.reconnect();
        QVERIFY(!link.master->isLinkLost());
        QVERIFY(readInfo(*link.master));
        QCOMPARE(link.master->probeDevice(), int(BLPMaster::ProbeAnswered));
    }

    void probeDeviceReturnsZeroAtOnceWhileATransferRuns()
    {
        SimLink link(true);
        std::atomic<bool> written{false};
        const QByteArray record(5284, char(0x42));
        std::unique_ptr<QThread> worker(QThread::create([&] {
            written =
                link.master->writeData(5284, record.constData(), SimulatedController::Record, 0);
        }));
        ThreadEnd end(worker.get());
        worker->start();
        QTRY_VERIFY(link.master->isTransactionActive());
        int probe = -1;
        // Waiting for the lock would take the rest of the write, some 300 ms.
        const SchedulingAwareTimer t = timed([&] { probe = link.master->probeDevice(); });
        QCOMPARE(probe, int(BLPMaster::ProbeBusy));
        QVERIFY2(t.unloadedMs() < 20, qPrintable(t.describe()));
        QVERIFY(end.wait(10000));
        QVERIFY(written);
        QCOMPARE(link.framesOf(SimulatedController::Probe).size(), 0);
    }

    // Neither the answer (15 s) nor the time-out (20 s) may be what ends it.
    void aDeviceUnpluggedWhileAnAnswerIsAwaitedEndsTheOperationAtOnce()
    {
        SimLink link(false, 20000);
        link.device->setAnswerDelay(15s);
        std::atomic<bool> ok{true};
        std::unique_ptr<QThread> worker(QThread::create([&] { ok = readInfo(*link.master); }));
        ThreadEnd end(worker.get());
        worker->start();
        QTRY_VERIFY(link.master->isAwaitingAnswer());
        SchedulingAwareTimer t;
        link.device->unplug();
        QVERIFY(end.wait(30000));
        t.stop();
        QVERIFY(!ok);
        QCOMPARE(link.master->lastStatus(), BLPMaster::LinkStatus::LinkLost);
        QVERIFY2(t.unloadedMs() < 500, qPrintable(t.describe()));
        QVERIFY(link.master->isLinkLost());
    }

    void aDeviceUnpluggedInTheMiddleOfAWriteEndsItAtOnce()
    {
        SimLink link(true, 20000);
        link.device->unplugAfterReceivedBytes(1000);
        const QByteArray record(5284, char(0x33));
        bool ok = true;
        // The write has 44 ms of wire time before the device goes; the time-out is 20 s.
        const SchedulingAwareTimer t = timed([&] {
            ok = link.master->writeData(5284, record.constData(), SimulatedController::Record, 0);
        });
        QVERIFY(!ok);
        QCOMPARE(link.master->lastStatus(), BLPMaster::LinkStatus::LinkLost);
        QVERIFY2(t.unloadedMs() < 1000, qPrintable(t.describe()));
        QVERIFY(link.master->isLinkLost());
    }

    void aSendWhileDisconnectedTriesOneReconnection()
    {
        SimulatedFtdiDriver driver;
        driver.setWireTimeModel(false);
        ScopedFtdiDriver scope(&driver);
        BLPMaster master;
        BLPmPhyUSB phy;
        phy.setDeviceIndex(0);
        master.attachPhy(&phy);
        master.connectDevice();
        QVERIFY(!phy.isConnected());
        QVERIFY(!phy.isRunning()); // nothing found: no reader thread

        driver.addController();
        QCOMPARE(master.probeDevice(), int(BLPMaster::ProbeAnswered));
        QVERIFY(phy.isConnected());
        master.resetLink();
    }

    void aSendToADeviceThatCannotBeFoundFailsWithItsReason()
    {
        SimulatedFtdiDriver driver;
        ScopedFtdiDriver scope(&driver);
        BLPMaster master;
        BLPmPhyUSB phy;
        master.attachPhy(&phy);
        master.connectDevice();
        QCOMPARE(master.probeDevice(), int(BLPMaster::ProbeNoAnswer));
        QCOMPARE(phy.lastError(),
                 QStringLiteral("Trying to send data, while device is not connected"));
        QVERIFY(master.isLinkLost());
        master.resetLink();
    }

    // While another program holds the device the phy cannot open it, but its reader runs.
    // Once the device is free, the next send reconnects the phy; the reader must not take
    // the phy that send is still connecting for a lost link.
    void aSendThatHasToReconnectFirstSucceedsAndKeepsTheLink()
    {
        SimLink link(false, 2000);
        for (int round = 0; round < 20; ++round) {
            link.master->resetLink();
            FtdiHandle heldElsewhere = nullptr;
            QCOMPARE(link.driver.open(0, &heldElsewhere), FtdiStatus(FtdiDriver::Ok));
            link.master->connectDevice();
            QVERIFY(!link.phy->isConnected());
            QVERIFY(link.phy->isRunning());
            QCOMPARE(link.driver.close(heldElsewhere), FtdiStatus(FtdiDriver::Ok));

            const bool ok = round % 2 ? readInfo(*link.master)
                                      : link.master->probeDevice() == BLPMaster::ProbeAnswered;
            QVERIFY2(ok, qPrintable(QStringLiteral("round %1: status %2")
                                        .arg(round)
                                        .arg(int(link.master->lastStatus()))));
            QVERIFY(link.phy->isConnected());
            QVERIFY(!link.master->isLinkLost());
        }
    }

    // The connection poll probes from its own thread while the device changer switches the
    // link; the switch holds the link throughout, so the probe finds it busy rather than
    // connecting the phy alongside the switch: each switch opens the device once, and no
    // second opener meets it. Opening takes a while, as with a real adapter.
    void aProbeDuringADeviceSwitchFindsTheLinkBusy()
    {
        SlowOpeningDriver driver;
        driver.setWireTimeModel(false);
        driver.addController()->controller()->setSoftwareVersion(0x0103);
        driver.addController()->controller()->setSoftwareVersion(0x0104);
        ScopedFtdiDriver scope(&driver);
        DeviceLink link; // the window's link: its master and phy, on device 0
        BLPMaster &master = *link.master();
        master.connectDevice();
        QCOMPARE(driver.opens.load(), 1);

        std::atomic<bool> switching{true};
        std::atomic<int> answered{0};
        std::atomic<int> unanswered{0};
        std::unique_ptr<QThread> poll(QThread::create([&] {
            while (switching.load()) {
                const int probe = master.probeDevice();
                if (probe == BLPMaster::ProbeAnswered)
                    ++answered;
                else if (probe == BLPMaster::ProbeNoAnswer)
                    ++unanswered;
                QThread::usleep(200);
            }
        }));
        ThreadEnd pollEnd(poll.get());
        poll->start();
        QStringList wrong;
        const int rounds = 40;
        for (int round = 0; round < rounds; ++round) {
            const int index = round % 2;
            link.selectDevice(index);
            QString name;
            int sw = 0, hw = 0;
            if (!master.readDeviceInfo(name, sw, hw) || sw != 0x0103 + index || master.isLinkLost())
                wrong << QStringLiteral("round %1: version %2, status %3")
                             .arg(round)
                             .arg(sw, 0, 16)
                             .arg(int(master.lastStatus()));
            QThread::usleep(1000); // room for probes between the switches
        }
        switching = false;
        QVERIFY(pollEnd.wait(10000));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1String("; "))));
        QCOMPARE(driver.refused.load(), 0);
        QCOMPARE(driver.opens.load(), 1 + rounds);
        QCOMPARE(unanswered.load(), 0);
        QVERIFY(answered.load() > 0);
    }

    // A phy without a line cannot send: the operation ends at once with the link lost,
    // not after the time-out as if a frame had gone out.
    void aPhyThatCannotSendEndsTheOperationAtOnce()
    {
        BLPMaster master;
        BLPmPhy phy;
        master.attachPhy(&phy);
        master.setResponseTimeout(5000);
        int probe = -1;
        const SchedulingAwareTimer t = timed([&] { probe = master.probeDevice(); });
        QCOMPARE(probe, int(BLPMaster::ProbeNoAnswer));
        QCOMPARE(master.lastStatus(), BLPMaster::LinkStatus::LinkLost);
        QVERIFY2(t.unloadedMs() < 1000, qPrintable(t.describe()));
        master.resetLink();
    }

    void aDevicePluggedInAgainWorksAfterResetLink()
    {
        SimLink link(false, 500);
        QVERIFY(readInfo(*link.master));
        link.device->unplug();
        QVERIFY(!readInfo(*link.master));
        link.device->plugIn();
        QVERIFY(!readInfo(*link.master)); // still lost
        link.reconnect();
        QVERIFY(readInfo(*link.master));
    }
};

QTEST_GUILESS_MAIN(MasterLinkLoss)
#include "test_master_link_loss.moc"
