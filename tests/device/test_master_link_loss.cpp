#include "simlink.h"

#include <QtTest>

#include <atomic>
#include <chrono>

using namespace std::chrono_literals;

namespace
{

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
    void anAnswerSlowerThanTheTimeoutFailsTheOperationAndLosesTheLink()
    {
        SimLink link(false, 300);
        link.device->setAnswerDelay(700ms);
        bool ok = true;
        const qint64 ms = elapsedMs([&] { ok = readInfo(*link.master); });
        QVERIFY(!ok);
        QVERIFY2(ms >= 290 && ms < 1500, qPrintable(QString::number(ms)));
        QVERIFY(link.master->isLinkLost());
    }

    void afterALostLinkEveryOperationFailsAtOnceUntilResetLink()
    {
        SimLink link(false, 200);
        link.device->setAnswering(false);
        QCOMPARE(link.master->probeDevice(), int(BLPMaster::ProbeNoAnswer));
        link.device->setAnswering(true);
        link.device->waitUntilAnswersTaken(100ms);

        const quint64 framesBefore = link.device->framesReceived();
        const char data[4] = {1, 2, 3, 4};
        QByteArray buffer(99, '\0');
        qint32 received = 0;
        const qint64 ms = elapsedMs([&] {
            QCOMPARE(link.master->probeDevice(), int(BLPMaster::ProbeNoAnswer));
            QVERIFY(!readInfo(*link.master));
            QVERIFY(!link.master->writeData(4, data, SimulatedController::FirmwareSector, 0));
            QVERIFY(
                !link.master->readData(99, buffer.data(), received, SimulatedController::Label, 0));
        });
        QVERIFY2(ms < 100, qPrintable(QString::number(ms)));
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
        worker->start();
        QTRY_VERIFY(link.master->isTransactionActive());
        int probe = -1;
        const qint64 ms = elapsedMs([&] { probe = link.master->probeDevice(); });
        QCOMPARE(probe, int(BLPMaster::ProbeBusy));
        QVERIFY2(ms < 20, qPrintable(QString::number(ms)));
        QVERIFY(worker->wait(10000));
        QVERIFY(written);
        QCOMPARE(link.framesOf(SimulatedController::Probe).size(), 0);
    }

    void aDeviceUnpluggedWhileAnAnswerIsAwaitedEndsTheOperationAtOnce()
    {
        SimLink link(false, 3000);
        link.device->setAnswerDelay(2000ms);
        std::atomic<bool> ok{true};
        QElapsedTimer timer;
        timer.start();
        std::unique_ptr<QThread> worker(QThread::create([&] { ok = readInfo(*link.master); }));
        worker->start();
        QTest::qWait(100);
        link.device->unplug();
        QVERIFY(worker->wait(5000));
        QVERIFY(!ok);
        QVERIFY2(timer.elapsed() < 600, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(link.master->isLinkLost());
    }

    void aDeviceUnpluggedInTheMiddleOfAWriteEndsItAtOnce()
    {
        SimLink link(true, 3000);
        link.device->unplugAfterReceivedBytes(1000);
        const QByteArray record(5284, char(0x33));
        bool ok = true;
        const qint64 ms = elapsedMs([&] {
            ok = link.master->writeData(5284, record.constData(), SimulatedController::Record, 0);
        });
        QVERIFY(!ok);
        QVERIFY2(ms < 1000, qPrintable(QString::number(ms)));
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
