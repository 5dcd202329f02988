#include "windowtesting.h"

#include "app/mainwindow.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

// New, Open, Save, Save As and Import from the File menu: their dialogs, questions, messages,
// the title and the modified mark.
class LibraryCommands : public QObject, private StageFiles
{
    Q_OBJECT

    const QString appTitle = QStringLiteral("KDR-450P Fixture Library Editor");
    const QString saveQuestion =
        QStringLiteral("The current library has been modified\nDo you want to save the changes?");
    const QString openFailed = QStringLiteral("Failed to open the library.");

private slots:
    void initTestCase()
    {
        QVERIFY(makeStageFiles());
        QVERIFY(writeLibrary(path("extra.blfl"), {{"Strobe 1500", "Flash", {"Rate"}}}));
        QVERIFY(writeLibrary(path("empty.blfl"), QList<DefinitionSpec>()));
        QFile broken(path("broken.blfl"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("definitely not gzip");
    }

    void init() { clearSettings(); }

    void theTitleShowsTheFileNameAndStoresItsFolder()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        setSettingValue("working_dir", "/elsewhere");
        window.updateWindowTitle(QString());
        QCOMPARE(window.windowTitle(), appTitle + " - [*]Unnamed");
        QCOMPARE(settingValue("library"), QString());
        QCOMPARE(settingValue("working_dir"), QStringLiteral("/elsewhere"));

        window.updateWindowTitle(path("stage.blfl"));
        QCOMPARE(window.windowTitle(), appTitle + " - [*]stage.blfl");
        QCOMPARE(settingValue("library"), path("stage.blfl"));
        QCOMPARE(settingValue("working_dir"), QFileInfo(path("stage.blfl")).absolutePath());
    }

    void theModifiedMarkShowsAsAStar()
    {
        ScriptedPrompts prompts;
        MainWindow window(path("stage.blfl"));
        window.windowModified();
        QCOMPARE(shownTitle(window), appTitle + " - *stage.blfl");
        window.windowUnModified();
        QCOMPARE(shownTitle(window), appTitle + " - stage.blfl");
    }

    void theToolBarHoldsFiveLibraryActionsASeparatorAndTwoTransferActions()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        auto *toolBar = window.findChild<QToolBar *>(QStringLiteral("toolBar"));
        QVERIFY(toolBar);
        const QList<QAction *> actions = toolBar->actions();
        QCOMPARE(actions.size(), 11);
        // Undo and Redo follow, disabled while there is nothing to undo.
        QVERIFY(actions[8]->isSeparator());
        QCOMPARE(actions[9]->text().remove(QLatin1Char('&')), QString("Undo"));
        QVERIFY(!actions[9]->isEnabled() && !actions[9]->icon().isNull());
        QCOMPARE(actions[10]->text().remove(QLatin1Char('&')), QString("Redo"));
        const QStringList texts = {"New Library",
                                   "Open Library",
                                   "Save Library",
                                   "Save Library As",
                                   "Import Library",
                                   QString(),
                                   "Upload selection to device",
                                   "Download selection to computer"};
        for (int i = 0; i < texts.size(); ++i) {
            QCOMPARE(actions[i]->isSeparator(), i == 5);
            QCOMPARE(actions[i]->text(), texts[i]);
            QCOMPARE(actions[i]->icon().isNull(), i == 5);
        }
        QCOMPARE(toolBar->iconSize(), QSize(45, 32));
        QCOMPARE(toolBar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    }

    void newOnAModifiedLibraryAsksAndDiscardDropsTheChanges()
    {
        ScriptedPrompts prompts;
        MainWindow window(path("stage.blfl"));
        window.windowModified();
        prompts.thenAnswer(QMessageBox::Discard);
        triggerAction(window, "actionNew_Archive");
        QCOMPARE(prompts.askedTexts(), QStringList{saveQuestion});
        QCOMPARE(prompts.asked.first().defaultButton, QMessageBox::Save);
        QCOMPARE(shownTitle(window), appTitle + " - Unnamed");
        QCOMPARE(libraryRowCount(window), 0);
        QVERIFY(!window.isWindowModified());
        QCOMPARE(fixtureNamesIn(path("stage.blfl")).size(), 2);
    }

    void newOnAnUnmodifiedLibraryAsksNothing()
    {
        ScriptedPrompts prompts;
        MainWindow window(path("stage.blfl"));
        triggerAction(window, "actionNew_Archive");
        QVERIFY(prompts.asked.isEmpty());
        QCOMPARE(libraryRowCount(window), 0);
    }

    void newKeepsTheLibraryWhenTheUserWantedToSaveButCancelledSaveAs()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        triggerAction(window, "actionNew_Archive");
        window.windowModified();
        prompts.thenAnswer(QMessageBox::Save);
        prompts.thenCancelFileDialog();
        triggerAction(window, "actionNew_Archive");
        QCOMPARE(prompts.asked.size(), 2);
        QCOMPARE(prompts.asked[1].kind, UserPrompts::Kind::SaveFile);
        QVERIFY(window.isWindowModified());
    }

