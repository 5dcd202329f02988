#include "libraryform.h"
#include "ui_libraryform.h"

#include "library/blflarchive.h"
#include "library/qblfixturedefinitionloader.h"
#include "model/localfixturedefinitionlistmodel.h"
#include "model/qblfixturedefinition.h"
#include "model/twocolumnssortfilterproxymodel.h"

#include <QAction>
#include <QCompleter>
#include <QDebug>
#include <QMenu>
#include <QSet>
#include <QStringListModel>
#include <QTimer>

#include <algorithm>

quint64 LibraryForm::s_tickCounter = 0;

namespace
{

constexpr int FirstTickMs = 400;
constexpr int TickMs = 100;
// Every this many ticks the work of one tick is measured and the tick stretched to ten
// times that work when it is slow.
constexpr quint64 MeasureEveryTicks = 100;

} // namespace

LibraryForm::LibraryForm(QWidget *parent) : QWidget(parent), ui(new Ui::LibraryForm)
{
    m_updateTimer = new QTimer(this);
    connect(m_updateTimer, &QTimer::timeout, this, &LibraryForm::slotTimer);
    m_updateTimer->start(FirstTickMs);

    ui->setupUi(this);

    m_completerModel = new QStringListModel(this);
    ui->filterLineEdit->completer()->setModel(m_completerModel);

    m_newIcon = QIcon(QStringLiteral(":/pixmaps/fixture_new.ico"));
    m_deleteIcon = QIcon(QStringLiteral(":/pixmaps/fixture_del.ico"));
    m_selectAllIcon = QIcon(QStringLiteral(":/pixmaps/AllSelected.ico"));
    m_clearSelectionIcon = QIcon(QStringLiteral(":/pixmaps/NothingSelected.ico"));
    m_uploadIcon = QIcon(QStringLiteral(":/pixmaps/upload.ico"));
    m_cloneIcon = QIcon(QStringLiteral(":/pixmaps/clone.ico"));

    m_listModel = new LocalFixtureDefinitionListModel({}, this);
    m_proxyModel = new TwoColumnsSortFilterProxyModel(this);
    m_proxyModel->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_proxyModel->setDynamicSortFilter(true);
    m_proxyModel->setSourceModel(m_listModel);

    QTableView *table = ui->fixtureDefinitionsTableView;
    table->setModel(m_proxyModel);
    table->setSortingEnabled(true);
    table->sortByColumn(LocalFixtureDefinitionListModel::FixtureNameColumn, Qt::AscendingOrder);
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table, &QWidget::customContextMenuRequested, this, &LibraryForm::showContextMenu);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &LibraryForm::requestCounterUpdate);

    updateFilter();
    updateCompleter();
    updateCurrentFixtureDefinition();
    m_operationRunning = false;

    connect(this, &LibraryForm::signalUpdateCounters, ui->fixturesCounter,
            &FixturesCounterForm::updateCounts);
    connect(table->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &LibraryForm::currentFixtureDefinitionChanged);
    connect(m_listModel, &QAbstractItemModel::dataChanged, this,
            &LibraryForm::requestCompleterUpdate);
    connect(ui->fixtureDefinitionForm, &LocalFixtureDefinitionEditForm::contentEdited, this,
            &LibraryForm::slotArchiveModified);
    setUpKeysAndTips();
}

void LibraryForm::setUpKeysAndTips()
{
    QTableView *table = ui->fixtureDefinitionsTableView;
    // The Delete key goes the way of the delete button.
    auto *remove = new QAction(tr("Delete selected fixture definitions"), table);
    remove->setShortcut(QKeySequence::Delete);
    remove->setShortcutContext(Qt::WidgetShortcut);
    table->addAction(remove);
    connect(remove, &QAction::triggered, this, &LibraryForm::on_removeFixtureDefinition_clicked);
    ui->addFixtureDefinition->setToolTip(tr("Add new fixture definition"));
    ui->removeFixtureDefinition->setToolTip(
        tr("Delete selected fixture definitions (%1)")
            .arg(remove->shortcut().toString(QKeySequence::NativeText)));

    // Several styles draw a checked push button almost like an unchecked one.
    for (QPushButton *button : {ui->manufacturerBttn, ui->fixtureNameBttn}) {
        const QString searched = button->text();
        const auto show = [button, searched] {
            QFont font = button->font();
            font.setBold(button->isChecked());
            button->setFont(font);
            button->setToolTip(button->isChecked() ? tr("The filter searches: %1").arg(searched)
                                                   : tr("The filter ignores: %1").arg(searched));
        };
        connect(button, &QAbstractButton::toggled, button, show);
        show();
    }

    // The row being edited stays in view while the table sorts it to its new place.
    connect(m_proxyModel, &QAbstractItemModel::layoutChanged, table, [table] {
        if (table->currentIndex().isValid())
            table->scrollTo(table->currentIndex());
    });
}

