#include "windowtesting.h"

#include "app/mainwindow.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeView>
#include <QtTest>

// A user's session from start to restart: open a library, add a definition with its names and
// three channels, save, start the window again and find all of it. Undo and redo in the same
// window: what the Edit menu offers, how much one step takes back, and what is shown after it.
class EditingSession : public QObject
{
    Q_OBJECT

    QTemporaryDir settingsDir;
    QTemporaryDir files;

    template <typename T> static T *widget(MainWindow &window, const char *name)
    {
        T *found = window.findChild<T *>(QLatin1String(name));
        if (!found)
            qWarning("no widget %s", name);
        return found;
    }

    static void replaceText(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
    }

    static int rowOf(QTableView *table, const QString &fixtureName)
    {
        for (int row = 0; row < table->model()->rowCount(); ++row)
            if (table->model()->index(row, 0).data().toString() == fixtureName)
                return row;
        return -1;
    }

    static QString plain(const QAction *action) { return action->text().remove(QLatin1Char('&')); }

    static QStringList selectedNames(QTableView *table)
    {
        QStringList names;
        for (const QModelIndex &row : table->selectionModel()->selectedRows(0))
            names << row.data().toString();
        names.sort();
        return names;
    }

    static void clickRow(QTableView *table, int row, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers,
                          table->visualRect(table->model()->index(row, 0)).center());
    }

    // The window with its Edit menu open, as the user sees it: the menu is a window of its own.
    static void screenshotEditMenu(MainWindow &window)
    {
        const QString folder = qEnvironmentVariable("KDR_SCREENSHOT_DIR");
        if (folder.isEmpty())
            return;
        QMenu *edit = window.findChild<QMenu *>(QStringLiteral("menuEdit"));
        QMenuBar *bar = window.menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(edit->menuAction()).center());
        QVERIFY(QTest::qWaitForWindowExposed(edit));
        QPixmap picture = window.grab();
        QPainter painter(&picture);
        painter.drawPixmap(window.mapFromGlobal(edit->mapToGlobal(QPoint(0, 0))), edit->grab());
        painter.end();
        QDir().mkpath(folder);
        QVERIFY(picture.save(QDir(folder).filePath(QStringLiteral("edit-menu-undo.png"))));
        edit->hide();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(settingsDir.isValid());
        useTestSettings(settingsDir.path());
    }

    void aDefinitionTypedInIsSavedAndFoundAgainAfterARestart()
    {
        const QString library = files.filePath(QStringLiteral("session.blfl"));
        QVERIFY(QFile::copy(QStringLiteral(KDR_SOURCE_DIR "/tests/app/data/sample.blfl"), library));
        QFile::setPermissions(library, QFile::ReadOwner | QFile::WriteOwner);
        const int sampleRows = fixtureNamesIn(library).size();
        QVERIFY(sampleRows > 0);
        ScriptedPrompts prompts;

        {
            MainWindow window(library);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(libraryRowCount(window), sampleRows);

            QTest::mouseClick(widget<QPushButton>(window, "addFixtureDefinition"), Qt::LeftButton);
            QCOMPARE(libraryRowCount(window), sampleRows + 1);
            QVERIFY(window.isWindowModified());
            auto *fixtureName = widget<QLineEdit>(window, "fixtureName");
            QCOMPARE(fixtureName->text(), QStringLiteral("New Fixture"));

            replaceText(fixtureName, QStringLiteral("Moving Spot 575"));
            replaceText(widget<QLineEdit>(window, "manufacturerName"),
                        QStringLiteral("Kestrel FX"));
            auto *addChannel = widget<QPushButton>(window, "addChannel");
            auto *channelName = widget<QLineEdit>(window, "channelName");
            for (const char *name : {"Pan", "Tilt", "Dimmer"}) {
                QTest::mouseClick(addChannel, Qt::LeftButton);
                // The new channel's default name is selected, so typing replaces it.
                QVERIFY(channelName->hasSelectedText());
                QTest::keyClicks(channelName, QLatin1String(name));
            }
            QCOMPARE(widget<QLineEdit>(window, "fixtureNameShort")->text(),
                     QStringLiteral("Moving Spot 575"));

            windowAction(window, "actionSave_Archive")->trigger();
            QVERIFY(!window.isWindowModified());
            QTRY_VERIFY(!window.isOperationRunning());
            QVERIFY(window.close());
        }
        QVERIFY(prompts.asked.isEmpty());
        QVERIFY(fixtureNamesIn(library).contains(QStringLiteral("Moving Spot 575")));

        MainWindow again;
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QCOMPARE(shownTitle(again),
                 QStringLiteral("KDR-450P Fixture Library Editor - session.blfl"));
        QTableView *table = libraryTable(again);
        QCOMPARE(table->model()->rowCount(), sampleRows + 1);
        const int row = rowOf(table, QStringLiteral("Moving Spot 575"));
        QVERIFY(row >= 0);
        QCOMPARE(table->model()->index(row, 1).data().toInt(), 3);
        QCOMPARE(table->model()->index(row, 2).data().toString(), QStringLiteral("Kestrel FX"));

        table->setFocus();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualRect(table->model()->index(row, 0)).center());
        QCOMPARE(widget<QLineEdit>(again, "fixtureName")->text(),
                 QStringLiteral("Moving Spot 575"));
        QCOMPARE(widget<QLineEdit>(again, "manufacturerName")->text(),
                 QStringLiteral("Kestrel FX"));
        QAbstractItemModel *channels = widget<QTreeView>(again, "channelListView")->model();
        QCOMPARE(channels->rowCount(), 3);
        QStringList names;
        for (int i = 0; i < 3; ++i)
            names << channels->index(i, 1).data().toString();
        QCOMPARE(names, (QStringList{"Pan", "Tilt", "Dimmer"}));
        QVERIFY(prompts.asked.isEmpty());
    }

    void undoAndRedoNameTheirStepTakeBackWholeWordsAndShowWhatCameBack()
    {
        QList<DefinitionSpec> rig;
        for (int k = 0; k < 14; ++k)
            rig.append({QStringLiteral("Par %1").arg(10 + k), QStringLiteral("Acme"), {"Dimmer"}});
        const QString library = files.filePath(QStringLiteral("rig.blfl"));
        QVERIFY(writeLibrary(library, rig));
        ScriptedPrompts prompts;
        MainWindow window(library);
        window.show();
        // Without a window manager (Xvfb) nothing else activates it.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QAction *undo = windowAction(window, "actionUndo");
        QAction *redo = windowAction(window, "actionRedo");
        QVERIFY(!undo->isEnabled());
        QVERIFY(!redo->isEnabled());
        QTableView *table = libraryTable(window);
        auto *counter = widget<QLabel>(window, "selectionLabel");

        // Twelve rows with the mouse and the Delete key.
        table->setFocus();
        clickRow(table, 1);
        clickRow(table, 12, Qt::ShiftModifier);
        const QStringList deleted = selectedNames(table);
        QCOMPARE(deleted.size(), 12);
        QTest::keyClick(table, Qt::Key_Delete);
        QCOMPARE(libraryFixtureNames(window), (QStringList{"Par 10", "Par 23"}));
        QCOMPARE(plain(undo), QStringLiteral("Undo Delete 12 Fixture Definitions"));
        QVERIFY(undo->isEnabled());
        QVERIFY(!redo->isEnabled());
        auto *total = widget<QLabel>(window, "visibleTotalLabel");
        QTRY_COMPARE(total->text(), QStringLiteral("2 Fixture Definition(s)"));
        QCOMPARE(counter->text(), QString());
        screenshotEditMenu(window);
        // The menu bar keeps the keyboard after its menu closed.
        table->setFocus();

        // The platform's keys; what came back is selected, counted and in the editor.
        QTest::keySequence(table, QKeySequence::Undo);
        QCOMPARE(libraryRowCount(window), 14);
        QCOMPARE(selectedNames(table), deleted);
        QVERIFY(deleted.contains(widget<QLineEdit>(window, "fixtureName")->text()));
        QTRY_COMPARE(counter->text(), QStringLiteral(" (12 Selected)"));
        QCOMPARE(plain(undo), QStringLiteral("Undo"));
        QVERIFY(!undo->isEnabled());
        QCOMPARE(plain(redo), QStringLiteral("Redo Delete 12 Fixture Definitions"));
        QTest::keySequence(table, QKeySequence::Redo);
        QCOMPARE(libraryRowCount(window), 2);
        QVERIFY(selectedNames(table).isEmpty());
        QTRY_COMPARE(counter->text(), QString());
        undo->trigger();
        QCOMPARE(libraryRowCount(window), 14);

        // Typing: one step per field, ended by clicking into another field.
        clickRow(table, 0);
        auto *name = widget<QLineEdit>(window, "fixtureName");
        auto *maker = widget<QLineEdit>(window, "manufacturerName");
        QCOMPARE(name->text(), QStringLiteral("Par 10"));
        const auto typeAtEnd = [](QLineEdit *field, const QString &text) {
            QTest::mouseClick(field, Qt::LeftButton);
            QTest::keyClick(field, Qt::Key_End);
            QTest::keyClicks(field, text);
        };
        typeAtEnd(name, QStringLiteral(" Zoom"));
        QCOMPARE(plain(undo), QStringLiteral("Undo Edit Fixture Name"));
        typeAtEnd(maker, QStringLiteral(" Pro"));
        QCOMPARE(plain(undo), QStringLiteral("Undo Edit Manufacturer Name"));
        typeAtEnd(name, QStringLiteral(" 2"));
        QCOMPARE(libraryFixtureNames(window).first(), QStringLiteral("Par 10 Zoom 2"));
        // Undone from the tool bar, which leaves the focus in the field.
        auto *toolBar = window.findChild<QToolBar *>(QStringLiteral("toolBar"));
        QWidget *undoButton = toolBar->widgetForAction(undo);
        QTest::mouseClick(undoButton, Qt::LeftButton);
        QCOMPARE(name->text(), QStringLiteral("Par 10 Zoom"));
        QCOMPARE(maker->text(), QStringLiteral("Acme Pro"));
        QCOMPARE(libraryFixtureNames(window).first(), QStringLiteral("Par 10 Zoom"));
        QCOMPARE(selectedNames(table), QStringList{"Par 10 Zoom"});
        QTest::mouseClick(undoButton, Qt::LeftButton);
        QCOMPARE(maker->text(), QStringLiteral("Acme"));
        QCOMPARE(table->model()->index(0, 2).data().toString(), QStringLiteral("Acme"));
        QTest::mouseClick(undoButton, Qt::LeftButton);
        QCOMPARE(name->text(), QStringLiteral("Par 10"));
        QCOMPARE(widget<QLineEdit>(window, "fixtureNameShort")->text(), QStringLiteral("Par 10"));
        // The redone delete was dropped by the first typed step.
        QVERIFY(!undo->isEnabled());
        QCOMPARE(plain(redo), QStringLiteral("Redo Edit Fixture Name"));

        // The keys reach the library's history from a field as well: a new definition's name
        // field has the focus, and its own history is empty.
        QTest::mouseClick(widget<QPushButton>(window, "addFixtureDefinition"), Qt::LeftButton);
        QCOMPARE(libraryRowCount(window), 15);
        QVERIFY(name->hasFocus());
        QTest::keySequence(name, QKeySequence::Undo);
        QCOMPARE(libraryRowCount(window), 14);
        QCOMPARE(plain(redo), QStringLiteral("Redo Add Fixture Definition"));
        QCOMPARE(prompts.unexpected, 0);
    }
};

QTEST_MAIN(EditingSession)
#include "test_editing_session.moc"
