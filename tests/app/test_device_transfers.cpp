#include <QtTest>

#include "app/mainwindow.h"
#include "devicetesting.h"
#include "simulatedcontroller.h"
#include "simulateddevice.h"
#include "views/deviceform.h"
#include "windowtesting.h"

#include <QAction>
#include <QProgressBar>
#include <QStatusBar>
#include <QTableView>

namespace
{

const QString UploadFailed = QStringLiteral("Upload of fixture definition(s) failed.");
const QString PatchQuestion =
    QStringLiteral("The current patch list will be erased.\nDo you want to continue?");

} // namespace

// Upload, download and delete through the window against the simulated controller, with
// the message each outcome shows.
class DeviceTransfers : public QObject, private TestFolder
{
    Q_OBJECT

private:
    // The library the window opens: three definitions, or the given ones.
    void makeLibrary(const QList<DefinitionSpec> &specs = {})
    {
        libraryPath =
            dir.filePath(QStringLiteral("lib%1.blfl").arg(QRandomGenerator::global()->generate()));
        const QList<DefinitionSpec> defaults = {
            {"Alpha Spot", "Maker", {"Pan", "Tilt", "Dimmer"}},
            {"Bravo Wash", "Maker", {"Red", "Green", "Blue", "White"}},
            {"Charlie Par", "Other", {"Dimmer"}}};
        QVERIFY(writeLibrary(libraryPath, specs.isEmpty() ? defaults : specs));
    }

    // Yes and No to the question an upload asks, for the tests of each answer.
    static void addAnswers()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << int(QMessageBox::Yes);
        QTest::newRow("no") << int(QMessageBox::No);
    }

    static void selectAllLibraryRows(MainWindow &window)
    {
        QTableView *table = libraryTable(window);
        selectRows(table, [&] {
            QList<int> rows;
            for (int i = 0; i < table->model()->rowCount(); ++i)
                rows << i;
            return rows;
        }());
    }

    // Opens the window on the controller, which holds one record, and uploads the whole library
    // with the one answer given to what is asked; the device pane then lists rowsAfter rows.
    void uploadAllAnswering(ControllerWindow &on, QMessageBox::StandardButton answer, int rowsAfter)
    {
        on.prompts.thenAnswer(answer);
        MainWindow &window = on.open(libraryPath);
        QVERIFY(waitForDeviceRows(window, 1));

        selectAllLibraryRows(window);
        window.uploadCurrentSelection();
        QVERIFY(waitForDeviceRows(window, rowsAfter));
    }

    // Uploading the whole library to the controller, which holds one record, ends in the one
    // message and leaves that record alone.
    void uploadAllIsRefused(ControllerWindow &on, const QString &message)
    {
        uploadAllAnswering(on, QMessageBox::Ok, 1);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(on.prompts.askedTexts(), QStringList{message});
        QCOMPARE(on.device->controller()->records().size(), 1);
    }

