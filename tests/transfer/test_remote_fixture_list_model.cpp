#include "devicerecord.h"
#include "qblremotefixturedefinition.h"
#include "remotefixturedefinitionlistmodel.h"

#include <QSignalSpy>
#include <QtTest>

namespace
{

QByteArray header(const QByteArray &name, const QByteArray &shortName, const QByteArray &maker,
                  int channels, int slot)
{
    QByteArray h(DeviceRecord::HeaderSize, '\0');
    h.replace(0, name.size(), name);
    h.replace(100, shortName.size(), shortName);
    h.replace(120, maker.size(), maker);
    h[240] = char(channels);
    h[242] = char(slot);
    return h;
}

QBLRemoteFixtureDefinition *rowObject(const RemoteFixtureDefinitionListModel &m, int row,
                                      int column = 0)
{
    return static_cast<QBLRemoteFixtureDefinition *>(
        m.data(m.index(row, column), Qt::UserRole).value<void *>());
}

} // namespace

class RemoteFixtureListModelTest : public QObject
{
    Q_OBJECT

    QByteArray m_list;

private slots:
    void init()
    {
        m_list = QByteArray("\x02\x00", 2) + header("Spot", "Spot", "Acme", 12, 3) +
                 header("", "Short only", "", 4, 9);
    }

    void aListAnswerFillsOneRowPerHeaderInOrder()
    {
        QList<QByteArrayView> headers;
        QVERIFY(DeviceRecord::splitFixtureList(m_list, &headers));
        RemoteFixtureDefinitionListModel model;
        model.appendListHeaders(headers);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.columnCount(), 4);
        QCOMPARE(model.data(model.index(0, 0)), QVariant(QStringLiteral("Spot")));
        QCOMPARE(model.data(model.index(0, 1)).typeId(), QMetaType::Int);
        QCOMPARE(model.data(model.index(0, 1)).toInt(), 12);
        QCOMPARE(model.data(model.index(0, 2)), QVariant(QStringLiteral("Acme")));
        QCOMPARE(rowObject(model, 0)->slotNumber(), quint8(3));
        QCOMPARE(model.data(model.index(0, 3)).toInt(), 3);
        QCOMPARE(model.data(model.index(1, 3)).toInt(), 9);
        QCOMPARE(rowObject(model, 1, 2)->slotNumber(), quint8(9));
    }

    void aHeaderWithoutFixtureNameShowsItsShortName()
    {
        QList<QByteArrayView> headers;
        QVERIFY(DeviceRecord::splitFixtureList(m_list, &headers));
        RemoteFixtureDefinitionListModel model;
        model.appendListHeaders(headers);
        QCOMPARE(model.data(model.index(1, 0)).toString(), QStringLiteral("Short only"));
    }

    void headersAndRolesOutsideTheTableGiveNothing()
    {
        RemoteFixtureDefinitionListModel model;
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Fixture Name"));
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("#Channels"));
        QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Manufacturer"));
        QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("Slot"));
        QVERIFY(!model.headerData(0, Qt::Vertical).isValid());
        QVERIFY(!model.headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
        model.insertRows(0, 1);
        for (int column = 0; column < 4; ++column)
            QVERIFY(!model.data(model.index(0, column), Qt::DecorationRole).isValid());
        QVERIFY(!model.data(model.index(5, 0)).isValid());
        QVERIFY(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
        QVERIFY(model.flags(model.index(0, 0)) & Qt::ItemIsDragEnabled);
    }

    void editingACellChangesThatFieldOnly()
    {
        RemoteFixtureDefinitionListModel model;
        model.insertRows(0, 1);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(model.setData(model.index(0, 0), QStringLiteral("Renamed")));
        QVERIFY(model.setData(model.index(0, 1), 7));
        QVERIFY(!model.setData(model.index(0, 3), 1));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(rowObject(model, 0)->fixtureName(), QStringLiteral("Renamed"));
        QCOMPARE(rowObject(model, 0)->nbrOfChannels(), 7);
        QCOMPARE(rowObject(model, 0)->slotNumber(), quint8(0xFF));
    }

    void storingAnObjectCopiesItAndReportsEveryCellThenTheGivenOne()
    {
        RemoteFixtureDefinitionListModel model;
        model.insertRows(0, 1);
        QBLRemoteFixtureDefinition source;
        source.decodeListHeader(header("Wash", "W", "Maker", 8, 40).constData());
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(model.setData(model.index(0, 1), QVariant::fromValue(static_cast<void *>(&source)),
                              Qt::UserRole));
        QCOMPARE(changed.count(), 4);
        QCOMPARE(changed.at(3).at(0).toModelIndex(), model.index(0, 1));
        QVERIFY(rowObject(model, 0) != &source);
        QCOMPARE(rowObject(model, 0)->slotNumber(), quint8(40));
        QCOMPARE(rowObject(model, 0)->fixtureNameShort(), QStringLiteral("W"));
        QVERIFY(!model.setData(model.index(0, 0), 1, Qt::ToolTipRole));
    }

    void removingAllRowsEmptiesTheModelAndSignalsALayoutChange()
    {
        RemoteFixtureDefinitionListModel model;
        model.insertRows(0, 3);
        QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);
        QVERIFY(model.removeRows(0, model.rowCount()));
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(layout.count(), 1);
        QVERIFY(!model.removeRows(0, 1));
    }
};

QTEST_GUILESS_MAIN(RemoteFixtureListModelTest)
#include "test_remote_fixture_list_model.moc"
