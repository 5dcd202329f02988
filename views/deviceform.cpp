#include "deviceform.h"
#include "ui_deviceform.h"

#include "devicejobs.h"
#include "devicesdiscoverer.h"
#include "qblremotefixturedefinition.h"
#include "remotefixturedefinitionlistmodel.h"
#include "views/widgets/busyindicatoroverlay.h"
#include "views/widgets/fixtureicondelegate.h"

#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSortFilterProxyModel>

DeviceForm::DeviceForm(QWidget *parent) : QWidget(parent), ui(new Ui::DeviceForm)
{
    ui->setupUi(this);

    listModel = new RemoteFixtureDefinitionListModel;
    proxyModel = new QSortFilterProxyModel(this);
    proxyModel->setFilterCaseSensitivity(Qt::CaseInsensitive);
    proxyModel->setDynamicSortFilter(false);
    proxyModel->setSortRole(Qt::DisplayRole);
    proxyModel->setSourceModel(listModel);

    deleteIcon = QIcon(QStringLiteral(":/pixmaps/fixture_del.ico"));
    downloadIcon = QIcon(QStringLiteral(":/pixmaps/download.ico"));
    selectAllIcon = QIcon(QStringLiteral(":/pixmaps/AllSelected.ico"));
    clearSelectionIcon = QIcon(QStringLiteral(":/pixmaps/NothingSelected.ico"));

    ui->fixtureListView->setModel(proxyModel);
    ui->fixtureListView->setItemDelegateForColumn(
        RemoteFixtureDefinitionListModel::FixtureNameColumn, new FixtureIconDelegate(this));
    QHeaderView *columns = ui->fixtureListView->horizontalHeader();
    columns->moveSection(RemoteFixtureDefinitionListModel::SlotColumn, 0);
    setStoreUse(0, -1);
    setFirmwareVersion(-1);
    ui->fixtureListView->setContextMenuPolicy(Qt::CustomContextMenu);
    // No sort indicator at first, so the list starts in the controller's slot order.
    ui->fixtureListView->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    ui->fixtureListView->setSortingEnabled(true);
    // Every header fits whole beside the others, with room for the sort mark and a scroll bar,
    // in whatever language: the window gives the pane at least that much.
    int headers = 2 * ui->fixtureListView->frameWidth() +
                  ui->fixtureListView->verticalScrollBar()->sizeHint().width() + lastColumnWidth();
    for (int column : {int(RemoteFixtureDefinitionListModel::SlotColumn),
                       int(RemoteFixtureDefinitionListModel::FixtureNameColumn),
                       int(RemoteFixtureDefinitionListModel::ChannelsColumn)})
        headers += qMax(columns->sectionSizeHint(column), columns->minimumSectionSize());
    ui->fixtureListView->setMinimumWidth(headers);
    // Said on the pane itself too: a splitter asks the pane, and a narrower pane would hide the
    // table's last columns without a scroll bar.
    const QMargins margins = layout()->contentsMargins();
    setMinimumWidth(headers + margins.left() + margins.right());
    connect(proxyModel, &QAbstractItemModel::dataChanged, this, &DeviceForm::updateCounter);
    connect(proxyModel, &QAbstractItemModel::layoutChanged, this, &DeviceForm::updateCounter);
    connect(ui->fixtureListView, &QWidget::customContextMenuRequested, this,
            &DeviceForm::showContextMenu);
    // The Delete key asks the window as the button does; it is off while an operation runs.
    auto *remove = new QAction(tr("Delete selected"), ui->fixtureListView);
    remove->setShortcut(QKeySequence::Delete);
    remove->setShortcutContext(Qt::WidgetShortcut);
    ui->fixtureListView->addAction(remove);
    connect(remove, &QAction::triggered, this, &DeviceForm::slotDeleteRequest);
    connect(this, &DeviceForm::setOperationStartersEnabled, remove, &QAction::setEnabled);
    ui->removeFixtureDefinitionFromDevice->setToolTip(
        tr("Delete the selected fixture definitions from the device (%1)")
            .arg(remove->shortcut().toString(QKeySequence::NativeText)));

    busyOverlay = new BusyIndicatorOverlay(this);
    busyOverlay->resize(size());
    busyOverlay->setActive(false);
    operationRunning = false;

    connect(this, &DeviceForm::setOperationStartersEnabled, ui->discoverDevicesBttn,
            &QWidget::setEnabled);
    connect(this, &DeviceForm::setOperationStartersEnabled, ui->devicesComboBox,
            &QWidget::setEnabled);
    connect(this, &DeviceForm::setOperationStartersEnabled, ui->removeFixtureDefinitionFromDevice,
            &QWidget::setEnabled);
    // The table keeps its selection model for the form's lifetime: the proxy stays attached
    // and only its source model is replaced.
    connect(ui->fixtureListView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &DeviceForm::updateCounter);
    connect(this, &DeviceForm::signalUpdateCounters, ui->fixturesCounter,
            &FixturesCounterForm::updateCounts);
    connect(proxyModel, &QAbstractItemModel::modelReset, this, &DeviceForm::updateCounter);
    updateCounter();
}

DeviceForm::~DeviceForm()
{
    proxyModel->setSourceModel(nullptr);
    delete listModel;
    delete ui;
}

QComboBox *DeviceForm::devicesComboBox() const
{
    return ui->devicesComboBox;
}

void DeviceForm::installModel(RemoteFixtureDefinitionListModel *model)
{
    RemoteFixtureDefinitionListModel *old = listModel;
    listModel = model;
    connect(listModel, &QAbstractItemModel::dataChanged, this, &DeviceForm::updateCounter);
    proxyModel->setSourceModel(listModel);
    delete old;
    updateCounter();
}

