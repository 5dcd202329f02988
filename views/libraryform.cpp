#include "libraryform.h"
#include "ui_libraryform.h"

#include "library/blflarchive.h"
#include "library/qblfixturedefinitionloader.h"
#include "libraryhistory.h"
#include "model/localfixturedefinitionlistmodel.h"
#include "model/qblfixturedefinition.h"
#include "model/twocolumnssortfilterproxymodel.h"
#include "views/widgets/fixtureicondelegate.h"

#include <QAction>
#include <QCompleter>
#include <QHeaderView>
#include <QLoggingCategory>
#include <QMenu>
#include <QSet>
#include <QSplitter>
#include <QStringListModel>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <vector>

// The panes' timings (kdr.views), off by default.
Q_LOGGING_CATEGORY(lcViews, "kdr.views", QtInfoMsg)

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
    m_proxyModel->setEditHandler([this](const QModelIndex &source, const QVariant &value) {
        return renameInPlace(source, value);
    });

    m_history = new LibraryHistory(this);
    m_history->setModel(m_listModel);
    ui->fixtureDefinitionForm->setHistory(m_history);
    connect(m_history, &LibraryHistory::rowsAboutToBeRemoved, this, [this](const QList<int> &rows) {
        for (int row : rows)
            ui->fixtureDefinitionForm->fixtureDefinitionToBeRemoved(
                m_listModel->index(row, LocalFixtureDefinitionListModel::FixtureNameColumn));
    });
    connect(m_history, &LibraryHistory::rowAboutToBeRestored, this, [this](int row) {
        // Its channel list is about to be rebuilt under the editor's channel model.
        if (ui->fixtureDefinitionForm->definition() == m_listModel->definitionAt(row))
            ui->fixtureDefinitionForm->setDefinition(nullptr);
    });
    connect(m_history, &LibraryHistory::touched, this, &LibraryForm::showRows);

    QTableView *table = ui->fixtureDefinitionsTableView;
    table->setModel(m_proxyModel);
    table->setItemDelegateForColumn(LocalFixtureDefinitionListModel::FixtureNameColumn,
                                    new FixtureIconDelegate(this));
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
    const int nSelected = int(selectedProxyRows().size());
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

// What QItemSelectionModel::selectedRows() gives, in linear time: it tests every row against
// every range, which takes seconds for the thousands of ranges that undoing a scattered delete
// selects. Ranges that span all columns (every selection the table makes) are whole rows.
QList<int> LibraryForm::selectedProxyRows() const
{
    const QItemSelectionModel *selection = ui->fixtureDefinitionsTableView->selectionModel();
    const QItemSelection ranges = selection->selection();
    const int lastColumn = m_proxyModel->columnCount() - 1;
    std::vector<bool> seen(size_t(m_proxyModel->rowCount()), false);
    QList<int> rows;
    for (const QItemSelectionRange &range : ranges) {
        if (range.parent().isValid())
            continue;
        const bool wholeRows = range.left() == 0 && range.right() == lastColumn;
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (row < 0 || size_t(row) >= seen.size() || seen[size_t(row)])
                continue;
            if (wholeRows || selection->isRowSelected(row, QModelIndex())) {
                seen[size_t(row)] = true;
                rows.append(row);
            }
        }
    }
    return rows;
}

QList<QBLFixtureDefinition *> LibraryForm::selectedDefinitions() const
{
    QList<QBLFixtureDefinition *> selected;
    const QList<int> rows = selectedProxyRows();
    selected.reserve(rows.size());
    for (int row : rows) {
        if (QBLFixtureDefinition *definition = definitionAtProxyRow(row))
            selected.append(definition);
    }
    return selected;
}

