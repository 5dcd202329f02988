#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

#include <QtTest>

// Short names, automatic flags, display names and erased device names.
class TestDefinitionNames : public QObject
{
    Q_OBJECT

private slots:
    void aNewDefinitionHasNoTypeBothAutoFlagsAndNothingElse()
    {
        QBLFixtureDefinition d;
        QCOMPARE(d.fixtureType(), 0xFFFFFFFFu);
        QVERIFY(d.isAutoFixtureNameShort());
        QVERIFY(d.isAutoManufacturerNameShort());
        QVERIFY(d.fixtureName().isEmpty() && d.manufacturerName().isEmpty());
        QCOMPARE(d.nbrOfChannels(), 0);
        QVERIFY(d.displayName().isEmpty());
        QCOMPARE(d.listIndex().row(), -1);
        QVERIFY(d.listModel() == nullptr);
    }

    void aNewChannelIsUnnumberedWithAutoShortName()
    {
        QBLFixtureChannel c;
        QCOMPARE(c.number(), 1000);
        QVERIFY(c.isAutoNameShort());
        QVERIFY(!c.renumberMark());
        QCOMPARE(c.listIndex().column(), -1);
    }

    void displayNameFallsBackToTheShortNameOnlyWhenTheNameIsEmpty()
    {
        QBLFixtureDefinition d;
        d.setFixtureNameShort(QStringLiteral("S575"));
        QCOMPARE(d.displayName(), QStringLiteral("S575"));
        d.setFixtureName(QStringLiteral("Spot 575"));
        QCOMPARE(d.displayName(), QStringLiteral("Spot 575"));

        QBLFixtureChannel c;
        c.setNameShort(QStringLiteral("Pan"));
        QCOMPARE(c.displayName(), QStringLiteral("Pan"));
        c.setName(QStringLiteral("Pan coarse"));
        QCOMPARE(c.displayName(), QStringLiteral("Pan coarse"));
    }

    void channelShortNamesAreCutToTwelveButDefinitionShortNamesAreStoredWhole()
    {
        QBLFixtureChannel c;
        c.setNameShort(QStringLiteral("ABCDEFGHIJKLMNO"));
        QCOMPARE(c.nameShort(), QStringLiteral("ABCDEFGHIJKL"));

        QBLFixtureDefinition d;
        const QString thirty = QString(30, QLatin1Char('x'));
        d.setFixtureNameShort(thirty);
        d.setManufacturerNameShort(thirty);
        QCOMPARE(d.fixtureNameShort(), thirty);
        QCOMPARE(d.manufacturerNameShort(), thirty);
    }

    void applyAutoShortNamesTakesTwentyCharactersOnlyWhereTheFlagIsSet()
    {
        QBLFixtureDefinition d;
        d.setFixtureName(QStringLiteral("0123456789abcdefghijKLMNO"));
        d.setManufacturerName(QStringLiteral("Maker with a long name here"));
        d.setManufacturerNameShort(QStringLiteral("Mine"));
        d.setAutoManufacturerNameShort(false);
        d.applyAutoShortNames();
        QCOMPARE(d.fixtureNameShort(), QStringLiteral("0123456789abcdefghij"));
        QCOMPARE(d.manufacturerNameShort(), QStringLiteral("Mine"));

        d.setFixtureName(QStringLiteral("Short"));
        d.applyAutoShortNames();
        QCOMPARE(d.fixtureNameShort(), QStringLiteral("Short"));
    }

    void settingAFlagDoesNotChangeAShortName()
    {
        QBLFixtureDefinition d;
        d.setFixtureName(QStringLiteral("Long name"));
        d.setFixtureNameShort(QStringLiteral("LN"));
        d.setAutoFixtureNameShort(false);
        d.setAutoFixtureNameShort(true);
        QCOMPARE(d.fixtureNameShort(), QStringLiteral("LN"));
    }

    void applyAutoNameShortOnAChannelTakesTwelveCharacters()
    {
        QBLFixtureChannel c;
        c.setName(QStringLiteral("Colour wheel rotation"));
        c.applyAutoNameShort();
        QCOMPARE(c.nameShort(), QStringLiteral("Colour wheel"));
        c.setAutoNameShort(false);
        c.setName(QStringLiteral("Gobo"));
        c.applyAutoNameShort();
        QCOMPARE(c.nameShort(), QStringLiteral("Colour wheel"));
    }

