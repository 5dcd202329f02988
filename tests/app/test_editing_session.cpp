#include "windowtesting.h"

#include "app/mainwindow.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

// A user's session from start to restart: open a library, add a definition with its names and
// three channels, save, start the window again and find all of it.
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
};

QTEST_MAIN(EditingSession)
#include "test_editing_session.moc"
