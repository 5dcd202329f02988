#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QXmlStreamAttributes>

// Receives the events of one definition document. Text between two markup events arrives
// in one characters() call; whitespace outside the root element is not reported. A false
// result stops reading.
class FixtureXmlEventSink
{
public:
    virtual ~FixtureXmlEventSink() = default;
    virtual bool startElement(QStringView localName, const QXmlStreamAttributes &attributes) = 0;
    virtual bool endElement(QStringView localName) = 0;
    virtual bool characters(const QString &text) = 0;
};

namespace FixtureXml
{

// Reads any document with Qt's stream reader; stops at the first error, which it returns in
// one line (empty when the document was read to its end or the sink stopped it).
QString readWithStreamReader(const QByteArray &document, FixtureXmlEventSink &sink);

// Reads the plain documents that this program writes (UTF-8, elements, attributes in double
// quotes, text, the predefined entities and character references) an order of magnitude
// faster than the stream reader, with the same events. Returns false as soon as the
// document holds anything else (a comment, a DOCTYPE, CDATA, an error, ...): events may
// then have been delivered already, and the caller starts over with readWithStreamReader.
bool readPlainDocument(const QByteArray &document, FixtureXmlEventSink &sink);

} // namespace FixtureXml
