#include <QtTest>

#include "app/mainwindow.h"
#include "devicejobrunner.h"
#include "devicetesting.h"
#include "simulatedcontroller.h"
#include "simulateddevice.h"
#include "views/deviceform.h"
#include "windowtesting.h"

#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>

#include <chrono>

using namespace std::chrono_literals;

// One device operation at a time: requests that meet the background refresh, abort, and the
// refresh's own outcomes.
class OperationLock : public QObject, private TestFolder
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(makeTestFolderWithLibrary(Texts::English)); }

    void uploadDuringTheBackgroundRefreshRunsRightAfterItAndTheListIsReadAgain()
    {
        ControllerWindow on({"Stored One", "Stored Two", "Stored Three"});
        MainWindow &window = on.open(libraryPath);
        QVERIFY(waitForDeviceRows(window, 3));

        // A slow controller, so that the refresh after the delete is still reading.
        on.device->setAnswerDelay(40ms);
        selectRows(deviceTable(window), {2});
        on.prompts.thenAnswer(QMessageBox::Yes);
        window.deleteCurrentlySelectedFixturesOnDevice();
        QVERIFY(QTest::qWaitFor([&] { return window.deviceForm()->isBusy(); }, 10000));
        QVERIFY(window.isOperationRunning());
        QVERIFY(
            QTest::qWaitFor([&] { return on.device->controller()->records().size() == 2; }, 10000));

        selectRows(libraryTable(window), {0});
        QSignalSpy starts(&window, &MainWindow::operationStarts);
        window.uploadCurrentSelection();
        // The refresh holds the lock: the upload waits for the aborted refresh to end.
        QCOMPARE(starts.count(), 0);
        QVERIFY(QTest::qWaitFor([&] { return starts.count() == 1; }, 10000));
        on.device->setAnswerDelay(0us);
        QVERIFY(waitForDeviceRows(window, 3));
        QCOMPARE(on.device->controller()->records().size(), 3);
        QVERIFY(deviceFixtureNames(window).contains("Alpha Spot"));
        QCOMPARE(on.prompts.asked.size(), 1);
    }

    // The window's abortDownloadingFixtureList() reaches the list refresh and nothing else.
    void theAbortSignalStopsTheBackgroundRefreshButNoOtherJob()
    {
        ControllerWindow on({"One", "Two", "Three"});
        MainWindow &window = on.open(libraryPath);
        auto *jobs = window.findChild<DeviceJobRunner *>();
        QVERIFY(jobs && waitForDeviceRows(window, 3));
        QSignalSpy ended(jobs, &DeviceJobRunner::jobEnded);
        // A slow controller: the list takes some 12 answers of 40 ms each.
        on.device->setAnswerDelay(40ms);
        const quint64 framesBefore = on.device->framesReceived();
        QVERIFY(jobs->refresh());
        QVERIFY(
            QTest::qWaitFor([&] { return on.device->framesReceived() > framesBefore + 1; }, 10000));
        emit window.abortDownloadingFixtureList();
        QVERIFY(QTest::qWaitFor([&] { return !ended.isEmpty(); }, 10000));
        QCOMPARE(ended.first().at(0).value<DeviceJob>(), DeviceJob::Refresh);
        QCOMPARE(ended.first().at(1).value<DeviceJobOutcome>(), DeviceJobOutcome::Aborted);
        QVERIFY(waitUntilIdle(window));

        ended.clear();
        selectRows(libraryTable(window), {0});
        window.uploadCurrentSelection();
        QVERIFY(QTest::qWaitFor([&] { return window.isOperationRunning(); }, 10000));
        emit window.abortDownloadingFixtureList();
        on.device->setAnswerDelay(0us);
        QVERIFY(waitForDeviceRows(window, 4));
        QCOMPARE(ended.first().at(0).value<DeviceJob>(), DeviceJob::Upload);
        QCOMPARE(ended.first().at(1).value<DeviceJobOutcome>(), DeviceJobOutcome::Done);
        QVERIFY(on.prompts.asked.isEmpty());
    }

    void abortFreezesTheBarsAndSaysHowFarTheJobGot_data()
    {
        QTest::addColumn<bool>("upload");
        QTest::newRow("upload") << true;
        QTest::newRow("download") << false;
    }

    void abortFreezesTheBarsAndSaysHowFarTheJobGot()
    {
        QFETCH(bool, upload);
        ControllerWindow on(upload ? QStringList{} : QStringList{"A", "B", "C"}, 45);
        MainWindow &window = on.open(libraryPath);
        QVERIFY(waitUntilIdle(window));

        on.device->setAnswerDelay(5ms);
        if (upload) {
            selectRows(libraryTable(window), {0, 1, 2});
            window.uploadCurrentSelection();
        } else {
            selectRows(deviceTable(window), {0, 1, 2});
            window.downloadCurrentSelection();
        }
        auto *total = window.findChild<QProgressBar *>("progBarTotal");
        auto *current = window.findChild<QProgressBar *>("progrBarCurrent");
        QVERIFY(QTest::qWaitFor([&] { return current->value() > 0; }, 10000));

        QTest::mouseClick(window.findChild<QPushButton *>("abortButton"), Qt::LeftButton);
        QCOMPARE(total->maximum(), 0);
        QCOMPARE(current->maximum(), 0);
        // Progress that is still on its way moves nothing.
        window.progressTotal(80);
        window.progressCurrentItem(90);
        QCOMPARE(total->value(), 0);
        QCOMPARE(current->value(), 0);

        on.device->setAnswerDelay(0us);
        QVERIFY(waitUntilIdle(window));
        // A cancel is no failure: no message box, and what arrived is counted (and kept).
        const int done =
            upload ? int(on.device->controller()->records().size()) : libraryRowCount(window) - 3;
        QVERIFY(done < 3);
        QCOMPARE(window.statusBar()->currentMessage(),
                 QString(upload ? "Upload cancelled after %1 of 3 definitions"
                                : "Download cancelled after %1 of 3 definitions")
                     .arg(done));
        QVERIFY(on.prompts.asked.isEmpty());
    }

    // The request stops the refresh, but the list answer is already on its way in one piece,
    // so the refresh completes and replaces the pane's rows. The request still acts on the
    // entry it was made for ("Two").
    void aRequestPendingBehindARefreshThatCompletedKeepsItsEntries_data()
    {
        QTest::addColumn<DeviceRequest>("request");
        QTest::addColumn<QStringList>("libraryAfter");
        QTest::addColumn<QStringList>("deviceAfter");
        const QStringList library = {"Alpha Spot", "Bravo Wash", "Charlie Par"};
        const QStringList stored = {"One", "Two", "Three", "Alpha Spot"};
        QTest::newRow("download") << downloadOf(1) << library + QStringList{"Two"} << stored;
        QTest::newRow("delete") << deletionOf(1) << library
                                << QStringList{"One", "Three", "Alpha Spot"};
    }

    void aRequestPendingBehindARefreshThatCompletedKeepsItsEntries()
    {
        QFETCH(DeviceRequest, request);
        QFETCH(QStringList, libraryAfter);
        QFETCH(QStringList, deviceAfter);
        ControllerWindow on({"One", "Two", "Three"});
        on.device->controller()->setFrameLimit(1000); // the whole list in one answer
        MainWindow &window = on.open(libraryPath);
        QVERIFY(waitForDeviceRows(window, 3));

        // An upload, and a slow refresh after it; the pane still shows the three rows.
        uploadOf(0)(window, on.prompts);
        QVERIFY(
            QTest::qWaitFor([&] { return on.device->controller()->records().size() == 4; }, 10000));
        on.device->setAnswerDelay(300ms);
        on.device->clearFrameLog();
        QVERIFY(waitForListRequest(on.device));
        QCOMPARE(deviceFixtureNames(window), (QStringList{"One", "Two", "Three"}));

        QSignalSpy starts(&window, &MainWindow::operationStarts);
        request(window, on.prompts);
        QCOMPARE(starts.count(), 0); // pending behind the refresh
        QVERIFY(QTest::qWaitFor([&] { return starts.count() == 1; }, 10000));
        on.device->setAnswerDelay(0us);
        QVERIFY(waitUntilIdle(window));
        QCOMPARE(libraryFixtureNames(window), libraryAfter);
        QCOMPARE(deviceFixtureNames(window), deviceAfter);
        QCOMPARE(on.prompts.unexpected, 0);
    }

    void aListOfOnlyTheCountIsAFailedRefresh()
    {
        ControllerWindow on;
        MainWindow &window = on.open(libraryPath);
        QVERIFY(waitUntilIdle(window));
        QCOMPARE(deviceTable(window)->model()->rowCount(), 0);
        QVERIFY(on.prompts.asked.isEmpty());
    }

    void aValidListFillsOneRowPerHeader()
    {
        SimulatedBus bus;
        bus.addController(0x0103, {"One", "Two", "Three", "Four"});
        MainWindow window(libraryPath);
        QVERIFY(waitForDeviceRows(window, 4));
        QCOMPARE(deviceFixtureNames(window), (QStringList{"One", "Two", "Three", "Four"}));
    }
};

QTEST_MAIN(OperationLock)
#include "test_operation_lock.moc"
