#include "libraryhelpers.h"

#include "library/qblfixturedefinitionloader.h"
#include "model/qblfixturedefinition.h"

#include <QtTest>

// How definition documents read: personalities, references, types, short names, bad input.
class TestDefinitionXmlReader : public QObject
{
    Q_OBJECT

    static QByteArray doc(const char *body)
    {
        return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<BrenlowFixtureDefinition>\n    <Model Name=\"Spot 575\" "
                          "ShortName=\"S575\"/>\n") +
               body + "\n</BrenlowFixtureDefinition>\n";
    }

    static QStringList channelNames(const DefinitionSnapshot &d)
    {
        QStringList names;
        for (const auto &c : d.channels)
            names << c.name;
        return names;
    }

private slots:
    void anEmptyPersonalityYieldsOneDefinitionWithoutChannels()
    {
        const auto defs = parseDocument(doc("<DMXChannel Name=\"Pan\"/><Personality/>"));
        QCOMPARE(defs.size(), 1);
        QCOMPARE(defs.at(0).fixtureName, QStringLiteral("Spot 575"));
        QCOMPARE(defs.at(0).channels.size(), 0);
    }

    void aDocumentWithoutPersonalityYieldsNothing()
    {
        QVERIFY(parseDocument(doc("<DMXChannel Name=\"Pan\"/><Type>Scanner</Type>")).isEmpty());
    }

    // How a single personality's channels read: copied from their declarations by reference,
    // or declared inside it.
    void channelsReadFromTheirReferences_data()
    {
        using Channels = QList<DefinitionSnapshot::Channel>;
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<Channels>("channels");
        // A reference without a number stands at 0; one to an undeclared name adds nothing.
        QTest::newRow("references copy declared channels under their written numbers")
            << doc("<DMXChannel Name=\"Pan\" ShortName=\"P\"/><DMXChannel Name=\"Tilt\"/>"
                   "<Personality><DMXChannelRef Number=\"9\">Tilt</DMXChannelRef>"
                   "<DMXChannelRef Number=\"9\">Pan</DMXChannelRef>"
                   "<DMXChannelRef>Pan</DMXChannelRef>"
                   "<DMXChannelRef Number=\"x\">Nobody</DMXChannelRef></Personality>")
            << Channels{{9, "Tilt", {}, true}, {9, "Pan", "P", false}, {0, "Pan", "P", false}};
        // With more references than declarations, the further ones take the first.
        QTest::newRow("the kth reference to a shared name takes the kth declaration")
            << doc("<DMXChannel Name=\"Dim\" ShortName=\"one\"/>"
                   "<DMXChannel Name=\"Dim\" ShortName=\"two\"/>"
                   "<Personality><DMXChannelRef Number=\"1\">Dim</DMXChannelRef>"
                   "<DMXChannelRef Number=\"2\">Dim</DMXChannelRef>"
                   "<DMXChannelRef Number=\"3\">Dim</DMXChannelRef></Personality>")
            << Channels{
                   {1, "Dim", "one", false}, {2, "Dim", "two", false}, {3, "Dim", "one", false}};
        QTest::newRow("an empty reference takes the declared channel with an empty name")
            << doc("<DMXChannel Name=\"\" ShortName=\"blank\"/><DMXChannel Name=\"Pan\"/>"
                   "<Personality><DMXChannelRef Number=\"1\"></DMXChannelRef>"
                   "<DMXChannelRef Number=\"2\">Pan</DMXChannelRef>"
                   "<DMXChannelRef Number=\"3\"/></Personality>")
            << Channels{{1, "", "blank", false}, {2, "Pan", {}, true}, {3, "", "blank", false}};
        QTest::newRow("an empty reference without an empty declaration adds nothing")
            << doc("<DMXChannel Name=\"Pan\"/><Personality><DMXChannelRef Number=\"1\"/>"
                   "<DMXChannelRef Number=\"2\">Pan</DMXChannelRef></Personality>")
            << Channels{{2, "Pan", {}, true}};
        // Entity and character references, a CDATA section and a comment split the text.
        QTest::newRow("text in pieces is matched whole")
            << doc("<DMXChannel Name=\"A &amp; B &lt;C&gt; &#x4e2d;\"/>"
                   "<Personality><DMXChannelRef Number=\"1\">A &amp; B <![CDATA[<C>]]> "
                   "<!-- split -->&#x4e2d;</DMXChannelRef></Personality>")
            << Channels{{1, QStringLiteral("A & B <C> \u4e2d"), {}, true}};
        QTest::newRow("channels defined inside a personality count on from the last number")
            << doc("<DMXChannel Name=\"Pan\"/><Personality>"
                   "<DMXChannelRef Number=\"4\">Pan</DMXChannelRef>"
                   "<DMXChannel Name=\"Zoom\" ShortName=\"Z\"/>"
                   "<DMXChannel Name=\"Focus\" Number=\"10\"/><DMXChannel Name=\"Iris\"/>"
                   "</Personality>")
            << Channels{{4, "Pan", {}, true},
                        {5, "Zoom", "Z", false},
                        {10, "Focus", {}, true},
                        {11, "Iris", {}, true}};
    }

    void channelsReadFromTheirReferences()
    {
        QFETCH(QByteArray, document);
        QFETCH(QList<DefinitionSnapshot::Channel>, channels);
        const auto defs = parseDocument(document);
        QCOMPARE(defs.size(), 1);
        QVERIFY2(defs.at(0).channels == channels, qPrintable(defs.at(0).describe()));
    }

    void unitsXmlCannotHoldAreReadAsReplacementCharacters()
    {
        // UTF-7 lets unpaired surrogates through the stream reader's decoder; the writer
        // cannot store them, so a name showing one would silently change on the next save.
        const QByteArray utf7("<?xml version=\"1.0\" encoding=\"UTF-7\"?>\n"
                              "<BrenlowFixtureDefinition><Model Name=\"Spot+2AA-X\"/>"
                              "<DMXChannel Name=\"P+3AA-an\"/><Personality>"
                              "<DMXChannelRef Number=\"1\">P+3AA-an</DMXChannelRef>"
                              "</Personality></BrenlowFixtureDefinition>");
        const auto defs = parseDocument(utf7);
        QCOMPARE(defs.size(), 1);
        QCOMPARE(defs.at(0).fixtureName, QStringLiteral("Spot\uFFFDX"));
        QCOMPARE(channelNames(defs.at(0)), QStringList{QStringLiteral("P\uFFFDan")});
    }

    void typeKeywordsAreFoundAnywhereWithoutRegardToCase_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<quint32>("type");
        QTest::newRow("moving head") << QByteArray("moving head") << 0u;
        QTest::newRow("Color Changer RGB") << QByteArray("Color Changer RGB") << 3u;
        QTest::newRow("Smoke Effect") << QByteArray("Smoke Effect") << 8u;
        QTest::newRow("LED FIXTURE") << QByteArray("LED FIXTURE") << 2u;
        QTest::newRow("Undefined") << QByteArray("Undefined") << 0xFFFFFFFFu;
        QTest::newRow("escaped") << QByteArray("Las&#101;r") << 5u;
    }

    void typeKeywordsAreFoundAnywhereWithoutRegardToCase()
    {
        QFETCH(QByteArray, text);
        QFETCH(quint32, type);
        const auto defs = parseDocument(doc("<Type>" + text + "</Type><Personality/>"));
        QCOMPARE(defs.size(), 1);
        QCOMPARE(defs.at(0).fixtureType, type);
    }

    void anEmptyTypeElementSwallowsTheNextElementWithoutTextBetween()
    {
        auto defs = parseDocument(doc("<Type/>\n<DMXChannel Name=\"Pan\"/><Personality>"
                                      "<DMXChannelRef Number=\"1\">Pan</DMXChannelRef>"
                                      "</Personality>"));
        QCOMPARE(defs.size(), 1);
        QCOMPARE(defs.at(0).fixtureType, 0xFFFFFFFFu);
        QCOMPARE(defs.at(0).channels.size(), 1);

        defs = parseDocument(doc("<Type/><DMXChannel Name=\"Pan\"/>\n<Personality>"
                                 "<DMXChannelRef Number=\"1\">Pan</DMXChannelRef>"
                                 "</Personality>"));
        QCOMPARE(defs.size(), 1);
        QCOMPARE(defs.at(0).channels.size(), 0);
    }

    void shortNameAttributesDecideTheAutomaticFlags()
    {
        const auto defs = parseDocument(
            "<BrenlowFixtureDefinition><Manufacturer Name=\"Maker\" ShortName=\"\"/>"
            "<Model Name=\"Wash\"/><DMXChannel Name=\"Colour\" ShortName=\"Colour wheel 1\"/>"
            "<Personality><DMXChannelRef Number=\"1\">Colour</DMXChannelRef></Personality>"
            "</BrenlowFixtureDefinition>");
        QCOMPARE(defs.size(), 1);
        QVERIFY(defs.at(0).manufacturerNameShort.isEmpty());
        QVERIFY(!defs.at(0).autoManufacturerNameShort);
        QVERIFY(defs.at(0).fixtureNameShort.isEmpty());
        QVERIFY(defs.at(0).autoFixtureNameShort);
        QCOMPARE(defs.at(0).channels.at(0).nameShort, QStringLiteral("Colour wheel"));
        QVERIFY(!defs.at(0).channels.at(0).autoNameShort);
    }

    // A short name is cut to 12 UTF-16 units, one fewer where the twelfth would be the first
    // half of a character outside the basic plane, however the channel is declared.
    void aLongShortNameIsCutWithoutSplittingACharacter_data()
    {
        QTest::addColumn<QByteArray>("document");
        const QByteArray shortName = "Colour whee\xF0\x9F\x8E\xAD and more";
        QTest::newRow("declared, then referenced")
            << doc(("<DMXChannel Name=\"Colour\" ShortName=\"" + shortName +
                    "\"/><Personality><DMXChannelRef Number=\"1\">Colour</DMXChannelRef>"
                    "</Personality>")
                       .constData());
        QTest::newRow("inside the personality")
            << doc(("<Personality><DMXChannel Name=\"Colour\" Number=\"1\" ShortName=\"" +
                    shortName + "\"/></Personality>")
                       .constData());
    }
    void aLongShortNameIsCutWithoutSplittingACharacter()
    {
        QFETCH(QByteArray, document);
        const auto defs = parseDocument(document);
        QCOMPARE(defs.size(), 1);
        QCOMPARE(defs.at(0).channels.size(), 1);
        QCOMPARE(defs.at(0).channels.at(0).nameShort, QStringLiteral("Colour whee"));
    }

    void unknownElementsAreReportedAndSkipped()
    {
        int unsupported = 0;
        const auto defs =
            parseDocument(doc("<Manufacturer Name=\"M\"><Comment>new</Comment></Manufacturer>"
                              "<DMXChannel Name=\"Pan\"/><Personality><Macro/>"
                              "<DMXChannelRef Number=\"1\">Pan</DMXChannelRef></Personality>"),
                          &unsupported);
        QCOMPARE(unsupported, 2);
        QCOMPARE(defs.size(), 1);
        QCOMPARE(defs.at(0).manufacturerName, QStringLiteral("M"));
        QCOMPARE(defs.at(0).channels.size(), 1);
    }

    void furtherPersonalitiesBecomeSuffixedDefinitionsAndAreReported()
    {
        int unsupported = 0;
        const auto defs = parseDocument(
            doc("<DMXChannel Name=\"Pan\"/><DMXChannel Name=\"Tilt\"/>"
                "<Personality Name=\"Mode 1\"><DMXChannelRef Number=\"1\">Pan</DMXChannelRef>"
                "</Personality><Personality Name=\"Mode 2\">"
                "<DMXChannelRef Number=\"1\">Tilt</DMXChannelRef>"
                "<DMXChannelRef Number=\"2\">Pan</DMXChannelRef></Personality>"
                "<Personality Name=\"Mode 3\"/>"),
            &unsupported);
        QCOMPARE(unsupported, 2);
        QCOMPARE(defs.size(), 3);
        QCOMPARE(defs.at(0).fixtureName, QStringLiteral("Spot 575"));
        QCOMPARE(defs.at(1).fixtureName, QStringLiteral("Spot 575@Mode 2"));
        QCOMPARE(defs.at(1).fixtureNameShort, QStringLiteral("S575@Mode 2"));
        QCOMPARE(defs.at(2).fixtureName, QStringLiteral("Spot 575@Mode 3"));
        QCOMPARE(channelNames(defs.at(0)), QStringList{QStringLiteral("Pan")});
        QCOMPARE(channelNames(defs.at(1)),
                 (QStringList{QStringLiteral("Tilt"), QStringLiteral("Pan")}));
        QVERIFY(defs.at(2).channels.isEmpty());
    }

    void readingStopsAtBadStructureButKeepsCompletedDefinitions_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<int>("count");
        QTest::newRow("other root")
            << QByteArray("<Fixture><Model Name=\"x\"/><Personality/></Fixture>") << 0;
        QTest::newRow("reference outside a personality")
            << doc("<DMXChannelRef>Pan</DMXChannelRef><Personality/>") << 0;
        QTest::newRow("element after the personality")
            << doc("<Personality/><Model Name=\"late\"/><Personality/>") << 1;
        QTest::newRow("malformed after the personality")
            << QByteArray("<BrenlowFixtureDefinition><Model Name=\"x\"/><Personality/><Personality>"
                          "<DMXChannelRef>&bogus;</DMXChannelRef")
            << 1;
        QTest::newRow("mismatched tags")
            << QByteArray("<BrenlowFixtureDefinition><Personality></Model>") << 0;
        QTest::newRow("empty document") << QByteArray() << 0;
        QTest::newRow("bare ampersand")
            << doc("<Manufacturer Name=\"Smoke & Co\"/><Personality/>") << 0;
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe<\x01", 5) << 0;
        QTest::newRow("entity bomb")
            << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a \"aaaaaaaaaaaaaaaa\">"
                          "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                          "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
                          "<!ENTITY e \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">]>"
                          "<BrenlowFixtureDefinition><Model Name=\"&e;&e;&e;&e;&e;&e;\"/>"
                          "<Personality/></BrenlowFixtureDefinition>")
            << 0;
    }

    // What did not read would be lost on saving: each stop is reported, with its reason.
    void readingStopsAtBadStructureButKeepsCompletedDefinitions()
    {
        QFETCH(QByteArray, xml);
        QFETCH(int, count);
        int unsupported = 0;
        QCOMPARE(parseDocument(xml, &unsupported).size(), count);
        QCOMPARE(unsupported, 1);
        QBLFixtureDefinitionLoader loader;
        loader.setData(xml);
        loader.parse();
        QVERIFY(!loader.problem().isEmpty());
        QCOMPARE(loader.unsupportedConstructs(), QStringList{loader.problem()});
    }

    void theReportNamesTheConstructAndItsDefinition()
    {
        const auto constructs = [](const QByteArray &xml) {
            QBLFixtureDefinitionLoader loader;
            loader.setData(xml);
            loader.parse();
            return loader.unsupportedConstructs();
        };
        QCOMPARE(constructs(doc("<Personality Name=\"A\"/><Personality Name=\"B\"/>")),
                 QStringList{QStringLiteral("\"Spot 575\": further personality \"B\"")});
        QCOMPARE(constructs(doc("<Macro/><Personality><Gobo/></Personality>")),
                 (QStringList{QStringLiteral("\"Spot 575\": element <Macro>"),
                              QStringLiteral("\"Spot 575\": element <Gobo> in a personality")}));
        QCOMPARE(constructs("<Fixture/>"),
                 QStringList{QStringLiteral(
                     "the root element is <Fixture>, not <BrenlowFixtureDefinition>")});
        QCOMPARE(constructs(doc("<DMXChannel Name=\"Pan\"/>")),
                 QStringList{QStringLiteral("no personality, so no definition")});
        QVERIFY(constructs(doc("<Personality/>")).isEmpty());
    }

    void aSecondParseKeepsTheFirstResult()
    {
        QBLFixtureDefinitionLoader loader;
        QVERIFY(loader.definitions() == nullptr);
        loader.setData(doc("<Personality/>"));
        loader.parse();
        QList<QBLFixtureDefinition *> *first = loader.definitions();
        QVERIFY(first);
        loader.parse();
        QCOMPARE(loader.definitions(), first);
        QCOMPARE(first->size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDefinitionXmlReader)
#include "test_definition_xml_reader.moc"