    void detectAutoShortNamesSetsFlagsOnlyForTheAutomaticShortName()
    {
        QBLFixtureDefinition d;
        d.setAutoManufacturerNameShort(false);
        d.setAutoFixtureNameShort(false);
        d.setManufacturerName(QStringLiteral("Brightworks"));
        d.setManufacturerNameShort(QStringLiteral("Bright"));
        d.setFixtureName(QStringLiteral("Spot"));
        d.setFixtureNameShort(QStringLiteral("Spot"));
        d.detectAutoShortNames();
        QVERIFY(!d.isAutoManufacturerNameShort()); // a strict prefix is a chosen name
        QVERIFY(d.isAutoFixtureNameShort());

        d.setManufacturerName(QStringLiteral("An extremely long manufacturer"));
        d.setManufacturerNameShort(QStringLiteral("An extremely long ma"));
        d.detectAutoShortNames();
        QVERIFY(d.isAutoManufacturerNameShort());

        // It never clears a flag.
        d.setFixtureNameShort(QStringLiteral("Other"));
        d.detectAutoShortNames();
        QVERIFY(d.isAutoFixtureNameShort());
    }

    void detectAutoNameShortOnAChannelComparesTwelveCharacters()
    {
        QBLFixtureChannel c;
        c.setAutoNameShort(false);
        c.setName(QStringLiteral("Colour wheel rotation"));
        c.setNameShort(QStringLiteral("Colour wheel"));
        c.detectAutoNameShort();
        QVERIFY(c.isAutoNameShort());

        QBLFixtureChannel d;
        d.setAutoNameShort(false);
        d.setName(QStringLiteral("Dimmer"));
        d.setNameShort(QStringLiteral("Dim"));
        d.detectAutoNameShort();
        QVERIFY(!d.isAutoNameShort());
    }

    void clearErasedNamesEmptiesOnlyNamesThatStartWithAnErasedByte()
    {
        QBLFixtureDefinition d;
        d.setManufacturerName(QString(3, QChar(0x00FF)));
        d.setFixtureName(QStringLiteral("Wash") + QChar(0x00FF));
        d.clearErasedNames();
        QVERIFY(d.manufacturerName().isEmpty());
        QCOMPARE(d.fixtureName(), QStringLiteral("Wash") + QChar(0x00FF));

        QBLFixtureDefinition e;
        e.setFixtureName(QString(QChar(0x00FF)) + QStringLiteral("abc"));
        e.clearErasedNames();
        QVERIFY(e.fixtureName().isEmpty());
        QVERIFY(e.manufacturerName().isEmpty());

        QBLFixtureChannel c;
        c.setName(QString(QChar(0x00FF)));
        c.clearErasedName();
        QVERIFY(c.name().isEmpty());
        c.setName(QStringLiteral("a") + QChar(0x00FF));
        c.clearErasedName();
        QCOMPARE(c.name(), QStringLiteral("a") + QChar(0x00FF));
    }

    void shortNamesNeverEndInHalfASurrogatePair()
    {
        const QString bulb = QString::fromUcs4(U"\U0001F4A1");
        QBLFixtureChannel c;
        c.setNameShort(QString(11, QLatin1Char('x')) + bulb);
        QCOMPARE(c.nameShort(), QString(11, QLatin1Char('x')));
        c.setName(QString(10, QLatin1Char('y')) + bulb + bulb);
        c.applyAutoNameShort();
        QCOMPARE(c.nameShort(), QString(10, QLatin1Char('y')) + bulb);

        QBLFixtureDefinition d;
        d.setFixtureName(QString(19, QLatin1Char('z')) + bulb);
        d.applyAutoShortNames();
        QCOMPARE(d.fixtureNameShort(), QString(19, QLatin1Char('z')));
    }

    void nameSettersStoreTextUnchanged()
    {
        QBLFixtureDefinition d;
        const QString odd = QStringLiteral("  A & <B> \"C\" \u00e4\u4e2d  ");
        d.setFixtureName(odd);
        d.setManufacturerName(odd);
        QCOMPARE(d.fixtureName(), odd);
        QCOMPARE(d.manufacturerName(), odd);
        QBLFixtureChannel c;
        c.setName(odd);
        QCOMPARE(c.name(), odd);
    }
};

QTEST_GUILESS_MAIN(TestDefinitionNames)
#include "test_definition_names.moc"
