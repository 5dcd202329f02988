#include "blpmaster.h"
#include "blpmphyusb.h"
#include "simulatedftdidriver.h"

#include <QtTest>

#include <atomic>

namespace
{

// A driver whose every step can be made to fail, recording what the phy asked of it.
class ScriptedDriver : public FtdiDriver
{
public:
    enum Step { None, Count, List, Open, Reset, Baud, Characteristics, Timeouts };
    Step failing = None;
    bool shortWrites = false;
    QList<QByteArray> descriptions{"BRENLOW BLP-DEV"};
    QStringList calls;
    int openHandles = 0;

    FtdiStatus createDeviceInfoList(quint32 *count) override
    {
        calls << "count";
        *count = quint32(descriptions.size());
        return failing == Count ? IoError : Ok;
    }
    FtdiStatus getDeviceInfoList(uchar *nodes, quint32 *count) override
    {
        calls << "list";
        for (int i = 0; i < descriptions.size() && quint32(i) < *count; ++i)
            fillNode(nodes + i * NodeSize, "S" + QByteArray::number(i), descriptions[i]);
        return failing == List ? IoError : Ok;
    }
    FtdiStatus open(int index, FtdiHandle *handle) override
    {
        calls << QStringLiteral("open %1").arg(index);
        if (failing == Open)
            return DeviceNotFound;
        ++openHandles;
        *handle = reinterpret_cast<FtdiHandle>(quintptr(index + 1));
        return Ok;
    }
    FtdiStatus resetDevice(FtdiHandle) override { return step("reset", Reset); }
    FtdiStatus setBaudRate(FtdiHandle, quint32 baud) override
    {
        return step(QStringLiteral("baud %1").arg(baud), Baud);
    }
    FtdiStatus setDataCharacteristics(FtdiHandle, quint8 bits, quint8 stop, quint8 parity) override
    {
        return step(QStringLiteral("data %1 %2 %3").arg(bits).arg(stop).arg(parity),
                    Characteristics);
    }
    FtdiStatus setTimeouts(FtdiHandle, quint32 readMs, quint32 writeMs) override
    {
        return step(QStringLiteral("timeouts %1 %2").arg(readMs).arg(writeMs), Timeouts);
    }
    FtdiStatus read(FtdiHandle, void *, quint32, quint32 *countRead) override
    {
        *countRead = 0;
        QThread::msleep(5);
        return Ok;
    }
    FtdiStatus write(FtdiHandle, const void *, quint32 count, quint32 *written) override
    {
        *written = shortWrites ? count - 1 : count;
        return Ok;
    }
    FtdiStatus getStatus(FtdiHandle, quint32 *rx, quint32 *tx, quint32 *events) override
    {
        *rx = *tx = *events = 0;
        return Ok;
    }
    FtdiStatus close(FtdiHandle) override
    {
        --openHandles;
        calls << "close";
        return Ok;
    }

private:
    FtdiStatus step(const QString &call, Step which)
    {
        calls << call;
        return failing == which ? IoError : Ok;
    }
};

} // namespace

class PhyUsb : public QObject
{
    Q_OBJECT

private slots:
    void controllersAreNamedByKindWithOneRunningNumberAndOthersAreSkipped()
    {
        SimulatedFtdiDriver driver;
        driver.addController(SimulatedFtdiDriver::DeviceDescription);
        driver.addForeignDevice();
        driver.addController(SimulatedFtdiDriver::DongleDescription);
        driver.addController("BRENLOW BLP-DEV2");
        driver.addController(SimulatedFtdiDriver::DeviceDescription);
        ScopedFtdiDriver scope(&driver);
        BLPmPhyUSB phy;
        const QMap<int, QString> map = phy.listDevices();
        QCOMPARE(map, (QMap<int, QString>{
                          {0, "USB Device 1"}, {2, "USB Dongle 2"}, {4, "USB Device 3"}}));
        QCOMPARE(phy.deviceMap(), map);
    }

    void withNoDeviceTheMapIsEmptyNothingIsOpenedAndNoReaderRuns()
    {
        SimulatedFtdiDriver driver;
        ScopedFtdiDriver scope(&driver);
        BLPmPhyUSB phy;
        phy.connectDevice();
        QVERIFY(phy.deviceMap().isEmpty());
        QCOMPARE(phy.lastError(), QStringLiteral("No device found."));
        QVERIFY(!phy.isOpened());
        QVERIFY(!phy.isRunning());
    }

    void onlyForeignDevicesGiveAnEmptyMap()
    {
        SimulatedFtdiDriver driver;
        driver.addForeignDevice();
        ScopedFtdiDriver scope(&driver);
        BLPmPhyUSB phy;
        QVERIFY(phy.listDevices().isEmpty());
        phy.connectDevice();
        QVERIFY(!phy.isOpened());
    }

