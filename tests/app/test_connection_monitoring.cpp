#include <QtTest>

#include "app/mainwindow.h"
#include "blpmaster.h"
#include "connectionmonitor.h"
#include "devicetesting.h"
#include "driverselection.h"
#include "firmware/firmwareupdatedialog.h"
#include "ftdidriver.h"
#include "simulatedcontroller.h"
#include "simulateddevice.h"
#include "syntheticfirmware.h"
#include "views/deviceform.h"
#include "windowtesting.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

// The connection poll, the lost-controller report and the firmware notice.
class ConnectionMonitoring : public QObject, private TestFolder
{
    Q_OBJECT

private:
    // Stops the window's own poll so that the test counts the probes.
    static QTimer *stopPoll(MainWindow &window)
    {
        auto *timer = window.findChild<QTimer *>("connectionTimer");
        if (timer)
            timer->stop();
        return timer;
    }

    // One poll: the probe runs on its thread and the timer is started again with its answer.
    static bool pollOnce(MainWindow &window, QTimer *timer)
    {
        window.updateConnectionStatus();
        const bool answered = QTest::qWaitFor([&] { return timer->isActive(); }, 5000);
        timer->stop();
        return answered;
    }

    static bool noticeShown(MainWindow &window)
    {
        return !window.findChild<QWidget *>("firmwareUpdateInfoWidget")->isHidden();
    }

private slots:
    void initTestCase() { QVERIFY(makeTestFolder()); }

    void aConnectedControllerIsReportedLostOnTheThirdFailedProbeNotEarlier()
    {
        SimulatedBus bus;
        SimulatedDevice *device = bus.addController(0x0103, {"Stored One"});
        MainWindow window;
        QVERIFY(waitForDeviceRows(window, 1));
        QTimer *timer = stopPoll(window);
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 300);
        window.master()->setResponseTimeout(50);
        QVERIFY(pollOnce(window, timer));
        QVERIFY(window.isDeviceConnected());

        auto *monitor = window.findChild<ConnectionMonitor *>();
        QVERIFY(monitor);
        QSignalSpy lost(monitor, &ConnectionMonitor::disconnected);
        device->setAnswering(false);
        QComboBox *combo = window.deviceForm()->devicesComboBox();
        QVERIFY(pollOnce(window, timer));
        QVERIFY(pollOnce(window, timer));
        QVERIFY(window.isDeviceConnected());
        QCOMPARE(lost.size(), 0);
        QCOMPARE(combo->count(), 1);
        QCOMPARE(deviceTable(window)->model()->rowCount(), 1);

