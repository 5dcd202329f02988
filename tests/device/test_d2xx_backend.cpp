// The D2XX backend against a stand-in of the driver library built with the tests: what it
// calls, how it reads the library's list nodes, and how it fails.

#include "blpmaster.h"
#include "blpmphyusb.h"
#include "d2xxftdidriver.h"

#include <QElapsedTimer>
#include <QLibrary>
#include <QtTest>

#include <memory>

namespace
{

// The stand-in's own controls, from the same loaded copy the driver uses.
struct StandIn {
    explicit StandIn(const char *path) : library(QString::fromLocal8Bit(path)) {}
    QLibrary library;
    void (*setUpFn)(const char *) = nullptr;
    const char *(*callsFn)() = nullptr;
    void (*unplugFn)(int) = nullptr;

    bool load()
    {
        if (!library.load())
            return false;
        setUpFn = reinterpret_cast<void (*)(const char *)>(library.resolve("kdrStandInSetUp"));
        callsFn = reinterpret_cast<const char *(*)()>(library.resolve("kdrStandInCalls"));
        unplugFn = reinterpret_cast<void (*)(int)>(library.resolve("kdrStandInUnplug"));
        return setUpFn && callsFn && unplugFn;
    }
    void setUp(const char *deviceKinds) { setUpFn(deviceKinds); }
    QStringList calls() const
    {
        return QString::fromLatin1(callsFn()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
};

// A master and USB phy on the current driver's first device, connected as the window does.
struct ConnectedMaster {
    BLPMaster master;
    BLPmPhyUSB phy;

    ConnectedMaster()
    {
        phy.setDeviceIndex(0);
        master.attachPhy(&phy);
        master.setResponseTimeout(2000);
        master.connectDevice();
    }
};

} // namespace

class D2xxBackendTest : public QObject
{
    Q_OBJECT

    StandIn standIn{KDR_D2XX_STANDIN};
    StandIn withoutLatencyTimer{KDR_D2XX_STANDIN_NOLATENCY};
    std::unique_ptr<D2xxFtdiDriver> driver;
    std::unique_ptr<D2xxFtdiDriver> driverWithoutLatencyTimer;

private slots:
    void initTestCase()
    {
        QVERIFY(standIn.load());
        QVERIFY(withoutLatencyTimer.load());
        driver = std::make_unique<D2xxFtdiDriver>(QStringLiteral(KDR_D2XX_STANDIN));
        QString error;
        QVERIFY2(driver->load(&error), qPrintable(error));
        // FT_SetLatencyTimer is optional: its absence is no failure.
        driverWithoutLatencyTimer =
            std::make_unique<D2xxFtdiDriver>(QStringLiteral(KDR_D2XX_STANDIN_NOLATENCY));
        QVERIFY2(driverWithoutLatencyTimer->load(&error), qPrintable(error));
    }

    void oneOpenCallsTheDriverInOrderWithTheLineSettingsAndReadsSingleBytes_data()
    {
        QTest::addColumn<bool>("latencyTimer");
        QTest::newRow("whole library") << true;
        QTest::newRow("library without FT_SetLatencyTimer") << false;
    }
    void oneOpenCallsTheDriverInOrderWithTheLineSettingsAndReadsSingleBytes()
    {
        QFETCH(bool, latencyTimer);
        StandIn &library = latencyTimer ? standIn : withoutLatencyTimer;
        library.setUp("dev");
        ScopedFtdiDriver scoped(latencyTimer ? driver.get() : driverWithoutLatencyTimer.get());
        ConnectedMaster link;
        auto &[master, phy] = link;
        QVERIFY2(phy.isConnected(), qPrintable(phy.lastError()));
        QString name;
        int software = 0;
        int hardware = 0;
        QVERIFY(master.readDeviceInfo(name, software, hardware));
        QCOMPARE(name, QStringLiteral("KDR-450P"));
        master.resetLink();

        const QStringList calls = library.calls();
        QStringList opening{"FT_CreateDeviceInfoList",
                            "FT_GetDeviceInfoList",
                            "FT_Open 0",
                            "FT_ResetDevice",
                            "FT_SetLatencyTimer 1",
                            "FT_SetBaudRate 250000",
                            "FT_SetDataCharacteristics 8 2 0",
                            "FT_SetTimeouts 40 2000"};
        if (!latencyTimer)
            opening.removeAll(QStringLiteral("FT_SetLatencyTimer 1"));
        QCOMPARE(calls.mid(0, opening.size()), opening);
        QCOMPARE(calls.count("FT_Close"), 1);
        QCOMPARE(calls.last(), QStringLiteral("FT_Close"));
        int reads = 0;
        for (const QString &c : calls) {
            if (c.startsWith(QLatin1String("FT_Read"))) {
                QCOMPARE(c, QStringLiteral("FT_Read 1"));
                ++reads;
            }
        }
        QVERIFY(reads >= 14); // at least one whole answer frame, a byte at a time
        QVERIFY(calls.contains(QStringLiteral("FT_Write 14"))); // the request without payload
    }

