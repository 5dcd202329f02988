#pragma once

#include "fixturexmlscanner.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QXmlStreamAttributes>

#include <vector>

class QBLFixtureDefinition;

// Turns the events of one fixture definition document into definitions, one per completed
// personality. A false result stops the parse.
class QBLFixtureXMLContentHandler : public FixtureXmlEventSink
{
public:
    QBLFixtureXMLContentHandler();
    ~QBLFixtureXMLContentHandler() override;
    QBLFixtureXMLContentHandler(const QBLFixtureXMLContentHandler &) = delete;
    QBLFixtureXMLContentHandler &operator=(const QBLFixtureXMLContentHandler &) = delete;

    bool startDocument();
    bool startElement(QStringView localName, const QXmlStreamAttributes &attributes) override;
    bool endElement(QStringView localName) override;
    bool characters(const QString &text) override;

    QList<QBLFixtureDefinition *> &definitions() { return m_definitions; }
    // Unsupported constructs met so far, one line each; the loader reports them once the
    // parse is over.
    const QStringList &unsupportedConstructs() const { return m_unsupported; }
    // Why the handler stopped the parse, in one line; empty while it has not.
    const QString &stopReason() const { return m_stopReason; }

private:
    enum class State { Start, Fixture, Personality, AfterPersonality, TypeText, ReferenceText };

    // A fixture-level channel declaration, copied into the definition by references.
    struct DeclaredChannel {
        QString name;
        QString nameShort;
        bool autoNameShort;
        int number;
        bool taken; // by a reference of the current personality
    };

    bool startFixtureElement(QStringView name, const QXmlStreamAttributes &attributes);
    void startPersonalityElement(QStringView name, const QXmlStreamAttributes &attributes);
    void startPersonality(const QXmlStreamAttributes &attributes);
    void addReferencedChannel(const QString &name);
    int findDeclaration(const QString &name);
    void completePersonality();
    void reportUnsupported(const QString &construct);
    bool stop(const QString &reason);

    QList<QBLFixtureDefinition *> m_definitions;
    QBLFixtureDefinition *m_current;
    QXmlStreamAttributes m_personalityAttributes;
    std::vector<DeclaredChannel> m_declared;
    // Declarations before this one are all taken: references in declaration order (all that
    // this program writes) find theirs here without a search.
    size_t m_nextDeclaration = 0;
    // Built at the first reference out of declaration order.
    struct SameName {
        std::vector<int> indices;
        size_t next = 0; // indices before it are taken in personality number `personality`
        int personality = 0;
    };
    QHash<QString, SameName> m_declaredByName;
    int m_personalityCount = 0;
    State m_state = State::Start;
    int m_currentChannelNumber = 0;
    bool m_referenceHasText = false;
    QStringList m_unsupported;
    QString m_stopReason;
    // Names given by "Model": the base of the "@" suffix of further personalities.
    QString m_modelName;
    QString m_modelNameShort;
};
