#include "qblfixturedefinitionloader.h"

#include "fixturexmlscanner.h"
#include "qblfixturexmlcontenthandler.h"

QBLFixtureDefinitionLoader::QBLFixtureDefinitionLoader(QObject *parent)
    : QObject(parent), m_handler(std::make_unique<QBLFixtureXMLContentHandler>())
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
    m_handler->startDocument();
    if (!FixtureXml::readPlainDocument(m_data, *m_handler)) {
        // Not one of the plain documents: start over with the full XML reader.
        m_handler = std::make_unique<QBLFixtureXMLContentHandler>();
        m_handler->startDocument();
        FixtureXml::readWithStreamReader(m_data, *m_handler);
    }
    m_definitions = &m_handler->definitions();
    for (int i = m_handler->unsupportedContentCount(); i > 0; --i)
        slotUnsupportedContent();
}

void QBLFixtureDefinitionLoader::slotUnsupportedContent()
{
    emit unsupportedContent();
}