LibraryForm::~LibraryForm()
{
    delete ui;
}

QTableView *LibraryForm::tableView() const
{
    return ui->fixtureDefinitionsTableView;
}

LocalFixtureDefinitionEditForm *LibraryForm::editor() const
{
    return ui->fixtureDefinitionForm;
}

void LibraryForm::slotBusy() {}

void LibraryForm::slotReady() {}

void LibraryForm::operationStarts()
{
    m_operationRunning = true;
    emit setOperationStartersEnabled(false);
}

void LibraryForm::operationEnds()
{
    m_operationRunning = false;
    emit setOperationStartersEnabled(true);
}

void LibraryForm::on_fixtureDefinitionsTableView_clicked(QModelIndex)
{
    currentFixtureDefinitionChanged();
}

void LibraryForm::on_fixtureDefinitionsTableView_viewportEntered()
{
    currentFixtureDefinitionChanged();
}

void LibraryForm::on_fixtureDefinitionsTableView_entered(QModelIndex)
{
    currentFixtureDefinitionChanged();
}

void LibraryForm::on_fixtureDefinitionsTableView_activated(QModelIndex)
{
    currentFixtureDefinitionChanged();
}

void LibraryForm::on_removeFixtureDefinition_clicked()
{
    removeSelectedRows();
}

void LibraryForm::deleteSelected()
{
    removeSelectedRows();
}

void LibraryForm::on_filterLineEdit_textChanged(QString)
{
    m_filterUpdateRequested = true;
}

void LibraryForm::on_filterLineEdit_editingFinished()
{
    m_filterUpdateRequested = true;
}

void LibraryForm::on_filterLineEdit_textEdited(QString)
{
    m_filterUpdateRequested = true;
}

void LibraryForm::on_manufacturerBttn_clicked()
{
    m_filterUpdateRequested = true;
    m_completerUpdateRequested = true;
}

void LibraryForm::on_fixtureNameBttn_clicked()
{
    m_filterUpdateRequested = true;
    m_completerUpdateRequested = true;
}

void LibraryForm::requestFilterUpdate()
{
    m_filterUpdateRequested = true;
}

void LibraryForm::requestCompleterUpdate()
{
    m_completerUpdateRequested = true;
}

void LibraryForm::requestCounterUpdate()
{
    m_counterUpdateRequested = true;
}

void LibraryForm::slotArchiveModified()
{
    emit archiveModified();
}

void LibraryForm::copySelectedToDevice()
{
    emit copyToDeviceRequested();
}

void LibraryForm::selectAll()
{
    ui->fixtureDefinitionsTableView->selectAll();
}

void LibraryForm::clearSelection()
{
    ui->fixtureDefinitionsTableView->clearSelection();
}

void LibraryForm::slotTimer()
{
    m_updateTimer->stop();
    const bool measure = s_tickCounter % MeasureEveryTicks == 0;
    if (measure)
        m_stopwatch.restart();

    if (m_filterUpdateRequested) {
        m_filterUpdateRequested = false;
        m_counterUpdateRequested = false;
        updateFilter();
    } else if (m_completerUpdateRequested) {
        m_completerUpdateRequested = false;
        updateCompleter();
    } else if (m_counterUpdateRequested) {
        m_counterUpdateRequested = false;
        updateCounter();
    }

    if (measure) {
        const qint64 workMs = m_stopwatch.elapsed();
        m_updateTimer->start(int(qMax<qint64>(TickMs, 10 * workMs)));
    } else {
        m_updateTimer->start();
    }
    ++s_tickCounter;
}

