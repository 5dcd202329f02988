#include "libraryhelpers.h"

#include "library/qblfixturedefinitionxmlexporter.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

#include <QtTest>

// The exact lines of the definition document.
class TestDefinitionXmlWriter : public QObject
{
    Q_OBJECT

    static QByteArray write(const QBLFixtureDefinition &d)
    {
        QByteArray out;
        QBLFixtureDefinitionXMLExporter().exportDefinition(d, out);
        return out;
    }

private slots:
    void aDefinitionWithoutChannelsAndTypeIsSixLines()
    {
        QBLFixtureDefinition d;
        d.setFixtureName(QStringLiteral("Par 64"));
        d.setManufacturerName(QStringLiteral("Generic"));
        QCOMPARE(write(d), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                      "<BrenlowFixtureDefinition>\n"
                                      "    <Manufacturer Name=\"Generic\"/>\n"
                                      "    <Model Name=\"Par 64\"/>\n"
                                      "    <Personality/>\n"
                                      "</BrenlowFixtureDefinition>\n"));
    }

    void aFullDefinitionWritesShortNamesOnlyWhereChosen()
    {
        auto d = makeDefinition(QStringLiteral("Spot 575"),
                                {QStringLiteral("Pan"), QStringLiteral("Tilt fine adjust")});
        d->setManufacturerName(QStringLiteral("Bright & Co"));
        d->setAutoManufacturerNameShort(false);
        d->setManufacturerNameShort(QStringLiteral("B&C"));
        d->setFixtureNameShort(QStringLiteral("ignored while automatic"));
        d->setFixtureType(0);
        QBLFixtureChannel *tilt = d->channels().at(1);
        tilt->setAutoNameShort(false);
        tilt->setNameShort(QStringLiteral("Tilt fine adjust"));
        tilt->setNumber(-2);
        QCOMPARE(
            write(*d),
            QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<BrenlowFixtureDefinition>\n"
                       "    <Manufacturer Name=\"Bright &amp; Co\" ShortName=\"B&amp;C\"/>\n"
                       "    <Model Name=\"Spot 575\"/>\n"
                       "    <Type>Moving Head</Type>\n"
                       "    <DMXChannel Name=\"Pan\"/>\n"
                       "    <DMXChannel Name=\"Tilt fine adjust\" ShortName=\"Tilt fine ad\"/>\n"
                       "    <Personality>\n"
                       "        <DMXChannelRef Number=\"1\">Pan</DMXChannelRef>\n"
                       "        <DMXChannelRef Number=\"-2\">Tilt fine adjust</DMXChannelRef>\n"
                       "    </Personality>\n"
                       "</BrenlowFixtureDefinition>\n"));
    }

    void typeWordsAreCanonicalAndUnknownValuesAreUndefined_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("line");
        const char *words[] = {"Moving Head", "Scanner", "LED Fixture", "Color Changer",
                               "Dimmer",      "Laser",   "Strobe",      "Hazer",
                               "Smoke",       "Effect",  "Other"};
        for (quint32 i = 0; i < 11; ++i)
            QTest::addRow("%u", i) << i << QByteArray("    <Type>") + words[i] + "</Type>\n";
        QTest::addRow("11") << 11u << QByteArray("    <Type>Undefined</Type>\n");
        QTest::addRow("none") << 0xFFFFFFFFu << QByteArray();
    }

    void typeWordsAreCanonicalAndUnknownValuesAreUndefined()
    {
        QFETCH(quint32, type);
        QFETCH(QByteArray, line);
        QBLFixtureDefinition d;
        d.setFixtureType(type);
        const QByteArray out = write(d);
        if (line.isEmpty())
            QVERIFY(!out.contains("<Type"));
        else
            QVERIFY2(out.contains("    <Model Name=\"\"/>\n" + line + "    <Personality/>"),
                     out.constData());
    }

    void nonLatinTextIsWrittenAsUtf8()
    {
        QBLFixtureDefinition d;
        d.setFixtureName(QStringLiteral("\u706f \u00c4"));
        QVERIFY(write(d).contains("<Model Name=\"\xe7\x81\xaf \xc3\x84\"/>"));
    }
};

QTEST_GUILESS_MAIN(TestDefinitionXmlWriter)
#include "test_definition_xml_writer.moc"