void LibraryForm::installListModel(LocalFixtureDefinitionListModel *model)
{
    LocalFixtureDefinitionListModel *old = m_listModel;
    m_proxyModel->setSourceModel(model);
    m_listModel = model;
    m_history->setModel(model);
    ui->fixtureDefinitionForm->setDefinition(nullptr);
    delete old;
    m_filterUpdateRequested = true;
    m_completerUpdateRequested = true;
    updateCurrentFixtureDefinition();
    connect(m_listModel, &QAbstractItemModel::dataChanged, this,
            &LibraryForm::requestCompleterUpdate);
    updateCounter();
    fitNameColumns();
}

void LibraryForm::fitNameColumns()
{
    // The names get what they need, up to half the table (before the first layout the table
    // has no width yet); the manufacturer takes the rest.
    QTableView *table = ui->fixtureDefinitionsTableView;
    const int most =
        qMax(table->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 30, table->width() / 2);
    for (int column : {int(LocalFixtureDefinitionListModel::FixtureNameColumn),
                       int(LocalFixtureDefinitionListModel::ChannelsColumn)}) {
        table->resizeColumnToContents(column);
        if (table->columnWidth(column) > most)
            table->setColumnWidth(column, most);
    }
}

QSplitter *LibraryForm::splitter() const
{
    return ui->splitter;
}

void LibraryForm::addDefinition(const QBLFixtureDefinition *definition)
{
    if (!definition)
        return;
    QElapsedTimer elapsed;
    elapsed.start();
    // The command's first run inserts the row, makes it current and shows it in the editor.
    m_history->addDefinitions({definition}, tr("Add Fixture Definition"));
    qCDebug(lcViews).noquote() << "Adding one fixture definition: " << elapsed.elapsed() << " ms";
    emit archiveModified();
}

void LibraryForm::addDefinitions(const QList<const QBLFixtureDefinition *> &definitions,
                                 const QString &text)
{
    if (definitions.isEmpty())
        return;
    m_history->addDefinitions(definitions, text.isEmpty() ? tr("Add %n Fixture Definition(s)",
                                                               nullptr, int(definitions.size()))
                                                          : text);
    emit archiveModified();
}

void LibraryForm::addDefinitions(const QList<QBLFixtureDefinition *> &definitions)
{
    addDefinitions(QList<const QBLFixtureDefinition *>(definitions.begin(), definitions.end()));
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
    const QList<QBLFixtureDefinition *> selected = selectedDefinitions();
    if (selected.isEmpty())
        return;
    // One insertion for the whole selection: the table sorts once, not once per copy.
    m_history->addDefinitions(
        QList<const QBLFixtureDefinition *>(selected.begin(), selected.end()),
        selected.size() == 1 ? tr("Duplicate Fixture Definition")
                             : tr("Duplicate %1 Fixture Definitions").arg(selected.size()));
    m_filterUpdateRequested = true;
    m_counterUpdateRequested = true;
    emit archiveModified();
    currentFixtureDefinitionChanged();
}

void LibraryForm::removeSelectedRows()
{
    QList<int> sourceRows;
    const QList<int> rows = selectedProxyRows();
    sourceRows.reserve(rows.size());
    for (int row : rows)
        sourceRows.append(m_proxyModel->mapToSource(m_proxyModel->index(row, 0)).row());
    if (sourceRows.isEmpty())
        return;
    m_history->removeRows(sourceRows,
                          sourceRows.size() == 1
                              ? tr("Delete Fixture Definition")
                              : tr("Delete %1 Fixture Definitions").arg(sourceRows.size()));
    emit archiveModified();
}

QList<QBLFixtureDefinition *> LibraryForm::definitionsOf(BLFLArchive *archive)
{
    QList<QBLFixtureDefinition *> all;
    for (QBLFixtureDefinitionLoader *loader : archive->loaders()) {
        loader->parse();
        if (const QList<QBLFixtureDefinition *> *definitions = loader->definitions())
            all.append(*definitions);
    }
    return all;
}