void LibraryForm::updateFilter()
{
    m_proxyModel->setFilterOnFixtureName(ui->fixtureNameBttn->isChecked());
    m_proxyModel->setFilterOnManufacturer(ui->manufacturerBttn->isChecked());
    m_proxyModel->setFilterText(ui->filterLineEdit->text());
    m_counterUpdateRequested = true;
    emit filterUpdated();
}

void LibraryForm::updateCompleter()
{
    const bool names = ui->fixtureNameBttn->isChecked();
    const bool makers = ui->manufacturerBttn->isChecked();
    QSet<QString> words;
    if (names || makers) {
        for (const QBLFixtureDefinition *definition : m_listModel->definitions()) {
            if (names)
                words.insert(definition->fixtureName());
            if (makers)
                words.insert(definition->manufacturerName());
        }
    }
    QStringList list(words.begin(), words.end());
    list.sort();
    m_completerModel->setStringList(list);
}

void LibraryForm::updateCounter()
{
    const int nSelected =
        int(ui->fixtureDefinitionsTableView->selectionModel()->selectedRows().size());
    const int nTotal = m_listModel->rowCount();
    const int nVisible = m_proxyModel->acceptedRowCount();
    emit signalUpdateCounters(nVisible, nTotal, nSelected);
}

QBLFixtureDefinition *LibraryForm::definitionAtProxyRow(int proxyRow) const
{
    const QModelIndex source = m_proxyModel->mapToSource(
        m_proxyModel->index(proxyRow, LocalFixtureDefinitionListModel::FixtureNameColumn));
    return static_cast<QBLFixtureDefinition *>(source.data(Qt::UserRole).value<void *>());
}

void LibraryForm::updateCurrentFixtureDefinition()
{
    const QModelIndex current = ui->fixtureDefinitionsTableView->currentIndex();
    ui->fixtureDefinitionForm->setDefinition(current.isValid() ? definitionAtProxyRow(current.row())
                                                               : nullptr);
}

void LibraryForm::currentFixtureDefinitionChanged()
{
    if (ui->fixtureDefinitionsTableView->hasFocus())
        updateCurrentFixtureDefinition();
}

QList<QBLFixtureDefinition *> LibraryForm::selectedDefinitions() const
{
    QList<QBLFixtureDefinition *> selected;
    const QModelIndexList rows = ui->fixtureDefinitionsTableView->selectionModel()->selectedRows(
        LocalFixtureDefinitionListModel::FixtureNameColumn);
    selected.reserve(rows.size());
    for (const QModelIndex &row : rows) {
        if (QBLFixtureDefinition *definition = definitionAtProxyRow(row.row()))
            selected.append(definition);
    }
    return selected;
}

void LibraryForm::installListModel(LocalFixtureDefinitionListModel *model)
{
    LocalFixtureDefinitionListModel *old = m_listModel;
    m_proxyModel->setSourceModel(model);
    m_listModel = model;
    ui->fixtureDefinitionForm->setDefinition(nullptr);
    delete old;
    m_filterUpdateRequested = true;
    m_completerUpdateRequested = true;
    updateCurrentFixtureDefinition();
    connect(m_listModel, &QAbstractItemModel::dataChanged, this,
            &LibraryForm::requestCompleterUpdate);
    updateCounter();
}

void LibraryForm::insertDefinitionRow(const QBLFixtureDefinition *definition)
{
    const int row = m_listModel->rowCount();
    m_listModel->insertRows(row, 1);
    // The row's own definition becomes a copy; the given one is left as it is, so that
    // a duplicated row's source keeps its own list index.
    m_listModel->setData(
        m_listModel->index(row, LocalFixtureDefinitionListModel::FixtureNameColumn),
        QVariant::fromValue(const_cast<void *>(static_cast<const void *>(definition))),
        Qt::UserRole);
    QBLFixtureDefinition *own = m_listModel->definitionAt(row);
    own->setListModel(m_listModel);
    own->setListIndex(m_listModel->index(row, LocalFixtureDefinitionListModel::FixtureNameColumn));
}

