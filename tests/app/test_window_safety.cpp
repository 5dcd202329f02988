#include "devicetesting.h"
#include "simulatedcontroller.h"
#include "simulateddevice.h"
#include "windowtesting.h"

#include "app/mainwindow.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"
#include "model/uilanguage.h"
#include "views/libraryform.h"
#include "views/localfixturedefinitioneditform.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

// What a key press or a slip of the user must never cost: unsaved changes, typed characters
// that are silently dropped, a saved file the Open dialog then hides.
class WindowSafety : public QObject, private StageFiles
{
    Q_OBJECT

    const QString appTitle = QStringLiteral("KDR-450P Fixture Library Editor");

    template <typename T> static T *child(MainWindow &window, const char *name)
    {
        T *found = window.findChild<T *>(QLatin1String(name));
        if (!found)
            qWarning("no widget %s", name);
        return found;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(makeStageFiles());
        // The English plural forms of the counted texts.
        QCOMPARE(UiLanguage::install(qApp, {QStringLiteral("en")}), QString("en"));
    }

    void init() { clearSettings(); }

    void escapeAtNewOrOpenKeepsTheModifiedLibrary_data()
    {
        QTest::addColumn<QByteArray>("action");
        QTest::newRow("New") << QByteArray("actionNew_Archive");
        QTest::newRow("Open") << QByteArray("action_Open_Archive");
    }

    void escapeAtNewOrOpenKeepsTheModifiedLibrary()
    {
        QFETCH(QByteArray, action);
        ScriptedPrompts prompts;
        MainWindow window(path("stage.blfl"));
        window.windowModified();
        prompts.thenPressEscape();
        triggerAction(window, action.constData());

        // One question, asked as the close question is; no file dialog follows it.
        QCOMPARE(prompts.asked.size(), 1);
        const UserPrompts::Prompt &question = prompts.asked.first();
        QCOMPARE(question.buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(question.defaultButton, QMessageBox::Save);
        QCOMPARE(question.escapeButton, QMessageBox::Cancel);
        QCOMPARE(libraryFixtureNames(window).size(), 2);
        QVERIFY(window.isWindowModified());
        QCOMPARE(shownTitle(window), appTitle + " - *stage.blfl");
    }

    void saveAtNewWritesTheChangesBeforeTheLibraryIsReplaced()
    {
        QVERIFY(writeLibrary(path("kept.blfl"), {{"Spot 250", "Acme", {"Pan"}}}));
        ScriptedPrompts prompts;
        MainWindow window(path("kept.blfl"));
        QPushButton *add = child<QPushButton>(window, "addFixtureDefinition");
        QVERIFY(add);
        add->click();
        prompts.thenAnswer(QMessageBox::Save);
        triggerAction(window, "actionNew_Archive");
        QCOMPARE(prompts.asked.size(), 1);
        QCOMPARE(fixtureNamesIn(path("kept.blfl")).size(), 2);
        QCOMPARE(libraryRowCount(window), 0);
    }

    // Each short-name field takes exactly what is stored and counts down to it.
    void aShortNameFieldKeepsWhatItShows_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("autoBox");
        QTest::addColumn<int>("limit");
        QTest::newRow("fixture") << QByteArray("fixtureNameShort")
                                 << QByteArray("autoFixtureNameShort") << 20;
        QTest::newRow("manufacturer")
            << QByteArray("manufacturerNameShort") << QByteArray("autoManufacturerNameShort") << 20;
        QTest::newRow("channel") << QByteArray("channelNameShort")
                                 << QByteArray("autoChannelNameShort") << 12;
    }

    void aShortNameFieldKeepsWhatItShows()
    {
        QFETCH(QByteArray, field);
        QFETCH(QByteArray, autoBox);
        QFETCH(int, limit);
        ScriptedPrompts prompts;
        MainWindow window(path("stage.blfl"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *library = child<LibraryForm>(window, "libraryForm");
        QVERIFY(library);
        QVERIFY(library->editor()->definition());
        QPushButton *addChannel = child<QPushButton>(window, "addChannel");
        QVERIFY(addChannel);
        addChannel->click();

        auto *box = child<QCheckBox>(window, autoBox.constData());
        auto *edit = child<QLineEdit>(window, field.constData());
        auto *left = child<QLabel>(window, (field + "Left").constData());
        QVERIFY(box && edit && left);
        if (box->isChecked())
            box->click();
        QVERIFY(edit->isEnabled());
        edit->selectAll();
        const QString typed = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123");
        QTest::keyClicks(edit, typed.left(limit - 3));
        QCOMPARE(left->text(), QStringLiteral("3 left"));
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), typed.left(limit));
        QCOMPARE(left->text(), QStringLiteral("0 left"));

        QBLFixtureDefinition *definition = library->editor()->definition();
        QString stored;
        if (field == "fixtureNameShort")
            stored = definition->fixtureNameShort();
        else if (field == "manufacturerNameShort")
            stored = definition->manufacturerNameShort();
        else
            stored = definition->channels().last()->nameShort();
        QCOMPARE(stored, edit->text());
        QVERIFY(prompts.asked.isEmpty());
    }

