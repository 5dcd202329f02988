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
        ControllerWindow on({"Stored One"});
        MainWindow &window = on.open(libraryPath);
        window.show();
        QVERIFY(waitForDeviceRows(window, 1));

        // Slow answers: each record takes most of a second, so the close lands mid-upload.
        on.device->setAnswerDelay(10ms);
        selectRows(libraryTable(window), {0, 1, 2});
        window.uploadCurrentSelection();
        QVERIFY(
            QTest::qWaitFor([&] { return on.device->controller()->records().size() == 2; }, 15000));
        on.device->clearFrameLog();

        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QVERIFY(shown(window, "closingWidget"));
        QVERIFY(!shown(window, "widget_2"));
        QVERIFY(!shown(window, "progressBars"));
        QVERIFY(window.findChild<QToolBar *>("toolBar")->isHidden());
        QVERIFY(window.menuBar()->isHidden());

        on.device->setAnswerDelay(0us);
        QVERIFY(QTest::qWaitFor([&] { return !window.isVisible(); }, 15000));
        // The aborted upload's failure is not reported, and the list was read once more.
        QVERIFY(on.prompts.asked.isEmpty());
        bool listRead = false;
        for (const SimulatedFrameInfo &frame : on.device->frameLog())
            listRead |= frame.command == SimulatedController::FixtureList;
        QVERIFY(listRead);
        QVERIFY(on.device->controller()->records().size() < 4);
    }

    // The close lands while the patch list is cleared on the way to an upload or deletion:
    // the job ends there, its second run does not start.
    void closingWhileThePatchListIsClearedStartsNoSecondRun()
    {
        for (const bool upload : {true, false}) {
            const char *job = upload ? "upload" : "delete";
            ControllerWindow on({"Stored One"});
            on.device->controller()->setPatchListEmpty(false);
            MainWindow &window = on.open(libraryPath);
            window.show();
            QVERIFY(waitForDeviceRows(window, 1));

            // Slow answers, so that the close comes while the clearer waits for its answer.
            on.device->setAnswerDelay(150ms);
            if (!upload)
                on.prompts.thenAnswer(QMessageBox::Yes); // delete
            on.prompts.thenAnswer(QMessageBox::Yes);     // clear the patch list
            selectRows(upload ? libraryTable(window) : deviceTable(window), {0});
            if (upload)
                window.uploadCurrentSelection();
            else
                window.deleteCurrentlySelectedFixturesOnDevice();
            QVERIFY2(QTest::qWaitFor([&] { return on.prompts.allAnswersUsed(); }, 15000), job);
            QVERIFY(!window.close());

            on.device->setAnswerDelay(0us);
            QVERIFY2(QTest::qWaitFor([&] { return !window.isVisible(); }, 15000), job);
            QVERIFY2(on.device->controller()->patchListEmpty(), job);
            const QMap<int, QByteArray> records = on.device->controller()->records();
            QVERIFY2(records.size() == 1, job);
            QCOMPARE(QByteArray(records.first().constData()), QByteArray("Stored One"));
            QCOMPARE(on.prompts.unexpected, 0);
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
        ControllerWindow on({"Stored One", "Stored Two"});
        MainWindow &window = on.open(libraryPath);
        window.show();
        QVERIFY(waitForDeviceRows(window, 2));

        // A deletion, and a slow refresh after it; the pane still shows both rows.
        on.device->setAnswerDelay(40ms);
        deletionOf(0)(window, on.prompts);
        QVERIFY(
            QTest::qWaitFor([&] { return on.device->controller()->records().size() == 1; }, 10000));
        on.device->clearFrameLog();
        QVERIFY(waitForListRequest(on.device));

        QSignalSpy starts(&window, &MainWindow::operationStarts);
        request(window, on.prompts);
        QCOMPARE(starts.count(), 0); // pending behind the refresh
        QVERIFY(!window.close());
        on.device->clearFrameLog();
        QVERIFY(QTest::qWaitFor([&] { return !window.isVisible(); }, 15000));
        QTest::qWait(300);

        QCOMPARE(starts.count(), 0);
        for (const SimulatedFrameInfo &frame : on.device->frameLog()) {
            QVERIFY(frame.command != SimulatedController::Record);
            QVERIFY(frame.command != SimulatedController::DeleteRecord);
        }
        QCOMPARE(on.device->controller()->records().size(), 1);
        QCOMPARE(on.prompts.unexpected, 0);
    }

    // The library setting is written all the same.
    void cancelInTheSaveQuestionRestoresTheWindowAndRefreshesTheList()
    {
        ControllerWindow on({"Stored One"});
        on.prompts.thenAnswer(QMessageBox::Cancel);
        MainWindow &window = on.open(libraryPath);
        window.show();
        QVERIFY(waitForDeviceRows(window, 1));
        setSettingValue("library", "something else");
        window.windowModified();
        on.device->clearFrameLog();

        QVERIFY(!window.close());
        QCOMPARE(on.prompts.askedTexts(), QStringList{"The library has been modified."});
        QCOMPARE(settingValue("library"), libraryPath);
        QVERIFY(window.isVisible());
        QVERIFY(!shown(window, "closingWidget"));
        QVERIFY(shown(window, "widget_2"));
        QVERIFY(!window.findChild<QToolBar *>("toolBar")->isHidden());
        QVERIFY(!window.menuBar()->isHidden());
        QVERIFY(waitForDeviceRows(window, 1));
        bool listRead = false;
        for (const SimulatedFrameInfo &frame : on.device->frameLog())
            listRead |= frame.command == SimulatedController::FixtureList;
        QVERIFY(listRead);
    }

    void closingDuringAnUploadWithUnsavedChangesAsksOnceTheUploadHasEnded()
    {
        ControllerWindow on;
        on.prompts.thenAnswer(QMessageBox::Discard);
        MainWindow &window = on.open(libraryPath);
        window.show();
        QVERIFY(waitUntilIdle(window));
        window.windowModified();

        on.device->setAnswerDelay(5ms);
        selectRows(libraryTable(window), {0});
        window.uploadCurrentSelection();
        QVERIFY(!window.close());
        QVERIFY(on.prompts.asked.isEmpty());
        on.device->setAnswerDelay(0us);
        QVERIFY(QTest::qWaitFor([&] { return !window.isVisible(); }, 15000));
        QCOMPARE(on.prompts.askedTexts(), QStringList{"The library has been modified."});
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
        ControllerWindow on;
        MainWindow &window = on.open(path);
        window.show();
        QVERIFY(waitUntilIdle(window));
        window.windowModified();
        // With the file gone, Save has to ask for a name.
        QVERIFY(QFile::remove(path));
        on.prompts.thenAnswer(QMessageBox::Save);
        if (chooseFile)
            on.prompts.thenChooseFile(path);
        else
            on.prompts.thenCancelFileDialog();

        on.device->setAnswerDelay(5ms);
        selectRows(libraryTable(window), {0, 1});
        window.uploadCurrentSelection();
        QVERIFY(!window.close());
        QVERIFY(shown(window, "closingWidget"));
        on.device->setAnswerDelay(0us);

        if (chooseFile) {
            QVERIFY(QTest::qWaitFor([&] { return !window.isVisible(); }, 15000));
            QCOMPARE(fixtureNamesIn(path).size(), 3);
        } else {
            QVERIFY(QTest::qWaitFor([&] { return on.prompts.allAnswersUsed(); }, 15000));
            QVERIFY(waitUntilIdle(window));
            QVERIFY(window.isVisible());
            QVERIFY(window.isWindowModified());
            QVERIFY(!QFile::exists(path));
            QVERIFY(!shown(window, "closingWidget"));
            QVERIFY(shown(window, "widget_2"));
            QVERIFY(!window.findChild<QToolBar *>("toolBar")->isHidden());
            QVERIFY(!window.menuBar()->isHidden());
        }
        QCOMPARE(on.prompts.askedTexts().first(), QStringLiteral("The library has been modified."));
        QCOMPARE(on.prompts.unexpected, 0);
    }
};

QTEST_MAIN(ClosingWithDeviceWork)
#include "test_closing_with_device_work.moc"
