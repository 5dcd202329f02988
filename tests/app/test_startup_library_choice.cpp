#include "../library/archivehelpers.h"
#include "windowtesting.h"

#include "app/mainwindow.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Which library the window shows when it starts: the command-line path, else the last
// library, else a new "Unnamed" one; large files are opened only when the user agrees.
class StartupLibraryChoice : public QObject, private StageFiles
{
    Q_OBJECT

    const QString largeQuestion =
        QStringLiteral("The file %1 seems to be rather large.\nDo you want to continue anyway?");

    QString fileOfSize(const QString &name, qint64 size) const
    {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly) || !file.resize(size))
            return QString();
        return file.fileName();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(makeStageFiles());
        QVERIFY(writeLibrary(path("last.blfl"), {{"Last Used", "Other", {"Dimmer"}}}));
    }

    void init() { clearSettings(); }

    void withoutArgumentOrSettingAnEmptyUnnamedLibraryIsShown()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        QCOMPARE(shownTitle(window), QStringLiteral("KDR-450P Fixture Library Editor - Unnamed"));
        QCOMPARE(libraryRowCount(window), 0);
        QVERIFY(!window.isWindowModified());
        QVERIFY(prompts.asked.isEmpty());
    }

    void aPathOnTheCommandLineOpensThatLibrary()
    {
        setSettingValue("library", path("last.blfl"));
        ScriptedPrompts prompts;
        MainWindow window(path("stage.blfl"));
        QCOMPARE(shownTitle(window),
                 QStringLiteral("KDR-450P Fixture Library Editor - stage.blfl"));
        QCOMPARE(libraryFixtureNames(window).size(), 2);
        QVERIFY(libraryFixtureNames(window).contains("Wash 575"));
        QVERIFY(!window.isWindowModified());
        QCOMPARE(settingValue("library"), path("stage.blfl"));
        QCOMPARE(settingValue("working_dir"), QFileInfo(path("stage.blfl")).absolutePath());
        QVERIFY(prompts.asked.isEmpty());
    }

    void aPathWithCharactersBeyondLatin1Opens()
    {
        QVERIFY(QDir(files.path()).mkpath(QStringLiteral("Bühne/Сцена 舞台")));
        const QString unicodePath = path(QStringLiteral("Bühne/Сцена 舞台/Библиотека.blfl"));
        QVERIFY(writeLibrary(unicodePath, {{"Ünïcode Spot", "Acme", {"Pan"}}}));
        ScriptedPrompts prompts;
        MainWindow window(unicodePath);
        QCOMPARE(libraryFixtureNames(window), QStringList{"Ünïcode Spot"});
        QVERIFY(shownTitle(window).endsWith(QStringLiteral("Библиотека.blfl")));
    }

    void withoutArgumentTheLastLibraryOpens()
    {
        setSettingValue("library", path("last.blfl"));
        ScriptedPrompts prompts;
        MainWindow window;
        QCOMPARE(libraryFixtureNames(window), QStringList{"Last Used"});
        QCOMPARE(shownTitle(window), QStringLiteral("KDR-450P Fixture Library Editor - last.blfl"));
    }

    void anUnreadableArgumentFallsBackToTheLastLibrary()
    {
        setSettingValue("library", path("last.blfl"));
        QFile broken(path("broken.blfl"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not a library");
        broken.close();
        ScriptedPrompts prompts;
        MainWindow window(broken.fileName());
        QCOMPARE(libraryFixtureNames(window), QStringList{"Last Used"});
        QVERIFY(prompts.asked.isEmpty());
    }

    void aMissingLastLibraryGivesUnnamed()
    {
        setSettingValue("library", path("gone.blfl"));
        ScriptedPrompts prompts;
        MainWindow window;
        QCOMPARE(shownTitle(window), QStringLiteral("KDR-450P Fixture Library Editor - Unnamed"));
        QCOMPARE(libraryRowCount(window), 0);
        QCOMPARE(settingValue("library"), QString());
    }

    void aFileOfExactlyFiveMebibytesIsOpenedWithoutAsking()
    {
        const QString file = fileOfSize("exact.blfl", 5242880);
        QVERIFY(!file.isEmpty());
        ScriptedPrompts prompts;
        MainWindow window(file);
        QVERIFY(prompts.asked.isEmpty());
    }

    void oneByteMoreAsksFirstAndNoGivesUnnamedDespiteTheLastLibrary()
    {
        setSettingValue("library", path("last.blfl"));
        const QString file = fileOfSize("large.blfl", 5242881);
        QVERIFY(!file.isEmpty());
        ScriptedPrompts prompts;
        prompts.thenAnswer(QMessageBox::No);
        MainWindow window(file);
        QCOMPARE(prompts.askedTexts(), QStringList{largeQuestion.arg(file)});
        QCOMPARE(prompts.asked.first().kind, UserPrompts::Kind::Question);
        QCOMPARE(prompts.asked.first().defaultButton, QMessageBox::No);
        QCOMPARE(prompts.asked.first().title, QStringLiteral("KDR-450P Fixture Library Editor"));
        QCOMPARE(shownTitle(window), QStringLiteral("KDR-450P Fixture Library Editor - Unnamed"));
        QCOMPARE(libraryRowCount(window), 0);
    }

    void yesToTheSizeQuestionTriesTheFileAndThenTheLastLibrary()
    {
        setSettingValue("library", path("last.blfl"));
        const QString file = fileOfSize("large2.blfl", 5242881);
        ScriptedPrompts prompts;
        prompts.thenAnswer(QMessageBox::Yes);
        MainWindow window(file);
        QCOMPARE(prompts.asked.size(), 1);
        QCOMPARE(libraryFixtureNames(window), QStringList{"Last Used"});
    }

    void aLargeLastLibraryIsAlsoAskedAbout()
    {
        const QString file = fileOfSize("large3.blfl", 6 * 1024 * 1024);
        setSettingValue("library", file);
        ScriptedPrompts prompts;
        prompts.thenAnswer(QMessageBox::No);
        MainWindow window;
        QCOMPARE(prompts.askedTexts(), QStringList{largeQuestion.arg(file)});
        QCOMPARE(shownTitle(window), QStringLiteral("KDR-450P Fixture Library Editor - Unnamed"));
    }

    // Saving would drop an entry that did not read, so every way a file becomes the library
    // asks first: No gives a new library at start and keeps the open one at File > Open.
    void aFileWithAnUnreadableEntryIsOpenedOnlyAfterTheUserAgrees_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("yes");
        for (const char *way : {"command line", "last library", "File > Open"}) {
            QTest::addRow("%s, Yes", way) << QString(way) << true;
            QTest::addRow("%s, No", way) << QString(way) << false;
        }
    }

    void aFileWithAnUnreadableEntryIsOpenedOnlyAfterTheUserAgrees()
    {
        QFETCH(QString, way);
        QFETCH(bool, yes);
        const QString damaged = path("ampersand.blfl");
        const QByteArray definition = "<?xml version=\"1.0\"?>\n<BrenlowFixtureDefinition>"
                                      "<Model Name=\"%1\"/><Manufacturer Name=\"%2\"/>"
                                      "<Personality/></BrenlowFixtureDefinition>\n";
        QVERIFY(writeRawArchive(
            damaged, {{"blfl.version", "01.00"},
                      {"good.xml", QString(definition).arg("Spot 1", "Acme").toUtf8()},
                      {"bare.xml", QString(definition).arg("Spot 2", "Smoke & Co").toUtf8()}}));
        const QString question =
            QStringLiteral("The file contains information not supported by this software "
                           "version.\nData will be lost when storing this file.Continue anyway?");
        setSettingValue("library", way == "last library" ? damaged : path("last.blfl"));
        ScriptedPrompts prompts;
        const bool atOpen = way == "File > Open";
        if (atOpen)
            prompts.thenChooseFile(damaged);
        prompts.thenAnswer(yes ? QMessageBox::Yes : QMessageBox::No);
        MainWindow window(way == "command line" ? damaged : QString());
        if (atOpen)
            windowAction(window, "action_Open_Archive")->trigger();

        QCOMPARE(prompts.asked.size(), atOpen ? 2 : 1);
        QCOMPARE(prompts.askedTexts().last(), question);
        QCOMPARE(prompts.asked.last().defaultButton, QMessageBox::No);
        QVERIFY(prompts.allAnswersUsed());
        QCOMPARE(prompts.unexpected, 0);
        if (yes) {
            QCOMPARE(libraryFixtureNames(window), QStringList{"Spot 1"});
            QCOMPARE(shownTitle(window),
                     QStringLiteral("KDR-450P Fixture Library Editor - ampersand.blfl"));
        } else if (atOpen) {
            QCOMPARE(libraryFixtureNames(window), QStringList{"Last Used"});
        } else {
            QCOMPARE(shownTitle(window),
                     QStringLiteral("KDR-450P Fixture Library Editor - Unnamed"));
            QCOMPARE(libraryRowCount(window), 0);
        }
        QVERIFY(!window.isWindowModified());
    }
};

QTEST_MAIN(StartupLibraryChoice)
#include "test_startup_library_choice.moc"