void LibraryForm::addDefinition(const QBLFixtureDefinition *definition)
{
    if (!definition)
        return;
    QElapsedTimer elapsed;
    elapsed.start();
    const int row = m_listModel->rowCount();
    insertDefinitionRow(definition);
    const QModelIndex sourceIndex =
        m_listModel->index(row, LocalFixtureDefinitionListModel::FixtureNameColumn);
    auto *own = static_cast<QBLFixtureDefinition *>(sourceIndex.data(Qt::UserRole).value<void *>());
    qDebug().noquote() << "After add new fixturedefinition Int " << elapsed.elapsed() << " ms";

    qDebug().noquote() << "Before request setCurrentIndex " << elapsed.elapsed() << " ms";
    ui->fixtureDefinitionsTableView->setCurrentIndex(m_proxyModel->mapFromSource(sourceIndex));

    qDebug().noquote() << "Before request filterUpdate " << elapsed.elapsed() << " ms";
    m_filterUpdateRequested = true;
    m_completerUpdateRequested = true;
    updateCurrentFixtureDefinition();
    ui->fixtureDefinitionForm->setDefinition(own);
    emit archiveModified();
    currentFixtureDefinitionChanged();
    qDebug().noquote() << "Adding one fixture definition: " << elapsed.elapsed() << " ms";
}

