#pragma once

#include <QAbstractTableModel>

class QBLFixtureDefinition;

// The channels of the one definition being edited. Rows are positions in the definition's
// channel list, which never change after insertion; the channels' numbers stay dense (1 to
// n) and a sorting proxy on column 0 puts them in number order.
class LocalChannelListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { NumberColumn = 0, NameColumn = 1 };

    explicit LocalChannelListModel(QBLFixtureDefinition *definition = nullptr,
                                   QObject *parent = nullptr);

    QBLFixtureDefinition *definition() const { return m_definition; }
    // Renumbers the new definition's channels at once.
    void setDefinition(QBLFixtureDefinition *definition);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    bool insertRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

    // Exchange numbers with the neighbour above or below; false at the ends. Row is a list
    // position, not a view row.
    bool moveChannelDown(int row);
    bool moveChannelUp(int row);

private:
    void renumber();
    bool moveChannel(int row, int step);
    bool isRow(const QModelIndex &index) const;

    QBLFixtureDefinition *m_definition = nullptr;
};
