#include "devicejobrunner.h"
#include "devicelink.h"
#include "firmwarefile.h"
#include "qblremotefixturedefinition.h"
#include "simulatedlink.h"
#include "syntheticfirmware.h"
#include "workerharness.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace
{

using Status = BLPMaster::LinkStatus;

// What a test row does to the bus before the job, and how it starts the job.
using Setup = std::function<void(SimulatedFtdiDriver &, SimulatedDevice *)>;
using Start = std::function<bool(DeviceJobRunner &)>;

struct Expected {
    DeviceJobOutcome outcome = DeviceJobOutcome::Failed;
    Status status = Status::Ok;
    int deviceStatus = 0;
    int answerTimeoutMs = 0;
    FtdiStatus driverStatus = FtdiDriver::Ok;
    bool deviceGone = false;
    bool deviceRefused = false;
};

struct Ended {
    DeviceJob job = DeviceJob::None;
    DeviceJobOutcome outcome = DeviceJobOutcome::Done;
    DeviceFailure cause;
};

QList<QBLRemoteFixtureDefinition *>
entries(std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> &keep,
        const QList<int> &slotNumbers)
{
    QList<QBLRemoteFixtureDefinition *> out;
    for (int slot : slotNumbers) {
        keep.push_back(std::make_unique<QBLRemoteFixtureDefinition>());
        keep.back()->setSlotNumber(quint8(slot));
        out.append(keep.back().get());
    }
    return out;
}

} // namespace

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(Start)
Q_DECLARE_METATYPE(Expected)

// Every job ends with one outcome, and a failed one carries what the link saw.
class DeviceJobOutcomesTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    FirmwareFile m_firmware;
    std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> m_entries;
    std::vector<std::unique_ptr<QBLFixtureDefinition>> m_definitions;

