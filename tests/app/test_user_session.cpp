#include <QtTest>

#include "app/mainwindow.h"
#include "devicetesting.h"
#include "views/deviceform.h"
#include "windowtesting.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

// A first session as a new user has it: the editor started as with --simulate, everything
// done with mouse clicks on the real window. With KDR_SCREENSHOT_DIR set (the session
// script runs it under Xvfb) it saves the window before and after.
class UserSession : public QObject, private TestFolder
{
    Q_OBJECT

private:
    static void clickRow(QTableView *table, int row, Qt::KeyboardModifiers modifiers = {})
    {
        const QRect cell = table->visualRect(table->model()->index(row, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers, cell.center());
    }

    static int rowNamed(QTableView *table, const QString &name)
    {
        for (int row = 0; row < table->model()->rowCount(); ++row)
            if (table->model()->index(row, 0).data().toString() == name)
                return row;
        return -1;
    }

    static void clickToolBar(MainWindow &window, const QString &text)
    {
        auto *toolBar = window.findChild<QToolBar *>("toolBar");
        for (QAction *action : toolBar->actions())
            if (action->text() == text) {
                QTest::mouseClick(toolBar->widgetForAction(action), Qt::LeftButton);
                return;
            }
        QFAIL(qPrintable("no tool bar action " + text));
    }

    static void screenshot(MainWindow &window, const QString &name)
    {
        const QString folder = qEnvironmentVariable("KDR_SCREENSHOT_DIR");
        if (folder.isEmpty())
            return;
        QDir().mkpath(folder);
        QVERIFY(window.grab().save(QDir(folder).filePath(name)));
    }

private slots:
    void initTestCase() { QVERIFY(makeTestFolder(Texts::English)); }

    void uploadThreeThenDownloadOneAndDeleteItOnTheDevice()
    {
        const QString library = dir.filePath("my-rig.blfl");
        QVERIFY(writeLibrary(
            library, {{"Beam 230", "Northlight", {"Pan", "Tilt", "Colour", "Gobo", "Dimmer"}},
                      {"Blinder 2", "Northlight", {"Dimmer 1", "Dimmer 2"}},
                      {"Flower FX", "Glow & Co", {"Mode", "Speed", "Strobe"}},
                      {"Pixel Bar 8", "Glow & Co", {"Red", "Green", "Blue", "White"}},
                      {"Wash 19", "Northlight", {"Pan", "Tilt", "Red", "Green", "Blue"}}}));
        DeviceLinkOptions simulate;
        simulate.simulate = true;
        ScriptedPrompts prompts;
        MainWindow window(library, simulate);
        window.resize(1200, 690);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The demo controller holds five definitions.
        QVERIFY(waitForDeviceRows(window, 5));
        QTest::qWait(300);
        screenshot(window, "session-before.png");

        QTableView *libraryView = libraryTable(window);
        clickRow(libraryView, 0);
        clickRow(libraryView, 2, Qt::ControlModifier);
        clickRow(libraryView, 4, Qt::ControlModifier);
        QCOMPARE(libraryView->selectionModel()->selectedRows().size(), 3);
        clickToolBar(window, "Upload selection to device");
        QVERIFY(waitForDeviceRows(window, 8));
        const QStringList onDevice = deviceFixtureNames(window);
        for (const char *name : {"Beam 230", "Flower FX", "Wash 19"})
            QVERIFY2(onDevice.contains(name), name);

        QTableView *deviceView = deviceTable(window);
        const int hazer = rowNamed(deviceView, "Hazer 1000");
        QVERIFY(hazer >= 0);
        clickRow(deviceView, hazer);
        clickToolBar(window, "Download selection to computer");
        QVERIFY(QTest::qWaitFor([&] { return libraryRowCount(window) == 6; }, 10000));
        QVERIFY(libraryFixtureNames(window).contains("Hazer 1000"));
        QVERIFY(waitUntilIdle(window));

        clickRow(deviceView, rowNamed(deviceView, "Hazer 1000"));
        prompts.thenAnswer(QMessageBox::Yes);
        QTest::mouseClick(window.findChild<QPushButton *>("removeFixtureDefinitionFromDevice"),
                          Qt::LeftButton);
        QVERIFY(waitForDeviceRows(window, 7));
        QVERIFY(!deviceFixtureNames(window).contains("Hazer 1000"));
        QCOMPARE(prompts.askedTexts(),
                 QStringList{"Delete 1 fixture definition on KDR-450P #1 (Stage left)?"});
        QTest::qWait(300);
        screenshot(window, "session-after.png");

        // Leave without the save question: the downloaded definition is not wanted here.
        prompts.thenAnswer(QMessageBox::Discard);
        QVERIFY(window.close());
    }
};

QTEST_MAIN(UserSession)
#include "test_user_session.moc"
