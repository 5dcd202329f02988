#include <QtTest>

#include "devicejobs.h"
#include "devicerecord.h"
#include "model/uilanguage.h"
#include "qblremotefixturedefinition.h"
#include "views/deviceform.h"
#include "views/widgets/busyindicatoroverlay.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>

namespace
{

struct Row {
    const char *name;
    int channels;
    const char *manufacturer;
};

// The list as the controller sends it: the 2-byte count, then one header per row.
StoredFixtureList storedList(const QList<Row> &rows)
{
    QByteArray answer(2 + qsizetype(DeviceRecord::HeaderSize) * rows.size(), '\0');
    answer[0] = char(rows.size() & 0xFF);
    answer[1] = char(rows.size() >> 8);
    for (int i = 0; i < rows.size(); ++i) {
        char *header = answer.data() + 2 + DeviceRecord::HeaderSize * i;
        DeviceRecord::writeText(header + DeviceRecord::FixtureNameOffset,
                                DeviceRecord::FixtureNameWidth, rows[i].name);
        DeviceRecord::writeText(header + DeviceRecord::ManufacturerNameOffset,
                                DeviceRecord::ManufacturerNameWidth, rows[i].manufacturer);
        header[DeviceRecord::ChannelCountOffset] = char(rows[i].channels);
        header[DeviceRecord::SlotOffset] = char(i);
    }
    StoredFixtureList list;
    if (!list.parse(answer))
        qFatal("the test's list does not parse");
    return list;
}

const QList<Row> fiveRows = {{"Echo Spot", 12, "Lumen"},
                             {"Alpha Wash", 16, "Beamcraft"},
                             {"Delta Bar", 8, "Lumen"},
                             {"Charlie Scan", 6, "Orbit"},
                             {"Bravo Par", 7, "Beamcraft"}};

QStringList names(const QList<QBLRemoteFixtureDefinition *> &definitions)
{
    QStringList result;
    for (const QBLRemoteFixtureDefinition *d : definitions)
        result << d->fixtureName();
    return result;
}

// Runs check on the open context menu (the menu's own loop is modal), then closes it.
void withOpenContextMenu(DeviceForm &form, const std::function<void(QMenu *)> &check)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        seen = true;
        check(menu);
        menu->close();
    });
    form.showContextMenu(QPoint(5, 5));
    QVERIFY(seen);
}

