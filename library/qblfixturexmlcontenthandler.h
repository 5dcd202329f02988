#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QXmlStreamAttributes>

class QBLFixtureChannel;
class QBLFixtureDefinition;
class QBLFixtureDefinitionLoader;

// Turns the events of one fixture definition document into definitions, one per completed
// personality. The loader feeds it from a stream reader; text between two markup events
// arrives in one characters() call. A false result stops the parse.
class QBLFixtureXMLContentHandler
{
public:
    explicit QBLFixtureXMLContentHandler(QBLFixtureDefinitionLoader *loader);
    ~QBLFixtureXMLContentHandler();
    QBLFixtureXMLContentHandler(const QBLFixtureXMLContentHandler &) = delete;
    QBLFixtureXMLContentHandler &operator=(const QBLFixtureXMLContentHandler &) = delete;

    bool startDocument();
    bool startElement(QStringView localName, const QXmlStreamAttributes &attributes);
    bool endElement(QStringView localName);
    bool characters(const QString &text);

    QList<QBLFixtureDefinition *> &definitions() { return m_definitions; }

private:
    enum class State { Start, Fixture, Personality, AfterPersonality, TypeText, ReferenceText };

    bool startFixtureElement(QStringView name, const QXmlStreamAttributes &attributes);
    void startPersonalityElement(QStringView name, const QXmlStreamAttributes &attributes);
    void addReferencedChannel(const QString &name);
    void completePersonality();
    void reportUnsupportedContent();

    QBLFixtureDefinitionLoader *m_loader;
    QList<QBLFixtureDefinition *> m_definitions;
    QBLFixtureDefinition *m_current;
    QXmlStreamAttributes m_personalityAttributes;
    QList<QBLFixtureChannel *> m_declaredChannels;
    // Declared channels by name, in declaration order, and how many references of this
    // personality have taken each name: the k-th reference takes the k-th declaration.
    QHash<QString, QList<QBLFixtureChannel *>> m_declaredByName;
    QHash<QString, int> m_referencesByName;
    State m_state = State::Start;
    int m_currentChannelNumber = 0;
    bool m_referenceHasText = false;
    // Names given by "Model": the base of the "@" suffix of further personalities.
    QString m_modelName;
    QString m_modelNameShort;
};
