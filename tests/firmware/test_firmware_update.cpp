#include "firmwarefile.h"
#include "fwupdater.h"
#include "simulatedlink.h"
#include "syntheticfirmware.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

quint32 byteSum(QByteArrayView data)
{
    quint32 sum = 0;
    for (char c : data)
        sum += uchar(c);
    return sum;
}

} // namespace

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
        m_updater->start();
        if (!m_updater->wait(30000))
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
            QCOMPARE(sectors[i].length, qint64(m_file.sector(i).size()));
            QCOMPARE(sectors[i].byteSum, byteSum(m_file.sector(i)));
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

    void aFailingLastSectorStillEndsInSuccess()
    {
        using namespace SyntheticFirmware;
        load(image(QStringLiteral("KDR-450P"), {sectorData(256, 1), sectorData(64, 2)}));
        // Info, 4 header segments, 4 first-sector segments pass; the last sector fails.
        m_link->device->answerWithStatus(3, -1, 1 + 4 + 4);
        QCOMPARE(run(), QList<QByteArray>({"success"}));
        QCOMPARE(m_link->controller->firmwareSectors().size(), 1);
    }

    void aControllerThatRestartsBeforeAnsweringTheLastSegmentStillSucceeds()
    {
        using namespace SyntheticFirmware;
        load(image(QStringLiteral("KDR-450P"), {sectorData(512, 1), sectorData(300, 2)}));
        m_link->controller->setRestartsAfterFirmware(true);
        m_link->master.setResponseTimeout(300);
        QCOMPARE(run(), QList<QByteArray>({"success"}));
        QVERIFY(m_link->controller->firmwareImageIntact());
    }

    void aFailingEarlierSectorEndsInFailure()
    {
        using namespace SyntheticFirmware;
        load(image(QStringLiteral("KDR-450P"), {sectorData(256, 1), sectorData(64, 2)}));
        m_link->device->answerWithStatus(3, -1, 1 + 4 + 1);
        QCOMPARE(run(), QList<QByteArray>({"failed"}));
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