QStringList actionTexts(QMenu *menu)
{
    QStringList texts;
    for (QAction *action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

QAction *actionNamed(QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

} // namespace

class DevicePane : public QObject
{
    Q_OBJECT

private slots:
    void theContextMenuWithoutSelectionHoldsOnlySelectAll()
    {
        DeviceForm form;
        form.setFixtureList(storedList(fiveRows));
        form.show();
        withOpenContextMenu(
            form, [](QMenu *menu) { QCOMPARE(actionTexts(menu), QStringList{"Select all"}); });
    }

    void theContextMenuWithSelectionOffersCopyAndDelete()
    {
        DeviceForm form;
        form.setFixtureList(storedList(fiveRows));
        form.show();
        form.selectAll();
        withOpenContextMenu(form, [](QMenu *menu) {
            QCOMPARE(actionTexts(menu),
                     (QStringList{"Select all", "Clear selection", "-", "Copy selected to computer",
                                  "Delete selected"}));
        });
    }

    void aRunningOperationDisablesTheStartersAndItsEndEnablesThemAlsoInAnOpenMenu()
    {
        DeviceForm form;
        form.setFixtureList(storedList(fiveRows));
        form.show();
        form.selectAll();
        auto *find = form.findChild<QPushButton *>("discoverDevicesBttn");
        auto *remove = form.findChild<QPushButton *>("removeFixtureDefinitionFromDevice");

        form.operationStarts();
        QVERIFY(!find->isEnabled());
        QVERIFY(!form.devicesComboBox()->isEnabled());
        QVERIFY(!remove->isEnabled());
        withOpenContextMenu(form, [&form](QMenu *menu) {
            QAction *copy = actionNamed(menu, "Copy selected to computer");
            QAction *del = actionNamed(menu, "Delete selected");
            QVERIFY(copy && del);
            QVERIFY(!copy->isEnabled());
            QVERIFY(!del->isEnabled());
            QVERIFY(actionNamed(menu, "Select all")->isEnabled());
            form.operationEnds();
            QVERIFY(copy->isEnabled());
            QVERIFY(del->isEnabled());
        });
        QVERIFY(find->isEnabled());
        QVERIFY(form.devicesComboBox()->isEnabled());
        QVERIFY(remove->isEnabled());
    }

    void theMenuActionsAndButtonsBecomeRequestsForTheWindow()
    {
        DeviceForm form;
        form.setFixtureList(storedList(fiveRows));
        form.show();
        form.selectAll();
        QSignalSpy deletes(&form, &DeviceForm::deleteRequested);
        QSignalSpy copies(&form, &DeviceForm::copyToComputerRequested);
        QSignalSpy finds(&form, &DeviceForm::discoverDevicesClicked);

        withOpenContextMenu(
            form, [](QMenu *menu) { actionNamed(menu, "Copy selected to computer")->trigger(); });
        withOpenContextMenu(form,
                            [](QMenu *menu) { actionNamed(menu, "Delete selected")->trigger(); });
        QTest::mouseClick(form.findChild<QPushButton *>("removeFixtureDefinitionFromDevice"),
                          Qt::LeftButton);
        QTest::mouseClick(form.findChild<QPushButton *>("discoverDevicesBttn"), Qt::LeftButton);
        QCOMPARE(copies.count(), 1);
        QCOMPARE(deletes.count(), 2);
        QCOMPARE(finds.count(), 1);
    }

    void selectingTwoOfFiveRowsReportsFiveVisibleFiveTotalTwoSelected()
    {
        DeviceForm form;
        QSignalSpy counts(&form, &DeviceForm::signalUpdateCounters);
        form.setFixtureList(storedList(fiveRows));
        auto *table = form.findChild<QTableView *>("fixtureListView");
        table->selectionModel()->select(table->model()->index(1, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        table->selectionModel()->select(table->model()->index(3, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QVERIFY(!counts.isEmpty());
        QCOMPARE(counts.last(), (QList<QVariant>{5, 5, 2}));
        QCOMPARE(form.selectedDefinitions().size(), 2);
    }

    void anEmptyListShowsAnEmptyTableAndReportsZeros()
    {
        DeviceForm form;
        form.setFixtureList(storedList(fiveRows));
        form.selectAll();
        QSignalSpy counts(&form, &DeviceForm::signalUpdateCounters);
        form.setFixtureList(storedList({}));
        QCOMPARE(form.findChild<QTableView *>("fixtureListView")->model()->rowCount(), 0);
        QVERIFY(!counts.isEmpty());
        QCOMPARE(counts.last(), (QList<QVariant>{0, 0, 0}));
        QVERIFY(form.selectedDefinitions().isEmpty());
    }

    void clearingTheListEmptiesTableAndSelection()
    {
        DeviceForm form;
        form.setFixtureList(storedList(fiveRows));
        form.selectAll();
        QCOMPARE(form.selectedDefinitions().size(), 5);
        QSignalSpy counts(&form, &DeviceForm::signalUpdateCounters);
        form.clearList();
        QCOMPARE(form.findChild<QTableView *>("fixtureListView")->model()->rowCount(), 0);
        QCOMPARE(counts.last(), (QList<QVariant>{0, 0, 0}));
    }

    void rowsShowNameChannelsAndManufacturerInSlotOrder()
    {
        DeviceForm form;
        form.setFixtureList(storedList(fiveRows));
        const QAbstractItemModel *model = form.findChild<QTableView *>("fixtureListView")->model();
        QCOMPARE(model->rowCount(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(model->index(i, 0).data().toString(), QString(fiveRows[i].name));
            QCOMPARE(model->index(i, 1).data().toInt(), fiveRows[i].channels);
            QCOMPARE(model->index(i, 2).data().toString(), QString(fiveRows[i].manufacturer));
        }
    }

    void theSlotColumnComesFirstAndTheStoreUseAndFirmwareShowWhenKnown()
    {
        UiLanguage::install(qApp, {QStringLiteral("en")});
        DeviceForm form;
        form.setFixtureList(storedList(fiveRows));
        auto *table = form.findChild<QTableView *>("fixtureListView");
        const QHeaderView *header = table->horizontalHeader();
        const int slotColumn = header->logicalIndex(0);
        QCOMPARE(table->model()->headerData(slotColumn, Qt::Horizontal).toString(),
                 QString("Slot"));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(table->model()->index(i, slotColumn).data().toInt(), i);

        auto *storeUse = form.findChild<QLabel *>("storeUseLabel");
        auto *firmware = form.findChild<QLabel *>("firmwareLabel");
        QVERIFY(storeUse && firmware);
        QVERIFY(storeUse->isHidden());
        QVERIFY(firmware->isHidden());
        form.setStoreUse(5, 64);
        form.setFirmwareVersion(0x0103);
        QVERIFY(!storeUse->isHidden());
        QCOMPARE(storeUse->text(), QString("5 of 64 slots used"));
        QCOMPARE(firmware->text(), QString("Firmware 1.3"));
        // Another controller's list is not this one's use.
        form.clearList();
        QVERIFY(storeUse->isHidden());
        form.setFirmwareVersion(-1);
        QVERIFY(firmware->isHidden());
    }

    void afterSortingTheSelectionReturnsTheRowsTheUserSeesSelected()
    {
        DeviceForm form;
        form.setFixtureList(storedList(fiveRows));
        auto *table = form.findChild<QTableView *>("fixtureListView");
        table->sortByColumn(0, Qt::AscendingOrder);
        // Sorted: Alpha Wash, Bravo Par, Charlie Scan, Delta Bar, Echo Spot.
        table->selectionModel()->select(table->model()->index(0, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        table->selectionModel()->select(table->model()->index(2, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        const QList<QBLRemoteFixtureDefinition *> selected = form.selectedDefinitions();
        QCOMPARE(names(selected), (QStringList{"Alpha Wash", "Charlie Scan"}));
        QCOMPARE(selected[0]->slotNumber(), quint8(1));
        QCOMPARE(selected[1]->slotNumber(), quint8(3));
    }

    void aNewListKeepsTheUsersSortOrder()
    {
        DeviceForm form;
        form.setFixtureList(storedList(fiveRows));
        auto *table = form.findChild<QTableView *>("fixtureListView");
        table->sortByColumn(1, Qt::DescendingOrder);
        form.setFixtureList(storedList(fiveRows));
        QCOMPARE(table->model()->index(0, 0).data().toString(), QString("Alpha Wash"));
        QCOMPARE(table->model()->index(4, 0).data().toString(), QString("Charlie Scan"));
    }

    void theBusyOverlayFollowsSetBusyAndCoversTheResizedPane()
    {
        DeviceForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(!form.isBusy());
        form.setBusy(true);
        QVERIFY(form.isBusy());
        // Wider than the least the pane takes, so the resize is the size asked for.
        const QSize size(form.minimumWidth() + 33, 444);
        form.resize(size);
        auto *overlay = form.findChild<BusyIndicatorOverlay *>();
        QVERIFY(overlay);
        QCOMPARE(overlay->size(), size);
        form.setBusy(false);
        QVERIFY(!form.isBusy());
    }
};

QTEST_MAIN(DevicePane)
#include "test_device_pane.moc"
