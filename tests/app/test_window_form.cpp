#include "devicetesting.h"
#include "windowtesting.h"

#include "app/mainwindow.h"
#include "model/uilanguage.h"
#include "views/deviceform.h"
#include "views/libraryform.h"
#include "views/libraryhistory.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMovie>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QToolBar>
#include <QUndoStack>
#include <QtTest>

// What the window shows when it opens: its menus with their shortcuts and icons, and the
// progress, closing and firmware panels hidden until they are needed.
class WindowForm : public QObject
{
    Q_OBJECT

    QTemporaryDir settingsDir;

    // Visible labels, buttons, check boxes and column headers narrower than their text needs,
    // or pushed out of their view.
    static QStringList cutTexts(MainWindow &window)
    {
        QStringList cut;
        for (QWidget *widget : window.findChildren<QWidget *>()) {
            if (!widget->isVisible())
                continue;
            auto *label = qobject_cast<QLabel *>(widget);
            const bool text = (label && !label->wordWrap() && !label->text().isEmpty()) ||
                              qobject_cast<QPushButton *>(widget) ||
                              qobject_cast<QCheckBox *>(widget);
            if (text && widget->width() < widget->minimumSizeHint().width())
                cut << widget->objectName();
            auto *header = qobject_cast<QHeaderView *>(widget);
            if (!header || header->orientation() != Qt::Horizontal)
                continue;
            // A pane narrower than its table hides the table's end without a scroll bar.
            QWidget *table = header->parentWidget();
            const int right = table->mapTo(&window, QPoint(table->width(), 0)).x();
            for (QWidget *pane = table->parentWidget(); pane && pane != &window;
                 pane = pane->parentWidget())
                if (right > pane->mapTo(&window, QPoint(pane->width(), 0)).x()) {
                    cut << table->objectName() + QStringLiteral(": beyond ") + pane->objectName();
                    break;
                }
            for (int section = 0; section < header->count(); ++section) {
                const int end =
                    header->sectionViewportPosition(section) + header->sectionSize(section);
                if (!header->isSectionHidden(section) &&
                    (header->sectionSize(section) < header->sectionSizeHint(section) ||
                     end > header->viewport()->width()))
                    cut << header->parent()->objectName() + QLatin1Char(':') +
                               header->model()->headerData(section, Qt::Horizontal).toString();
            }
        }
        return cut;
    }

private slots:
    void initTestCase() { useTestSettings(settingsDir.path()); }
    void cleanup() { UiLanguage::install(qApp, {QStringLiteral("en")}); }

    void aWindowWithoutABusOfItsOwnSearchesTheTestsEmptyBus()
    {
        ScriptedPrompts prompts;
        const int before = emptyBusListings();
        MainWindow window;
        QVERIFY(waitUntilIdle(window));
        QVERIFY(emptyBusListings() > before);
        QCOMPARE(window.deviceForm()->devicesComboBox()->count(), 0);
        QVERIFY(prompts.asked.isEmpty());
    }