private slots:
    void initTestCase()
    {
        const QString path = m_dir.filePath(QStringLiteral("fw.bl2"));
        QVERIFY(SyntheticFirmware::write(path, SyntheticFirmware::oneSector("KDR-450P", 512)));
        QVERIFY(m_firmware.load(path));
        m_definitions.push_back(makeDefinition(QStringLiteral("Wash"), 4));
    }

    void aFailedJobCarriesTheCauseTheLinkSaw_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<Start>("start");
        QTest::addColumn<Expected>("expected");

        const Start refresh = [](DeviceJobRunner &r) { return r.refresh(); };
        const Start upload = [this](DeviceJobRunner &r) {
            return r.upload({m_definitions.front().get()});
        };
        const Start download = [this](DeviceJobRunner &r) {
            return r.download(entries(m_entries, {0}));
        };
        const Start remove = [this](DeviceJobRunner &r) {
            return r.remove(entries(m_entries, {0, 1}));
        };
        const Start clear = [](DeviceJobRunner &r) { return r.clearPatchList(); };
        const Start firmware = [this](DeviceJobRunner &r) {
            return r.updateFirmware(&m_firmware, 0);
        };
        const Start firmwareOnSecond = [this](DeviceJobRunner &r) {
            return r.updateFirmware(&m_firmware, 1);
        };
        const auto row = [](const char *name, Setup setup, Start start, Expected expected) {
            QTest::newRow(name) << setup << start << expected;
        };
        const auto onDevice = [](const std::function<void(SimulatedDevice *)> &change) {
            return Setup([change](SimulatedFtdiDriver &, SimulatedDevice *d) { change(d); });
        };
        // Frames are counted from the job's start: the information request comes first.
        const auto statusFrom = [onDevice](int status, int frame) {
            return onDevice(
                [=](SimulatedDevice *d) { d->answerWithStatus(quint8(status), -1, frame); });
        };
        const auto failed = [](Status status, int deviceStatus = 0) {
            Expected e;
            e.status = status;
            e.deviceStatus = deviceStatus;
            return e;
        };
        const auto renamed =
            onDevice([](SimulatedDevice *d) { d->controller()->setName("KDR-200"); });

        Expected done;
        done.outcome = DeviceJobOutcome::Done;
        row("refresh that succeeds: no cause", onDevice([](SimulatedDevice *) {}), refresh, done);
        row("deletion that succeeds: no cause", onDevice([](SimulatedDevice *) {}), remove, done);

        Expected refused;
        refused.deviceRefused = true;
        row("refresh of a controller of another name", renamed, refresh, refused);
        Expected wrongDevice; // the outcome says it all
        wrongDevice.outcome = DeviceJobOutcome::WrongDevice;
        row("firmware update of a controller of another name", renamed, firmware, wrongDevice);

        // Then the status request, then the record's segments.
        row("upload whose record write is answered status 3", statusFrom(3, 2), upload,
            failed(Status::DeviceStatus, 3));
        row("deletion whose second request is answered status 5", statusFrom(5, 3), remove,
            failed(Status::DeviceStatus, 5));
        row("patch list clearing answered status 12", statusFrom(12, 0), clear,
            failed(Status::DeviceStatus, 12));
        Expected clearFailed = failed(Status::DeviceStatus, 6);
        clearFailed.outcome = DeviceJobOutcome::PatchListClearFailed;
        row("upload whose patch list cannot be cleared", onDevice([](SimulatedDevice *d) {
                d->controller()->setPatchListEmpty(false);
                d->answerWithStatus(6, -1, 2);
            }),
            upload, clearFailed);

        Expected silent = failed(Status::TimedOut);
        silent.answerTimeoutMs = 300;
        row("download from a controller that keeps silent",
            onDevice([](SimulatedDevice *d) { d->setAnswering(false); }), download, silent);
        row("download of a record of the wrong size", onDevice([](SimulatedDevice *d) {
                d->controller()->putRecord(0, QByteArray(100, 'r'));
            }),
            download, failed(Status::BadAnswer));

        // The information request (14 bytes) goes out whole; the reader then meets the gap.
        Expected gone = failed(Status::LinkLost);
        gone.deviceGone = true;
        gone.driverStatus = FtdiDriver::IoError;
        row("refresh from a device unplugged once the request is out",
            onDevice([](SimulatedDevice *d) { d->unplugAfterReceivedBytes(14); }), refresh, gone);
        Expected heldOpen = failed(Status::LinkLost);
        heldOpen.driverStatus = FtdiDriver::DeviceNotOpened;
        row(
            "firmware update of a device another program holds open",
            [](SimulatedFtdiDriver &driver, SimulatedDevice *) {
                driver.addController();
                FtdiHandle handle = nullptr;
                quint32 count = 0;
                driver.createDeviceInfoList(&count);
                QCOMPARE(driver.open(1, &handle), FtdiStatus(FtdiDriver::Ok));
            },
            firmwareOnSecond, heldOpen);
    }

    void aFailedJobCarriesTheCauseTheLinkSaw()
    {
        QFETCH(Setup, setup);
        QFETCH(Start, start);
        QFETCH(Expected, expected);

        SimulatedFtdiDriver driver;
        driver.setWireTimeModel(false);
        ScopedFtdiDriver installed(&driver);
        SimulatedDevice *device = driver.addController();
        SimulatedController *controller = device->controller();
        controller->setName("KDR-450P");
        controller->setSoftwareVersion(0x0103);
        controller->clearRecords();
        controller->storeRecord(SimulatedLink::record("First", 2));
        controller->storeRecord(SimulatedLink::record("Second", 3));
        DeviceLink link;
        link.selectDevice(0);
        link.master()->setResponseTimeout(300);
        DeviceJobRunner runner(&link);
        runner.setRefreshAfterJobs(false);
        QList<Ended> ended;
        connect(&runner, &DeviceJobRunner::jobEnded, this,
                [&](DeviceJob job, DeviceJobOutcome outcome, const DeviceFailure &cause) {
                    ended.append({job, outcome, cause});
                });
        connect(&runner, &DeviceJobRunner::patchListClearingNeeded, this,
                [&runner] { runner.answerPatchListQuestion(true); });

        setup(driver, device);
        QVERIFY(start(runner));
        QVERIFY(QTest::qWaitFor([&] { return !ended.isEmpty(); }, 20000));
        QTest::qWait(50); // a second end would come now
        QCOMPARE(ended.size(), 1);
        const DeviceFailure &cause = ended.first().cause;
        QCOMPARE(ended.first().outcome, expected.outcome);
        QCOMPARE(cause.status, expected.status);
        QCOMPARE(int(cause.deviceStatus), expected.deviceStatus);
        QCOMPARE(cause.answerTimeoutMs, expected.answerTimeoutMs);
        QCOMPARE(cause.driverStatus, expected.driverStatus);
        QCOMPARE(cause.deviceGone, expected.deviceGone);
        QCOMPARE(cause.deviceRefused, expected.deviceRefused);
        QCOMPARE(cause.isKnown(), expected.outcome == DeviceJobOutcome::Failed ||
                                      expected.outcome == DeviceJobOutcome::PatchListClearFailed);
        m_entries.clear();
    }
};

QTEST_GUILESS_MAIN(DeviceJobOutcomesTest)
#include "test_device_job_outcomes.moc"
