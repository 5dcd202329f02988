#include "windowtesting.h"

#include "app/mainwindow.h"
#include "bench/qxfbenchcatalogue.h"
#include "library/qxfcatalogue.h"
#include "model/uilanguage.h"
#include "views/libraryform.h"
#include "views/qxfcatalogdialog.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

// The catalogue dialog of the File menu: what a scan shows, the filter, the warning mark, the
// skipped files, adding modes to the library and closing during a scan.
class QxfCatalogDialogTest : public QObject
{
    Q_OBJECT

    QTemporaryDir settingsDir;
    QTemporaryDir catalogue;
    QTemporaryDir extra;

    static void write(const QString &path, const QByteArray &text)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    static QByteArray fixture(const QByteArray &manufacturer, const QByteArray &model,
                              const QList<QPair<QByteArray, int>> &modes)
    {
        QByteArray text = "<?xml version=\"1.0\"?>\n<FixtureDefinition "
                          "xmlns=\"http://www.qlcplus.org/FixtureDefinition\">\n<Manufacturer>" +
                          manufacturer + "</Manufacturer><Model>" + model +
                          "</Model><Type>Dimmer</Type>\n";
        int most = 0;
        for (const auto &mode : modes)
            most = std::max(most, mode.second);
        for (int i = 0; i < most; ++i)
            text += "<Channel Name=\"Ch " + QByteArray::number(i + 1) + "\"/>\n";
        for (const auto &mode : modes) {
            text += "<Mode Name=\"" + mode.first + "\">";
            for (int i = 0; i < mode.second; ++i)
                text += "<Channel Number=\"" + QByteArray::number(i) + "\">Ch " +
                        QByteArray::number(i + 1) + "</Channel>";
            text += "</Mode>\n";
        }
        return text + "</FixtureDefinition>\n";
    }

    // Rows of a proxy index's children as "name|count".
    static QStringList rowsUnder(const QAbstractItemModel *model, const QModelIndex &parent)
    {
        QStringList rows;
        for (int r = 0; r < model->rowCount(parent); ++r)
            rows.append(model->index(r, 0, parent).data().toString() + QLatin1Char('|') +
                        model->index(r, 1, parent).data().toString());
        return rows;
    }

    static QModelIndex child(const QAbstractItemModel *model, const QModelIndex &parent,
                             const QString &text)
    {
        for (int r = 0; r < model->rowCount(parent); ++r)
            if (model->index(r, 0, parent).data().toString() == text)
                return model->index(r, 0, parent);
        return {};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(settingsDir.isValid() && catalogue.isValid() && extra.isValid());
        useTestSettings(settingsDir.path());
        // The English plural forms of the counts.
        QCOMPARE(UiLanguage::install(qApp, {QStringLiteral("en")}), QString("en"));
        QDir(catalogue.path()).mkpath("acme");
        write(catalogue.filePath("acme/par.qxf"),
              fixture("Acme", "Par 64", {{"Basic", 3}, {"Extended", 5}}));
        QDir(catalogue.path()).mkpath("big");
        write(catalogue.filePath("big/matrix.QXF"), fixture("Pixelworks", "Matrix", {{"Full", 46}}));
        write(catalogue.filePath("broken.qxf"), "<FixtureDefinition><Manufacturer>Acme");
        write(extra.filePath("strobe.qxf"),
              fixture("Flash", "Strobe 1500", {{"Std", 2}, {"Empty", 0}}));
    }

    void init() { clearSettings(); }

    void theScanFillsTheTreeAndAddsChosenModes()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        auto *library = window.findChild<LibraryForm *>();
        QVERIFY(library);
        QSettings store(settingsDir.filePath("dialog.ini"), QSettings::IniFormat);
        QxfCatalogDialog dialog(library, &store, {catalogue.path()}, &window);
        QSignalSpy finished(&dialog, &QxfCatalogDialog::scanFinished);
        QVERIFY(finished.wait(10000));