void LibraryForm::addDefinitions(const QList<QBLFixtureDefinition *> &definitions)
{
    if (definitions.isEmpty())
        return;
    const int first = m_listModel->rowCount();
    m_listModel->appendCopies(definitions);
    const int last = m_listModel->rowCount() - 1;
    // One selection range for all new rows: the proxy maps it at once, not row by row.
    const QItemSelection added(
        m_listModel->index(first, 0),
        m_listModel->index(last, m_listModel->columnCount() - 1));
    QItemSelectionModel *selection = ui->fixtureDefinitionsTableView->selectionModel();
    const QModelIndex current =
        m_proxyModel->mapFromSource(m_listModel->index(last, LocalFixtureDefinitionListModel::FixtureNameColumn));
    selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    selection->select(m_proxyModel->mapSelectionFromSource(added),
                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_filterUpdateRequested = true;
    m_completerUpdateRequested = true;
    m_counterUpdateRequested = true;
    ui->fixtureDefinitionForm->setDefinition(m_listModel->definitionAt(last));
    emit archiveModified();
}

void LibraryForm::on_addFixtureDefinition_clicked()
{
    QBLFixtureDefinition fresh;
    fresh.setFixtureName(tr("New Fixture"));
    addDefinition(&fresh);
    emit archiveModified();
    // Typing names the new definition at once.
    ui->fixtureDefinitionForm->editFixtureName();
}

void LibraryForm::duplicateFixtures_clicked()
{
    // One insertion for the whole selection: the table sorts once, not once per copy.
    m_listModel->appendCopies(selectedDefinitions());
    m_filterUpdateRequested = true;
    m_counterUpdateRequested = true;
    emit archiveModified();
    currentFixtureDefinitionChanged();
}

void LibraryForm::removeSelectedRows()
{
    QList<int> sourceRows;
    const QModelIndexList rows = ui->fixtureDefinitionsTableView->selectionModel()->selectedRows(
        LocalFixtureDefinitionListModel::FixtureNameColumn);
    for (const QModelIndex &row : rows)
        sourceRows.append(m_proxyModel->mapToSource(row).row());
    if (sourceRows.isEmpty())
        return;
    // From the bottom up, so the rows still to remove keep their numbers; neighbouring rows
    // go in one removal.
    std::sort(sourceRows.begin(), sourceRows.end(), std::greater<int>());
    int index = 0;
    while (index < sourceRows.size()) {
        int first = sourceRows.at(index);
        int count = 1;
        while (index + count < sourceRows.size() && sourceRows.at(index + count) == first - 1) {
            --first;
            ++count;
        }
        for (int row = first; row < first + count; ++row)
            ui->fixtureDefinitionForm->fixtureDefinitionToBeRemoved(
                m_listModel->index(row, LocalFixtureDefinitionListModel::FixtureNameColumn));
        m_listModel->removeRows(first, count);
        index += count;
    }
    emit archiveModified();
}

void LibraryForm::loadDefinitions(BLFLArchive *archive, LocalFixtureDefinitionListModel *model)
{
    const QList<QBLFixtureDefinitionLoader *> &loaders = archive->loaders();
    const QBLFixtureDefinition *last = nullptr;
    QList<QBLFixtureDefinition *> rows;
    for (QBLFixtureDefinitionLoader *loader : loaders) {
        loader->parse();
        const QList<QBLFixtureDefinition *> *definitions = loader->definitions();
        if (!definitions)
            continue;
        for (QBLFixtureDefinition *definition : *definitions)
            rows.append(definition);
    }
    // Only the very last definition of the last loader becomes current.
    if (!loaders.isEmpty() && loaders.last()->definitions() &&
        !loaders.last()->definitions()->isEmpty())
        last = rows.takeLast();
    model->appendCopies(rows);
    if (last) {
        if (model != m_listModel)
            installListModel(model);
        addDefinition(last);
    }
}

bool LibraryForm::setArchive(BLFLArchive *archive)
{
    if (!archive) {
        clearArchive();
        return false;
    }
    m_updateTimer->stop();
    // Filled before it is shown, so the table sorts once instead of once per row.
    auto *model = new LocalFixtureDefinitionListModel({}, this);
    loadDefinitions(archive, model);
    if (model != m_listModel)
        installListModel(model);
    m_updateTimer->start();
    m_archive = archive;
    return true;
}

bool LibraryForm::importArchive(BLFLArchive *archive)
{
    if (!archive)
        return false;
    loadDefinitions(archive, m_listModel);
    m_filterUpdateRequested = true;
    m_completerUpdateRequested = true;
    m_counterUpdateRequested = true;
    return true;
}

void LibraryForm::clearArchive()
{
    installListModel(new LocalFixtureDefinitionListModel({}, this));
    m_archive = nullptr;
}

bool LibraryForm::saveArchive()
{
    if (!m_archive)
        return false;
    QList<QBLFixtureDefinition *> definitions = m_listModel->definitions();
    m_archive->setDefinitions(&definitions);
    const bool saved = m_archive->save();
    m_archive->setDefinitions(nullptr);
    return saved;
}

QMenu *LibraryForm::createContextMenu(QWidget *parent)
{
    const bool haveSelection = !selectedDefinitions().isEmpty();
    auto *menu = new QMenu(parent);
    menu->addAction(m_selectAllIcon, tr("Select all"), this, &LibraryForm::selectAll);
    if (haveSelection)
        menu->addAction(m_clearSelectionIcon, tr("Clear selection"), this,
                        &LibraryForm::clearSelection);
    menu->addSeparator();
    if (haveSelection) {
        QAction *copy = menu->addAction(m_uploadIcon, tr("Copy selected to KDR-450P"), this,
                                        &LibraryForm::copySelectedToDevice);
        copy->setEnabled(!m_operationRunning);
        connect(this, &LibraryForm::setOperationStartersEnabled, copy, &QAction::setEnabled);
    }
    menu->addAction(m_newIcon, tr("Add new fixture definition"), this,
                    &LibraryForm::on_addFixtureDefinition_clicked);
    if (haveSelection) {
        menu->addAction(m_cloneIcon, tr("Duplicate selected fixture definitions"), this,
                        &LibraryForm::duplicateFixtures_clicked);
        // Deletes library rows, never anything on the controller: the label says so.
        menu->addAction(m_deleteIcon, tr("Delete selected fixture definitions"), this,
                        &LibraryForm::deleteSelected);
    }
    return menu;
}

void LibraryForm::showContextMenu(QPoint pos)
{
    QMenu *menu = createContextMenu(this);
    menu->exec(ui->fixtureDefinitionsTableView->viewport()->mapToGlobal(pos));
    delete menu;
}
