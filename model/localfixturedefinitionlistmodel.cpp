#include "localfixturedefinitionlistmodel.h"

#include "qblfixturedefinition.h"

LocalFixtureDefinitionListModel::LocalFixtureDefinitionListModel(
    const QList<QBLFixtureDefinition *> &definitions, QObject *parent)
    : QAbstractTableModel(parent), m_definitions(definitions),
      m_icon(QStringLiteral(":/pixmaps/Fixture.ico"))
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
        if (role == Qt::DecorationRole)
            return m_icon;
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
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case FixtureNameColumn:
        return tr("Fixture Name");
    case ChannelsColumn:
        return tr("#Channels");
    case ManufacturerColumn:
        return tr("Manufacturer");
    }
    return QVariant();
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

void LocalFixtureDefinitionListModel::nbrOfChannelsChanged(QModelIndex sourceIndex)
{
    if (sourceIndex.row() < 0 || sourceIndex.row() >= m_definitions.size())
        return;
    const QModelIndex cell = index(sourceIndex.row(), ChannelsColumn);
    emit dataChanged(cell, cell);
}
