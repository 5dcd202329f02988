#include "localchannellistmodel.h"

#include "columntitles.h"
#include "qblfixturechannel.h"
#include "qblfixturedefinition.h"

#include <algorithm>
#include <numeric>

LocalChannelListModel::LocalChannelListModel(QBLFixtureDefinition *definition, QObject *parent)
    : QAbstractTableModel(parent), m_definition(definition)
{
}

void LocalChannelListModel::setDefinition(QBLFixtureDefinition *definition)
{
    if (m_definition && m_definition->nbrOfChannels() > 0) {
        beginRemoveRows(QModelIndex(), 0, m_definition->nbrOfChannels() - 1);
        m_definition = nullptr;
        endRemoveRows();
    }
    if (definition && definition->nbrOfChannels() > 0) {
        beginInsertRows(QModelIndex(), 0, definition->nbrOfChannels() - 1);
        m_definition = definition;
        endInsertRows();
    } else {
        m_definition = definition;
    }
    renumber();
}

int LocalChannelListModel::rowCount(const QModelIndex &) const
{
    return m_definition ? m_definition->nbrOfChannels() : 0;
}

int LocalChannelListModel::columnCount(const QModelIndex &) const
{
    return 2;
}

bool LocalChannelListModel::isRow(const QModelIndex &index) const
{
    return m_definition && index.isValid() && index.row() >= 0 &&
           index.row() < m_definition->nbrOfChannels();
}

QVariant LocalChannelListModel::data(const QModelIndex &index, int role) const
{
    if (!isRow(index))
        return QVariant();
    QBLFixtureChannel *channel = m_definition->channels().at(index.row());
    if (role == Qt::UserRole)
        return QVariant::fromValue(static_cast<void *>(channel));
    if (role != Qt::DisplayRole)
        return QVariant();
    if (index.column() == NumberColumn)
        return channel->number();
    if (index.column() == NameColumn)
        return channel->displayName();
    return QVariant();
}

QVariant LocalChannelListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static_assert(NumberColumn == 0 && NameColumn == 1);
    return columnTitle(section, orientation, role,
                       [] { return QStringList{tr("Channel#"), tr("Channel Name")}; });
}

Qt::ItemFlags LocalChannelListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

bool LocalChannelListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!isRow(index))
        return false;
    if (role == Qt::UserRole) {
        const auto *source = static_cast<const QBLFixtureChannel *>(value.value<void *>());
        if (source)
            *m_definition->channels().at(index.row()) = *source;
        emit dataChanged(index, index);
        return true;
    }
    if (role == Qt::EditRole) {
        emit dataChanged(index, index);
        return true;
    }
    return false;
}

bool LocalChannelListModel::insertRows(int row, int count, const QModelIndex &)
{
    if (!m_definition || row < 0 || row > m_definition->nbrOfChannels() || count < 1)
        return false;
    beginInsertRows(QModelIndex(), row, row + count - 1);
    for (int k = 0; k < count; ++k) {
        auto *channel = new QBLFixtureChannel;
        channel->setNumber(row + 1 + k);
        m_definition->channels().insert(row, channel);
    }
    endInsertRows();
    // After the insertion is finished, so that views know the rows the change names.
    renumber();
    m_definition->emitNbrOfChannelChanged();
    return true;
}

bool LocalChannelListModel::removeRows(int row, int count, const QModelIndex &)
{
    if (!m_definition || row < 0 || row >= m_definition->nbrOfChannels() || count < 1)
        return false;
    count = qMin(count, m_definition->nbrOfChannels() - row);
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    for (int k = 0; k < count; ++k)
        delete m_definition->channels().takeAt(row);
    endRemoveRows();
    renumber();
    m_definition->emitNbrOfChannelChanged();
    return true;
}

void LocalChannelListModel::renumber()
{
    if (!m_definition)
        return;
    QList<QBLFixtureChannel *> &channels = m_definition->channels();
    for (QBLFixtureChannel *channel : channels)
        channel->setRenumberMark(false);
    // Smallest number first, equal numbers in list order: a stable sort of the positions.
    QList<int> order(channels.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return channels.at(a)->number() < channels.at(b)->number();
    });
    int next = 1;
    for (int position : order) {
        channels.at(position)->setNumber(next++);
        channels.at(position)->setRenumberMark(true);
    }
    if (!channels.isEmpty())
        emit dataChanged(index(0, NumberColumn), index(int(channels.size()) - 1, NameColumn));
}

bool LocalChannelListModel::moveChannel(int row, int step)
{
    if (!m_definition || row < 0 || row >= m_definition->nbrOfChannels())
        return false;
    renumber();
    QList<QBLFixtureChannel *> &channels = m_definition->channels();
    QBLFixtureChannel *moved = channels.at(row);
    const int a = moved->number();
    const int b = a + step;
    for (int other = 0; other < channels.size(); ++other) {
        if (channels.at(other)->number() != b)
            continue;
        channels.at(other)->setNumber(a);
        moved->setNumber(b);
        emit dataChanged(index(other, NumberColumn), index(other, NumberColumn));
        emit dataChanged(index(row, NumberColumn), index(row, NumberColumn));
        return true;
    }
    return false;
}

bool LocalChannelListModel::moveChannelDown(int row)
{
    return moveChannel(row, 1);
}

bool LocalChannelListModel::moveChannelUp(int row)
{
    return moveChannel(row, -1);
}
