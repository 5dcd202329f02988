#include <QtTest>

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>

#include "library/blflarchive.h"
#include "library/qblfixturedefinitionloader.h"
#include "model/localfixturedefinitionlistmodel.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"
#include "model/twocolumnssortfilterproxymodel.h"
#include "views/libraryform.h"
#include "views/localfixturedefinitioneditform.h"

#include <ctime>

namespace
{

// CPU time of this process in ms: wall time on a shared machine measures the neighbours.
qint64 cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

QBLFixtureDefinition *makeDefinition(const QString &name, const QString &maker, int channels)
{
    auto *d = new QBLFixtureDefinition;
    d->setFixtureName(name);
    d->setManufacturerName(maker);
    for (int k = 0; k < channels; ++k) {
        auto *c = new QBLFixtureChannel;
        c->setNumber(k + 1);
        c->setName(QString("%1 ch%2").arg(name).arg(k + 1));
        d->channels().append(c);
    }
    return d;
}

// Writes a library file holding the given definitions, which it deletes then.
bool saveDefinitions(const QString &path, QList<QBLFixtureDefinition *> definitions)
{
    BLFLArchive writer(path);
    writer.setDefinitions(&definitions);
    const bool saved = writer.save();
    qDeleteAll(definitions);
    return saved;
}

// The same, loaded into a fresh archive.
std::unique_ptr<BLFLArchive> savedAndLoaded(const QString &path,
                                            const QList<QBLFixtureDefinition *> &definitions)
{
    if (!saveDefinitions(path, definitions))
        return nullptr;
    auto reader = std::make_unique<BLFLArchive>(path);
    if (!reader->load())
        return nullptr;
    return reader;
}

QStringList tableNames(const LibraryForm &form)
{
    QStringList names;
    const QAbstractItemModel *model = form.tableView()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 0).data().toString();
    return names;
}

} // namespace

