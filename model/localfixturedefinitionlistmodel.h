#pragma once

#include <QAbstractTableModel>
#include <QList>

class QBLFixtureDefinition;

// The open library as a table: fixture name, channel count, manufacturer. Owns the
// definitions of its rows.
class LocalFixtureDefinitionListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { FixtureNameColumn = 0, ChannelsColumn = 1, ManufacturerColumn = 2 };

    // Takes over the given definitions.
    explicit LocalFixtureDefinitionListModel(const QList<QBLFixtureDefinition *> &definitions = {},
                                             QObject *parent = nullptr);
    ~LocalFixtureDefinitionListModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    // As a side effect, the user role stores the queried index as the definition's list index.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    bool insertRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

    // Appends copies of the given definitions as rows in one insertion, which costs the
    // attached views one update instead of one per row; the caller keeps the originals.
    void appendCopies(const QList<QBLFixtureDefinition *> &sources);

    // Takes the definitions of the given rows (ascending) out of the list; the caller owns
    // them. insertDefinitions puts taken definitions back: rows (ascending) are the positions
    // they stand at afterwards, and the model owns them again.
    QList<QBLFixtureDefinition *> takeRows(const QList<int> &rows);
    void insertDefinitions(const QList<int> &rows, const QList<QBLFixtureDefinition *> &definitions);

    // The row's definition (still owned by the model), or null outside the list.
    QBLFixtureDefinition *definitionAt(int row) const;
    // The definitions in row order; the model keeps ownership.
    QList<QBLFixtureDefinition *> definitions() const { return m_definitions; }

public slots:
    void nbrOfChannelsChanged(QModelIndex sourceIndex);

private:
    QBLFixtureDefinition *createDefinition();
    void adopt(QBLFixtureDefinition *definition);
    void release(QBLFixtureDefinition *definition);
    void updateListIndexes();
    bool isRow(const QModelIndex &index) const;

    QList<QBLFixtureDefinition *> m_definitions;
};
