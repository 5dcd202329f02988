#pragma once

#include <QAbstractTableModel>
#include <QByteArrayView>
#include <QList>

class QBLRemoteFixtureDefinition;

// The controller's fixture list as a table: one owned remote definition per row. The user
// role hands out the row's object as a pointer value.
class RemoteFixtureDefinitionListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The slot comes last in the model (columns keep their numbers); the pane shows it first.
    enum Column {
        FixtureNameColumn = 0,
        ChannelsColumn = 1,
        ManufacturerColumn = 2,
        SlotColumn = 3
    };

    explicit RemoteFixtureDefinitionListModel(QObject *parent = nullptr);
    ~RemoteFixtureDefinitionListModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    bool insertRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

    // Appends one row per header of a fixture list answer, in list order.
    void appendListHeaders(const QList<QByteArrayView> &headers);

private:
    QList<QBLRemoteFixtureDefinition *> m_rows;
};
