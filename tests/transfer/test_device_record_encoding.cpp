#include "devicerecord.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"
#include "qblremotefixturedefinition.h"

#include <QMap>
#include <QRandomGenerator>
#include <QtTest>

#include <memory>

using namespace DeviceRecord;

namespace
{

QBLFixtureChannel *addChannel(QBLFixtureDefinition &def, const QString &name, int number)
{
    auto *ch = new QBLFixtureChannel;
    ch->setName(name);
    ch->setNumber(number);
    def.channels().append(ch);
    return ch;
}

// Characters as code points: a pair of UTF-16 units outside the basic plane counts once.
int characters(const QString &text)
{
    return int(QStringView(text).toUcs4().size());
}

std::unique_ptr<QBLFixtureDefinition> decode(const QByteArray &record)
{
    auto def = std::make_unique<QBLFixtureDefinition>();
    if (!decodeDeviceRecord(record, *def))
        return nullptr;
    return def;
}

} // namespace

class DeviceRecordEncodingTest : public QObject
{
    Q_OBJECT

private slots:
    void aRecordIs5284BytesWithHeaderFieldsAtTheirOffsets()
    {
        QBLFixtureDefinition def;
        def.setFixtureName(QStringLiteral("Spot 575"));
        def.setManufacturerName(QStringLiteral("Lumen"));
        def.setFixtureType(2);
        addChannel(def, QStringLiteral("Pan"), 1);
        addChannel(def, QStringLiteral("Tilt"), 2);
        addChannel(def, QStringLiteral("Dimmer"), 3);
        const QByteArray r = encodeDeviceRecord(def);
        QCOMPARE(r.size(), 5284);
        QCOMPARE(r.mid(0, 9), QByteArray("Spot 575\0", 9));
        QCOMPARE(r.mid(100, 9), QByteArray("Spot 575\0", 9));
        QCOMPARE(r.mid(120, 6), QByteArray("Lumen\0", 6));
        QCOMPARE(r.mid(220, 6), QByteArray("Lumen\0", 6));
        QCOMPARE(int(r.at(240)), 3);
        QCOMPARE(int(r.at(241)), 2);
        QCOMPARE(int(r.at(242)), 0);
        QCOMPARE(int(r.at(243)), 0);
        QCOMPARE(r.mid(244 + 112 * 2, 7), QByteArray("Dimmer\0", 7));
        QCOMPARE(r.mid(244 + 112 * 2 + 12, 7), QByteArray("Dimmer\0", 7));
        QCOMPARE(r.mid(244 + 112 * 3), QByteArray(5284 - 244 - 112 * 3, '\0'));
    }

    void aNameThatFillsItsFieldReadsBackWholeAndALongerOneIsCut()
    {
        QBLFixtureDefinition def;
        const QString hundred = QString(99, QLatin1Char('a')) + QLatin1Char('z');
        def.setFixtureName(hundred + QLatin1Char('X'));
        def.setAutoFixtureNameShort(false);
        def.setFixtureNameShort(QString(20, QLatin1Char('s')));
        def.setManufacturerName(QStringLiteral("M"));
        QCOMPARE(decode(encodeDeviceRecord(def))->fixtureName(), hundred);

        def.setFixtureName(hundred);
        const QByteArray r = encodeDeviceRecord(def);
        QCOMPARE(r.at(99), 'z');
        const auto back = decode(r);
        QCOMPARE(back->fixtureName(), hundred);
        // The full short name field is not joined to the manufacturer name after it.
        QCOMPARE(back->fixtureNameShort(), QString(20, QLatin1Char('s')));
        QCOMPARE(back->manufacturerName(), QStringLiteral("M"));
    }

    void aChannelNameOfHundredCharactersIsNotJoinedToTheNextEntry()
    {
        QBLFixtureDefinition def;
        const QString name = QString(100, QLatin1Char('n'));
        addChannel(def, name, 1);
        addChannel(def, QStringLiteral("Next"), 2);
        const auto back = decode(encodeDeviceRecord(def));
        QCOMPARE(back->nbrOfChannels(), 2);
        QCOMPARE(back->channels().at(0)->name(), name);
        QCOMPARE(back->channels().at(0)->nameShort(), QString(12, QLatin1Char('n')));
        QCOMPARE(back->channels().at(1)->name(), QStringLiteral("Next"));
        QCOMPARE(back->channels().at(1)->number(), 2);
    }

