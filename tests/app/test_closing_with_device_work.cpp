#include <QtTest>

#include "app/mainwindow.h"
#include "devicetesting.h"
#include "simulatedcontroller.h"
#include "simulateddevice.h"
#include "views/deviceform.h"
#include "windowtesting.h"

#include <QMenuBar>
#include <QToolBar>

#include <chrono>

using namespace std::chrono_literals;

// Closing the window while device work runs, and the save question's Cancel.
class ClosingWithDeviceWork : public QObject, private TestFolder
{
    Q_OBJECT

private:
    static bool shown(MainWindow &window, const char *name)
    {
        auto *widget = window.findChild<QWidget *>(name);
        return widget && !widget->isHidden();
    }

private slots:
    void initTestCase() { QVERIFY(makeTestFolderWithLibrary()); }

    void closingDuringAnUploadShowsOnlyTheClosingPanelNoMessageAndClosesAfterTheRefresh()
    {
        SimulatedBus bus;
        SimulatedDevice *device = bus.addController(0x0103, {"Stored One"});
        ScriptedPrompts prompts;
        MainWindow window(libraryPath);
        window.show();
        QVERIFY(waitForDeviceRows(window, 1));

        // Slow answers: each record takes most of a second, so the close lands mid-upload.
        device->setAnswerDelay(10ms);
        selectRows(libraryTable(window), {0, 1, 2});
        window.uploadCurrentSelection();
        QVERIFY(
            QTest::qWaitFor([&] { return device->controller()->records().size() == 2; }, 15000));
        device->clearFrameLog();

        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QVERIFY(shown(window, "closingWidget"));
        QVERIFY(!shown(window, "widget_2"));
        QVERIFY(!shown(window, "progressBars"));
        QVERIFY(window.findChild<QToolBar *>("toolBar")->isHidden());
        QVERIFY(window.menuBar()->isHidden());

        device->setAnswerDelay(0us);
        QVERIFY(QTest::qWaitFor([&] { return !window.isVisible(); }, 15000));
        // The aborted upload's failure is not reported, and the list was read once more.
        QVERIFY(prompts.asked.isEmpty());
        bool listRead = false;
        for (const SimulatedFrameInfo &frame : device->frameLog())
            listRead |= frame.command == SimulatedController::FixtureList;
        QVERIFY(listRead);
        QVERIFY(device->controller()->records().size() < 4);
    }

    // The close lands while the patch list is cleared on the way to an upload or deletion:
    // the job ends there, its second run does not start.
    void closingWhileThePatchListIsClearedStartsNoSecondRun()
    {
        for (const bool upload : {true, false}) {
            const char *job = upload ? "upload" : "delete";
            SimulatedBus bus;
            SimulatedDevice *device = bus.addController(0x0103, {"Stored One"});
            device->controller()->setPatchListEmpty(false);
            ScriptedPrompts prompts;
            MainWindow window(libraryPath);
            window.show();
            QVERIFY(waitForDeviceRows(window, 1));

            // Slow answers, so that the close comes while the clearer waits for its answer.
            device->setAnswerDelay(150ms);
            if (!upload)
                prompts.thenAnswer(QMessageBox::Yes); // delete
            prompts.thenAnswer(QMessageBox::Yes);     // clear the patch list
            selectRows(upload ? libraryTable(window) : deviceTable(window), {0});
            if (upload)
                window.uploadCurrentSelection();
            else
                window.deleteCurrentlySelectedFixturesOnDevice();
            QVERIFY2(QTest::qWaitFor([&] { return prompts.allAnswersUsed(); }, 15000), job);
            QVERIFY(!window.close());

            device->setAnswerDelay(0us);
            QVERIFY2(QTest::qWaitFor([&] { return !window.isVisible(); }, 15000), job);
            QVERIFY2(device->controller()->patchListEmpty(), job);
            const QMap<int, QByteArray> records = device->controller()->records();
            QVERIFY2(records.size() == 1, job);
            QCOMPARE(QByteArray(records.first().constData()), QByteArray("Stored One"));
            QCOMPARE(prompts.unexpected, 0);
        }
    }

    // The close comes while a refresh runs and a request waits behind it. Once closing has
    // begun nothing may start, neither when the refresh ends nor when the window has closed.
    void aRequestPendingWhenTheWindowClosesNeverStarts_data()
    {
        QTest::addColumn<DeviceRequest>("request");
        QTest::newRow("upload") << uploadOf(0);
        QTest::newRow("delete") << deletionOf(1);
    }

    void aRequestPendingWhenTheWindowClosesNeverStarts()
    {
        QFETCH(DeviceRequest, request);
        SimulatedBus bus;
        SimulatedDevice *device = bus.addController(0x0103, {"Stored One", "Stored Two"});
        ScriptedPrompts prompts;
        MainWindow window(libraryPath);
        window.show();
        QVERIFY(waitForDeviceRows(window, 2));

        // A deletion, and a slow refresh after it; the pane still shows both rows.
        device->setAnswerDelay(40ms);
        deletionOf(0)(window, prompts);
        QVERIFY(
            QTest::qWaitFor([&] { return device->controller()->records().size() == 1; }, 10000));
        device->clearFrameLog();
        QVERIFY(waitForListRequest(device));

        QSignalSpy starts(&window, &MainWindow::operationStarts);
        request(window, prompts);
        QCOMPARE(starts.count(), 0); // pending behind the refresh
        QVERIFY(!window.close());
        device->clearFrameLog();
        QVERIFY(QTest::qWaitFor([&] { return !window.isVisible(); }, 15000));
        QTest::qWait(300);

        QCOMPARE(starts.count(), 0);
        for (const SimulatedFrameInfo &frame : device->frameLog()) {
            QVERIFY(frame.command != SimulatedController::Record);
            QVERIFY(frame.command != SimulatedController::DeleteRecord);
        }
        QCOMPARE(device->controller()->records().size(), 1);
        QCOMPARE(prompts.unexpected, 0);
    }