private slots:
    void initTestCase() { QVERIFY(makeTestFolder(Texts::English)); }

    void eachOperationSaysInTheStatusBarWhatItDid()
    {
        ControllerWindow on({"Stored One"});
        on.device->controller()->setLabel("Stage left");
        makeLibrary();
        MainWindow &window = on.open(libraryPath);
        QVERIFY(waitForDeviceRows(window, 1));
        QCOMPARE(window.statusBar()->currentMessage(), QString("Found 1 controller"));

        selectAllLibraryRows(window);
        window.uploadCurrentSelection();
        QVERIFY(waitForDeviceRows(window, 4));
        QCOMPARE(window.statusBar()->currentMessage(),
                 QString("Uploaded 3 definitions to KDR-450P #1 (Stage left)"));

        selectRows(deviceTable(window), {0});
        window.downloadCurrentSelection();
        QVERIFY(waitForDeviceRows(window, 4));
        QCOMPARE(window.statusBar()->currentMessage(), QString("Downloaded 1 definition"));

        selectRows(deviceTable(window), {0, 1});
        on.prompts.thenAnswer(QMessageBox::Yes);
        window.deleteCurrentlySelectedFixturesOnDevice();
        QVERIFY(waitForDeviceRows(window, 2));
        QCOMPARE(window.statusBar()->currentMessage(),
                 QString("Deleted 2 definitions on KDR-450P #1 (Stage left)"));

        on.bus.addController(0x0103);
        window.discoverDevices();
        QVERIFY(QTest::qWaitFor(
            [&] { return window.statusBar()->currentMessage() == "Found 2 controllers"; }, 10000));
        QVERIFY(waitUntilIdle(window));
        QCOMPARE(on.prompts.asked.size(), 1);
    }

    // Held means the same record: a definition whose channels differ is uploaded unasked.
    void uploadingWhatTheControllerHoldsAsksAgainOrSkip_data() { addAnswers(); }

    void uploadingWhatTheControllerHoldsAsksAgainOrSkip()
    {
        QFETCH(int, answer);
        ControllerWindow on;
        makeLibrary();
        {
            MainWindow first(libraryPath);
            QVERIFY(waitUntilIdle(first));
            selectAllLibraryRows(first);
            first.uploadCurrentSelection();
            QVERIFY(waitForDeviceRows(first, 3));
        }
        makeLibrary({{"Alpha Spot", "Maker", {"Pan", "Tilt", "Dimmer"}},
                     {"Bravo Wash", "Maker", {"Red", "Green", "Blue", "Amber"}},
                     {"Delta Bar", "Maker", {"Dimmer"}}});
        MainWindow &window = on.open(libraryPath);
        QVERIFY(waitForDeviceRows(window, 3));
        selectAllLibraryRows(window);
        on.prompts.thenAnswer(QMessageBox::StandardButton(answer));
        window.uploadCurrentSelection();
        QVERIFY(waitForDeviceRows(window, answer == QMessageBox::Yes ? 6 : 5));

        QCOMPARE(on.prompts.asked.size(), 1);
        QCOMPARE(on.prompts.asked.first().text,
                 QString("KDR-450P #1 already holds 1 of the selected definitions. "
                         "Upload them again?"));
        QCOMPARE(on.prompts.asked.first().informativeText, QString("Alpha Spot (slot 0)"));
        QCOMPARE(on.prompts.asked.first().defaultButton, QMessageBox::No);
        QCOMPARE(window.statusBar()->currentMessage(),
                 QString("Uploaded %1 definitions to KDR-450P #1")
                     .arg(answer == QMessageBox::Yes ? 3 : 2));
        QCOMPARE(int(on.device->controller()->records().size()),
                 answer == QMessageBox::Yes ? 6 : 5);
    }

    // Names the controller cannot hold as given are shown per definition before anything
    // is sent; No sends nothing.
    void anUploadThatChangesNamesSaysWhichFirst_data() { addAnswers(); }

    void anUploadThatChangesNamesSaysWhichFirst()
    {
        QFETCH(int, answer);
        ControllerWindow on;
        makeLibrary({{"Plain", "Maker", {"Dimmer"}},
                     {QString::fromUtf8("Spot \u03a9"), "Maker", {"Pan", QString(101, 'x')}}});
        MainWindow &window = on.open(libraryPath);
        QVERIFY(waitUntilIdle(window));

        selectAllLibraryRows(window);
        on.prompts.thenAnswer(QMessageBox::StandardButton(answer));
        window.uploadCurrentSelection();
        QVERIFY(waitUntilIdle(window));
        QCOMPARE(on.prompts.asked.size(), 1);
        const UserPrompts::Prompt &question = on.prompts.asked.first();
        QCOMPARE(question.defaultButton, QMessageBox::Yes);
        QCOMPARE(
            question.informativeText.split('\n'),
            (QStringList{QString::fromUtf8("Spot \u03a9, fixture name: \"Spot \u03a9\" is "
                                           "stored as \"Spot ?\""),
                         QString::fromUtf8("Spot \u03a9, channel 2 name: \"") + QString(101, 'x') +
                             "\" is stored as \"" + QString(100, 'x') + "\""}));
        QCOMPARE(int(on.device->controller()->records().size()),
                 answer == QMessageBox::Yes ? 2 : 0);
    }

    void uploadingThreeDefinitionsShowsThemInTheDevicePaneWithoutAMessage()
    {
        ControllerWindow on({"Stored One"});
        makeLibrary();
        MainWindow &window = on.open(libraryPath);
        QVERIFY(waitForDeviceRows(window, 1));

        selectAllLibraryRows(window);
        window.uploadCurrentSelection();
        QVERIFY(window.isOperationRunning());
        QVERIFY(waitForDeviceRows(window, 4));
        QCOMPARE(on.device->controller()->records().size(), 4);
        QStringList names = deviceFixtureNames(window);
        names.sort();
        QCOMPARE(names, (QStringList{"Alpha Spot", "Bravo Wash", "Charlie Par", "Stored One"}));
        QVERIFY(on.prompts.asked.isEmpty());
        QVERIFY(window.findChild<QWidget *>("progressBars")->isHidden());
    }

    void pressingUploadWithNothingSelectedDoesNothing()
    {
        ControllerWindow on({"Stored One"});
        makeLibrary();
        MainWindow &window = on.open(libraryPath);
        QVERIFY(waitForDeviceRows(window, 1));
        libraryTable(window)->clearSelection();
        QSignalSpy aborts(&window, &MainWindow::abortDownloadingFixtureList);
        QSignalSpy starts(&window, &MainWindow::operationStarts);

        window.uploadCurrentSelection();
        window.downloadCurrentSelection();
        window.deleteCurrentlySelectedFixturesOnDevice();
        QVERIFY(!window.isOperationRunning());
        QCOMPARE(aborts.count(), 0);
        QCOMPARE(starts.count(), 0);
        QTest::qWait(50);
        QCOMPARE(on.device->controller()->records().size(), 1);
        QVERIFY(on.prompts.asked.isEmpty());
    }

    void downloadingAStoredDefinitionAddsItToTheLibrary()
    {
        ControllerWindow on({"Stored One", "Stored Two"}, 6);
        makeLibrary();
        MainWindow &window = on.open(libraryPath);
        QVERIFY(waitForDeviceRows(window, 2));
        const int before = libraryRowCount(window);

        selectRows(deviceTable(window), {0, 1});
        window.downloadCurrentSelection();
        QVERIFY(waitForDeviceRows(window, 2));
        QCOMPARE(libraryRowCount(window), before + 2);
        QVERIFY(libraryFixtureNames(window).contains("Stored Two"));
        QVERIFY(window.isWindowModified());
        QVERIFY(on.prompts.asked.isEmpty());

        // The whole download is one step.
        QAction *undo = windowAction(window, "actionUndo");
        QCOMPARE(undo->text().remove(QLatin1Char('&')),
                 QString("Undo Download 2 Fixture Definitions"));
        undo->trigger();
        QCOMPARE(libraryRowCount(window), before);
        QVERIFY(!libraryFixtureNames(window).contains("Stored Two"));
        QVERIFY(!window.isWindowModified());
        QVERIFY(!undo->isEnabled());
    }

    void deletingOnTheDeviceRemovesExactlyTheSelectedSlot()
    {
        ControllerWindow on({"Stored One", "Stored Two", "Stored Three"});
        makeLibrary();
        MainWindow &window = on.open(libraryPath);
        QVERIFY(waitForDeviceRows(window, 3));

        deletionOf(1)(window, on.prompts);
        QVERIFY(waitForDeviceRows(window, 2));
        QCOMPARE(deviceFixtureNames(window), (QStringList{"Stored One", "Stored Three"}));
        QCOMPARE(on.device->controller()->records().keys(), (QList<int>{0, 2}));
        QCOMPARE(on.prompts.asked.size(), 1);
    }

    void failuresOfEachOperationShowTheirMessage_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("message");
        QTest::newRow("upload") << "upload" << UploadFailed;
        QTest::newRow("download") << "download"
                                  << "Downloading of fixture definition(s) failed.";
        QTest::newRow("delete") << "delete"
                                << "Deletion of fixture definition(s) failed.";
    }

    void failuresOfEachOperationShowTheirMessage()
    {
        QFETCH(QString, operation);
        QFETCH(QString, message);
        ControllerWindow on({"Stored One", "Stored Two"});
        makeLibrary();
        MainWindow &window = on.open(libraryPath);
        QVERIFY(waitForDeviceRows(window, 2));
        if (operation == "delete")
            on.prompts.thenAnswer(QMessageBox::Yes);
        on.prompts.thenAnswer(QMessageBox::Ok);

        // The device check and the status request pass; the transfer itself is refused.
        on.device->answerWithStatus(SimulatedController::StatusBadRequest, 1, 2);
        if (operation == "upload") {
            selectAllLibraryRows(window);
            window.uploadCurrentSelection();
        } else if (operation == "download") {
            selectRows(deviceTable(window), {0});
            // A download sends no status request.
            on.device->answerWithStatus(SimulatedController::StatusBadRequest, 1, 1);
            window.downloadCurrentSelection();
        } else {
            selectRows(deviceTable(window), {0, 1});
            window.deleteCurrentlySelectedFixturesOnDevice();
        }
        QVERIFY(waitUntilIdle(window));
        QTRY_COMPARE(on.prompts.askedTexts().last(), message);
        QCOMPARE(on.prompts.asked.last().title, QString("KDR-450P Fixture Library Editor"));
        QCOMPARE(on.prompts.asked.last().kind, UserPrompts::Kind::Information);
        QVERIFY(on.prompts.allAnswersUsed());
        QVERIFY(window.findChild<QWidget *>("progressBars")->isHidden());
    }

    void aControllerWithTooFewFreeSlotsRefusesTheUploadWithItsMessage()
    {
        ControllerWindow on({"Stored One"});
        on.device->controller()->setCapacity(3);
        makeLibrary();
        // The store holds one of three: two free for the three selected.
        uploadAllIsRefused(on, "The device seems not to have enough free memory slots to store\n"
                               "all of the selected fixtures.\n\nFree slots: 2, needed: 3.");
    }

    void aDefinitionWithoutChannelsRefusesTheUploadWithTheChannelMessage()
    {
        ControllerWindow on({"Stored One"});
        QStringList many;
        for (int i = 1; i <= 46; ++i)
            many << QStringLiteral("Ch %1").arg(i);
        makeLibrary(
            {{"Good", "Maker", {"Dimmer"}}, {"Empty", "Maker", {}}, {"Huge", "Maker", many}});
        uploadAllIsRefused(on, "Make sure that no fixture definition has less than 1 channel or "
                               "more\nthan 45 channels.\n\nEmpty: 0 channels\nHuge: 46 channels");
    }

    void aControllerOfAnotherNameGetsNothingAndTheUploadFails()
    {
        ControllerWindow on;
        makeLibrary();
        on.prompts.thenAnswer(QMessageBox::Ok);
        MainWindow &window = on.open(libraryPath);
        QVERIFY(waitUntilIdle(window));
        on.device->controller()->setName("KDR-200X");

        selectAllLibraryRows(window);
        window.uploadCurrentSelection();
        QVERIFY(waitUntilIdle(window));
        QTRY_COMPARE(on.prompts.askedTexts(), QStringList{UploadFailed});
        QVERIFY(on.device->controller()->records().isEmpty());
    }

    void yesToThePatchListQuestionClearsItAndContinuesTheUpload()
    {
        ControllerWindow on({"Stored One"});
        on.device->controller()->setPatchListEmpty(false);
        makeLibrary();
        uploadAllAnswering(on, QMessageBox::Yes, 4);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(on.prompts.askedTexts(), QStringList{PatchQuestion});
        QCOMPARE(on.prompts.asked.first().defaultButton, QMessageBox::No);
        QVERIFY(on.device->controller()->patchListEmpty());
        QCOMPARE(on.device->controller()->records().size(), 4);
    }

    void yesToThePatchListQuestionClearsItAndContinuesTheDelete()
    {
        ControllerWindow on({"Stored One", "Stored Two"});
        on.device->controller()->setPatchListEmpty(false);
        makeLibrary();
        on.prompts.thenAnswer(QMessageBox::Yes);
        MainWindow &window = on.open(libraryPath);
        QVERIFY(waitForDeviceRows(window, 2));

        deletionOf(0)(window, on.prompts);
        QVERIFY(waitForDeviceRows(window, 1));
        QCOMPARE(on.prompts.askedTexts().last(), PatchQuestion);
        QCOMPARE(deviceFixtureNames(window), QStringList{"Stored Two"});
    }

    void noToThePatchListQuestionRefreshesTheListWithoutAMessage()
    {
        ControllerWindow on({"Stored One", "Stored Two"});
        on.device->controller()->setPatchListEmpty(false);
        makeLibrary();
        MainWindow &window = on.open(libraryPath);
        QVERIFY(waitForDeviceRows(window, 2));
        on.device->clearFrameLog();

        selectRows(deviceTable(window), {0});
        on.prompts.thenAnswer(QMessageBox::Yes);
        on.prompts.thenAnswer(QMessageBox::No);
        window.deleteCurrentlySelectedFixturesOnDevice();
        QVERIFY(waitForDeviceRows(window, 2));
        QCOMPARE(on.prompts.askedTexts().last(), PatchQuestion);
        QVERIFY(!on.device->controller()->patchListEmpty());
        QCOMPARE(on.device->controller()->records().size(), 2);
        bool listReadAgain = false;
        for (const SimulatedFrameInfo &frame : on.device->frameLog())
            listReadAgain |= frame.command == SimulatedController::FixtureList;
        QVERIFY(listReadAgain);
        QVERIFY(window.findChild<QWidget *>("progressBars")->isHidden());
    }
};

QTEST_MAIN(DeviceTransfers)
#include "test_device_transfers.moc"