    void encodingRefreshesAutomaticShortNamesOfTheDefinition()
    {
        QBLFixtureDefinition def;
        def.setFixtureName(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY"));
        def.setFixtureNameShort(QStringLiteral("stale"));
        auto *ch = addChannel(def, QStringLiteral("Colour wheel fine"), 1);
        const QByteArray r = encodeDeviceRecord(def);
        QCOMPARE(def.fixtureNameShort(), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
        QCOMPARE(ch->nameShort(), QStringLiteral("Colour wheel"));
        QCOMPARE(r.mid(100, 20), QByteArray("ABCDEFGHIJKLMNOPQRST"));
        const auto back = decode(r);
        QVERIFY(back->isAutoFixtureNameShort());
        QVERIFY(back->channels().at(0)->isAutoNameShort());
    }

    void aShortNameThatDiffersFromTheNameReadsBackWithoutAutoFlag()
    {
        QBLFixtureDefinition def;
        def.setFixtureName(QStringLiteral("Wash Beam"));
        def.setAutoFixtureNameShort(false);
        def.setFixtureNameShort(QStringLiteral("WB"));
        def.setManufacturerName(QStringLiteral("Acme"));
        auto *ch = addChannel(def, QStringLiteral("Red"), 1);
        ch->setAutoNameShort(false);
        ch->setNameShort(QStringLiteral("R"));
        const auto back = decode(encodeDeviceRecord(def));
        QVERIFY(!back->isAutoFixtureNameShort());
        QCOMPARE(back->fixtureNameShort(), QStringLiteral("WB"));
        QVERIFY(back->isAutoManufacturerNameShort());
        QVERIFY(!back->channels().at(0)->isAutoNameShort());
        QCOMPARE(back->channels().at(0)->nameShort(), QStringLiteral("R"));
    }

    void charactersOutsideLatin1GoOutAsQuestionMarks()
    {
        QBLFixtureDefinition def;
        def.setFixtureName(QStringLiteral("Sp\u00f6t \u041b\u0430\u043c\u043f"));
        QCOMPARE(decode(encodeDeviceRecord(def))->fixtureName(), QStringLiteral("Sp\u00f6t ????"));
    }

    // The record holds one byte per character; a character outside the basic plane takes two
    // UTF-16 units, so a cut by units would drop characters that fit, or halve one.
    void aCharacterOutsideTheBasicPlaneIsOneQuestionMarkAndIsNeverSplit_data()
    {
        const QString mask = QStringLiteral("\U0001F3AD");
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("cut");
        QTest::newRow("between Latin-1") << QStringLiteral("ab") + mask + QStringLiteral("\u00e9")
                                         << QStringLiteral("ab?\u00e9") << false;
        QTest::newRow("sixty fit") << mask.repeated(60) << QString(60, QLatin1Char('?')) << false;
        QTest::newRow("a hundred fit")
            << mask.repeated(100) << QString(100, QLatin1Char('?')) << false;
        QTest::newRow("the hundred-and-first is cut")
            << mask.repeated(101) << QString(100, QLatin1Char('?')) << true;
        QTest::newRow("the last that fits is not halved")
            << QString(99, QLatin1Char('x')) + mask + QStringLiteral("z")
            << QString(99, QLatin1Char('x')) + QStringLiteral("?") << true;
        QTest::newRow("an unpaired half is one character too")
            << QStringLiteral("a") + mask.left(1) + QStringLiteral("b") << QStringLiteral("a?b")
            << false;
    }

    void aCharacterOutsideTheBasicPlaneIsOneQuestionMarkAndIsNeverSplit()
    {
        QFETCH(QString, given);
        QFETCH(QString, stored);
        QFETCH(bool, cut);
        QBLFixtureDefinition def;
        def.setFixtureName(given);
        addChannel(def, given, 1);

        const DeviceRecordPreview preview = previewDeviceRecord(def);
        QBLFixtureDefinition copy;
        copy = def;
        const auto back = decode(encodeDeviceRecord(copy));
        QCOMPARE(back->fixtureName(), stored);
        QCOMPARE(back->channels().at(0)->name(), stored);
        QCOMPARE(preview.nameChanges.size(), 2);
        for (const DeviceNameChange &change : preview.nameChanges) {
            QCOMPARE(change.stored, stored);
            QCOMPARE(change.cut, cut);
            QVERIFY(change.replaced);
        }
    }

    // The preview must say exactly what the record turns each name into: names that read
    // back differently are listed with what reads back, and no others.
    void thePreviewListsExactlyTheNamesThatReadBackDifferently()
    {
        const QStringList pieces = {QStringLiteral("Spot"),
                                    QStringLiteral("\u00e9t\u00e9"),
                                    QStringLiteral("\u041f\u0440\u043e"),
                                    QStringLiteral("\u706f"),
                                    QStringLiteral("\U0001F3AD"),
                                    QString(30, QLatin1Char('x'))};
        QRandomGenerator random(14);
        const auto name = [&]() {
            QString text;
            for (int n = int(random.bounded(6)); n > 0; --n)
                text += pieces.at(int(random.bounded(int(pieces.size()))));
            return text;
        };
        for (int round = 0; round < 300; ++round) {
            QBLFixtureDefinition def;
            def.setFixtureName(name());
            def.setManufacturerName(name());
            def.setAutoFixtureNameShort(random.bounded(2) == 0);
            def.setFixtureNameShort(name().left(20));
            const int channels = int(random.bounded(47));
            for (int n = 1; n <= channels; ++n)
                addChannel(def, name(), n)->setAutoNameShort(true);
            const DeviceRecordPreview preview = previewDeviceRecord(def);
            QCOMPARE(preview.channelCountFits, channels >= 1 && channels <= 45);

            QBLFixtureDefinition copy;
            copy = def;
            const auto back = decode(encodeDeviceRecord(copy));
            QMap<QString, QPair<QString, QString>> expected;
            const auto expect = [&](const QString &field, const QString &given,
                                    const QString &stored) {
                if (given != stored)
                    expected.insert(field, {given, stored});
            };
            expect(QStringLiteral("fixture name"), def.fixtureName(), back->fixtureName());
            if (!def.isAutoFixtureNameShort())
                expect(QStringLiteral("fixture short name"), def.fixtureNameShort(),
                       back->fixtureNameShort());
            expect(QStringLiteral("manufacturer name"), def.manufacturerName(),
                   back->manufacturerName());
            for (int n = 1; n <= qMin(channels, 45); ++n)
                expect(QStringLiteral("channel %1 name").arg(n), def.channels().at(n - 1)->name(),
                       back->channels().at(n - 1)->name());
            QMap<QString, QPair<QString, QString>> listed;
            for (const DeviceNameChange &c : preview.nameChanges) {
                listed.insert(c.field, {c.given, c.stored});
                QCOMPARE(c.cut, characters(c.given) > characters(c.stored));
                QCOMPARE(c.replaced, c.stored.contains(QLatin1Char('?')));
            }
            QCOMPARE(listed, expected);
        }
    }

    void erasedNamesReadBackEmpty()
    {
        QByteArray r(RecordSize, '\0');
        r[0] = char(0xFF);
        r[1] = char(0xFF);
        r[100] = 'S';
        r[240] = 1;
        r[244 + 12] = char(0xFF);
        r[244 + 0] = 'c';
        const auto back = decode(r);
        QCOMPARE(back->fixtureName(), QString());
        QCOMPARE(back->displayName(), QStringLiteral("S"));
        QCOMPARE(back->channels().at(0)->name(), QString());
        QCOMPARE(back->channels().at(0)->nameShort(), QStringLiteral("c"));
    }

    void noTypeGoesOutAsByte255AndComesBackAsType255()
    {
        QBLFixtureDefinition def;
        QCOMPARE(def.fixtureType(), 0xFFFFFFFFu);
        const QByteArray r = encodeDeviceRecord(def);
        QCOMPARE(quint8(r.at(241)), quint8(255));
        QCOMPARE(decode(r)->fixtureType(), 255u);
    }

    void channelsArePlacedByNumberAndNumbersOutsideTheRecordAreSkipped()
    {
        QBLFixtureDefinition def;
        addChannel(def, QStringLiteral("Second"), 2);
        addChannel(def, QStringLiteral("First"), 1);
        addChannel(def, QStringLiteral("Zero"), 0);
        addChannel(def, QStringLiteral("Beyond"), 46);
        const QByteArray r = encodeDeviceRecord(def);
        QCOMPARE(int(r.at(240)), 4);
        QCOMPARE(r.mid(244 + 12, 6), QByteArray("First\0", 6));
        QCOMPARE(r.mid(244 + 112 + 12, 7), QByteArray("Second\0", 7));
        QVERIFY(!r.contains("Zero"));
        QVERIFY(!r.contains("Beyond"));
    }

    void aRecordClaimingMoreThan45ChannelsYieldsAtMost45()
    {
        QByteArray r(RecordSize, '\0');
        r[240] = char(200);
        for (int n = 1; n <= 45; ++n)
            r[244 + 112 * (n - 1) + 12] = char('A' + n % 26);
        const auto back = decode(r);
        QCOMPARE(back->nbrOfChannels(), 45);
        QCOMPARE(back->channels().last()->number(), 45);
    }

    void aTooShortBufferIsNotDecoded()
    {
        QBLFixtureDefinition def;
        QVERIFY(!decodeDeviceRecord(QByteArray(RecordSize - 1, 'x'), def));
        QCOMPARE(def.fixtureName(), QString());
        QCOMPARE(def.nbrOfChannels(), 0);
    }

    void aListHeaderDecodesWithItsSlotAndWithoutErasedNameHandling()
    {
        QBLFixtureDefinition def;
        def.setManufacturerName(QStringLiteral("Acme Lighting"));
        def.setFixtureType(4);
        addChannel(def, QStringLiteral("Dim"), 1);
        QByteArray r = encodeDeviceRecord(def);
        r[0] = '\0';
        r[100] = 'X';
        r[101] = '\0';
        r[242] = char(17);
        QBLRemoteFixtureDefinition remote;
        QCOMPARE(remote.slotNumber(), quint8(0xFF));
        remote.decodeListHeader(r.constData());
        QCOMPARE(remote.slotNumber(), quint8(17));
        QCOMPARE(remote.nbrOfChannels(), 1);
        QCOMPARE(remote.fixtureType(), 4);
        QCOMPARE(remote.displayName(), QStringLiteral("X"));
        QCOMPARE(remote.manufacturerDisplayName(), QStringLiteral("Acme Lighting"));

        r[120] = '\0';
        r[0] = char(0xFF);
        remote.decodeListHeader(r.constData());
        QCOMPARE(remote.fixtureName(), QString(QChar(0xFF)));
        QCOMPARE(remote.manufacturerDisplayName(), QStringLiteral("Acme Lighting"));

        QBLRemoteFixtureDefinition copy;
        copy = remote;
        QCOMPARE(copy.slotNumber(), quint8(17));
        QCOMPARE(copy.manufacturerNameShort(), remote.manufacturerNameShort());
    }

    void theFixtureListIsAcceptedOnlyWhenItsLengthMatchesItsCount()
    {
        QByteArray list(2 + 244 * 3, '\0');
        list[0] = 3;
        for (int k = 0; k < 3; ++k)
            list[2 + 244 * k + 242] = char(10 + k);
        QList<QByteArrayView> headers;
        QVERIFY(splitFixtureList(list, &headers));
        QCOMPARE(headers.size(), 3);
        QCOMPARE(int(headers.at(2).at(242)), 12);

        QVERIFY(!splitFixtureList(list.left(list.size() - 1), &headers));
        QByteArray wrongCount = list;
        wrongCount[0] = 2;
        QVERIFY(!splitFixtureList(wrongCount, &headers));
        QVERIFY(!splitFixtureList(QByteArray(2, '\0'), &headers));
        QVERIFY(!splitFixtureList(QByteArray(1, '\0'), &headers));
        QVERIFY(isEmptyFixtureList(QByteArray(2, '\0')));
        QVERIFY(!isEmptyFixtureList(list));
    }
};

QTEST_GUILESS_MAIN(DeviceRecordEncodingTest)
#include "test_device_record_encoding.moc"
