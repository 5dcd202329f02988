#include "qblfixturedefinitionloader.h"

#include "fixturexmlscanner.h"
#include "qblfixturexmlcontenthandler.h"

#include <QCoreApplication>

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
    QString xmlError;
    if (!FixtureXml::readPlainDocument(m_data, *m_handler)) {
        // Not one of the plain documents: start over with the full XML reader.
        m_handler = std::make_unique<QBLFixtureXMLContentHandler>();
        m_handler->startDocument();
        xmlError = FixtureXml::readWithStreamReader(m_data, *m_handler);
    }
    m_definitions = &m_handler->definitions();
    m_problem = m_handler->stopReason();
    if (m_problem.isEmpty())
        m_problem = xmlError;
    if (m_problem.isEmpty() && m_definitions->isEmpty())
        m_problem = QCoreApplication::translate("QBLFixtureDefinitionLoader",
                                                "no personality, so no definition");
    for (qsizetype i = m_handler->unsupportedConstructs().size(); i > 0; --i)
        slotUnsupportedContent();
    if (!m_problem.isEmpty())
        slotUnsupportedContent();
}

QStringList QBLFixtureDefinitionLoader::unsupportedConstructs() const
{
    QStringList constructs = m_handler->unsupportedConstructs();
    if (!m_problem.isEmpty())
        constructs.prepend(m_problem);
    return constructs;
}

void QBLFixtureDefinitionLoader::slotUnsupportedContent()
{
    emit unsupportedContent();
}
