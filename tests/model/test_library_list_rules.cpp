#include "model/localchannellistmodel.h"
#include "model/localfixturedefinitionlistmodel.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"
#include "model/twocolumnssortfilterproxymodel.h"

#include <QSignalSpy>
#include <QtTest>

namespace
{

QBLFixtureDefinition *definition(const QString &name, const QString &maker, int channels = 0)
{
    auto *d = new QBLFixtureDefinition;
    d->setFixtureName(name);
    d->setManufacturerName(maker);
    for (int k = 0; k < channels; ++k)
        d->channels().append(new QBLFixtureChannel);
    return d;
}

QBLFixtureDefinition *rowDefinition(const QAbstractItemModel &model, int row)
{
    return static_cast<QBLFixtureDefinition *>(
        model.index(row, 0).data(Qt::UserRole).value<void *>());
}

QStringList shownNames(const QAbstractItemModel &proxy)
{
    QStringList names;
    for (int row = 0; row < proxy.rowCount(); ++row)
        names << proxy.index(row, 0).data().toString();
    return names;
}

} // namespace

class LibraryListRules : public QObject
{
    Q_OBJECT

private:
    LocalFixtureDefinitionListModel *sample()
    {
        return new LocalFixtureDefinitionListModel({definition("Spot 250", "Brenlow", 12),
                                                    definition("Wash Zoom", "Lumatek", 3),
                                                    definition("Strobe", "Brenlow Pro", 1)},
                                                   this);
    }

private slots:
    void theColumnsShowNameChannelCountAndManufacturer()
    {
        LocalFixtureDefinitionListModel *model = sample();
        QCOMPARE(model->columnCount(), 3);
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QString("Fixture Name"));
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QString("#Channels"));
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QString("Manufacturer"));
        QVERIFY(!model->headerData(0, Qt::Vertical).isValid());
        QCOMPARE(model->index(1, 0).data().toString(), QString("Wash Zoom"));
        QCOMPARE(model->index(1, 1).data(), QVariant(3));
        QCOMPARE(model->index(1, 2).data().toString(), QString("Lumatek"));
        // Icons are the view's: the model needs no Qt GUI module.
        for (int column = 0; column < 3; ++column)
            QVERIFY(!model->index(1, column).data(Qt::DecorationRole).isValid());
        QVERIFY(!model->data(model->index(3, 0)).isValid());
        QCOMPARE(rowDefinition(*model, 2)->fixtureName(), QString("Strobe"));
        QVERIFY(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
        QCOMPARE(model->flags(QModelIndex()), Qt::ItemIsEnabled);
    }

    void aDefinitionWithoutNameIsShownAndFoundUnderItsShortName()
    {
        LocalFixtureDefinitionListModel *model = sample();
        QBLFixtureDefinition *d = definition("", "Other");
        d->setFixtureNameShort("PAR-64");
        model->appendCopies({d});
        delete d;
        QCOMPARE(model->index(3, 0).data().toString(), QString("PAR-64"));

        TwoColumnsSortFilterProxyModel proxy;
        proxy.setSourceModel(model);
        proxy.setFilterCaseSensitivity(Qt::CaseInsensitive);
        proxy.setFilterOnFixtureName(true);
        proxy.setFilterFixedString("par-");
        QCOMPARE(shownNames(proxy), QStringList{"PAR-64"});
    }

    void theFilterLooksOnlyAtTheSwitchedOnColumns_data()
    {
        QTest::addColumn<bool>("onName");
        QTest::addColumn<bool>("onMaker");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("accepted");
        QTest::newRow("both off ignore the text") << false << false << "zzz" << 3;
        QTest::newRow("empty text shows all") << true << true << "" << 3;
        QTest::newRow("name only") << true << false << "brenlow" << 0;
        QTest::newRow("manufacturer only, any case") << false << true << "BRENLOW" << 2;
        QTest::newRow("either column") << true << true << "s" << 3;
        QTest::newRow("name or maker") << true << true << "o" << 3;
        QTest::newRow("pattern is a fixed string") << true << true << "25." << 0;
        QTest::newRow("search anywhere in the name") << true << false << "zoom" << 1;
    }

    void theFilterLooksOnlyAtTheSwitchedOnColumns()
    {
        QFETCH(bool, onName);
        QFETCH(bool, onMaker);
        QFETCH(QString, pattern);
        QFETCH(int, accepted);
        TwoColumnsSortFilterProxyModel proxy;
        QCOMPARE(proxy.acceptedRowCount(), 0);
        proxy.setSourceModel(sample());
        proxy.setFilterCaseSensitivity(Qt::CaseInsensitive);
        proxy.setFilterOnFixtureName(onName);
        proxy.setFilterOnManufacturer(onMaker);
        proxy.setFilterFixedString(pattern);
        QCOMPARE(proxy.rowCount(), accepted);
        QCOMPARE(proxy.acceptedRowCount(), accepted);
    }

    void editingTheChannelCountFailsAndEmitsNothing()
    {
        LocalFixtureDefinitionListModel *model = sample();
        QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
        QVERIFY(!model->setData(model->index(0, 1), 40, Qt::EditRole));
        QVERIFY(!model->setData(model->index(7, 0), "x", Qt::EditRole));
        QVERIFY(!model->setData(model->index(0, 0), "x", Qt::DisplayRole));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(model->index(0, 1).data(), QVariant(12));
    }

    void editingANameCellStoresItAndRefreshesOnlyThatCell()
    {
        LocalFixtureDefinitionListModel *model = sample();
        QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
        QVERIFY(model->setData(model->index(1, 2), "Newmaker", Qt::EditRole));
        QCOMPARE(rowDefinition(*model, 1)->manufacturerName(), QString("Newmaker"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), model->index(1, 2));
    }

    void theInPlaceEditorStartsWithTheStoredNames()
    {
        LocalFixtureDefinitionListModel *model = sample();
        QCOMPARE(model->index(1, 0).data(Qt::EditRole).toString(), QString("Wash Zoom"));
        QCOMPARE(model->index(1, 2).data(Qt::EditRole).toString(), QString("Lumatek"));
        // A definition without a long name shows its short one, but the editor must not
        // offer the short name as the long one.
        QBLFixtureDefinition *row = rowDefinition(*model, 2);
        row->setFixtureNameShort("STRB");
        model->setData(model->index(2, 0), QString(), Qt::EditRole);
        QCOMPARE(model->index(2, 0).data().toString(), QString("STRB"));
        QCOMPARE(model->index(2, 0).data(Qt::EditRole).toString(), QString());
        QVERIFY(!model->index(2, 1).data(Qt::EditRole).isValid());
    }

    void aNameSetterOnARowDefinitionRepaintsItsRow()
    {
        LocalFixtureDefinitionListModel *model = sample();
        QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
        rowDefinition(*model, 2)->setFixtureName("Strobe XL");
        QCOMPARE(model->index(2, 0).data().toString(), QString("Strobe XL"));
        QVERIFY(!changed.isEmpty());
        for (const QList<QVariant> &args : changed)
            QCOMPARE(args.at(0).toModelIndex().row(), 2);
    }

    void storingADefinitionIntoARowCopiesItDeeply()
    {
        LocalFixtureDefinitionListModel *model = sample();
        QBLFixtureDefinition *source = definition("Copy", "Maker", 2);
        source->channels().at(0)->setName("Dimmer");
        QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
        QVERIFY(model->setData(model->index(0, 0), QVariant::fromValue(static_cast<void *>(source)),
                               Qt::UserRole));
        source->channels().at(0)->setName("changed later");
        delete source;
        QBLFixtureDefinition *row = rowDefinition(*model, 0);
        QCOMPARE(row->fixtureName(), QString("Copy"));
        QCOMPARE(row->nbrOfChannels(), 2);
        QCOMPARE(row->channels().at(0)->name(), QString("Dimmer"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(1).toModelIndex(), model->index(0, 2));

        QVERIFY(
            model->setData(model->index(1, 1), QVariant::fromValue<void *>(nullptr), Qt::UserRole));
        QCOMPARE(rowDefinition(*model, 1)->fixtureName(), QString("Wash Zoom"));
    }

    void insertedRowsHoldDefaultDefinitionsAndAllListIndexesFollow()
    {
        LocalFixtureDefinitionListModel *model = sample();
        QVERIFY(model->insertRows(1, 2));
        QCOMPARE(model->rowCount(), 5);
        QCOMPARE(model->index(3, 0).data().toString(), QString("Wash Zoom"));
        QVERIFY(model->definitionAt(1)->fixtureName().isEmpty());
        QCOMPARE(model->definitionAt(1)->fixtureType(), QBLFixtureDefinition::NoFixtureType);
        const QList<QBLFixtureDefinition *> list = model->definitions();
        for (int row = 0; row < list.size(); ++row) {
            QCOMPARE(list.at(row)->listIndex().row(), row);
            QCOMPARE(list.at(row)->listModel(), model);
        }
        QVERIFY(!model->insertRows(9, 1));
    }

    void afterRemovingRowsTwoAndThreeTheLaterRowsReportTheirNewIndexes()
    {
        auto *model = new LocalFixtureDefinitionListModel(
            {definition("A", "m"), definition("B", "m"), definition("C", "m"), definition("D", "m"),
             definition("E", "m")},
            this);
        QBLFixtureDefinition *d4 = model->definitionAt(3);
        QBLFixtureDefinition *d5 = model->definitionAt(4);
        QPointer<QBLFixtureDefinition> removed = model->definitionAt(1);
        QVERIFY(model->removeRows(1, 2));
        QVERIFY(removed.isNull());
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(d4->listIndex().row(), 1);
        QCOMPARE(d5->listIndex().row(), 2);
        QCOMPARE(model->definitions(),
                 (QList<QBLFixtureDefinition *>{model->definitionAt(0), d4, d5}));
        // Rows beyond the end are skipped.
        QVERIFY(model->removeRows(2, 5));
        QCOMPARE(model->rowCount(), 2);
    }

    void aChannelCountChangeRefreshesOnlyThatRowsCountCell()
    {
        LocalFixtureDefinitionListModel *model = sample();
        LocalChannelListModel channels;
        channels.setDefinition(model->definitionAt(1));
        QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
        QVERIFY(channels.insertRows(3, 1));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), model->index(1, 1));
        QCOMPARE(changed.at(0).at(1).toModelIndex(), model->index(1, 1));
        QCOMPARE(model->index(1, 1).data(), QVariant(4));
    }

    void removingTheOnlyChannelShowsZeroChannels()
    {
        LocalFixtureDefinitionListModel *model = sample();
        LocalChannelListModel channels;
        channels.setDefinition(model->definitionAt(2));
        QVERIFY(channels.removeRows(0, 1));
        QCOMPARE(channels.rowCount(), 0);
        QCOMPARE(model->index(2, 1).data(), QVariant(0));
    }

    void theProxySortsNumbersAsNumbers()
    {
        TwoColumnsSortFilterProxyModel proxy;
        proxy.setSourceModel(sample());
        proxy.sort(1);
        QCOMPARE(shownNames(proxy), (QStringList{"Strobe", "Wash Zoom", "Spot 250"}));
    }

    void destroyingTheModelDeletesItsDefinitions()
    {
        auto *model = sample();
        QPointer<QBLFixtureDefinition> d = model->definitionAt(0);
        delete model;
        QVERIFY(d.isNull());
    }
};

QTEST_MAIN(LibraryListRules)
#include "test_library_list_rules.moc"
