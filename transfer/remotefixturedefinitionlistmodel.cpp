#include "remotefixturedefinitionlistmodel.h"

#include "model/columntitles.h"
#include "qblremotefixturedefinition.h"

RemoteFixtureDefinitionListModel::RemoteFixtureDefinitionListModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

RemoteFixtureDefinitionListModel::~RemoteFixtureDefinitionListModel()
{
    qDeleteAll(m_rows);
}

int RemoteFixtureDefinitionListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RemoteFixtureDefinitionListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant RemoteFixtureDefinitionListModel::headerData(int section, Qt::Orientation orientation,
                                                      int role) const
{
    static_assert(FixtureNameColumn == 0 && ChannelsColumn == 1 && ManufacturerColumn == 2 &&
                  SlotColumn == 3);
    return columnTitle(section, orientation, role, [] {
        return QStringList{tr("Fixture Name"), tr("#Channels"), tr("Manufacturer"), tr("Slot")};
    });
}

QVariant RemoteFixtureDefinitionListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const QBLRemoteFixtureDefinition *row = m_rows.at(index.row());
    if (role == Qt::UserRole)
        return QVariant::fromValue(
            static_cast<void *>(const_cast<QBLRemoteFixtureDefinition *>(row)));
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case FixtureNameColumn:
            return row->displayName();
        case ChannelsColumn:
            return row->nbrOfChannels();
        case ManufacturerColumn:
            return row->manufacturerDisplayName();
        case SlotColumn:
            return int(row->slotNumber());
        }
    }
    return QVariant();
}

Qt::ItemFlags RemoteFixtureDefinitionListModel::flags(const QModelIndex &index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
}

bool RemoteFixtureDefinitionListModel::setData(const QModelIndex &index, const QVariant &value,
                                               int role)
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return false;
    QBLRemoteFixtureDefinition *row = m_rows.at(index.row());
    if (role == Qt::EditRole) {
        switch (index.column()) {
        case FixtureNameColumn:
            row->setFixtureName(value.toString());
            break;
        case ChannelsColumn:
            row->setNbrOfChannels(value.toInt());
            break;
        case ManufacturerColumn:
            row->setManufacturerName(value.toString());
            break;
        default:
            return false;
        }
        emit dataChanged(index, index);
        return true;
    }
    if (role == Qt::UserRole) {
        const auto *source = static_cast<const QBLRemoteFixtureDefinition *>(value.value<void *>());
        if (!source)
            return false;
        *row = *source;
        for (int column = 0; column < 3; ++column) {
            const QModelIndex cell = this->index(index.row(), column);
            emit dataChanged(cell, cell);
        }
        emit dataChanged(index, index);
        return true;
    }
    return false;
}

bool RemoteFixtureDefinitionListModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || row > m_rows.size() || count < 1)
        return false;
    beginInsertRows(QModelIndex(), row, row + count - 1);
    for (int i = 0; i < count; ++i)
        m_rows.insert(row, new QBLRemoteFixtureDefinition);
    endInsertRows();
    return true;
}

bool RemoteFixtureDefinitionListModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > m_rows.size())
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    for (int i = 0; i < count; ++i)
        delete m_rows.takeAt(row);
    endRemoveRows();
    emit layoutChanged();
    return true;
}

void RemoteFixtureDefinitionListModel::appendListHeaders(const QList<QByteArrayView> &headers)
{
    for (const QByteArrayView &header : headers) {
        const int row = rowCount();
        insertRows(row, 1);
        QBLRemoteFixtureDefinition decoded;
        decoded.decodeListHeader(header.data());
        setData(index(row, 0), QVariant::fromValue(static_cast<void *>(&decoded)), Qt::UserRole);
    }
}
