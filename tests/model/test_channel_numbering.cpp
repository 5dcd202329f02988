#include "model/localchannellistmodel.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

#include <QSignalSpy>
#include <QtTest>

namespace
{

void addChannels(QBLFixtureDefinition &d, const QList<int> &numbers)
{
    for (int number : numbers) {
        auto *c = new QBLFixtureChannel;
        c->setNumber(number);
        c->setName(QStringLiteral("ch%1").arg(d.nbrOfChannels()));
        d.channels().append(c);
    }
}

QList<int> numbers(const QBLFixtureDefinition &d)
{
    QList<int> result;
    for (const QBLFixtureChannel *c : d.channels())
        result << c->number();
    return result;
}

} // namespace

class ChannelNumbering : public QObject
{
    Q_OBJECT

private slots:
    void withoutADefinitionNothingCanBeChanged()
    {
        LocalChannelListModel model;
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(!model.insertRows(0, 1));
        QVERIFY(!model.removeRows(0, 1));
        QVERIFY(!model.setData(model.index(0, 0), 1, Qt::EditRole));
        QVERIFY(!model.moveChannelDown(0));
        QVERIFY(!model.data(model.index(0, 0)).isValid());
    }

    void settingADefinitionClosesTheGapsInItsNumbers_data()
    {
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<QList<int>>("after");
        QTest::newRow("gaps") << QList<int>{5, 7, 9} << QList<int>{1, 2, 3};
        QTest::newRow("mixed order") << QList<int>{3, 1, 3, 7} << QList<int>{2, 1, 3, 4};
        QTest::newRow("equal numbers in list order") << QList<int>{4, 4, 4} << QList<int>{1, 2, 3};
        QTest::newRow("negative first") << QList<int>{2, -5, 1} << QList<int>{3, 1, 2};
        QTest::newRow("unnumbered last") << QList<int>{1000, 2} << QList<int>{2, 1};
    }

    void settingADefinitionClosesTheGapsInItsNumbers()
    {
        QFETCH(QList<int>, before);
        QBLFixtureDefinition d;
        addChannels(d, before);
        LocalChannelListModel model;
        model.setDefinition(&d);
        QTEST(numbers(d), "after");
        QCOMPARE(model.rowCount(), before.size());
        for (const QBLFixtureChannel *c : d.channels())
            QVERIFY(c->renumberMark());
    }

    void theColumnsShowNumberAndName()
    {
        QBLFixtureDefinition d;
        addChannels(d, {2, 1});
        d.channels().at(0)->setName(QString());
        d.channels().at(0)->setNameShort("Pan fine");
        LocalChannelListModel model(&d);
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("Channel#"));
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QString("Channel Name"));
        QCOMPARE(model.index(0, 0).data(), QVariant(2));
        QCOMPARE(model.index(0, 1).data().toString(), QString("Pan fine"));
        QCOMPARE(model.index(1, 1).data(Qt::UserRole).value<void *>(),
                 static_cast<void *>(d.channels().at(1)));
        QVERIFY(!(model.flags(model.index(0, 1)) & Qt::ItemIsEditable));
    }

    void aChannelInsertedInTheMiddleTakesItsPlaceAndPushesTheRestUp()
    {
        QBLFixtureDefinition d;
        addChannels(d, {1, 2, 3});
        LocalChannelListModel model(&d);
        QSignalSpy counted(&d, &QBLFixtureDefinition::nbrOfChannelChanged);
        QVERIFY(model.insertRows(1, 1));
        QCOMPARE(numbers(d), (QList<int>{1, 2, 3, 4}));
        QCOMPARE(d.channels().at(1)->number(), 2);
        QCOMPARE(d.channels().at(2)->name(), QString("ch1"));
        QCOMPARE(d.channels().at(2)->number(), 3);
        QCOMPARE(counted.count(), 1);
        QVERIFY(model.insertRows(4, 1));
        QCOMPARE(d.channels().at(4)->number(), 5);
    }

    void removingAChannelRenumbersTheRest()
    {
        QBLFixtureDefinition d;
        addChannels(d, {1, 2, 3, 4});
        LocalChannelListModel model(&d);
        model.setDefinition(&d);
        QPointer<QBLFixtureChannel> gone = d.channels().at(1);
        QVERIFY(model.removeRows(1, 1));
        QVERIFY(gone.isNull());
        QCOMPARE(numbers(d), (QList<int>{1, 2, 3}));
        QVERIFY(!model.removeRows(3, 1));
    }

    void movingAChannelExchangesNumbersNotPlaces()
    {
        QBLFixtureDefinition d;
        addChannels(d, {1, 2, 3});
        LocalChannelListModel model;
        model.setDefinition(&d);
        QBLFixtureChannel *first = d.channels().at(0);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(model.moveChannelDown(0));
        QCOMPARE(d.channels().at(0), first);
        QCOMPARE(numbers(d), (QList<int>{2, 1, 3}));
        QVERIFY(changed.count() >= 2);
        QCOMPARE(changed.last().at(0).toModelIndex(), model.index(0, 0));
        QVERIFY(model.moveChannelUp(2));
        QCOMPARE(numbers(d), (QList<int>{3, 1, 2}));
    }

    void movingPastEitherEndFailsAndChangesNothing()
    {
        QBLFixtureDefinition d;
        addChannels(d, {2, 1, 3});
        LocalChannelListModel model;
        model.setDefinition(&d);
        QVERIFY(!model.moveChannelUp(1));   // number 1
        QVERIFY(!model.moveChannelDown(2)); // the last
        QCOMPARE(numbers(d), (QList<int>{2, 1, 3}));
    }

    void storingAChannelIntoARowCopiesIt()
    {
        QBLFixtureDefinition d;
        addChannels(d, {1});
        LocalChannelListModel model;
        model.setDefinition(&d);
        QBLFixtureChannel source;
        source.setName("Tilt");
        source.setNumber(1);
        source.setAutoNameShort(false);
        QVERIFY(model.setData(model.index(0, 0), QVariant::fromValue(static_cast<void *>(&source)),
                              Qt::UserRole));
        QCOMPARE(d.channels().at(0)->name(), QString("Tilt"));
        QVERIFY(!d.channels().at(0)->isAutoNameShort());
        QVERIFY(d.channels().at(0) != &source);
    }

    void switchingDefinitionsNeverDeletesThem()
    {
        QBLFixtureDefinition a, b;
        addChannels(a, {1, 2});
        addChannels(b, {1});
        LocalChannelListModel model;
        model.setDefinition(&a);
        model.setDefinition(&b);
        QCOMPARE(model.rowCount(), 1);
        model.setDefinition(nullptr);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(a.nbrOfChannels(), 2);
        QCOMPARE(b.nbrOfChannels(), 1);
    }
};

QTEST_GUILESS_MAIN(ChannelNumbering)
#include "test_channel_numbering.moc"
