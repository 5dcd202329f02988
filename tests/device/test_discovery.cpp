#include "blpmaster.h"
#include "blpmphyusb.h"
#include "devicechanger.h"
#include "devicesdiscoverer.h"
#include "simulatedftdidriver.h"
#include "threadend.h"

#include <QSignalSpy>
#include <QtTest>

namespace
{

// A master and phy as the main window keeps them, over a bus the test fills.
struct Bus {
    SimulatedFtdiDriver driver;
    ScopedFtdiDriver scope{&driver};
    BLPMaster master;
    BLPmPhyUSB phy;

    explicit Bus(int timeoutMs = 2000)
    {
        driver.setWireTimeModel(false);
        phy.setDeviceIndex(0);
        master.attachPhy(&phy);
        master.connectDevice();
        master.setResponseTimeout(timeoutMs);
    }
    ~Bus() { master.resetLink(); }

    SimulatedController *add(const QByteArray &name, const QByteArray &label,
                             quint16 software = 0x0103,
                             const QByteArray &description = SimulatedFtdiDriver::DeviceDescription)
    {
        SimulatedController *c = driver.addController(description)->controller();
        c->setName(name);
        c->setLabel(label);
        c->setSoftwareVersion(software);
        return c;
    }
};

// What one discovery run reported. The signals come from the discoverer's thread; the
// record is read only after the thread has ended.
struct Run {
    QStringList texts;
    QList<int> indexes;
    QList<QPair<int, int>> versions;
    QList<DiscoveredDevice> devices;
    int clears = 0;
    bool ended = false;
};

Run discover(Bus &bus)
{
    DevicesDiscoverer discoverer;
    discoverer.setLink(&bus.master, &bus.phy);
    Run run;
    QObject::connect(&discoverer, &DevicesDiscoverer::deviceFound,
                     [&run](const QString &text, int index) {
                         run.texts << text;
                         run.indexes << index;
                     });
    QObject::connect(&discoverer, &DevicesDiscoverer::newFirmwareVersion,
                     [&run](int index, int version) {
                         run.versions.append({index, version});
                     });
    QObject::connect(&discoverer, &DevicesDiscoverer::clearDevicesComboBox,
                     [&run] { ++run.clears; });
    QObject::connect(&discoverer, &QThread::finished, [&run] { run.ended = true; });
    ThreadEnd end(&discoverer);
    discoverer.start();
    end.wait(20000);
    QCoreApplication::processEvents();
    run.devices = discoverer.devices();
    return run;
}

} // namespace

class Discovery : public QObject
{
    Q_OBJECT

private slots:
    void controllersAreNumberedInListOrderAndOtherDevicesKeepTheirPlainName()
    {
        Bus bus;
        bus.add("KDR-450P", "Stage left");
        bus.add("LIGHTDESK 8", "ignored", 0x0200, SimulatedFtdiDriver::DongleDescription);
        bus.driver.addForeignDevice();
        bus.add("KDR-450P", "Back wall");
        const Run e = discover(bus);
        QVERIFY(e.ended);
        QCOMPARE(e.texts, (QStringList{"KDR-450P #1 (Stage left)", "LIGHTDESK 8",
                                       "KDR-450P #2 (Back wall)"}));
        QCOMPARE(e.indexes, (QList<int>{0, 1, 3}));
    }

    void eachDeviceReportsItsNameAndVersionsReadAsMajorAndMinor()
    {
        Bus bus;
        bus.add("KDR-450P", "A", 0x0103)->setHardwareVersion(0x0200);
        bus.add("KDR-450P", "B", 0x0102)->setHardwareVersion(0x0105);
        const Run run = discover(bus);
        QCOMPARE(run.versions, (QList<QPair<int, int>>{{0, 0x0103}, {1, 0x0102}}));
        QCOMPARE(run.devices.size(), 2);
        QCOMPARE(run.devices.at(0).name, QStringLiteral("KDR-450P"));
        QCOMPARE(softwareVersionText(run.devices.at(0).softwareVersion), QStringLiteral("1.3"));
        QCOMPARE(softwareVersionText(run.devices.at(0).hardwareVersion), QStringLiteral("2.0"));
        QCOMPARE(softwareVersionText(run.devices.at(1).softwareVersion), QStringLiteral("1.2"));
        QCOMPARE(softwareVersionText(run.devices.at(1).hardwareVersion), QStringLiteral("1.5"));
        QCOMPARE(run.devices.at(1).label, QStringLiteral("B"));
    }