void LibraryForm::showRows(const QList<int> &sourceRows, int channelPosition)
{
    m_filterUpdateRequested = true;
    m_completerUpdateRequested = true;
    m_counterUpdateRequested = true;
    QItemSelectionModel *selection = ui->fixtureDefinitionsTableView->selectionModel();
    if (sourceRows.isEmpty()) {
        selection->clearSelection();
        return;
    }
    QList<int> proxyRows;
    proxyRows.reserve(sourceRows.size());
    for (int row : sourceRows) {
        const QModelIndex shown = m_proxyModel->mapFromSource(
            m_listModel->index(row, LocalFixtureDefinitionListModel::FixtureNameColumn));
        if (shown.isValid())
            proxyRows.append(shown.row());
    }
    // Runs of neighbouring rows as one range each, each spanning every column: thousands of
    // single ranges select slowly, and the Rows flag would widen them by merging each into all
    // the others (quadratic; half a second for 5,000 ranges).
    std::sort(proxyRows.begin(), proxyRows.end());
    QItemSelection rows;
    const int lastColumn = m_proxyModel->columnCount() - 1;
    for (int k = 0; k < proxyRows.size();) {
        int end = k;
        while (end + 1 < proxyRows.size() && proxyRows.at(end + 1) == proxyRows.at(end) + 1)
            ++end;
        rows.select(m_proxyModel->index(proxyRows.at(k), 0),
                    m_proxyModel->index(proxyRows.at(end), lastColumn));
        k = end + 1;
    }
    selection->select(rows, QItemSelectionModel::ClearAndSelect);
    const QModelIndex current = m_proxyModel->mapFromSource(
        m_listModel->index(sourceRows.last(), LocalFixtureDefinitionListModel::FixtureNameColumn));
    if (current.isValid()) {
        selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
        ui->fixtureDefinitionsTableView->scrollTo(current);
    }
    ui->fixtureDefinitionForm->setDefinition(m_listModel->definitionAt(sourceRows.last()));
    if (channelPosition >= 0)
        ui->fixtureDefinitionForm->showChannel(channelPosition);
}

bool LibraryForm::renameInPlace(const QModelIndex &source, const QVariant &value)
{
    QBLFixtureDefinition *definition = m_listModel->definitionAt(source.row());
    if (!definition || source.column() == LocalFixtureDefinitionListModel::ChannelsColumn)
        return false;
    const DefinitionState before = DefinitionState::of(*definition);
    if (!m_listModel->setData(source, value, Qt::EditRole))
        return false;
    // The short name follows the new name now, not when the row is next shown.
    definition->applyAutoShortNames();
    const DefinitionState after = DefinitionState::of(*definition);
    if (after == before)
        return true;
    m_history->recordEdit(source.row(), before, after,
                          source.column() == LocalFixtureDefinitionListModel::FixtureNameColumn
                              ? LibraryHistory::Edit::RenameFixture
                              : LibraryHistory::Edit::RenameManufacturer,
                          -1, -1);
    if (ui->fixtureDefinitionForm->definition() == definition)
        ui->fixtureDefinitionForm->refreshNames();
    emit archiveModified();
    return true;
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
    model->appendCopies(definitionsOf(archive));
    installListModel(model);
    // Only the very last definition of the last loader becomes current.
    const QList<QBLFixtureDefinitionLoader *> &loaders = archive->loaders();
    if (!loaders.isEmpty() && loaders.last()->definitions() &&
        !loaders.last()->definitions()->isEmpty()) {
        showRows({model->rowCount() - 1}, -1);
        m_counterUpdateRequested = false;
        updateCounter();
    }
    m_updateTimer->start();
    m_archive = archive;
    return true;
}

bool LibraryForm::importArchive(BLFLArchive *archive)
{
    if (!archive)
        return false;
    const QList<QBLFixtureDefinition *> imported = definitionsOf(archive);
    addDefinitions(QList<const QBLFixtureDefinition *>(imported.begin(), imported.end()),
                   tr("Import Library"));
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
