#include "model/qblfixturedefinition.h"

#include <QAbstractTableModel>
#include <QSignalSpy>
#include <QtTest>

namespace
{

// Behaves like the library list: the edit role stores the text into the row's definition
// through its setters, which call back into notifyListModel.
class RowsModel : public QAbstractTableModel
{
public:
    QList<QBLFixtureDefinition *> rows;
    QList<QPair<QModelIndex, QString>> edits;

    int rowCount(const QModelIndex & = {}) const override { return int(rows.size()); }
    int columnCount(const QModelIndex & = {}) const override { return 3; }
    QVariant data(const QModelIndex &, int) const override { return {}; }
    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (role != Qt::EditRole || !index.isValid() || index.column() == 1)
            return false;
        edits.append({index, value.toString()});
        QBLFixtureDefinition *d = rows.at(index.row());
        if (index.column() == 0)
            d->setFixtureName(value.toString());
        else
            d->setManufacturerName(value.toString());
        emit dataChanged(index, index);
        return true;
    }
};

} // namespace

class TestListModelHooks : public QObject
{
    Q_OBJECT

private slots:
    void aSetterWithoutListModelChangesOnlyTheField()
    {
        QBLFixtureDefinition d;
        d.setListIndex(QModelIndex());
        d.setFixtureName(QStringLiteral("Wash"));
        QCOMPARE(d.fixtureName(), QStringLiteral("Wash"));
    }

    void everyNameSetterRefreshesColumnsZeroAndTwoOfItsRow()
    {
        RowsModel model;
        QBLFixtureDefinition a, b;
        model.rows = {&a, &b};
        b.setListModel(&model);
        b.setListIndex(model.index(1, 0));
        b.setManufacturerName(QStringLiteral("Maker"));
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

        b.setFixtureNameShort(QStringLiteral("W"));
        QCOMPARE(model.edits.size(), 4); // two from the manufacturer setter above
        QCOMPARE(model.edits.at(2).first, model.index(1, 0));
        QCOMPARE(model.edits.at(3).first, model.index(1, 2));
        QCOMPARE(model.edits.at(3).second, QStringLiteral("Maker"));
        QCOMPARE(changed.size(), 2);

        b.setFixtureName(QStringLiteral("Wash"));
        b.setManufacturerNameShort(QStringLiteral("M"));
        QCOMPARE(model.edits.size(), 8);
        QCOMPARE(model.edits.at(6).second, QStringLiteral("Wash"));
        QCOMPARE(b.fixtureName(), QStringLiteral("Wash"));
        QVERIFY(a.fixtureName().isEmpty());
    }

    void aDeletedListModelIsNoLongerCalled()
    {
        QBLFixtureDefinition d;
        {
            RowsModel model;
            model.rows = {&d};
            d.setListModel(&model);
            d.setListIndex(model.index(0, 0));
        }
        d.setFixtureName(QStringLiteral("still fine"));
        QVERIFY(d.listModel() == nullptr);
    }

    void channelCountSignalCarriesTheListIndex()
    {
        RowsModel model;
        QBLFixtureDefinition d;
        model.rows = {&d, &d, &d};
        d.setListIndex(model.index(2, 0));
        QSignalSpy spy(&d, &QBLFixtureDefinition::nbrOfChannelChanged);
        d.emitNbrOfChannelChanged();
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).value<QModelIndex>(), model.index(2, 0));
    }
};

QTEST_GUILESS_MAIN(TestListModelHooks)
#include "test_list_model_hooks.moc"
