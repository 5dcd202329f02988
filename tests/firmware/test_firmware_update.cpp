#include "firmwarefile.h"
#include "fwupdater.h"
#include "simulatedlink.h"
#include "syntheticfirmware.h"
#include "threadend.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class FirmwareUpdateTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<SimulatedLink> m_link;
    std::unique_ptr<FwUpdater> m_updater;
    FirmwareFile m_file;

    void load(const QByteArray &image)
    {
        const QString path = m_dir.filePath(QStringLiteral("update.bl2"));
        QVERIFY(SyntheticFirmware::write(path, image));
        QVERIFY(m_file.load(path));
    }

    // Starts the update and returns which terminal signals came (exactly one expected).
    QList<QByteArray> run()
    {
        QSignalSpy ok(m_updater.get(), &FwUpdater::success);
        QSignalSpy failed(m_updater.get(), &FwUpdater::failed);
        ThreadEnd end(m_updater.get());
        m_updater->start();
        if (!end.wait(30000))
            return {"hang"};
        QList<QByteArray> ends;
        for (int i = 0; i < ok.count(); ++i)
            ends << "success";
        for (int i = 0; i < failed.count(); ++i)
            ends << "failed";
        return ends;
    }

private slots:
    void init()
    {
        m_link = std::make_unique<SimulatedLink>();
        m_updater = std::make_unique<FwUpdater>();
        m_updater->setLink(&m_link->master, &m_link->phy);
        m_updater->setFile(&m_file);
        m_updater->setDeviceIndex(0);
    }

    void cleanup()
    {
        m_updater.reset();
        m_link.reset();
    }

    void theControllerReceivesTheHeaderAndEverySectorIntact()
    {
        using namespace SyntheticFirmware;
        load(image(QStringLiteral("KDR-450P"),
                   {sectorData(4096, 1), sectorData(1000, 2), sectorData(2048, 3)}));
        QCOMPARE(run(), QList<QByteArray>({"success"}));
        QVERIFY(m_link->controller->firmwareHeader() == m_file.headerBlock());
        QVERIFY(m_link->controller->firmwareImageIntact());
        const auto sectors = m_link->controller->firmwareSectors();
        QCOMPARE(sectors.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(sectors[i].index, quint16(i));
            QCOMPARE(sectors[i].data, m_file.sector(i).toByteArray());
        }
        QCOMPARE(m_link->master.responseTimeout(), 2000);
    }

    void oneSectorReportsZeroAtTheHeaderEndFiftyHalfwayAndHundredAtTheEnd()
    {
        load(SyntheticFirmware::oneSector());
        QCOMPARE(m_file.totalSize(), 77568);
        QSignalSpy progress(m_updater.get(), &FwUpdater::progress);
        QCOMPARE(run(), QList<QByteArray>({"success"}));
        QList<int> values;
        for (const auto &args : progress)
            values << args.at(0).toInt();
        // The header block is 0.3 % of the file, so its end still shows 0.
        const qsizetype headerEnd = values.indexOf(0);
        QVERIFY(headerEnd >= 0);
        QVERIFY(values.contains(50));
        QCOMPARE(values.last(), 100);
        QCOMPARE(values.count(100), 1);
        for (int i = 1; i < values.size(); ++i)
            QVERIFY(values[i] >= values[i - 1]);
    }

    void aDeviceOfAnotherNameReceivesNeitherHeaderNorSectors()
    {
        m_link->controller->setName("KDR-200");
        load(SyntheticFirmware::oneSector(QStringLiteral("KDR-450P"), 512));
        m_link->device->clearFrameLog();
        QCOMPARE(run(), QList<QByteArray>({"failed"}));
        QVERIFY(m_updater->refusedWrongDevice());
        QVERIFY(m_link->controller->firmwareHeader().isEmpty());
        QVERIFY(m_link->controller->firmwareSectors().isEmpty());
        for (const SimulatedFrameInfo &f : m_link->device->frameLog())
            QVERIFY(f.command != 3 && f.command != 4);
    }

    void deviceIndexMinusOneFailsWithoutTraffic()
    {
        load(SyntheticFirmware::oneSector(QStringLiteral("KDR-450P"), 512));
        m_updater->setDeviceIndex(-1);
        const quint64 before = m_link->device->framesReceived();
        QCOMPARE(run(), QList<QByteArray>({"failed"}));
        QCOMPARE(m_link->device->framesReceived(), before);
    }

    // A 256-byte header, a 256-byte sector and a last sector of four 64-byte segments at the
    // default frame limit: frame 0 is the information request, 1-4 the header, 5-8 the first
    // sector and 9-12 the last one. Only silence on the final segment itself counts as the
    // controller's restart; an error status or an earlier silence is a failure.
    void theLastSectorSucceedsOnlyWhenItsFinalSegmentAloneGoesUnanswered_data()
    {
        using Status = BLPMaster::LinkStatus;
        QTest::addColumn<QByteArray>("fault");
        QTest::addColumn<int>("at");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<bool>("programmed");
        QTest::addColumn<Status>("status");
        const auto row = [](const char *name, const char *fault, int at, bool succeeds,
                            bool programmed, Status status) {
            QTest::newRow(name) << QByteArray(fault) << at << succeeds << programmed << status;
        };
        row("error status 3 on its first segment", "status", 3, false, false, Status::DeviceStatus);
        row("error status 11 on its first segment", "status", 11, false, false,
            Status::DeviceStatus);
        for (int k = 0; k < 3; ++k)
            row(qPrintable(QStringLiteral("silent after segment %1 of 4").arg(k)), "silent", k,
                false, false, Status::TimedOut);
        row("silent on the final segment only", "silent", 3, true, false, Status::Ok);
        row("restarts after taking the final segment", "restart", 0, true, true, Status::Ok);
        row("unplugged during its second segment", "unplug", 10, false, false, Status::LinkLost);
        row("unplugged during the final segment", "unplug", 12, true, false, Status::Ok);
    }

    void theLastSectorSucceedsOnlyWhenItsFinalSegmentAloneGoesUnanswered()
    {
        QFETCH(QByteArray, fault);
        QFETCH(int, at);
        QFETCH(bool, succeeds);
        QFETCH(bool, programmed);
        QFETCH(BLPMaster::LinkStatus, status);
        using namespace SyntheticFirmware;
        load(image(QStringLiteral("KDR-450P"), {sectorData(256, 1), sectorData(256, 2)}));
        SimulatedController *controller = m_link->controller;
        if (fault == "status") {
            controller->setLastSectorFaults({quint8(at), -1});
        } else if (fault == "silent") {
            controller->setLastSectorFaults({0, at});
        } else if (fault == "restart") {
            controller->setRestartsAfterFirmware(true);
        } else {
            // Request 14 bytes, each segment 64 + 14: the device goes mid-frame.
            m_link->device->unplugAfterReceivedBytes(14 + 78 * (at - 1) + 10);
        }
        QCOMPARE(run(), QList<QByteArray>({succeeds ? "success" : "failed"}));
        const DeviceFailure cause = m_updater->failureCause();
        QCOMPARE(cause.status, status);
        if (fault == "status")
            QCOMPARE(int(cause.deviceStatus), at);
        if (status == BLPMaster::LinkStatus::TimedOut)
            QCOMPARE(cause.answerTimeoutMs, FwUpdater::UpdateTimeoutMs);
        // Whether the write or the reader meets the vanished device first is up to the race.
        if (status == BLPMaster::LinkStatus::LinkLost)
            QVERIFY(cause.deviceGone || cause.driverStatus != FtdiDriver::Ok);
        QCOMPARE(controller->firmwareImageIntact(), programmed);
        const auto sectors = controller->firmwareSectors();
        QCOMPARE(sectors.size(), programmed ? 2 : 1);
        for (const auto &sector : sectors)
            QCOMPARE(sector.data, m_file.sector(sector.index).toByteArray());
        QCOMPARE(m_link->master.responseTimeout(), 2000);
    }

    void aFailingEarlierSectorEndsInFailure()
    {
        using namespace SyntheticFirmware;
        load(image(QStringLiteral("KDR-450P"), {sectorData(256, 1), sectorData(64, 2)}));
        m_link->device->answerWithStatus(3, -1, 1 + 4 + 1);
        QCOMPARE(run(), QList<QByteArray>({"failed"}));
        QCOMPARE(m_updater->failureCause().status, BLPMaster::LinkStatus::DeviceStatus);
        QCOMPARE(int(m_updater->failureCause().deviceStatus), 3);
        QCOMPARE(m_link->master.responseTimeout(), 2000);
    }

    void aFailingHeaderEndsInFailure()
    {
        load(SyntheticFirmware::oneSector(QStringLiteral("KDR-450P"), 512));
        m_link->device->answerWithStatus(3, -1, 1);
        QCOMPARE(run(), QList<QByteArray>({"failed"}));
        QVERIFY(m_link->controller->firmwareSectors().isEmpty());
    }

    void unpluggingInTheMiddleFails()
    {
        using namespace SyntheticFirmware;
        load(image(QStringLiteral("KDR-450P"), {sectorData(20000, 1), sectorData(256, 2)}));
        m_link->device->unplugAfterReceivedBytes(5000);
        QCOMPARE(run(), QList<QByteArray>({"failed"}));
    }
};

QTEST_GUILESS_MAIN(FirmwareUpdateTest)
#include "test_firmware_update.moc"