    void aDeviceThatDoesNotAnswerIsLeftOutAndTheOthersStillListed()
    {
        Bus bus(300);
        bus.add("KDR-450P", "Mute");
        bus.add("KDR-450P", "Talks");
        bus.driver.devices().at(0)->setAnswering(false);
        const Run e = discover(bus);
        QCOMPARE(e.texts, (QStringList{"KDR-450P #1 (Talks)"}));
        QCOMPARE(e.indexes, (QList<int>{1}));
    }

    void aFailedLabelReadLeavesTheEntryWithoutItsLabel()
    {
        Bus bus;
        bus.add("KDR-450P", "Unreadable");
        bus.driver.devices().at(0)->answerWithStatus(3, 1, 1); // the label request
        QCOMPARE(discover(bus).texts, (QStringList{"KDR-450P #1"}));
    }

    void anEmptyLabelLeavesTheEntryWithoutBrackets()
    {
        Bus bus;
        bus.add("KDR-450P", "");
        bus.add("KDR-450P", "Truss");
        QCOMPARE(discover(bus).texts, (QStringList{"KDR-450P #1", "KDR-450P #2 (Truss)"}));
    }

    void aZeroPaddedLabelEndsAtItsFirstZero()
    {
        Bus bus;
        bus.add("KDR-450P", QByteArray("Front\0\0\0", 8));
        QCOMPARE(discover(bus).texts, (QStringList{"KDR-450P #1 (Front)"}));
    }

    void withNoDeviceTheListIsClearedAndStaysEmptyAndTheRunEnds()
    {
        Bus bus;
        const Run run = discover(bus);
        QVERIFY(run.texts.isEmpty());
        QCOMPARE(run.clears, 1);
        QVERIFY(run.ended);
    }

    void withoutALinkARunDoesNothing()
    {
        DevicesDiscoverer discoverer;
        QSignalSpy clears(&discoverer, &DevicesDiscoverer::clearDevicesComboBox);
        ThreadEnd end(&discoverer);
        discoverer.start();
        QVERIFY(end.wait(2000));
        QCOMPARE(clears.size(), 0);
    }

    void afterDiscoveryTheLinkStaysWithTheLastDeviceAsked()
    {
        Bus bus;
        bus.add("KDR-450P", "First");
        bus.add("KDR-450P", "Second");
        discover(bus);
        QCOMPARE(bus.phy.deviceIndex(), 1);
        QByteArray label(99, '\0');
        qint32 received = 0;
        QVERIFY(bus.master.readData(99, label.data(), received, 10, 0));
        QCOMPARE(label.left(received), QByteArray("Second"));
    }

    void theDeviceChangerSwitchesTheLinkToTheChosenDevice()
    {
        Bus bus;
        bus.add("KDR-450P", "One");
        bus.add("KDR-450P", "Two");
        bus.driver.devices().at(1)->controller()->setHardwareVersion(0x0302);
        DeviceChanger changer;
        changer.setLink(&bus.master, &bus.phy);
        changer.setTargetIndex(1);
        QSignalSpy done(&changer, &DeviceChanger::done);
        ThreadEnd end(&changer);
        changer.start();
        QVERIFY(end.wait(5000));
        QCOMPARE(done.size(), 1);
        QString name;
        int sw = 0, hw = 0;
        QVERIFY(bus.master.readDeviceInfo(name, sw, hw));
        QCOMPARE(hw, 0x0302);
    }

    void theDeviceChangerRecoversALostLink()
    {
        Bus bus(200);
        bus.add("KDR-450P", "One");
        bus.driver.devices().at(0)->setAnswering(false);
        QCOMPARE(bus.master.probeDevice(), int(BLPMaster::ProbeNoAnswer));
        QVERIFY(bus.master.isLinkLost());
        bus.driver.devices().at(0)->setAnswering(true);
        DeviceChanger changer;
        changer.setLink(&bus.master, &bus.phy);
        changer.setTargetIndex(0);
        ThreadEnd end(&changer);
        changer.start();
        QVERIFY(end.wait(5000));
        QCOMPARE(bus.master.probeDevice(), int(BLPMaster::ProbeAnswered));
    }
};

QTEST_GUILESS_MAIN(Discovery)
#include "test_discovery.moc"