        const QAbstractItemModel *tree = dialog.filterModel();
        QCOMPARE(rowsUnder(tree, {}), QStringList({"Acme|", "Pixelworks|"}));
        const QModelIndex par = child(tree, child(tree, {}, "Acme"), "Par 64");
        QCOMPARE(rowsUnder(tree, par), QStringList({"Basic|3", "Extended|5"}));
        const QModelIndex matrix = child(tree, child(tree, {}, "Pixelworks"), "Matrix");
        const QModelIndex full = tree->index(0, 1, matrix);
        QVERIFY(full.data().toString().contains(QStringLiteral("⚠")));
        QVERIFY(full.data(Qt::ToolTipRole).toString().contains("45"));
        QVERIFY(!tree->index(1, 1, par).data().toString().contains(QStringLiteral("⚠")));
        QVERIFY(dialog.skippedDetails().contains("broken.qxf"));
        QCOMPARE(dialog.skippedDetails().count('\n'), 0); // one line, the only skipped file
        QCOMPARE(dialog.findChild<QLabel *>("statusLabel")->text(), QString("2 fixtures, 3 modes"));

        // The selected mode's channels.
        auto *view = dialog.findChild<QTreeView *>("catalogTree");
        view->setCurrentIndex(tree->index(1, 0, par));
        auto *channels = dialog.findChild<QListWidget *>("channelList");
        QCOMPARE(channels->count(), 5);
        QVERIFY(channels->item(4)->text().contains("Ch 5"));

        // Both modes of the Par: two definitions, selected, the window modified.
        view->selectionModel()->select(QItemSelection(tree->index(0, 0, par), tree->index(1, 1, par)),
                                       QItemSelectionModel::ClearAndSelect |
                                           QItemSelectionModel::Rows);
        const int before = libraryRowCount(window);
        auto *add = dialog.findChild<QPushButton *>("addToLibraryButton");
        QVERIFY(add->isEnabled());
        add->click();
        QCOMPARE(libraryRowCount(window), before + 2);
        QCOMPARE(libraryFixtureNames(window).mid(before),
                 QStringList({"Par 64 Basic", "Par 64 Extended"}));
        QCOMPARE(library->selectedDefinitions().size(), 2);
        QVERIFY(window.isWindowModified());
        // One step, named with its count, that Undo takes back whole.
        QAction *undo = windowAction(window, "actionUndo");
        QCOMPARE(undo->text().remove(QLatin1Char('&')), QString("Undo Add 2 Fixture Definitions"));
        undo->trigger();
        QCOMPARE(libraryRowCount(window), before);
        QVERIFY(!window.isWindowModified());
        view->selectionModel()->select(tree->index(1, 0, par), QItemSelectionModel::ClearAndSelect |
                                                                   QItemSelectionModel::Rows);
        add->click();
        QCOMPARE(undo->text().remove(QLatin1Char('&')), QString("Undo Add 1 Fixture Definition"));
        QCOMPARE(libraryFixtureNames(window).mid(before), QStringList({"Par 64 Extended"}));
        if (const QString folder = qEnvironmentVariable("KDR_SCREENSHOT_DIR"); !folder.isEmpty()) {
            dialog.findChild<QToolButton *>("skippedButton")->setChecked(true);
            view->expandAll();
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QDir().mkpath(folder);
            QVERIFY(dialog.grab().save(QDir(folder).filePath("qxf-catalog.png")));
        }

        // The filter matches manufacturers and models, not mode names.
        auto *filter = dialog.findChild<QLineEdit *>("filterLineEdit");
        filter->setText("pixel");
        QCOMPARE(rowsUnder(tree, {}), QStringList({"Pixelworks|"}));
        filter->setText("par 6");
        QCOMPARE(rowsUnder(tree, {}), QStringList({"Acme|"}));
        QCOMPARE(tree->rowCount(child(tree, child(tree, {}, "Acme"), "Par 64")), 2);
        filter->setText("Extended");
        QCOMPARE(tree->rowCount(), 0);
        filter->clear();
        QCOMPARE(tree->rowCount(), 2);