    void openOnANewLibraryStartsInTheWorkingFolder()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        setSettingValue("working_dir", files.path());
        prompts.thenCancelFileDialog();
        triggerAction(window, "action_Open_Archive");
        QCOMPARE(prompts.asked.size(), 1);
        QCOMPARE(prompts.asked[0].kind, UserPrompts::Kind::OpenFile);
        QCOMPARE(prompts.asked[0].text, QStringLiteral("Open Fixture Definition Library"));
        QCOMPARE(prompts.asked[0].filter, QStringLiteral("Brenlow Fixture Libraries (*.blfl)"));
        QCOMPARE(prompts.asked[0].directory, files.path());
        QCOMPARE(shownTitle(window), appTitle + " - Unnamed");
    }

    // Discard at the question goes on to the file dialog.
    void openShowsTheChosenLibrary()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        window.windowModified();
        prompts.thenAnswer(QMessageBox::Discard);
        prompts.thenChooseFile(path("stage.blfl"));
        triggerAction(window, "action_Open_Archive");
        QCOMPARE(prompts.asked.size(), 2);
        QCOMPARE(shownTitle(window), appTitle + " - stage.blfl");
        QCOMPARE(libraryRowCount(window), 2);
        QVERIFY(!window.isWindowModified());
        QCOMPARE(settingValue("library"), path("stage.blfl"));
    }

    void openStartsBesideTheCurrentFile()
    {
        ScriptedPrompts prompts;
        MainWindow window(path("stage.blfl"));
        prompts.thenCancelFileDialog();
        triggerAction(window, "action_Open_Archive");
        QCOMPARE(prompts.asked[0].directory, QFileInfo(path("stage.blfl")).absolutePath());
    }

    void anUnreadableFileIsReportedAndTheDialogComesBack()
    {
        ScriptedPrompts prompts;
        MainWindow window(path("stage.blfl"));
        prompts.thenChooseFile(path("broken.blfl"));
        prompts.thenAnswer(QMessageBox::Ok);
        prompts.thenChooseFile(path("extra.blfl"));
        triggerAction(window, "action_Open_Archive");
        QCOMPARE(prompts.asked.size(), 3);
        QCOMPARE(prompts.asked[1].kind, UserPrompts::Kind::Information);
        QCOMPARE(prompts.asked[1].text, openFailed);
        QCOMPARE(prompts.asked[1].title, appTitle);
        QCOMPARE(prompts.asked[2].kind, UserPrompts::Kind::OpenFile);
        QCOMPARE(libraryFixtureNames(window), QStringList{"Strobe 1500"});
    }

    void aLargeFileIsOpenedOnlyAfterTheUserAgrees()
    {
        QFile large(path("large.blfl"));
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(5242881));
        large.close();
        ScriptedPrompts prompts;
        MainWindow window(path("stage.blfl"));
        prompts.thenChooseFile(large.fileName());
        prompts.thenAnswer(QMessageBox::No);
        triggerAction(window, "action_Open_Archive");
        QCOMPARE(prompts.asked.size(), 2);
        QVERIFY(prompts.asked[1].text.startsWith("The file " + large.fileName()));
        QCOMPARE(libraryRowCount(window), 2);
        QCOMPARE(shownTitle(window), appTitle + " - stage.blfl");
    }

    void saveOnANeverSavedLibraryEndsInSaveAs()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        setSettingValue("working_dir", files.path());
        window.windowModified();
        const QString target = path("saved-new.blfl");
        prompts.thenChooseFile(target);
        triggerAction(window, "actionSave_Archive");
        QCOMPARE(prompts.asked.size(), 1);
        QCOMPARE(prompts.asked[0].kind, UserPrompts::Kind::SaveFile);
        QCOMPARE(prompts.asked[0].text, QStringLiteral("Save library as"));
        QCOMPARE(prompts.asked[0].filter,
                 QStringLiteral("Brenlow Fixture Definition Library (*.blfl)"));
        QCOMPARE(prompts.asked[0].directory, files.path());
        QVERIFY(QFile::exists(target));
        QCOMPARE(shownTitle(window), appTitle + " - saved-new.blfl");
        QVERIFY(!window.isWindowModified());
    }

    void saveWritesAnExistingFileWithoutAsking()
    {
        QVERIFY(QFile::copy(path("stage.blfl"), path("resave.blfl")));
        ScriptedPrompts prompts;
        MainWindow window(path("resave.blfl"));
        window.windowModified();
        triggerAction(window, "actionSave_Archive");
        QVERIFY(prompts.asked.isEmpty());
        QVERIFY(!window.isWindowModified());
        QCOMPARE(fixtureNamesIn(path("resave.blfl")).size(), 2);
    }

    void saveOfARemovedFileAsksForANewName()
    {
        QVERIFY(QFile::copy(path("stage.blfl"), path("removed.blfl")));
        ScriptedPrompts prompts;
        MainWindow window(path("removed.blfl"));
        QVERIFY(QFile::remove(path("removed.blfl")));
        prompts.thenCancelFileDialog();
        triggerAction(window, "actionSave_Archive");
        QCOMPARE(prompts.asked.size(), 1);
        QCOMPARE(prompts.asked[0].kind, UserPrompts::Kind::SaveFile);
    }

    void cancellingSaveAsLeavesTitleAndMarkAsTheyWere()
    {
        ScriptedPrompts prompts;
        MainWindow window(path("stage.blfl"));
        window.windowModified();
        prompts.thenCancelFileDialog();
        triggerAction(window, "actionSave_archive_as");
        QCOMPARE(prompts.asked.size(), 1);
        QCOMPARE(shownTitle(window), appTitle + " - *stage.blfl");
        QVERIFY(window.isWindowModified());
    }

    void aFailedSaveAsIsReportedAndAskedAgain()
    {
        ScriptedPrompts prompts;
        MainWindow window(path("stage.blfl"));
        window.windowModified();
        prompts.thenChooseFile(path("no/such/folder/x.blfl"));
        prompts.thenAnswer(QMessageBox::Ok);
        prompts.thenChooseFile(path("second-try.blfl"));
        triggerAction(window, "actionSave_archive_as");
        QCOMPARE(prompts.asked.size(), 3);
        QCOMPARE(prompts.asked[1].text, QStringLiteral("Failed to save the library."));
        QCOMPARE(shownTitle(window), appTitle + " - second-try.blfl");
        QCOMPARE(fixtureNamesIn(path("second-try.blfl")).size(), 2);
    }

    void afterAFailedSaveAsSaveStillWritesTheOpenFile()
    {
        QVERIFY(QFile::copy(path("stage.blfl"), path("target.blfl")));
        ScriptedPrompts prompts;
        MainWindow window(path("target.blfl"));
        prompts.thenChooseRefusedFile(path("no/such/folder/x.blfl"), QMessageBox::Ok);
        triggerAction(window, "actionSave_archive_as");
        QCOMPARE(prompts.asked.size(), 3);
        window.windowModified();
        triggerAction(window, "actionSave_Archive");
        QCOMPARE(prompts.asked.size(), 3);
        QVERIFY(!window.isWindowModified());
        QCOMPARE(shownTitle(window), appTitle + " - target.blfl");
    }

    void importAddsTheDefinitionsInOneStepAndMarksTheLibraryModified()
    {
        ScriptedPrompts prompts;
        MainWindow window(path("stage.blfl"));
        prompts.thenChooseFile(path("extra.blfl"));
        triggerAction(window, "actionImport_Library");
        QCOMPARE(prompts.asked.size(), 1);
        QCOMPARE(prompts.asked[0].directory, QFileInfo(path("stage.blfl")).absolutePath());
        QCOMPARE(libraryRowCount(window), 3);
        QVERIFY(libraryFixtureNames(window).contains("Strobe 1500"));
        QVERIFY(window.isWindowModified());
        QCOMPARE(shownTitle(window), appTitle + " - *stage.blfl");

        // One step, undone as one; a library without definitions adds nothing to save.
        windowAction(window, "actionUndo")->trigger();
        QCOMPARE(libraryRowCount(window), 2);
        QVERIFY(!window.isWindowModified());
        prompts.thenChooseFile(path("empty.blfl"));
        triggerAction(window, "actionImport_Library");
        QCOMPARE(prompts.asked.size(), 2);
        QCOMPARE(libraryRowCount(window), 2);
        QVERIFY(!window.isWindowModified());
    }

    void importOfAnUnreadableFileReportsAndLeavesTheLibrary()
    {
        ScriptedPrompts prompts;
        MainWindow window(path("stage.blfl"));
        prompts.thenChooseFile(path("broken.blfl"));
        prompts.thenAnswer(QMessageBox::Ok);
        triggerAction(window, "actionImport_Library");
        QCOMPARE(prompts.askedTexts().last(), openFailed);
        QCOMPARE(prompts.asked.size(), 2);
        QCOMPARE(libraryRowCount(window), 2);
        QVERIFY(!window.isWindowModified());
    }
};

QTEST_MAIN(LibraryCommands)
#include "test_library_commands.moc"