    void aFailingListingLeavesTheMapEmpty()
    {
        for (ScriptedDriver::Step step : {ScriptedDriver::Count, ScriptedDriver::List}) {
            ScriptedDriver driver;
            driver.failing = step;
            ScopedFtdiDriver scope(&driver);
            BLPmPhyUSB phy;
            QVERIFY(phy.listDevices().isEmpty());
            QCOMPARE(phy.lastError(), QStringLiteral("Failed to list devices."));
        }
    }

    void theDeviceIsOpenedResetAndConfiguredFor250000Baud8N2()
    {
        ScriptedDriver driver;
        ScopedFtdiDriver scope(&driver);
        BLPmPhyUSB phy;
        phy.setDeviceIndex(0);
        phy.connectDevice();
        QVERIFY(phy.isConnected());
        QCOMPARE(driver.calls, (QStringList{"count", "list", "open 0", "reset", "baud 250000",
                                            "data 8 2 0", "timeouts 40 2000"}));
        QVERIFY(phy.isRunning());
        phy.disconnectDevice();
        QVERIFY(!phy.isRunning());
        QVERIFY(!phy.isOpened());
        QCOMPARE(driver.openHandles, 0);
    }

    void eachFailingOpenStepStopsTheSequenceWithItsReason_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("opened");
        QTest::newRow("open") << int(ScriptedDriver::Open) << "Failed to open connection" << false;
        QTest::newRow("reset") << int(ScriptedDriver::Reset) << "Failed to reset the device"
                               << true;
        QTest::newRow("baud") << int(ScriptedDriver::Baud) << "Failed to configure the baudrate"
                              << true;
        QTest::newRow("data") << int(ScriptedDriver::Characteristics)
                              << "Datagram configuration failed" << true;
        QTest::newRow("timeouts") << int(ScriptedDriver::Timeouts) << "Failed to configure timeouts"
                                  << true;
    }
    void eachFailingOpenStepStopsTheSequenceWithItsReason()
    {
        QFETCH(int, step);
        QFETCH(QString, error);
        QFETCH(bool, opened);
        ScriptedDriver driver;
        driver.failing = ScriptedDriver::Step(step);
        ScopedFtdiDriver scope(&driver);
        BLPmPhyUSB phy;
        phy.setDeviceIndex(0);
        phy.connectDevice();
        QVERIFY(!phy.isConnected());
        QCOMPARE(phy.isOpened(), opened);
        QCOMPARE(phy.lastError(), error);
        QVERIFY(phy.isRunning()); // the reader starts even when opening failed
        phy.disconnectDevice();
        QCOMPARE(driver.openHandles, 0); // a held handle is closed at disconnect
    }

    void indexMinusOneOpensTheFirstControllerAndAnUnknownIndexNone()
    {
        ScriptedDriver driver;
        driver.descriptions = {"FT232R USB UART", "BRENLOW BLP-DGL", "BRENLOW BLP-DEV"};
        ScopedFtdiDriver scope(&driver);
        BLPmPhyUSB phy;
        phy.connectDevice();
        QVERIFY(driver.calls.contains("open 1"));
        phy.disconnectDevice();

        driver.calls.clear();
        phy.setDeviceIndex(0); // the foreign device: not in the map
        phy.connectDevice();
        QVERIFY(!driver.calls.join(' ').contains("open"));
        QVERIFY(!phy.isConnected());
        phy.disconnectDevice();
    }

    void connectingAgainClosesTheHandleItHeld()
    {
        ScriptedDriver driver;
        ScopedFtdiDriver scope(&driver);
        BLPmPhyUSB phy;
        phy.connectDevice();
        phy.connectDevice();
        QCOMPARE(driver.openHandles, 1);
        phy.disconnectDevice();
        QCOMPARE(driver.openHandles, 0);
    }

    void aWriteThatLeavesFewerBytesFailsEvenWhenTheDriverReportsSuccess()
    {
        ScriptedDriver driver;
        driver.shortWrites = true;
        ScopedFtdiDriver scope(&driver);
        BLPMaster master;
        BLPmPhyUSB phy;
        master.attachPhy(&phy);
        master.connectDevice();
        const quint8 frame[14] = {};
        QVERIFY(!phy.send(sizeof frame, frame));
        QCOMPARE(phy.lastError(), QStringLiteral("Time out during write operation"));
        QVERIFY(master.isLinkLost());
        master.resetLink();
    }

    void aDisconnectWithoutAMasterStillEndsTheReader()
    {
        ScriptedDriver driver;
        ScopedFtdiDriver scope(&driver);
        BLPmPhyUSB phy;
        phy.connectDevice();
        QVERIFY(phy.isRunning());
        phy.disconnectDevice();
        QVERIFY(!phy.isRunning());
    }
};

QTEST_GUILESS_MAIN(PhyUsb)
#include "test_phy_usb.moc"
