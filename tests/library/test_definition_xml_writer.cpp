#include "libraryhelpers.h"

#include "library/qblfixturedefinitionxmlexporter.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

#include <QRandomGenerator>
#include <QXmlStreamWriter>
#include <QtTest>

namespace
{

// The document as Qt's stream writer makes it, which the exporter must match byte for byte.
QByteArray streamWriterDocument(const QBLFixtureDefinition &d)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(4);
    w.writeStartDocument();
    w.writeStartElement("BrenlowFixtureDefinition");
    w.writeEmptyElement("Manufacturer");
    w.writeAttribute("Name", d.manufacturerName());
    if (!d.isAutoManufacturerNameShort())
        w.writeAttribute("ShortName", d.manufacturerNameShort());
    w.writeEmptyElement("Model");
    w.writeAttribute("Name", d.fixtureName());
    if (!d.isAutoFixtureNameShort())
        w.writeAttribute("ShortName", d.fixtureNameShort());
    const char *types[] = {"Moving Head", "Scanner", "LED Fixture", "Color Changer",
                           "Dimmer",      "Laser",   "Strobe",      "Hazer",
                           "Smoke",       "Effect",  "Other"};
    if (d.fixtureType() != 0xFFFFFFFFu)
        w.writeTextElement("Type", d.fixtureType() < 11 ? types[d.fixtureType()] : "Undefined");
    for (const QBLFixtureChannel *c : d.channels()) {
        w.writeEmptyElement("DMXChannel");
        w.writeAttribute("Name", c->name());
        if (!c->isAutoNameShort())
            w.writeAttribute("ShortName", c->nameShort());
    }
    if (d.channels().isEmpty()) {
        w.writeEmptyElement("Personality");
    } else {
        w.writeStartElement("Personality");
        for (const QBLFixtureChannel *c : d.channels()) {
            w.writeStartElement("DMXChannelRef");
            w.writeAttribute("Number", QString::number(c->number()));
            const QStringList pieces = c->name().split(QLatin1Char('\r'));
            for (qsizetype i = 0; i < pieces.size(); ++i) {
                if (i)
                    w.writeEntityReference("#13"); // a reader would turn a raw one into \n
                w.writeCharacters(pieces.at(i));
            }
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndDocument();
    return out;
}

// Text of XML characters only, from every range that the escaping treats differently.
QString randomText(QRandomGenerator &random)
{
    const char16_t special[] = {'<', '>',  '&',   '"',   '\'',   '\t',   '\n',   '\r',  ' ',
                                'a', 0xe4, 0x7ff, 0x800, 0xd7ff, 0xe000, 0xfffd, 0x4e2d};
    QString s;
    const int length = random.bounded(12);
    for (int i = 0; i < length; ++i) {
        switch (random.bounded(4)) {
        case 0:
            s += QChar(special[random.bounded(int(std::size(special)))]);
            break;
        case 1:
            s += QChar(char16_t(0x20 + random.bounded(0x60)));
            break;
        case 2:
            s += QChar(char16_t(0xa0 + random.bounded(0xd700 - 0xa0)));
            break;
        default: {
            const char32_t c = U'\U00010000' + char32_t(random.bounded(0xfffff));
            s += QString::fromUcs4(&c, 1);
        }
        }
    }
    return s;
}

} // namespace

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

    void theBytesAreThoseOfQtsStreamWriter()
    {
        QRandomGenerator random(99);
        for (int round = 0; round < 500; ++round) {
            QBLFixtureDefinition d;
            d.setFixtureName(randomText(random));
            d.setManufacturerName(randomText(random));
            d.setAutoFixtureNameShort(random.bounded(2));
            d.setFixtureNameShort(randomText(random));
            d.setAutoManufacturerNameShort(random.bounded(2));
            d.setManufacturerNameShort(randomText(random));
            d.setFixtureType(random.bounded(2) ? 0xFFFFFFFFu : random.bounded(14));
            for (int c = random.bounded(5); c > 0; --c) {
                auto *channel = new QBLFixtureChannel;
                channel->setName(randomText(random));
                channel->setAutoNameShort(random.bounded(2));
                channel->setNameShort(randomText(random));
                channel->setNumber(int(random.bounded(200)) - 100);
                d.channels().append(channel);
            }
            const QByteArray mine = write(d);
            const QByteArray qt = streamWriterDocument(d);
            qsizetype at = 0;
            while (at < mine.size() && at < qt.size() && mine[at] == qt[at])
                ++at;
            QVERIFY2(mine == qt,
                     (QByteArray("differs at ") + mine.mid(at - 20, 40).toPercentEncoding() +
                      " vs " + qt.mid(at - 20, 40).toPercentEncoding())
                         .constData());
        }
    }

    void charactersXmlCannotHoldAreLeftOutAndTheDocumentStaysReadable()
    {
        auto d = makeDefinition(QStringLiteral("A") + QChar(0x01) + QChar(0xFFFE) + QChar(0xD800) +
                                    QStringLiteral("B"),
                                {QStringLiteral("x") + QChar(0xDC00) + QChar(0x1F)});
        const QByteArray doc = write(*d);
        QVERIFY(doc.contains("<Model Name=\"AB\"/>"));
        const auto back = parseDocument(doc);
        QCOMPARE(back.size(), 1);
        QCOMPARE(back.at(0).fixtureName, QStringLiteral("AB"));
        QCOMPARE(back.at(0).channels.size(), 1);
        QCOMPARE(back.at(0).channels.at(0).name, QStringLiteral("x"));
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