    void cancelInTheSaveQuestionRestoresTheWindowAndRefreshesTheList()
    {
        SimulatedBus bus;
        SimulatedDevice *device = bus.addController(0x0103, {"Stored One"});
        ScriptedPrompts prompts;
        prompts.thenAnswer(QMessageBox::Cancel);
        MainWindow window(libraryPath);
        window.show();
        QVERIFY(waitForDeviceRows(window, 1));
        window.windowModified();
        device->clearFrameLog();

        QVERIFY(!window.close());
        QCOMPARE(prompts.askedTexts(), QStringList{"The library has been modified."});
        QVERIFY(window.isVisible());
        QVERIFY(!shown(window, "closingWidget"));
        QVERIFY(shown(window, "widget_2"));
        QVERIFY(!window.findChild<QToolBar *>("toolBar")->isHidden());
        QVERIFY(!window.menuBar()->isHidden());
        QVERIFY(waitForDeviceRows(window, 1));
        bool listRead = false;
        for (const SimulatedFrameInfo &frame : device->frameLog())
            listRead |= frame.command == SimulatedController::FixtureList;
        QVERIFY(listRead);
    }

    void theLibrarySettingIsWrittenEvenWhenClosingIsCancelled()
    {
        SimulatedBus bus;
        bus.addController(0x0103, {"Stored One"});
        ScriptedPrompts prompts;
        prompts.thenAnswer(QMessageBox::Cancel);
        MainWindow window(libraryPath);
        window.show();
        QVERIFY(waitForDeviceRows(window, 1));
        setSettingValue("library", "something else");
        window.windowModified();
        QVERIFY(!window.close());
        QCOMPARE(settingValue("library"), libraryPath);
        QVERIFY(waitUntilIdle(window));
    }

    void closingDuringAnUploadWithUnsavedChangesAsksOnceTheUploadHasEnded()
    {
        SimulatedBus bus;
        SimulatedDevice *device = bus.addController(0x0103);
        ScriptedPrompts prompts;
        prompts.thenAnswer(QMessageBox::Discard);
        MainWindow window(libraryPath);
        window.show();
        QVERIFY(waitUntilIdle(window));
        window.windowModified();

        device->setAnswerDelay(5ms);
        selectRows(libraryTable(window), {0});
        window.uploadCurrentSelection();
        QVERIFY(!window.close());
        QVERIFY(prompts.asked.isEmpty());
        device->setAnswerDelay(0us);
        QVERIFY(QTest::qWaitFor([&] { return !window.isVisible(); }, 15000));
        QCOMPARE(prompts.askedTexts(), QStringList{"The library has been modified."});
    }

    // Save answered once the upload has ended: a save that happens closes the window, one
    // that does not (Save As cancelled) leaves it open and whole, as Cancel does.
    void saveAnsweredAfterAnUploadClosesOnlyOnceTheLibraryIsSaved_data()
    {
        QTest::addColumn<bool>("chooseFile");
        QTest::newRow("saved") << true;
        QTest::newRow("save as cancelled") << false;
    }
    void saveAnsweredAfterAnUploadClosesOnlyOnceTheLibraryIsSaved()
    {
        QFETCH(bool, chooseFile);
        const QString path = dir.filePath(QStringLiteral("closing-save.blfl"));
        QFile::remove(path);
        QVERIFY(QFile::copy(libraryPath, path));
        SimulatedBus bus;
        SimulatedDevice *device = bus.addController(0x0103);
        ScriptedPrompts prompts;
        MainWindow window(path);
        window.show();
        QVERIFY(waitUntilIdle(window));
        window.windowModified();
        // With the file gone, Save has to ask for a name.
        QVERIFY(QFile::remove(path));
        prompts.thenAnswer(QMessageBox::Save);
        if (chooseFile)
            prompts.thenChooseFile(path);
        else
            prompts.thenCancelFileDialog();

        device->setAnswerDelay(5ms);
        selectRows(libraryTable(window), {0, 1});
        window.uploadCurrentSelection();
        QVERIFY(!window.close());
        QVERIFY(shown(window, "closingWidget"));
        device->setAnswerDelay(0us);

        if (chooseFile) {
            QVERIFY(QTest::qWaitFor([&] { return !window.isVisible(); }, 15000));
            QCOMPARE(fixtureNamesIn(path).size(), 3);
        } else {
            QVERIFY(QTest::qWaitFor([&] { return prompts.allAnswersUsed(); }, 15000));
            QVERIFY(waitUntilIdle(window));
            QVERIFY(window.isVisible());
            QVERIFY(window.isWindowModified());
            QVERIFY(!QFile::exists(path));
            QVERIFY(!shown(window, "closingWidget"));
            QVERIFY(shown(window, "widget_2"));
            QVERIFY(!window.findChild<QToolBar *>("toolBar")->isHidden());
            QVERIFY(!window.menuBar()->isHidden());
        }
        QCOMPARE(prompts.askedTexts().first(), QStringLiteral("The library has been modified."));
        QCOMPARE(prompts.unexpected, 0);
    }
};

QTEST_MAIN(ClosingWithDeviceWork)
#include "test_closing_with_device_work.moc"