    // Nothing brings an erased definition back: the button and the Delete key ask first.
    void deletingOnTheDeviceAsksFirstAndNoKeepsEverything_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<int>("answer");
        for (int selected : {1, 5, 7}) {
            for (bool byKey : {false, true}) {
                for (int answer : {int(QMessageBox::No), int(QMessageBox::Yes)}) {
                    QTest::addRow("%d %s %s", selected, byKey ? "key" : "button",
                                  answer == QMessageBox::Yes ? "yes" : "no")
                        << selected << byKey << answer;
                }
            }
        }
    }

    void deletingOnTheDeviceAsksFirstAndNoKeepsEverything()
    {
        QFETCH(int, selected);
        QFETCH(bool, byKey);
        QFETCH(int, answer);
        SimulatedBus bus;
        QStringList stored;
        for (int i = 1; i <= 8; ++i)
            stored << QStringLiteral("Stored %1").arg(i);
        SimulatedDevice *device = bus.addController(0x0103, stored);
        ScriptedPrompts prompts;
        MainWindow window(path("stage.blfl"));
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(waitForDeviceRows(window, 8));

        QList<int> rows;
        for (int i = 0; i < selected; ++i)
            rows << i;
        selectRows(deviceTable(window), rows);
        prompts.thenAnswer(QMessageBox::StandardButton(answer));
        if (byKey) {
            deviceTable(window)->setFocus();
            QTest::keyClick(deviceTable(window), Qt::Key_Delete);
        } else {
            QTest::mouseClick(child<QPushButton>(window, "removeFixtureDefinitionFromDevice"),
                              Qt::LeftButton);
        }
        QVERIFY(waitForDeviceRows(window, answer == QMessageBox::Yes ? 8 - selected : 8));

        QCOMPARE(prompts.asked.size(), 1);
        const UserPrompts::Prompt &question = prompts.asked.first();
        QCOMPARE(question.kind, UserPrompts::Kind::Question);
        QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(question.defaultButton, QMessageBox::No);
        QCOMPARE(question.text,
                 selected == 1
                     ? QString("Delete 1 fixture definition on KDR-450P #1?")
                     : QString("Delete %1 fixture definitions on KDR-450P #1?").arg(selected));
        // Up to five are named, one a line; more would not fit a message box.
        for (int i = 1; i <= 8; ++i)
            QCOMPARE(question.informativeText.contains(QStringLiteral("Stored %1\n").arg(i)),
                     selected <= 5 && i <= selected);
        QCOMPARE(int(device->controller()->records().size()),
                 answer == QMessageBox::Yes ? 8 - selected : 8);
    }

    // The question's own event loop lets a refresh replace the pane's rows meanwhile.
    void theDeleteQuestionOutlivesARefreshThatEndsWhileItIsOpen()
    {
        SimulatedBus bus;
        SimulatedDevice *device = bus.addController(0x0103, {"Keep A", "Gone B", "Keep C"});
        MainWindow window(path("stage.blfl"));
        QVERIFY(waitForDeviceRows(window, 3));
        selectRows(deviceTable(window), {1});
        window.downloadCurrentSelection();
        QVERIFY(window.isOperationRunning());
        int asked = 0;
        UserPrompts::setAnswerer([&](const UserPrompts::Prompt &) {
            ++asked;
            // The download and the refresh after it end before the answer.
            waitUntilIdle(window);
            return UserPrompts::Answer{QMessageBox::Yes, QString()};
        });
        window.deleteCurrentlySelectedFixturesOnDevice();
        UserPrompts::setAnswerer({});
        QVERIFY(waitForDeviceRows(window, 2));
        QCOMPARE(asked, 1);
        QCOMPARE(deviceFixtureNames(window), (QStringList{"Keep A", "Keep C"}));
        QCOMPARE(device->controller()->records().keys(), (QList<int>{0, 2}));
    }

    void saveAsAddsTheExtensionTheUserLeftOut()
    {
        ScriptedPrompts prompts;
        MainWindow window(path("stage.blfl"));
        prompts.thenChooseFile(path("rig-a"));
        triggerAction(window, "actionSave_archive_as");
        QVERIFY(!QFile::exists(path("rig-a")));
        QCOMPARE(fixtureNamesIn(path("rig-a.blfl")).size(), 2);
        QCOMPARE(shownTitle(window), appTitle + " - rig-a.blfl");

        // A name with an extension of its own is kept as typed.
        prompts.thenChooseFile(path("rig-b.v2"));
        triggerAction(window, "actionSave_archive_as");
        QCOMPARE(fixtureNamesIn(path("rig-b.v2")).size(), 2);
        QCOMPARE(prompts.asked.size(), 2);
    }

    void saveAsAsksBeforeTheCompletedNameReplacesAFile()
    {
        QVERIFY(writeLibrary(path("other.blfl"), {{"Strobe", "Flash", {"Rate"}}}));
        ScriptedPrompts prompts;
        MainWindow window(path("stage.blfl"));
        prompts.thenChooseRefusedFile(path("other"), QMessageBox::No);
        triggerAction(window, "actionSave_archive_as");
        QCOMPARE(prompts.asked.size(), 3);
        QCOMPARE(prompts.asked[1].kind, UserPrompts::Kind::Question);
        QCOMPARE(prompts.asked[1].defaultButton, QMessageBox::No);
        QVERIFY(prompts.asked[1].text.contains(path("other.blfl")));
        QCOMPARE(fixtureNamesIn(path("other.blfl")), QStringList{"Strobe"});
        QCOMPARE(shownTitle(window), appTitle + " - stage.blfl");
    }
};

QTEST_MAIN(WindowSafety)
#include "test_window_safety.moc"
