#include "localfixturedefinitionlistmodel.h"

#include "columntitles.h"
#include "qblfixturedefinition.h"

LocalFixtureDefinitionListModel::LocalFixtureDefinitionListModel(
    const QList<QBLFixtureDefinition *> &definitions, QObject *parent)
    : QAbstractTableModel(parent), m_definitions(definitions)
{
    for (QBLFixtureDefinition *definition : m_definitions)
        adopt(definition);
    updateListIndexes();
}

LocalFixtureDefinitionListModel::~LocalFixtureDefinitionListModel()
{
    qDeleteAll(m_definitions);
}

int LocalFixtureDefinitionListModel::rowCount(const QModelIndex &) const
{
    return int(m_definitions.size());
}

int LocalFixtureDefinitionListModel::columnCount(const QModelIndex &) const
{
    return 3;
}

bool LocalFixtureDefinitionListModel::isRow(const QModelIndex &index) const
{
    return index.isValid() && index.row() >= 0 && index.row() < m_definitions.size();
}

QBLFixtureDefinition *LocalFixtureDefinitionListModel::definitionAt(int row) const
{
    return row >= 0 && row < m_definitions.size() ? m_definitions.at(row) : nullptr;
}

QVariant LocalFixtureDefinitionListModel::data(const QModelIndex &index, int role) const
{
    if (!isRow(index))
        return QVariant();
    QBLFixtureDefinition *definition = m_definitions.at(index.row());
    if (role == Qt::UserRole) {
        definition->setListIndex(index);
        return QVariant::fromValue(static_cast<void *>(definition));
    }
    switch (index.column()) {
    case FixtureNameColumn:
        if (role == Qt::DisplayRole)
            return definition->displayName();
        // The in-place editor starts with the stored name, not the shown one.
        if (role == Qt::EditRole)
            return definition->fixtureName();
        break;
    case ChannelsColumn:
        if (role == Qt::DisplayRole)
            return definition->nbrOfChannels();
        break;
    case ManufacturerColumn:
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return definition->manufacturerName();
        break;
    }
    return QVariant();
}

QVariant LocalFixtureDefinitionListModel::headerData(int section, Qt::Orientation orientation,
                                                     int role) const
{
    static_assert(FixtureNameColumn == 0 && ChannelsColumn == 1 && ManufacturerColumn == 2);
    return columnTitle(section, orientation, role, [] {
        return QStringList{tr("Fixture Name"), tr("#Channels"), tr("Manufacturer")};
    });
}

Qt::ItemFlags LocalFixtureDefinitionListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsEnabled;
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
}

bool LocalFixtureDefinitionListModel::setData(const QModelIndex &index, const QVariant &value,
                                              int role)
{
    if (!isRow(index))
        return false;
    QBLFixtureDefinition *definition = m_definitions.at(index.row());
    if (role == Qt::EditRole) {
        if (index.column() == ChannelsColumn)
            return false;
        // The setters would report back to this model; detached, they only store.
        definition->setListModel(nullptr);
        if (index.column() == FixtureNameColumn)
            definition->setFixtureName(value.toString());
        else
            definition->setManufacturerName(value.toString());
        definition->setListModel(this);
        emit dataChanged(index, index);
        return true;
    }
    if (role == Qt::UserRole) {
        const auto *source = static_cast<const QBLFixtureDefinition *>(value.value<void *>());
        if (!source) {
            emit dataChanged(index, index);
            return true;
        }
        *definition = *source;
        emit dataChanged(this->index(index.row(), FixtureNameColumn),
                         this->index(index.row(), ManufacturerColumn));
        return true;
    }
    return false;
}

QBLFixtureDefinition *LocalFixtureDefinitionListModel::createDefinition()
{
    auto *definition = new QBLFixtureDefinition;
    adopt(definition);
    return definition;
}

void LocalFixtureDefinitionListModel::adopt(QBLFixtureDefinition *definition)
{
    definition->setListModel(this);
    connect(definition, &QBLFixtureDefinition::nbrOfChannelChanged, this,
            &LocalFixtureDefinitionListModel::nbrOfChannelsChanged);
}

void LocalFixtureDefinitionListModel::updateListIndexes()
{
    for (int row = 0; row < m_definitions.size(); ++row)
        m_definitions.at(row)->setListIndex(index(row, FixtureNameColumn));
}

bool LocalFixtureDefinitionListModel::insertRows(int row, int count, const QModelIndex &)
{
    if (row < 0 || row > m_definitions.size() || count < 1)
        return false;
    beginInsertRows(QModelIndex(), row, row + count - 1);
    for (int k = 0; k < count; ++k)
        m_definitions.insert(row, createDefinition());
    updateListIndexes();
    endInsertRows();
    return true;
}

bool LocalFixtureDefinitionListModel::removeRows(int row, int count, const QModelIndex &)
{
    if (row < 0 || row >= m_definitions.size() || count < 1)
        return false;
    // Rows beyond the end are skipped.
    count = qMin(count, int(m_definitions.size()) - row);
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    for (int k = 0; k < count; ++k)
        delete m_definitions.takeAt(row);
    updateListIndexes();
    endRemoveRows();
    return true;
}

