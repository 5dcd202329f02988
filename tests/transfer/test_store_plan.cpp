#include "devicerecord.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"
#include "storeplan.h"

#include <QRandomGenerator>
#include <QtTest>

#include <memory>
#include <vector>

using namespace DeviceRecord;

namespace
{

std::unique_ptr<QBLFixtureDefinition> makeDefinition(const QString &name, const QStringList &channels)
{
    auto def = std::make_unique<QBLFixtureDefinition>();
    def->setFixtureName(name);
    def->setManufacturerName(QStringLiteral("Lumen"));
    def->setFixtureType(1);
    for (int n = 1; n <= channels.size(); ++n) {
        auto *ch = new QBLFixtureChannel;
        ch->setName(channels.at(n - 1));
        ch->setNumber(n);
        def->channels().append(ch);
    }
    return def;
}

// What a controller keeps after a write: its slot in the header, and whatever its memory held
// after each text's terminating zero.
QByteArray storedAs(const QBLFixtureDefinition &def, int slot, QRandomGenerator &random)
{
    QBLFixtureDefinition copy;
    copy = def;
    QByteArray record = encodeDeviceRecord(copy);
    record[SlotOffset] = char(slot);
    for (int i = 0; i < record.size(); ++i)
        if (i > 0 && record.at(i - 1) == '\0' && record.at(i) == '\0' && i != SlotOffset &&
            i != FixtureTypeOffset && i != ChannelCountOffset && random.bounded(3) == 0)
            record[i] = char(0x20 + random.bounded(90));
    return record;
}

QList<const QBLFixtureDefinition *> view(const std::vector<std::unique_ptr<QBLFixtureDefinition>> &v)
{
    QList<const QBLFixtureDefinition *> out;
    for (const auto &d : v)
        out.append(d.get());
    return out;
}

} // namespace

class StorePlanTest : public QObject
{
    Q_OBJECT

private slots:
    // A definition counts as held exactly when some slot holds its record: garbage after a
    // text's end and the slot byte do not matter, a changed channel name or type does.
    void aDefinitionIsHeldExactlyWhenASlotHoldsTheSameRecord()
    {
        QRandomGenerator random(450);
        for (int round = 0; round < 200; ++round) {
            std::vector<std::unique_ptr<QBLFixtureDefinition>> defs;
            const int n = 1 + int(random.bounded(6));
            for (int i = 0; i < n; ++i)
                defs.push_back(makeDefinition(QStringLiteral("Spot %1").arg(i),
                                              {QStringLiteral("Pan"), QStringLiteral("Dim %1").arg(i)}));
            QList<StoredRecord> stored;
            QList<int> expected;
            int slot = int(random.bounded(4));
            for (int i = 0; i < n; ++i) {
                const int kind = int(random.bounded(4)); // 0 absent, 1 same, 2 other channel, 3 type
                if (kind == 0) {
                    expected.append(-1);
                    continue;
                }
                QBLFixtureDefinition variant;
                variant = *defs.at(size_t(i));
                if (kind == 2)
                    variant.channels().at(1)->setName(QStringLiteral("Strobe"));
                if (kind == 3)
                    variant.setFixtureType(7);
                stored.append({slot, storedAs(variant, slot, random)});
                expected.append(kind == 1 ? slot : -1);
                slot += 1 + int(random.bounded(3));
            }
            const int freeSlots = int(random.bounded(5));
            const StorePlan plan = planStore(stored, view(defs), freeSlots);
            QCOMPARE(plan.heldIn, expected);
            QCOMPARE(plan.toWrite, int(expected.count(-1)));
            QCOMPARE(plan.capacity(), int(stored.size()) + freeSlots);
            QCOMPARE(plan.fits(), plan.toWrite <= freeSlots);

            // The headers alone point at the candidates: same header, channels unknown; a
            // changed type rules a slot out.
            QList<StoredRecord> headers;
            QList<int> candidates;
            for (const StoredRecord &s : stored) {
                headers.append({s.slot, s.record.first(HeaderSize)});
                if (s.record.at(FixtureTypeOffset) == 1)
                    candidates.append(s.slot);
            }
            QCOMPARE(candidateSlots(headers, view(defs)), candidates);
        }
    }

    void aStoreWithoutAStatusAnswerHasNoKnownCapacity()
    {
        const auto def = makeDefinition(QStringLiteral("Wash"), {QStringLiteral("Red")});
        const StorePlan plan = planStore({}, {def.get()}, -1);
        QCOMPARE(plan.capacity(), -1);
        QVERIFY(plan.fits());
        QCOMPARE(planStore({}, {def.get()}, 0).fits(), false);
    }

    // The controller picks the slots; each written definition is found in a slot that is new,
    // twins get one slot each, and a definition that did not arrive gets none.
    void eachWrittenDefinitionIsFoundInANewSlot()
    {
        QRandomGenerator random(7);
        const auto a = makeDefinition(QStringLiteral("Spot"), {QStringLiteral("Pan")});
        const auto b = makeDefinition(QStringLiteral("Wash"), {QStringLiteral("Red")});
        const auto lost = makeDefinition(QStringLiteral("Lost"), {QStringLiteral("Red")});
        const QList<StoredRecord> before = {{0, storedAs(*a, 0, random).first(HeaderSize)},
                                            {2, storedAs(*b, 2, random).first(HeaderSize)}};
        QList<StoredRecord> after = before;
        after.append({5, storedAs(*a, 5, random).first(HeaderSize)});
        after.append({1, storedAs(*b, 1, random).first(HeaderSize)});
        after.append({3, storedAs(*a, 3, random).first(HeaderSize)});
        QCOMPARE(placedSlots(before, after, {a.get(), b.get(), a.get(), lost.get()}),
                 QList<int>({3, 1, 5, -1}));
    }
};

QTEST_GUILESS_MAIN(StorePlanTest)
#include "test_store_plan.moc"