    // The library's nodes are 104 bytes on 64-bit builds; reading them at another stride
    // gives the wrong descriptions from the second node on.
    void discoveryFindsTheControllersAmongOtherFtdiDevicesByDescription_data()
    {
        QTest::addColumn<QByteArray>("bus");
        QTest::addColumn<QStringList>("expected"); // "index=name"
        QTest::newRow("two controllers and a foreign device")
            << QByteArray("dev,foreign,dgl")
            << QStringList{"0=USB Device 1", "2=USB Dongle 2"};
        QTest::newRow("foreign first, many nodes")
            << QByteArray("foreign,dgl,dev,foreign,dev,dgl")
            << QStringList{"1=USB Dongle 1", "2=USB Device 2", "4=USB Device 3",
                           "5=USB Dongle 4"};
        QTest::newRow("only foreign") << QByteArray("foreign,foreign") << QStringList{};
    }
    void discoveryFindsTheControllersAmongOtherFtdiDevicesByDescription()
    {
        QFETCH(QByteArray, bus);
        QFETCH(QStringList, expected);
        standIn.setUp(bus.constData());
        ScopedFtdiDriver scoped(driver.get());
        BLPmPhyUSB phy;
        const QMap<int, QString> found = phy.listDevices();
        QStringList got;
        for (auto it = found.cbegin(); it != found.cend(); ++it)
            got << QStringLiteral("%1=%2").arg(it.key()).arg(it.value());
        QCOMPARE(got, expected);
    }

    // A read with nothing to receive waits for its time-out and comes back empty; once the
    // device has gone, the status call fails and a read fails at once instead of waiting.
    void aReadEndsEmptyAtTheTimeOutOrFailsAtOnceWhenTheDeviceIsGone_data()
    {
        QTest::addColumn<bool>("unplugged");
        QTest::addColumn<quint32>("readTimeoutMs");
        QTest::newRow("nothing to receive") << false << 40u;
        QTest::newRow("unplugged") << true << 5000u;
    }
    void aReadEndsEmptyAtTheTimeOutOrFailsAtOnceWhenTheDeviceIsGone()
    {
        QFETCH(bool, unplugged);
        QFETCH(quint32, readTimeoutMs);
        standIn.setUp("dev");
        quint32 count = 0;
        QCOMPARE(driver->createDeviceInfoList(&count), FtdiStatus(0));
        FtdiHandle h = nullptr;
        QCOMPARE(driver->open(0, &h), FtdiStatus(0));
        QCOMPARE(driver->setTimeouts(h, readTimeoutMs, 2000), FtdiStatus(0));
        quint32 rx = 0;
        quint32 tx = 0;
        quint32 event = 0;
        QCOMPARE(driver->getStatus(h, &rx, &tx, &event), FtdiStatus(0));
        if (unplugged) {
            standIn.unplugFn(0);
            QVERIFY(driver->getStatus(h, &rx, &tx, &event) != 0);
        }
        uchar byte = 0;
        quint32 got = 99;
        QElapsedTimer timer;
        timer.start();
        const FtdiStatus status = driver->read(h, &byte, 1, &got);
        const qint64 ms = timer.elapsed();
        QCOMPARE(status != 0, unplugged);
        QCOMPARE(got, quint32(0));
        QVERIFY2(ms >= (unplugged ? 0 : 30) && ms < 1000, qPrintable(QString::number(ms)));
        driver->close(h);
    }

    void aVanishedDeviceFailsItsStatusAndEndsTheOperationAtOnce()
    {
        standIn.setUp("dev");
        ScopedFtdiDriver scoped(driver.get());
        ConnectedMaster link;
        auto &[master, phy] = link;
        QVERIFY(phy.isConnected());
        const int callsBefore = int(standIn.calls().size());
        standIn.unplugFn(0);
        QString name;
        int software = 0;
        int hardware = 0;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!master.readDeviceInfo(name, software, hardware));
        QVERIFY2(timer.elapsed() < 1500, "link loss, not the answer time-out");
        master.resetLink();
        // The loss reached the master through the library: whichever call met it first, the
        // reader's read, the status poll or the request's write.
        const QStringList after = standIn.calls().mid(callsBefore);
        QVERIFY2(after.contains(QStringLiteral("FT_Read 1")) ||
                     after.contains(QStringLiteral("FT_GetStatus")) ||
                     after.contains(QStringLiteral("FT_Write 14")),
                 qPrintable(after.join(QLatin1Char(' '))));
    }

    void aMissingLibraryOrFunctionIsOneMessageNamingIt_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        const QString missing = QDir::temp().filePath(QStringLiteral("no-such-dir/libftd2xx.so"));
        QTest::newRow("library") << missing
                                 << QStringLiteral("FTDI D2XX driver library not found: %1")
                                        .arg(missing);
        QTest::newRow("function")
            << QStringLiteral(KDR_D2XX_STANDIN_PARTIAL)
            << QStringLiteral("FTDI D2XX driver library %1 lacks the function FT_GetStatus")
                   .arg(QStringLiteral(KDR_D2XX_STANDIN_PARTIAL));
    }
    void aMissingLibraryOrFunctionIsOneMessageNamingIt()
    {
        QFETCH(QString, path);
        QFETCH(QString, message);
        D2xxFtdiDriver unloaded(path);
        QString error;
        QVERIFY(!unloaded.load(&error));
        QCOMPARE(error, message);
        QVERIFY(!unloaded.isLoaded());
        // Not loaded, it is a bus without devices rather than a crash.
        ScopedFtdiDriver scoped(&unloaded);
        BLPmPhyUSB phy;
        QVERIFY(phy.listDevices().isEmpty());
        QCOMPARE(phy.lastError(), QStringLiteral("Failed to list devices."));
        FtdiHandle h = nullptr;
        QVERIFY(unloaded.open(0, &h) != 0);
    }
};

QTEST_GUILESS_MAIN(D2xxBackendTest)
#include "test_d2xx_backend.moc"