class LibraryEditing : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    void fill(LibraryForm &form, const QStringList &names)
    {
        for (const QString &name : names) {
            std::unique_ptr<QBLFixtureDefinition> d(makeDefinition(name, "Maker", 2));
            form.addDefinition(d.get());
        }
    }
    void selectRows(LibraryForm &form, const QList<int> &proxyRows)
    {
        QItemSelectionModel *selection = form.tableView()->selectionModel();
        selection->clearSelection();
        for (int row : proxyRows)
            selection->select(form.tableView()->model()->index(row, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

private slots:
    void addingADefinitionCopiesItAndMakesItCurrent()
    {
        LibraryForm form;
        std::unique_ptr<QBLFixtureDefinition> d(makeDefinition("Beam 7R", "Brenlow", 3));
        QSignalSpy modified(&form, &LibraryForm::archiveModified);
        form.addDefinition(d.get());
        QCOMPARE(modified.size(), 1);
        QBLFixtureDefinition *row = form.listModel()->definitionAt(0);
        QVERIFY(row != d.get());
        QCOMPARE(row->nbrOfChannels(), 3);
        QCOMPARE(form.editor()->definition(), row);
        QVERIFY(form.editor()->isEnabled());
        QCOMPARE(form.tableView()->currentIndex().row(), 0);
        QVERIFY(d->listModel() == nullptr); // the caller's object is left alone
    }

    void addingSeveralDefinitionsIsOneStepThatSelectsExactlyThem()
    {
        LibraryForm form;
        fill(form, {"Old A", "Old B"});
        std::vector<std::unique_ptr<QBLFixtureDefinition>> sources;
        QList<QBLFixtureDefinition *> list;
        for (const char *name : {"New C", "New A", "New B"}) {
            sources.emplace_back(makeDefinition(name, "Maker", 4));
            list.append(sources.back().get());
        }
        QSignalSpy modified(&form, &LibraryForm::archiveModified);
        QSignalSpy inserted(form.listModel(), &QAbstractItemModel::rowsInserted);
        form.addDefinitions(list);
        QCOMPARE(modified.size(), 1);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(form.listModel()->rowCount(), 5);
        QStringList selected;
        for (const QBLFixtureDefinition *d : form.selectedDefinitions()) {
            QVERIFY(!list.contains(const_cast<QBLFixtureDefinition *>(d)));
            selected << d->fixtureName();
        }
        selected.sort();
        QCOMPARE(selected, (QStringList{"New A", "New B", "New C"}));
        QCOMPARE(form.editor()->definition(), form.listModel()->definitionAt(4));
        QCOMPARE(form.listModel()->definitionAt(4)->fixtureName(), QString("New B"));
        for (const auto &source : sources)
            QVERIFY(source->listModel() == nullptr); // the caller's objects are left alone
        form.addDefinitions(QList<QBLFixtureDefinition *>());
        QCOMPARE(modified.size(), 1);
    }

    void theAddButtonAddsANewFixture()
    {
        LibraryForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QSignalSpy modified(&form, &LibraryForm::archiveModified);
        QTest::mouseClick(form.findChild<QPushButton *>("addFixtureDefinition"), Qt::LeftButton);
        QCOMPARE(tableNames(form), QStringList{"New Fixture"});
        QVERIFY(!modified.isEmpty());
        auto *name = form.findChild<QLineEdit *>("fixtureName");
        QCOMPARE(name->text(), QString("New Fixture"));
        // The user names it straight away.
        QVERIFY(name->hasFocus());
        QCOMPARE(name->selectedText(), QString("New Fixture"));
        QTest::keyClicks(name, "Spot 2");
        QCOMPARE(tableNames(form), QStringList{"Spot 2"});
    }

    void clickingARowShowsItsDefinitionInTheEditor()
    {
        LibraryForm form;
        form.resize(500, 600);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        fill(form, {"A", "B", "C"});
        QCOMPARE(form.editor()->definition()->fixtureName(), QString("C"));
        QTableView *table = form.tableView();
        const QRect cell = table->visualRect(table->model()->index(0, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(form.editor()->definition()->fixtureName(), QString("A"));
        QTest::keyClick(table, Qt::Key_Down);
        QCOMPARE(form.editor()->definition()->fixtureName(), QString("B"));
    }

    // F2 or a double-click opens the cell's editor on the name shown; what is typed there
    // reaches the form below at once.
    void theInPlaceEditorStartsWithTheNameAndTheFormFollows_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<QString>("field");
        QTest::newRow("name, F2") << 0 << true << "fixtureName";
        QTest::newRow("name, double-click") << 0 << false << "fixtureName";
        QTest::newRow("manufacturer, F2") << 2 << true << "manufacturerName";
        QTest::newRow("manufacturer, double-click") << 2 << false << "manufacturerName";
    }

    void theInPlaceEditorStartsWithTheNameAndTheFormFollows()
    {
        QFETCH(int, column);
        QFETCH(bool, byKey);
        QFETCH(QString, field);
        LibraryForm form;
        form.resize(600, 600);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        fill(form, {"Alpha", "Bravo"});
        QTableView *table = form.tableView();
        const QModelIndex cell = table->model()->index(0, column);
        const QString shown = cell.data().toString();
        table->setFocus();
        table->setCurrentIndex(cell);
        form.updateCurrentFixtureDefinition();
        const QPoint at = table->visualRect(cell).center();
        if (byKey) {
            QTest::keyClick(table, Qt::Key_F2);
        } else {
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
        }
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor && table->isAncestorOf(editor));
        QCOMPARE(editor->text(), shown);
        editor->selectAll();
        QTest::keyClicks(editor, "Renamed");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(form.findChild<QLineEdit *>(field)->text(), QString("Renamed"));
        QCOMPARE(form.editor()->definition()->fixtureName() == "Renamed", column == 0);
    }

    // The table sorts the edited row to its new place and scrolls along with it.
    void theRowBeingEditedStaysInViewWhileTheTableSorts()
    {
        LibraryForm form;
        form.resize(500, 500);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QStringList names;
        for (int k = 0; k < 200; ++k)
            names << QString("Fixture %1").arg(k, 3, 10, QChar('0'));
        fill(form, names);
        QTableView *table = form.tableView();
        table->scrollToTop();
        table->setCurrentIndex(table->model()->index(0, 0));
        form.updateCurrentFixtureDefinition();
        QCOMPARE(form.editor()->definition()->fixtureName(), QString("Fixture 000"));
        auto *name = form.findChild<QLineEdit *>("fixtureName");
        name->selectAll();
        QTest::keyClicks(name, "Zoom");
        QCOMPARE(table->currentIndex().data().toString(), QString("Zoom"));
        QCOMPARE(table->currentIndex().row(), 199);
        QVERIFY(table->viewport()->rect().intersects(table->visualRect(table->currentIndex())));
    }

    // A checked filter button reads bold and says that the filter searches its column.
    void theFilterButtonsShowWhetherTheyAreOn()
    {
        LibraryForm form;
        for (const char *name : {"manufacturerBttn", "fixtureNameBttn"}) {
            auto *button = form.findChild<QPushButton *>(name);
            const QString column = button->text();
            QVERIFY(button->isChecked());
            QVERIFY(button->font().bold());
            QCOMPARE(button->toolTip(), QString("The filter searches: %1").arg(column));
            button->click();
            QVERIFY(!button->font().bold());
            QCOMPARE(button->toolTip(), QString("The filter ignores: %1").arg(column));
            button->click();
            QVERIFY(button->font().bold());
        }
    }

    void deletingThreeSelectedRowsRemovesExactlyThoseAndReportsOnce_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("button") << false;
        QTest::newRow("Delete key") << true;
    }

    void deletingThreeSelectedRowsRemovesExactlyThoseAndReportsOnce()
    {
        QFETCH(bool, byKey);
        LibraryForm form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        fill(form, {"A", "B", "C", "D", "E", "F"});
        selectRows(form, {1, 3, 4});
        QSignalSpy modified(&form, &LibraryForm::archiveModified);
        if (byKey) {
            form.tableView()->setFocus();
            QTest::keyClick(form.tableView(), Qt::Key_Delete);
        } else {
            QTest::mouseClick(form.findChild<QPushButton *>("removeFixtureDefinition"),
                              Qt::LeftButton);
        }
        QCOMPARE(tableNames(form), (QStringList{"A", "C", "F"}));
        QCOMPARE(modified.size(), 1);
        const QList<QBLFixtureDefinition *> rest = form.listModel()->definitions();
        for (int row = 0; row < rest.size(); ++row)
            QCOMPARE(rest.at(row)->listIndex().row(), row);
    }

    void deletingWithNothingSelectedChangesNothing()
    {
        LibraryForm form;
        fill(form, {"A"});
        form.clearSelection();
        QSignalSpy modified(&form, &LibraryForm::archiveModified);
        form.deleteSelected();
        QCOMPARE(form.listModel()->rowCount(), 1);
        QCOMPARE(modified.size(), 0);
    }

    void deletingTheEditedRowEmptiesTheEditor()
    {
        LibraryForm form;
        fill(form, {"A", "B"});
        QCOMPARE(form.editor()->definition()->fixtureName(), QString("B"));
        selectRows(form, {1});
        form.deleteSelected();
        QVERIFY(form.editor()->definition() == nullptr);
        QVERIFY(!form.editor()->isEnabled());
    }

    void aDuplicateIsAnIndependentCopy()
    {
        LibraryForm form;
        fill(form, {"Source"});
        selectRows(form, {0});
        QSignalSpy modified(&form, &LibraryForm::archiveModified);
        form.duplicateFixtures_clicked();
        QCOMPARE(modified.size(), 1);
        QCOMPARE(tableNames(form), (QStringList{"Source", "Source"}));
        QBLFixtureDefinition *source = form.listModel()->definitionAt(0);
        QBLFixtureDefinition *copy = form.listModel()->definitionAt(1);
        QCOMPARE(copy->nbrOfChannels(), 2);
        QCOMPARE(copy->channels().at(1)->name(), QString("Source ch2"));

        copy->setFixtureName("Copy");
        copy->channels().at(0)->setName("changed");
        QCOMPARE(source->fixtureName(), QString("Source"));
        QCOMPARE(source->channels().at(0)->name(), QString("Source ch1"));
        // Editing the source still reaches the source's own row.
        source->setFixtureName("Original");
        QCOMPARE(form.listModel()->index(0, 0).data().toString(), QString("Original"));
        QCOMPARE(form.listModel()->index(1, 0).data().toString(), QString("Copy"));
    }

    void selectedDefinitionsAreTheSelectedRowsInSelectionOrder()
    {
        LibraryForm form;
        fill(form, {"C", "A", "B"});
        QCOMPARE(tableNames(form), (QStringList{"A", "B", "C"}));
        selectRows(form, {2, 0});
        const QList<QBLFixtureDefinition *> selected = form.selectedDefinitions();
        QCOMPARE(selected.size(), 2);
        QCOMPARE(selected.at(0)->fixtureName(), QString("C"));
        QCOMPARE(selected.at(1)->fixtureName(), QString("A"));
    }

    void savingWithoutAnArchiveFails()
    {
        LibraryForm form;
        fill(form, {"A"});
        QVERIFY(!form.saveArchive());
        form.clearArchive();
        QCOMPARE(form.listModel()->rowCount(), 0);
        QVERIFY(!form.saveArchive());
    }

    void aSavedLibraryOpensAgainWithItsLastDefinitionCurrent()
    {
        const QString path = dir.filePath("roundtrip.blfl");
        LibraryForm form;
        fill(form, {"Spot", "Wash", "Beam"});
        BLFLArchive archive(path);
        QVERIFY(form.setArchive(&archive));
        QCOMPARE(form.listModel()->rowCount(), 0); // a new, empty archive
        fill(form, {"Spot", "Wash", "Beam"});
        QVERIFY(form.saveArchive());

        auto loaded = std::make_unique<BLFLArchive>(path);
        QVERIFY(loaded->load());
        LibraryForm reopened;
        QVERIFY(reopened.setArchive(loaded.get()));
        QCOMPARE(tableNames(reopened), (QStringList{"Beam", "Spot", "Wash"}));
        QCOMPARE(reopened.editor()->definition()->fixtureName(), QString("Beam"));
        QCOMPARE(reopened.editor()->definition()->channels().at(1)->name(), QString("Beam ch2"));
        QVERIFY(reopened.saveArchive());
    }

    void anArchiveWhoseLastLoaderIsEmptyOpensWithoutACurrentRow()
    {
        auto archive = savedAndLoaded(dir.filePath("lastempty.blfl"),
                                      {makeDefinition("One", "M", 1), makeDefinition("Two", "M", 1)});
        QVERIFY(archive);
        archive->loaders().append(new QBLFixtureDefinitionLoader); // a document without definitions
        LibraryForm form;
        QVERIFY(form.setArchive(archive.get()));
        QCOMPARE(form.listModel()->rowCount(), 2);
        QVERIFY(!form.tableView()->currentIndex().isValid());
        QVERIFY(form.editor()->definition() == nullptr);
    }

    void importingAddsToTheCurrentLibrary()
    {
        auto archive = savedAndLoaded(dir.filePath("import.blfl"),
                                      {makeDefinition("Imported 1", "M", 1),
                                       makeDefinition("Imported 2", "M", 4)});
        QVERIFY(archive);
        LibraryForm form;
        fill(form, {"Mine"});
        QVERIFY(!form.importArchive(nullptr));
        QVERIFY(form.importArchive(archive.get()));
        archive.reset(); // the pane keeps copies only
        QCOMPARE(tableNames(form), (QStringList{"Imported 1", "Imported 2", "Mine"}));
        QCOMPARE(form.listModel()->index(2, 1).data(), QVariant(4));
        QCOMPARE(form.editor()->definition()->fixtureName(), QString("Imported 2"));
    }

    // Guards against per-row costs that grow with the library (one proxy update per row, list
    // indexes renumbered per row, which cost seconds here): the bounds are generous, the
    // printed times are the measure.
    void aLargeLibraryOpensAndFiltersQuickly()
    {
        constexpr int count = 10000;
        QList<QBLFixtureDefinition *> definitions;
        for (int k = 0; k < count; ++k)
            definitions << makeDefinition(QString("Fixture %1").arg(k, 5, 10, QChar('0')),
                                          QString("Maker %1").arg(k % 97), 1 + k % 12);
        QVERIFY(saveDefinitions(dir.filePath("large.blfl"), definitions));
        qint64 start = cpuMs();
        auto archive = std::make_unique<BLFLArchive>(dir.filePath("large.blfl"));
        QVERIFY(archive->load());
        const qint64 loadMs = cpuMs() - start;

        LibraryForm form;
        start = cpuMs();
        QVERIFY(form.setArchive(archive.get()));
        const qint64 openMs = cpuMs() - start;
        QCOMPARE(form.tableView()->model()->rowCount(), count);
        QCOMPARE(form.editor()->definition()->fixtureName(), QString("Fixture 09999"));

        form.findChild<QLineEdit *>("filterLineEdit")->setText("fixture 0001");
        QSignalSpy counted(&form, &LibraryForm::signalUpdateCounters);
        start = cpuMs();
        form.updateFilter();
        form.updateCounter();
        const qint64 filterMs = cpuMs() - start;
        QCOMPARE(counted.last(), (QList<QVariant>{10, count, 0}));
        form.findChild<QLineEdit *>("filterLineEdit")->clear();
        start = cpuMs();
        form.updateFilter();
        form.updateCounter();
        const qint64 unfilterMs = cpuMs() - start;
        QCOMPARE(counted.last(), (QList<QVariant>{count, count, 0}));
        QCOMPARE(form.tableView()->model()->index(count - 1, 0).data().toString(),
                 QString("Fixture 09999"));
        qInfo("%d definitions, CPU time: archive load %lld ms, pane open %lld ms; one refilter and "
              "count: "
              "%lld ms narrowing, %lld ms widening",
              count, loadMs, openMs, filterMs, unfilterMs);
        QVERIFY(openMs < 3000);
        QVERIFY(filterMs < 500);
        QVERIFY(unfilterMs < 500);
    }
};

QTEST_MAIN(LibraryEditing)
#include "test_library_editing.moc"