void LocalFixtureDefinitionListModel::appendCopies(const QList<QBLFixtureDefinition *> &sources)
{
    if (sources.isEmpty())
        return;
    const int first = int(m_definitions.size());
    beginInsertRows(QModelIndex(), first, first + int(sources.size()) - 1);
    m_definitions.reserve(first + sources.size());
    for (const QBLFixtureDefinition *source : sources) {
        QBLFixtureDefinition *definition = createDefinition();
        *definition = *source;
        definition->setListModel(this);
        m_definitions.append(definition);
        definition->setListIndex(index(int(m_definitions.size()) - 1, FixtureNameColumn));
    }
    endInsertRows();
}

void LocalFixtureDefinitionListModel::release(QBLFixtureDefinition *definition)
{
    disconnect(definition, nullptr, this, nullptr);
    definition->setListModel(nullptr);
    definition->setListIndex(QModelIndex());
}

namespace
{

// Scattered rows are announced as one reset: a removal or insertion signal per run costs
// the proxy and the table a pass over all rows each, which thousands of runs make slow.
constexpr int MaxAnnouncedRuns = 8;

// Runs of consecutive rows in an ascending list, as (first row, count).
QList<QPair<int, int>> runsOf(const QList<int> &rows)
{
    QList<QPair<int, int>> runs;
    for (int row : rows) {
        if (!runs.isEmpty() && runs.last().first + runs.last().second == row)
            ++runs.last().second;
        else
            runs.append({row, 1});
    }
    return runs;
}

} // namespace

QList<QBLFixtureDefinition *> LocalFixtureDefinitionListModel::takeRows(const QList<int> &rows)
{
    QList<QBLFixtureDefinition *> taken;
    for (int row : rows) {
        if (row < 0 || row >= m_definitions.size())
            return taken;
    }
    const QList<QPair<int, int>> runs = runsOf(rows);
    const bool reset = runs.size() > MaxAnnouncedRuns;
    taken.reserve(rows.size());
    for (int row : rows)
        taken.append(m_definitions.at(row));
    if (reset) {
        beginResetModel();
        QList<QBLFixtureDefinition *> kept;
        kept.reserve(m_definitions.size() - rows.size());
        int next = 0;
        for (int row = 0; row < m_definitions.size(); ++row) {
            if (next < rows.size() && rows.at(next) == row)
                ++next;
            else
                kept.append(m_definitions.at(row));
        }
        m_definitions = kept;
        updateListIndexes();
        endResetModel();
    } else {
        // From the bottom up, so the runs still to remove keep their rows.
        for (int k = int(runs.size()) - 1; k >= 0; --k) {
            const auto [first, count] = runs.at(k);
            beginRemoveRows(QModelIndex(), first, first + count - 1);
            m_definitions.remove(first, count);
            updateListIndexes();
            endRemoveRows();
        }
    }
    for (QBLFixtureDefinition *definition : taken)
        release(definition);
    return taken;
}

void LocalFixtureDefinitionListModel::insertDefinitions(
    const QList<int> &rows, const QList<QBLFixtureDefinition *> &definitions)
{
    if (rows.size() != definitions.size() || rows.isEmpty())
        return;
    for (QBLFixtureDefinition *definition : definitions)
        adopt(definition);
    const QList<QPair<int, int>> runs = runsOf(rows);
    if (runs.size() > MaxAnnouncedRuns) {
        beginResetModel();
        QList<QBLFixtureDefinition *> merged;
        merged.reserve(m_definitions.size() + definitions.size());
        int next = 0;
        int old = 0;
        while (next < rows.size() || old < m_definitions.size()) {
            if (next < rows.size() && rows.at(next) == int(merged.size()))
                merged.append(definitions.at(next++));
            else if (old < m_definitions.size())
                merged.append(m_definitions.at(old++));
            else // a row beyond the end: append the rest in order
                merged.append(definitions.at(next++));
        }
        m_definitions = merged;
        updateListIndexes();
        endResetModel();
        return;
    }
    // From the top down: each run's rows are final once the runs above it are in.
    int taken = 0;
    for (const auto &[first, count] : runs) {
        const int at = qMin(first, int(m_definitions.size()));
        beginInsertRows(QModelIndex(), at, at + count - 1);
        for (int k = 0; k < count; ++k)
            m_definitions.insert(at + k, definitions.at(taken++));
        updateListIndexes();
        endInsertRows();
    }
}

void LocalFixtureDefinitionListModel::nbrOfChannelsChanged(QModelIndex sourceIndex)
{
    if (sourceIndex.row() < 0 || sourceIndex.row() >= m_definitions.size())
        return;
    const QModelIndex cell = index(sourceIndex.row(), ChannelsColumn);
    emit dataChanged(cell, cell);
}