void DeviceForm::setFixtureList(const StoredFixtureList &list)
{
    auto *model = new RemoteFixtureDefinitionListModel;
    model->appendListHeaders(list.headers());
    installModel(model);
    fitColumns();
    // A previous sort by the user is applied to the new rows too.
    const QHeaderView *header = ui->fixtureListView->horizontalHeader();
    if (header->sortIndicatorSection() >= 0)
        proxyModel->sort(header->sortIndicatorSection(), header->sortIndicatorOrder());
}

void DeviceForm::clearList()
{
    installModel(new RemoteFixtureDefinitionListModel);
    setStoreUse(0, -1);
}

void DeviceForm::setStoreUse(int used, int capacity)
{
    ui->storeUseLabel->setVisible(capacity >= 0);
    if (capacity >= 0)
        ui->storeUseLabel->setText(tr("%1 of %n slots used", "", capacity).arg(used));
}

void DeviceForm::setFirmwareVersion(int softwareVersion)
{
    ui->firmwareLabel->setVisible(softwareVersion >= 0);
    if (softwareVersion >= 0)
        ui->firmwareLabel->setText(tr("Firmware %1").arg(softwareVersionText(softwareVersion)));
}

void DeviceForm::setBusy(bool busy)
{
    busyOverlay->setActive(busy);
}

bool DeviceForm::isBusy() const
{
    return busyOverlay->isIndicatorVisible();
}

QList<QBLRemoteFixtureDefinition *> DeviceForm::selectedDefinitions() const
{
    QList<QBLRemoteFixtureDefinition *> selected;
    const QModelIndexList rows = ui->fixtureListView->selectionModel()->selectedRows(0);
    for (const QModelIndex &row : rows) {
        const QModelIndex source = proxyModel->mapToSource(row);
        auto *definition =
            static_cast<QBLRemoteFixtureDefinition *>(source.data(Qt::UserRole).value<void *>());
        if (definition)
            selected.append(definition);
    }
    return selected;
}

void DeviceForm::operationStarts()
{
    operationRunning = true;
    emit setOperationStartersEnabled(false);
}

void DeviceForm::operationEnds()
{
    operationRunning = false;
    emit setOperationStartersEnabled(true);
}

void DeviceForm::on_removeFixtureDefinitionFromDevice_clicked()
{
    emit deleteRequested();
}

void DeviceForm::on_discoverDevicesBttn_clicked()
{
    emit discoverDevicesClicked();
}

QMenu *DeviceForm::buildContextMenu()
{
    auto *menu = new QMenu(this);
    QAction *all = menu->addAction(selectAllIcon, tr("Select all"));
    connect(all, &QAction::triggered, this, &DeviceForm::selectAll);
    if (selectedDefinitions().isEmpty())
        return menu;

    QAction *none = menu->addAction(clearSelectionIcon, tr("Clear selection"));
    connect(none, &QAction::triggered, this, &DeviceForm::clearSelection);
    menu->addSeparator();
    QAction *copy = menu->addAction(downloadIcon, tr("Copy selected to computer"));
    connect(copy, &QAction::triggered, this, &DeviceForm::slotCopyToComputer);
    QAction *remove = menu->addAction(deleteIcon, tr("Delete selected"));
    connect(remove, &QAction::triggered, this, &DeviceForm::slotDeleteRequest);
    for (QAction *starter : {copy, remove}) {
        starter->setEnabled(!operationRunning);
        connect(this, &DeviceForm::setOperationStartersEnabled, starter, &QAction::setEnabled);
    }
    return menu;
}

void DeviceForm::showContextMenu(QPoint pos)
{
    QMenu *menu = buildContextMenu();
    menu->exec(ui->fixtureListView->viewport()->mapToGlobal(pos));
    delete menu;
}

void DeviceForm::slotDeleteRequest()
{
    emit deleteRequested();
}

void DeviceForm::slotCopyToComputer()
{
    emit copyToComputerRequested();
}

void DeviceForm::selectAll()
{
    ui->fixtureListView->selectAll();
}

void DeviceForm::clearSelection()
{
    ui->fixtureListView->clearSelection();
}

void DeviceForm::updateCounter()
{
    const int nSelected = int(ui->fixtureListView->selectionModel()->selectedRows(0).size());
    const int nTotal = listModel->rowCount();
    emit signalUpdateCounters(nTotal, nTotal, nSelected);
}

void DeviceForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    busyOverlay->resize(event->size());
    fitColumns();
}

// The slot and channel columns fit their numbers, the name its content as far as it leaves the
// manufacturer (the last section, which takes the rest) room for its header: a narrow pane cuts
// long names, never the column that comes last.
void DeviceForm::fitColumns()
{
    QTableView *table = ui->fixtureListView;
    const QHeaderView *header = table->horizontalHeader();
    const int name = RemoteFixtureDefinitionListModel::FixtureNameColumn;
    for (int column : {int(RemoteFixtureDefinitionListModel::SlotColumn),
                       int(RemoteFixtureDefinitionListModel::ChannelsColumn), name})
        table->resizeColumnToContents(column);
    const int room = table->viewport()->width() -
                     header->sectionSize(RemoteFixtureDefinitionListModel::SlotColumn) -
                     header->sectionSize(RemoteFixtureDefinitionListModel::ChannelsColumn) -
                     lastColumnWidth();
    if (header->sectionSize(name) > room)
        table->setColumnWidth(name, qMax(room, header->sectionSizeHint(name)));
}

// The manufacturer's header, and the least the stretched last section shrinks to.
int DeviceForm::lastColumnWidth() const
{
    const QHeaderView *header = ui->fixtureListView->horizontalHeader();
    return qMax(header->sectionSizeHint(RemoteFixtureDefinitionListModel::ManufacturerColumn),
                header->defaultSectionSize());
}