    void theOccasionalPanelsAreHiddenAtStart()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        window.show();
        for (const char *name : {"progressBars", "closingWidget", "firmwareUpdateInfoWidget"}) {
            auto *panel = window.findChild<QWidget *>(QLatin1String(name));
            QVERIFY2(panel, name);
            QVERIFY2(!panel->isVisible(), name);
        }
        QVERIFY(window.findChild<QWidget *>(QStringLiteral("widget_2"))->isVisible());
        auto *busy = window.findChild<QLabel *>(QStringLiteral("busyIndicatorLabel"));
        QVERIFY(busy->movie());
        QVERIFY(busy->movie()->isValid());
        QCOMPARE(busy->movie()->state(), QMovie::NotRunning);
    }

    // A small laptop screen and the default size, in both languages, with a library and the
    // controller's definitions listed: no label, button, check box or column header is cut,
    // nor pushed out of sight behind a scroll bar.
    void atTheSmallestSizeNoTextIsCut_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QSize>("size");
        for (const char *language : {"en", "de"}) {
            QTest::addRow("%s, 1024x600", language) << QString(language) << QSize(1024, 600);
            QTest::addRow("%s, default", language) << QString(language) << QSize(1200, 690);
        }
    }

    void atTheSmallestSizeNoTextIsCut()
    {
        QFETCH(QString, language);
        QFETCH(QSize, size);
        QCOMPARE(UiLanguage::install(qApp, {language}), language);
        // The README's sample library: its longest names are what a screenshot shows.
        const QString library = settingsDir.filePath("fit.blfl");
        QFile::remove(library);
        QVERIFY(QFile::copy(QStringLiteral(KDR_SOURCE_DIR "/tests/app/data/sample.blfl"), library));
        ScriptedPrompts prompts;
        DeviceLinkOptions simulate;
        simulate.simulate = true;
        MainWindow window(library, simulate);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(waitForDeviceRows(window, 5));
        // Made smaller once shown and filled, as a user does, not only laid out at that size.
        window.resize(size);
        QTRY_COMPARE(window.size(), size);
        // Labels shown by the last operation are laid out with the next events.
        QTRY_VERIFY2(cutTexts(window).isEmpty(),
                     qPrintable(cutTexts(window).join(QLatin1Char('\n'))));
    }

    // The tool bar's Undo and Redo name the step and their keys, as the step changes.
    void theUndoAndRedoTipsNameTheStepAndTheKeys()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        auto *form = window.findChild<LibraryForm *>("libraryForm");
        const QList<QAction *> buttons = window.findChild<QToolBar *>("toolBar")->actions();
        QAction *undo = windowAction(window, "actionUndo");
        QAction *redo = windowAction(window, "actionRedo");
        QVERIFY(buttons.contains(undo) && buttons.contains(redo));
        const auto keys = [](QAction *action) {
            QStringList shown;
            for (const QKeySequence &key : action->shortcuts())
                shown << key.toString(QKeySequence::NativeText);
            return shown.join(QStringLiteral(", "));
        };
        const QString undoKey = keys(undo);
        const QString redoKey = keys(redo);
        QVERIFY(
            undoKey.contains(QKeySequence(QKeySequence::Undo).toString(QKeySequence::NativeText)));
        QVERIFY(
            redoKey.contains(QKeySequence(QKeySequence::Redo).toString(QKeySequence::NativeText)));
        QCOMPARE(undo->toolTip(), QString("Undo (%1)").arg(undoKey));

        form->on_addFixtureDefinition_clicked();
        QCOMPARE(undo->toolTip(), QString("Undo Add Fixture Definition (%1)").arg(undoKey));
        form->history()->stack()->undo();
        QCOMPARE(undo->toolTip(), QString("Undo (%1)").arg(undoKey));
        QCOMPARE(redo->toolTip(), QString("Redo Add Fixture Definition (%1)").arg(redoKey));
    }

    void theSplittersKeepTheirPlaceAcrossStarts()
    {
        ScriptedPrompts prompts;
        QList<int> library;
        QList<int> panes;
        {
            MainWindow window;
            window.resize(1200, 700);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            auto *form = window.findChild<LibraryForm *>("libraryForm");
            form->splitter()->setSizes({150, 450});
            window.findChild<QSplitter *>("splitter")->setSizes({520, 680});
            library = form->splitter()->sizes();
            panes = window.findChild<QSplitter *>("splitter")->sizes();
            // The device search at start holds the close until it ends.
            QVERIFY(QTest::qWaitFor([&] { return !window.isOperationRunning(); }, 10000));
            QVERIFY(window.close());
        }
        MainWindow again;
        again.resize(1200, 700);
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QCOMPARE(again.findChild<LibraryForm *>("libraryForm")->splitter()->sizes(), library);
        QCOMPARE(again.findChild<QSplitter *>("splitter")->sizes(), panes);
    }

    void theMenusHoldTheirActionsInOrder()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        QStringList menus;
        for (QAction *action : window.menuBar()->actions())
            menus << action->menu()->objectName();
        QCOMPARE(menus, (QStringList{"menuFile", "menuEdit", "menuAbout"}));

        QStringList file;
        for (QAction *action : window.findChild<QMenu *>("menuFile")->actions())
            file << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
        QCOMPARE(file,
                 (QStringList{"actionNew_Archive", "action_Open_Archive", "actionSave_Archive",
                              "actionSave_archive_as", "actionImport_Library",
                              "actionImport_QLC_Fixtures", "-", "actionQuit"}));
        QStringList edit;
        for (QAction *action : window.findChild<QMenu *>("menuEdit")->actions())
            edit << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
        QCOMPARE(edit.mid(0, 3), (QStringList{"actionUndo", "actionRedo", "-"}));
        QCOMPARE(edit.size(), 5);
        QCOMPARE(window.findChild<QMenu *>("menuAbout")->actions().size(), 1);
    }

    void theFileActionsHaveTheirShortcutsAndIcons()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        const struct {
            const char *name, *text, *shortcut;
        } expected[] = {{"actionNew_Archive", "&New Library", "Alt+N"},
                        {"action_Open_Archive", "&Open Library", "Alt+O"},
                        {"actionSave_Archive", "&Save Library", "Alt+S"},
                        {"actionSave_archive_as", "Save Library &as", "Alt+Shift+S"},
                        {"actionImport_Library", "&Import Library", ""},
                        {"actionQuit", "&Quit", ""}};
        for (const auto &e : expected) {
            QAction *action = windowAction(window, e.name);
            QVERIFY2(action, e.name);
            QCOMPARE(action->text(), QLatin1String(e.text));
            QCOMPARE(action->shortcut(), QKeySequence(QLatin1String(e.shortcut)));
            QVERIFY2(!action->icon().isNull(), e.name);
        }
    }

    void theLibraryCommandsAlsoTakeTheStandardKeysAndTheButtonsNameThem()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        const struct {
            const char *name;
            QKeySequence::StandardKey standard;
        } commands[] = {{"actionNew_Archive", QKeySequence::New},
                        {"action_Open_Archive", QKeySequence::Open},
                        {"actionSave_Archive", QKeySequence::Save},
                        {"actionSave_archive_as", QKeySequence::SaveAs}};
        const QList<QAction *> buttons = window.findChild<QToolBar *>("toolBar")->actions();
        for (int i = 0; i < 4; ++i) {
            const QList<QKeySequence> keys = windowAction(window, commands[i].name)->shortcuts();
            for (const QKeySequence &standard : QKeySequence::keyBindings(commands[i].standard))
                QVERIFY2(keys.contains(standard), commands[i].name);
            QVERIFY(
                buttons[i]->toolTip().contains(keys.first().toString(QKeySequence::NativeText)));
        }
    }

    // Every menu and every item in it can be reached with a letter of its own.
    void everyMenuItemHasAMnemonicUniqueInItsMenu()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        const auto mnemonic = [](const QString &text) {
            const int at = text.indexOf(QLatin1Char('&'));
            return at < 0 || at + 1 >= text.size() ? QChar() : text.at(at + 1).toLower();
        };
        QList<QList<QAction *>> levels{window.menuBar()->actions()};
        for (QAction *menu : window.menuBar()->actions())
            levels.append(menu->menu()->actions());
        for (const QList<QAction *> &level : levels) {
            QSet<QChar> used;
            for (QAction *action : level) {
                if (action->isSeparator())
                    continue;
                const QChar letter = mnemonic(action->text());
                QVERIFY2(!letter.isNull(), qPrintable(action->text()));
                QVERIFY2(!used.contains(letter), qPrintable(action->text()));
                used.insert(letter);
            }
        }
    }

    void theWindowHasItsIconAndSize()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        QVERIFY(!window.windowIcon().isNull());
        QCOMPARE(window.size(), QSize(1200, 690));
        QVERIFY(window.isWindowModified() == false);
    }
};

QTEST_MAIN(WindowForm)
#include "test_window_form.moc"
