#include "qblfixturedefinitionloader.h"

#include "qblfixturexmlcontenthandler.h"

#include <QXmlStreamReader>

QBLFixtureDefinitionLoader::QBLFixtureDefinitionLoader(QObject *parent)
    : QObject(parent), m_handler(std::make_unique<QBLFixtureXMLContentHandler>(this))
{
}

QBLFixtureDefinitionLoader::~QBLFixtureDefinitionLoader() = default;

char *QBLFixtureDefinitionLoader::allocateBuffer(int size)
{
    m_data.resize(qMax(size, 0));
    return m_data.data();
}

void QBLFixtureDefinitionLoader::parse()
{
    if (m_definitions)
        return;
    m_definitions = &m_handler->definitions();

    QXmlStreamReader reader(m_data);
    QBLFixtureXMLContentHandler &handler = *m_handler;
    // Text arrives from the stream reader in pieces (around entity references, CDATA
    // sections, comments); the handler gets it whole before the next element event.
    QString text;
    bool haveText = false;
    auto flushText = [&]() {
        if (!haveText)
            return true;
        haveText = false;
        const bool go = handler.characters(text);
        text.clear();
        return go;
    };

    bool go = handler.startDocument();
    while (go && !reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            go = flushText() && handler.startElement(reader.name(), reader.attributes());
            break;
        case QXmlStreamReader::EndElement:
            go = flushText() && handler.endElement(reader.name());
            break;
        case QXmlStreamReader::Characters:
            text += reader.text();
            haveText = true;
            break;
        case QXmlStreamReader::EndDocument:
            go = flushText();
            break;
        default:
            break;
        }
    }
}

void QBLFixtureDefinitionLoader::slotUnsupportedContent()
{
    emit unsupportedContent();
}