        // A folder the user adds is scanned and kept; a single file joins the tree.
        prompts.thenChooseFile(extra.path());
        dialog.findChild<QPushButton *>("addFolderButton")->click();
        QVERIFY(finished.wait(10000));
        QCOMPARE(store.value(QxfCatalogDialog::FoldersKey).toStringList(),
                 QStringList({extra.path()}));
        QVERIFY(dialog.folders().contains(extra.path()));
        QVERIFY(child(tree, {}, "Flash").isValid());
        // Its empty mode is listed with the skipped files, not only in a tooltip.
        QVERIFY(dialog.skippedDetails().contains(
            "strobe.qxf: mode \"Empty\" has no channels, skipped"));
        QCOMPARE(dialog.findChild<QToolButton *>("skippedButton")->text(),
                 QString("1 file skipped, 1 empty mode skipped"));

        // Several files at once; a fixture that arrives while the filter hides its manufacturer
        // shows it, and a file that does not read is listed again.
        QTemporaryDir single;
        write(single.filePath("spot.qxf"), fixture("Acme", "Spot 300", {{"Std", 4}}));
        filter->setText("acme spot");
        QCOMPARE(tree->rowCount(), 0);
        prompts.thenChooseFiles({catalogue.filePath("broken.qxf"), single.filePath("spot.qxf")});
        dialog.findChild<QPushButton *>("addFileButton")->click();
        QCOMPARE(prompts.asked.last().kind, UserPrompts::Kind::OpenFiles);
        QVERIFY(finished.wait(10000));
        QCOMPARE(dialog.skippedDetails().count("broken.qxf"), 2);
        QCOMPARE(rowsUnder(tree, {}).size(), 1);
        QVERIFY(child(tree, child(tree, {}, "Acme"), "Spot 300").isValid());
        QVERIFY(!child(tree, child(tree, {}, "Acme"), "Par 64").isValid());
        QCOMPARE(prompts.unexpected, 0);
    }

    void theMenuOpensItAndClosingStopsTheScan()
    {
        // Large enough that the scan still runs when the dialog is closed.
        QTemporaryDir large;
        QVERIFY(generateQxfCatalogue(large.path(), 3000));
        ScriptedPrompts prompts;
        MainWindow window;
        setSettingValue(QxfCatalogDialog::FoldersKey, large.path());
        windowAction(window, "actionImport_QLC_Fixtures")->trigger();
        QPointer<QxfCatalogDialog> dialog = window.findChild<QxfCatalogDialog *>();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QStringList expected = QxfCatalogue::systemFolders();
        expected << QxfCatalogue::userFolder() << large.path();
        QCOMPARE(dialog->folders(), expected);
        // A second trigger brings the same dialog forward.
        windowAction(window, "actionImport_QLC_Fixtures")->trigger();
        QCOMPARE(window.findChildren<QxfCatalogDialog *>().size(), 1);

        // The first fixtures show while the rest is still being read.
        const QStandardItemModel *model = dialog->catalogModel();
        const auto shownFixtures = [model] {
            int fixtures = 0;
            for (int r = 0; r < model->rowCount(); ++r)
                fixtures += model->rowCount(model->index(r, 0));
            return fixtures;
        };
        QTRY_VERIFY(shownFixtures() > 0);
        QVERIFY(dialog->isScanning());
        QElapsedTimer closing;
        closing.start();
        dialog->close();
        QVERIFY2(closing.elapsed() < 1000, qPrintable(QString::number(closing.elapsed())));
        QVERIFY(!dialog->isScanning());
        QTRY_VERIFY(dialog.isNull());
        QVERIFY(!window.isWindowModified());
    }
};

QTEST_MAIN(QxfCatalogDialogTest)
#include "test_qxf_catalog_dialog.moc"
