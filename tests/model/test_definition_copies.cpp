#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

#include <QStringListModel>
#include <QtTest>

// Copy construction shares channels, assignment duplicates them; ownership of channels.
class TestDefinitionCopies : public QObject
{
    Q_OBJECT

    static QBLFixtureChannel *channel(const QString &name, int number)
    {
        auto *c = new QBLFixtureChannel;
        c->setName(name);
        c->setNumber(number);
        return c;
    }

    static void fill(QBLFixtureDefinition &d, QAbstractItemModel *model)
    {
        d.setFixtureName(QStringLiteral("Spot 575"));
        d.setFixtureNameShort(QStringLiteral("S575"));
        d.setAutoFixtureNameShort(false);
        d.setManufacturerName(QStringLiteral("Brightworks"));
        d.setFixtureType(3);
        d.setListModel(model);
        d.setListIndex(model ? model->index(1, 0) : QModelIndex());
        d.channels().append(channel(QStringLiteral("Pan"), 1));
        d.channels().append(channel(QStringLiteral("Tilt"), 2));
    }

private slots:
    void assignmentCopiesHeaderAndDuplicatesChannels()
    {
        QStringListModel model({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        QBLFixtureDefinition source;
        fill(source, &model);
        source.channels().at(0)->setDescription(QStringLiteral("kept in memory only"));
        source.channels().at(0)->setAutoNameShort(false);
        source.channels().at(0)->setNameShort(QStringLiteral("P"));
        source.channels().at(0)->setRenumberMark(true);

        QBLFixtureDefinition copy;
        copy.channels().append(channel(QStringLiteral("old"), 9));
        QPointer<QBLFixtureChannel> replaced = copy.channels().at(0);
        copy = source;

        QVERIFY(replaced.isNull());
        QCOMPARE(copy.fixtureName(), QStringLiteral("Spot 575"));
        QCOMPARE(copy.fixtureNameShort(), QStringLiteral("S575"));
        QVERIFY(!copy.isAutoFixtureNameShort());
        QCOMPARE(copy.fixtureType(), 3u);
        QCOMPARE(copy.listModel(), &model);
        QCOMPARE(copy.listIndex().row(), 1);
        QCOMPARE(copy.nbrOfChannels(), 2);
        QVERIFY(copy.channels().at(0) != source.channels().at(0));
        QCOMPARE(copy.channels().at(0)->name(), QStringLiteral("Pan"));
        QCOMPARE(copy.channels().at(0)->nameShort(), QStringLiteral("P"));
        QVERIFY(!copy.channels().at(0)->isAutoNameShort());
        QCOMPARE(copy.channels().at(1)->number(), 2);
        QVERIFY(copy.channels().at(0)->description().isEmpty());
        QVERIFY(!copy.channels().at(0)->renumberMark());

        copy.channels().at(1)->setName(QStringLiteral("Changed"));
        QCOMPARE(source.channels().at(1)->name(), QStringLiteral("Tilt"));
    }

    void selfAssignmentKeepsTheChannels()
    {
        QBLFixtureDefinition d;
        fill(d, nullptr);
        QBLFixtureDefinition &alias = d;
        d = alias;
        QCOMPARE(d.nbrOfChannels(), 2);
        QCOMPARE(d.channels().at(1)->name(), QStringLiteral("Tilt"));
    }

    void copyConstructionSharesTheChannelObjects()
    {
        QBLFixtureDefinition source;
        fill(source, nullptr);
        QBLFixtureDefinition copy(source);
        QCOMPARE(copy.fixtureNameShort(), QStringLiteral("S575"));
        QCOMPARE(copy.fixtureType(), 3u);
        QCOMPARE(copy.channels(), source.channels());
        QVERIFY(&copy.channels() != &source.channels());
        copy.channels().clear();
        QCOMPARE(source.nbrOfChannels(), 2);
    }

    void channelAssignmentLeavesDescriptionAndMarkAlone()
    {
        QBLFixtureChannel a;
        a.setName(QStringLiteral("Dimmer"));
        a.setNumber(4);
        a.setDescription(QStringLiteral("source"));
        a.setRenumberMark(true);
        QBLFixtureChannel b;
        b.setDescription(QStringLiteral("target"));
        b = a;
        QCOMPARE(b.name(), QStringLiteral("Dimmer"));
        QCOMPARE(b.number(), 4);
        QCOMPARE(b.description(), QStringLiteral("target"));
        QVERIFY(!b.renumberMark());
    }

    void destroyingADefinitionDeletesItsChannels()
    {
        QPointer<QBLFixtureChannel> first;
        QPointer<QBLFixtureChannel> second;
        {
            QBLFixtureDefinition d;
            fill(d, nullptr);
            first = d.channels().at(0);
            second = d.channels().at(1);
        }
        QVERIFY(first.isNull());
        QVERIFY(second.isNull());
    }
};

QTEST_GUILESS_MAIN(TestDefinitionCopies)
#include "test_definition_copies.moc"