        QVERIFY(pollOnce(window, timer));
        QCOMPARE(lost.size(), 1);
        QVERIFY(!window.isDeviceConnected());
        QCOMPARE(combo->count(), 0);
        QCOMPARE(deviceTable(window)->model()->rowCount(), 0);
    }

    void withAnEmptyDeviceListThePollNeverReportsAConnection()
    {
        SimulatedBus bus;
        SimulatedDevice *device = bus.addController(0x0103);
        device->unplug();
        MainWindow window;
        QVERIFY(waitUntilIdle(window));
        QCOMPARE(window.deviceForm()->devicesComboBox()->count(), 0);
        QTimer *timer = stopPoll(window);
        device->plugIn();
        for (int i = 0; i < 3; ++i)
            QVERIFY(pollOnce(window, timer));
        QVERIFY(!window.isDeviceConnected());
    }

    void aMissingD2xxLibraryIsToldAndTheWindowStaysOnItsBus()
    {
        SimulatedBus bus;
        bus.addController(0x0103);
        ScriptedPrompts prompts;
        prompts.thenAnswer(QMessageBox::Ok);
        DeviceLinkOptions options;
        options.backend = QStringLiteral("d2xx");
        options.d2xxLibrary = dir.filePath("no-such/libftd2xx.so");
        MainWindow window(QString(), options);
        QVERIFY(QTest::qWaitFor([&] { return !prompts.asked.isEmpty(); }, 5000));
        QCOMPARE(prompts.asked.first().kind, UserPrompts::Kind::Warning);
        QVERIFY2(prompts.asked.first().text.contains("no-such/libftd2xx.so"),
                 qPrintable(prompts.asked.first().text));
        // Library work goes on, and the bus that was current still reaches its controller.
        QVERIFY(waitUntilIdle(window));
        QCOMPARE(window.deviceForm()->devicesComboBox()->count(), 1);
    }

    // With no option and no bus in place, the window installs the platform's default backend,
    // resolved by the same function as the tool's.
    void withoutOptionsTheWindowInstallsTheDefaultBackendAsTheToolDoes()
    {
        ScopedFtdiDriver none(nullptr);
        MainWindow window;
        QVERIFY(FtdiDriver::hasCurrent());
        QCOMPARE(installedBackendName(), defaultBackendName());
        QVERIFY(waitUntilIdle(window));
    }

    void theFirmwareNoticeShowsForVersion1_2AndNotFor1_3_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("shown");
        QTest::newRow("1.2") << 0x0102 << true;
        QTest::newRow("1.3") << 0x0103 << false;
    }

    void theFirmwareNoticeShowsForVersion1_2AndNotFor1_3()
    {
        QFETCH(int, version);
        QFETCH(bool, shown);
        SimulatedBus bus;
        bus.addController(quint16(version), {"Stored One"});
        MainWindow window;
        window.show();
        QVERIFY(waitForDeviceRows(window, 1));
        QTimer *timer = stopPoll(window);
        QVERIFY(pollOnce(window, timer));
        QVERIFY(window.isDeviceConnected());
        QCOMPARE(noticeShown(window), shown);
    }

    void choosingTheOutdatedControllerShowsTheNoticeAndItsLinkStartsTheUpdate()
    {
        SimulatedBus bus;
        bus.addController(0x0103, {"Current"});
        bus.addController(0x0102, {"Old"});
        MainWindow window;
        window.show();
        QVERIFY(waitForDeviceRows(window, 1));
        QTimer *timer = stopPoll(window);
        QVERIFY(pollOnce(window, timer));
        QVERIFY(!noticeShown(window));

        window.deviceForm()->devicesComboBox()->setCurrentIndex(1);
        QVERIFY(QTest::qWaitFor([&] { return deviceFixtureNames(window) == QStringList{"Old"}; },
                                10000));
        QVERIFY(waitUntilIdle(window));
        QVERIFY(noticeShown(window));

        bool dialogSeen = false;
        QList<int> dialogDevices;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<FirmwareUpdateDlg *>(QApplication::activeModalWidget());
            dialogSeen = dialog != nullptr;
            if (!dialog)
                return;
            auto *combo = dialog->findChild<QComboBox *>("devicesCombo");
            for (int i = 0; i < combo->count(); ++i)
                dialogDevices << combo->itemData(i).toInt();
            QCOMPARE(combo->currentIndex(), 1);
            dialog->close();
        });
        window.on_labelFirmwareUpdateInfo_linkActivated("update-device");
        QVERIFY(dialogSeen);
        QCOMPARE(dialogDevices.size(), 2);
        QVERIFY(!noticeShown(window));
        QVERIFY(waitUntilIdle(window));
    }

    // After the dialog has updated a controller or found new ones, the window searches
    // anew: the updated controller loses its notice and stays chosen, and a controller
    // plugged in meanwhile is listed.
    void afterAnUpdateTheWindowReadsTheDevicesAgainAndKeepsTheChosenOne()
    {
        SimulatedBus bus;
        bus.addController(0x0103, {"Current"});
        SimulatedDevice *old = bus.addController(0x0102, {"Old"});
        old->controller()->setVersionAfterFirmwareUpdate(0x0104);
        const QString imagePath = dir.filePath("update.bl2");
        const QByteArray image =
            SyntheticFirmware::image("KDR-450P", {SyntheticFirmware::sectorData(1024, 3)});
        QVERIFY(SyntheticFirmware::write(imagePath, image));
        ScriptedPrompts prompts;
        MainWindow window;
        window.show();
        QVERIFY(waitForDeviceRows(window, 1));
        QTimer *timer = stopPoll(window);
        window.deviceForm()->devicesComboBox()->setCurrentIndex(1);
        QVERIFY(QTest::qWaitFor([&] { return deviceFixtureNames(window) == QStringList{"Old"}; },
                                10000));
        QVERIFY(waitUntilIdle(window));
        QVERIFY(pollOnce(window, timer));
        QVERIFY(noticeShown(window));

        bool updated = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<FirmwareUpdateDlg *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->on_lblMode_Link_clicked("alternative-update-file");
            prompts.thenChooseFile(imagePath);
            dialog->findChild<QPushButton *>("bttn_load")->click();
            bus.addController(0x0103, {"Plugged In"});
            dialog->findChild<QPushButton *>("bttnDiscover")->click();
            if (!QTest::qWaitFor([&] { return !dialog->isBusy(); }, 10000))
                return;
            auto *combo = dialog->findChild<QComboBox *>("devicesCombo");
            combo->setCurrentIndex(combo->findData(1));
            dialog->findChild<QPushButton *>("bttn_update")->click();
            updated = QTest::qWaitFor([&] { return !dialog->isBusy(); }, 20000);
            dialog->close();
        });
        window.on_labelFirmwareUpdateInfo_linkActivated("update-device");
        QVERIFY(updated);
        QVERIFY(old->controller()->firmwareImageIntact());
        QCOMPARE(old->controller()->softwareVersion(), quint16(0x0104));

        QVERIFY(QTest::qWaitFor([&] { return deviceFixtureNames(window) == QStringList{"Old"}; },
                                10000));
        QVERIFY(waitUntilIdle(window));
        QComboBox *combo = window.deviceForm()->devicesComboBox();
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->currentData(Qt::UserRole).toInt(), 1);
        QVERIFY(pollOnce(window, timer));
        QVERIFY(!noticeShown(window));
        QCOMPARE(prompts.unexpected, 0);
    }

    void theLinkDoesNothingWhileAnOperationRuns()
    {
        SimulatedBus bus;
        SimulatedDevice *device = bus.addController(0x0102, {"Old"});
        // Slow answers keep the first discovery and refresh running meanwhile.
        device->setAnswerDelay(std::chrono::milliseconds(60));
        MainWindow window;
        QVERIFY(window.isOperationRunning());
        bool dialogSeen = false;
        QTimer::singleShot(0, [&] {
            dialogSeen = QApplication::activeModalWidget() != nullptr;
            if (dialogSeen)
                QApplication::activeModalWidget()->close();
        });
        window.on_labelFirmwareUpdateInfo_linkActivated("update-device");
        QTest::qWait(20);
        QVERIFY(!dialogSeen);
        device->setAnswerDelay(std::chrono::milliseconds(0));
        QVERIFY(waitUntilIdle(window));
    }
};

QTEST_MAIN(ConnectionMonitoring)
#include "test_connection_monitoring.moc"
