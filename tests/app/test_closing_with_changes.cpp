#include "windowtesting.h"

#include "app/mainwindow.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

// Closing the window, or replacing its library with New or Open, with and without unsaved
// library changes, also after undoing back to the saved state.
class ClosingWithChanges : public QObject
{
    Q_OBJECT

    QTemporaryDir settingsDir;
    QTemporaryDir files;

    QString copyOfSample(const QString &name)
    {
        const QString path = files.filePath(name);
        QFile::remove(path);
        if (!QFile::copy(QStringLiteral(KDR_SOURCE_DIR "/tests/app/data/sample.blfl"), path))
            return QString();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }

    // Shows the window and waits for the end of its first device discovery, which a close
    // would otherwise wait for.
    static bool showWhenIdle(MainWindow &window)
    {
        window.show();
        return QTest::qWaitFor([&] { return !window.isOperationRunning(); });
    }

private slots:
    void initTestCase()
    {
        QVERIFY(settingsDir.isValid());
        useTestSettings(settingsDir.path());
    }

    void init() { clearSettings(); }

    void anUnchangedLibraryClosesWithoutAQuestion()
    {
        const QString path = copyOfSample("plain.blfl");
        ScriptedPrompts prompts;
        MainWindow window(path);
        QVERIFY(showWhenIdle(window));
        QVERIFY(window.close());
        QVERIFY(prompts.asked.isEmpty());
        QCOMPARE(settingValue("library"), path);
    }

    void aChangedLibraryAsksSaveDiscardOrCancel()
    {
        ScriptedPrompts prompts;
        MainWindow window(copyOfSample("changed.blfl"));
        QVERIFY(showWhenIdle(window));
        window.windowModified();
        prompts.thenAnswer(QMessageBox::Discard);
        QVERIFY(window.close());
        QCOMPARE(prompts.asked.size(), 1);
        const UserPrompts::Prompt &question = prompts.asked.first();
        QCOMPARE(question.text, QStringLiteral("The library has been modified."));
        QCOMPARE(question.informativeText, QStringLiteral("Do you want to save your changes?"));
        QCOMPARE(question.buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(question.defaultButton, QMessageBox::Save);
    }

    void cancelKeepsTheWindowOpenAndStillRemembersTheLibrary()
    {
        const QString path = copyOfSample("cancel.blfl");
        ScriptedPrompts prompts;
        MainWindow window(path);
        QVERIFY(showWhenIdle(window));
        window.windowModified();
        clearSettings();
        prompts.thenAnswer(QMessageBox::Cancel);
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QVERIFY(window.isWindowModified());
        QCOMPARE(settingValue("library"), path);
    }

    void saveWritesTheLibraryAndCloses()
    {
        const QString path = copyOfSample("save.blfl");
        ScriptedPrompts prompts;
        MainWindow window(path);
        QVERIFY(showWhenIdle(window));
        QVERIFY(QFile::remove(path));
        window.windowModified();
        prompts.thenAnswer(QMessageBox::Save);
        prompts.thenChooseFile(path); // the file is gone, so Save asks for a name
        QVERIFY(window.close());
        QVERIFY(!fixtureNamesIn(path).isEmpty());
    }

    void aSaveThatDoesNotHappenKeepsTheWindowOpen()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        QVERIFY(showWhenIdle(window));
        window.windowModified();
        prompts.thenAnswer(QMessageBox::Save);
        prompts.thenCancelFileDialog(); // a new library has no file: Save As, cancelled
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QVERIFY(window.isWindowModified());
    }

    void leavingAfterUndoingBackToTheSavedStateAsksNothing_data()
    {
        QTest::addColumn<QString>("leave");
        QTest::newRow("close") << "close";
        QTest::newRow("new") << "new";
        QTest::newRow("open") << "open";
    }

    void leavingAfterUndoingBackToTheSavedStateAsksNothing()
    {
        QFETCH(QString, leave);
        const QString path = copyOfSample(leave + ".blfl");
        const int sampleRows = fixtureNamesIn(path).size();
        ScriptedPrompts prompts;
        MainWindow window(path);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTRY_VERIFY(!window.isOperationRunning());
        QAction *undo = windowAction(window, "actionUndo");
        QAction *redo = windowAction(window, "actionRedo");
        const QString saved = QStringLiteral("KDR-450P Fixture Library Editor - ") + leave + ".blfl";
        const QString marked = QStringLiteral("KDR-450P Fixture Library Editor - *") + leave + ".blfl";
        const auto leaveWindow = [&] {
            if (leave == "close")
                return window.close();
            windowAction(window, leave == "new" ? "actionNew_Archive" : "action_Open_Archive")
                ->trigger();
            // A library that was replaced has nothing to undo or redo.
            return !undo->isEnabled() && !redo->isEnabled();
        };

        // Saved after one step; typing undone by hand leaves nothing to save.
        window.findChild<QPushButton *>("addFixtureDefinition")->click();
        windowAction(window, "actionSave_Archive")->trigger();
        QCOMPARE(shownTitle(window), saved);
        auto *name = window.findChild<QLineEdit *>("fixtureName");
        QTest::keyClick(name, Qt::Key_End);
        QTest::keyClicks(name, "x");
        QCOMPARE(shownTitle(window), marked);
        QTest::keyClick(name, Qt::Key_Backspace);
        QCOMPARE(shownTitle(window), saved);

        // A second step; the mark follows the saved state both ways.
        QTableView *table = libraryTable(window);
        table->setFocus();
        table->selectRow(0);
        QTest::keyClick(table, Qt::Key_Delete);
        QCOMPARE(shownTitle(window), marked);
        undo->trigger();
        QCOMPARE(shownTitle(window), saved);
        undo->trigger();
        QCOMPARE(shownTitle(window), marked);
        redo->trigger();
        QCOMPARE(shownTitle(window), saved);
        redo->trigger();
        QCOMPARE(shownTitle(window), marked);

        // Past the saved state the question comes; cancelled, nothing changes.
        prompts.thenAnswer(QMessageBox::Cancel);
        QVERIFY(!leaveWindow());
        QCOMPARE(prompts.asked.size(), 1);
        QCOMPARE(prompts.asked.first().buttons,
                 QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(libraryRowCount(window), sampleRows);
        QVERIFY(window.isVisible());
        // A cancelled close reads the device list again.
        QTRY_VERIFY(!window.isOperationRunning());

        // Back at it, the library is left without one.
        undo->trigger();
        QCOMPARE(shownTitle(window), saved);
        if (leave == "open")
            prompts.thenChooseFile(copyOfSample("other.blfl"));
        QVERIFY(leaveWindow());
        QCOMPARE(prompts.asked.size(), leave == "open" ? 2 : 1);
        QCOMPARE(prompts.unexpected, 0);
        if (leave == "close")
            return;
        QCOMPARE(libraryRowCount(window), leave == "new" ? 0 : sampleRows);
        QVERIFY(!window.isWindowModified());
    }

    void quitClosesTheWindow()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        QVERIFY(showWhenIdle(window));
        windowAction(window, "actionQuit")->trigger();
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(ClosingWithChanges)
#include "test_closing_with_changes.moc"
