#include "qblfixturedefinitionxmlexporter.h"

#include "fixturetypes.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

// The document is written by hand rather than through QXmlStreamWriter: saving a large
// library spent most of its time in the stream writer. The bytes are the ones the stream
// writer produces with automatic formatting (four spaces), checked by the tests.
namespace
{

enum class Escape { Attribute, Text };

// UTF-8 with the stream writer's entity references. Characters that XML cannot hold
// (control characters other than tab, line feed and carriage return, U+FFFE, U+FFFF and
// unpaired surrogates) are left out, as the stream writer leaves them out. A carriage
// return in text is written as a reference, because a reader would turn it into a line feed.
void appendEscaped(QByteArray &out, QStringView text, Escape escape)
{
    const bool attribute = escape == Escape::Attribute;
    const qsizetype n = text.size();
    const char16_t *s = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = s[i];
        if (u < 0x80) {
            switch (u) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\t':
                out += attribute ? "&#9;" : "\t";
                break;
            case '\n':
                out += attribute ? "&#10;" : "\n";
                break;
            case '\r':
                out += "&#13;";
                break;
            default:
                if (u >= 0x20)
                    out += char(u);
            }
        } else if (u < 0x800) {
            out += char(0xC0 | (u >> 6));
            out += char(0x80 | (u & 0x3F));
        } else if (QChar::isHighSurrogate(u)) {
            if (i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
                const char32_t c = QChar::surrogateToUcs4(u, s[++i]);
                out += char(0xF0 | (c >> 18));
                out += char(0x80 | ((c >> 12) & 0x3F));
                out += char(0x80 | ((c >> 6) & 0x3F));
                out += char(0x80 | (c & 0x3F));
            }
        } else if (!QChar::isLowSurrogate(u) && u != 0xFFFE && u != 0xFFFF) {
            out += char(0xE0 | (u >> 12));
            out += char(0x80 | ((u >> 6) & 0x3F));
            out += char(0x80 | (u & 0x3F));
        }
    }
}

void appendAttribute(QByteArray &out, const char *name, const QString &value)
{
    out += ' ';
    out += name;
    out += "=\"";
    appendEscaped(out, value, Escape::Attribute);
    out += '"';
}

} // namespace

QBLFixtureDefinitionXMLExporter::QBLFixtureDefinitionXMLExporter(QObject *parent) : QObject(parent)
{
}

void QBLFixtureDefinitionXMLExporter::exportDefinition(const QBLFixtureDefinition &definition,
                                                       QByteArray &out) const
{
    const QList<QBLFixtureChannel *> &channels = definition.channels();
    out.reserve(out.size() + 256 + channels.size() * 120);

    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<BrenlowFixtureDefinition>\n";

    out += "    <Manufacturer";
    appendAttribute(out, "Name", definition.manufacturerName());
    if (!definition.isAutoManufacturerNameShort())
        appendAttribute(out, "ShortName", definition.manufacturerNameShort());
    out += "/>\n    <Model";
    appendAttribute(out, "Name", definition.fixtureName());
    if (!definition.isAutoFixtureNameShort())
        appendAttribute(out, "ShortName", definition.fixtureNameShort());
    out += "/>\n";

    if (definition.fixtureType() != QBLFixtureDefinition::NoFixtureType) {
        out += "    <Type>";
        appendEscaped(out, FixtureTypes::canonicalText(definition.fixtureType()), Escape::Text);
        out += "</Type>\n";
    }

    for (const QBLFixtureChannel *c : channels) {
        out += "    <DMXChannel";
        appendAttribute(out, "Name", c->name());
        if (!c->isAutoNameShort())
            appendAttribute(out, "ShortName",
                            c->nameShort().left(QBLFixtureChannel::NameShortLength));
        out += "/>\n";
    }

    if (channels.isEmpty()) {
        out += "    <Personality/>\n";
    } else {
        out += "    <Personality>\n";
        for (const QBLFixtureChannel *c : channels) {
            out += "        <DMXChannelRef Number=\"";
            out += QByteArray::number(c->number());
            out += "\">";
            appendEscaped(out, c->name(), Escape::Text);
            out += "</DMXChannelRef>\n";
        }
        out += "    </Personality>\n";
    }
    out += "</BrenlowFixtureDefinition>\n";
}
