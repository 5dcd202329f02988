#include "qblfixturedefinitionxmlexporter.h"

#include "fixturetypes.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

#include <QXmlStreamWriter>

namespace
{

// A reader turns a raw carriage return in element text into a line feed, so the reference
// would no longer match its channel's name (attributes get it escaped by the stream writer).
void writeReferenceText(QXmlStreamWriter &w, const QString &text)
{
    qsizetype start = 0;
    for (qsizetype cr = text.indexOf(QLatin1Char('\r')); cr >= 0;
         cr = text.indexOf(QLatin1Char('\r'), start)) {
        w.writeCharacters(text.mid(start, cr - start));
        w.writeEntityReference(QStringLiteral("#13"));
        start = cr + 1;
    }
    w.writeCharacters(start ? text.mid(start) : text);
}

} // namespace

QBLFixtureDefinitionXMLExporter::QBLFixtureDefinitionXMLExporter(QObject *parent) : QObject(parent)
{
}

void QBLFixtureDefinitionXMLExporter::exportDefinition(const QBLFixtureDefinition &definition,
                                                       QByteArray &output) const
{
    const QString name = QStringLiteral("Name");
    const QString shortName = QStringLiteral("ShortName");

    QXmlStreamWriter w(&output);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(4);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("BrenlowFixtureDefinition"));

    w.writeEmptyElement(QStringLiteral("Manufacturer"));
    w.writeAttribute(name, definition.manufacturerName());
    if (!definition.isAutoManufacturerNameShort())
        w.writeAttribute(shortName, definition.manufacturerNameShort());

    w.writeEmptyElement(QStringLiteral("Model"));
    w.writeAttribute(name, definition.fixtureName());
    if (!definition.isAutoFixtureNameShort())
        w.writeAttribute(shortName, definition.fixtureNameShort());

    if (definition.fixtureType() != QBLFixtureDefinition::NoFixtureType)
        w.writeTextElement(QStringLiteral("Type"),
                           FixtureTypes::canonicalText(definition.fixtureType()));

    const QList<QBLFixtureChannel *> &channels = definition.channels();
    for (const QBLFixtureChannel *c : channels) {
        w.writeEmptyElement(QStringLiteral("DMXChannel"));
        w.writeAttribute(name, c->name());
        if (!c->isAutoNameShort())
            w.writeAttribute(shortName, c->nameShort().left(QBLFixtureChannel::NameShortLength));
    }

    if (channels.isEmpty()) {
        w.writeEmptyElement(QStringLiteral("Personality"));
    } else {
        w.writeStartElement(QStringLiteral("Personality"));
        for (const QBLFixtureChannel *c : channels) {
            w.writeStartElement(QStringLiteral("DMXChannelRef"));
            w.writeAttribute(QStringLiteral("Number"), QString::number(c->number()));
            writeReferenceText(w, c->name());
            w.writeEndElement();
        }
        w.writeEndElement();
    }

    w.writeEndElement();
    w.writeEndDocument();
}
