#include "qblfixturexmlcontenthandler.h"

#include "fixturetypes.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

#include <QCoreApplication>

namespace
{

const QString kName = QStringLiteral("Name");
const QString kShortName = QStringLiteral("ShortName");
const QString kNumber = QStringLiteral("Number");

// A present "ShortName" is a chosen one; an absent one is derived from the long name.
void readShortName(const QXmlStreamAttributes &attributes, QString &nameShort, bool &automatic)
{
    automatic = !attributes.hasAttribute(kShortName);
    nameShort = automatic ? QString() : attributes.value(kShortName).toString();
}

// Hands an element's name, its short name and whether that one is derived to the target.
template <typename T>
void readNames(const QXmlStreamAttributes &attributes, T *target,
               void (T::*setName)(const QString &), void (T::*setNameShort)(const QString &),
               void (T::*setAutoNameShort)(bool))
{
    QString nameShort;
    bool automatic = true;
    readShortName(attributes, nameShort, automatic);
    (target->*setName)(attributes.value(kName).toString());
    (target->*setNameShort)(nameShort);
    (target->*setAutoNameShort)(automatic);
}

} // namespace

QBLFixtureXMLContentHandler::QBLFixtureXMLContentHandler() : m_current(new QBLFixtureDefinition) {}

QBLFixtureXMLContentHandler::~QBLFixtureXMLContentHandler()
{
    qDeleteAll(m_definitions);
    delete m_current;
}

bool QBLFixtureXMLContentHandler::startDocument()
{
    m_state = State::Start;
    m_declared.clear();
    m_declaredByName.clear();
    return true;
}

bool QBLFixtureXMLContentHandler::startElement(QStringView localName,
                                               const QXmlStreamAttributes &attributes)
{
    switch (m_state) {
    case State::Start:
        if (localName != QLatin1String("BrenlowFixtureDefinition"))
            return stop(QCoreApplication::translate(
                            "QBLFixtureXMLContentHandler",
                            "the root element is <%1>, not <BrenlowFixtureDefinition>")
                            .arg(localName));
        m_state = State::Fixture;
        return true;
    case State::Fixture:
        return startFixtureElement(localName, attributes);
    case State::Personality:
        startPersonalityElement(localName, attributes);
        return true;
    case State::AfterPersonality:
        if (localName != QLatin1String("Personality"))
            return stop(QCoreApplication::translate("QBLFixtureXMLContentHandler",
                                                    "element <%1> after the last personality")
                            .arg(localName));
        startPersonality(attributes);
        return true;
    case State::TypeText:
    case State::ReferenceText:
        return true;
    }
    return true;
}

bool QBLFixtureXMLContentHandler::startFixtureElement(QStringView name,
                                                      const QXmlStreamAttributes &attributes)
{
    QBLFixtureDefinition *d = m_current;
    if (name == QLatin1String("DMXChannel")) {
        DeclaredChannel channel{
            attributes.value(kName).toString(), {}, true, int(m_declared.size()) + 1, false};
        // Cut when a reference takes it, by the channel's own rule: never between the two
        // halves of a character outside the basic plane.
        readShortName(attributes, channel.nameShort, channel.autoNameShort);
        m_declared.push_back(std::move(channel));
    } else if (name == QLatin1String("Manufacturer")) {
        readNames(attributes, d, &QBLFixtureDefinition::setManufacturerName,
                  &QBLFixtureDefinition::setManufacturerNameShort,
                  &QBLFixtureDefinition::setAutoManufacturerNameShort);
    } else if (name == QLatin1String("Model")) {
        readNames(attributes, d, &QBLFixtureDefinition::setFixtureName,
                  &QBLFixtureDefinition::setFixtureNameShort,
                  &QBLFixtureDefinition::setAutoFixtureNameShort);
        m_modelName = d->fixtureName();
        m_modelNameShort = d->fixtureNameShort();
    } else if (name == QLatin1String("Type")) {
        m_state = State::TypeText;
    } else if (name == QLatin1String("Personality")) {
        startPersonality(attributes);
    } else if (name == QLatin1String("DMXChannelRef")) {
        return stop(QCoreApplication::translate("QBLFixtureXMLContentHandler",
                                                "<DMXChannelRef> outside a personality"));
    } else {
        reportUnsupported(
            QCoreApplication::translate("QBLFixtureXMLContentHandler", "element <%1>").arg(name));
    }
    return true;
}

void QBLFixtureXMLContentHandler::startPersonality(const QXmlStreamAttributes &attributes)
{
    m_personalityAttributes = attributes;
    for (DeclaredChannel &channel : m_declared)
        channel.taken = false;
    m_nextDeclaration = 0;
    ++m_personalityCount;
    m_state = State::Personality;
}

void QBLFixtureXMLContentHandler::startPersonalityElement(QStringView name,
                                                          const QXmlStreamAttributes &attributes)
{
    if (name == QLatin1String("DMXChannelRef")) {
        m_state = State::ReferenceText;
        m_referenceHasText = false;
        bool ok = false;
        const int number = attributes.value(kNumber).toInt(&ok);
        m_currentChannelNumber = ok ? number : 0;
    } else if (name == QLatin1String("DMXChannel")) {
        auto *channel = new QBLFixtureChannel;
        readNames(attributes, channel, &QBLFixtureChannel::setName,
                  &QBLFixtureChannel::setNameShort, &QBLFixtureChannel::setAutoNameShort);
        bool ok = false;
        const int number = attributes.value(kNumber).toInt(&ok);
        channel->setNumber(ok ? number : m_currentChannelNumber + 1);
        m_currentChannelNumber = channel->number();
        m_current->channels().append(channel);
    } else {
        reportUnsupported(QCoreApplication::translate("QBLFixtureXMLContentHandler",
                                                      "element <%1> in a personality")
                              .arg(name));
    }
}

bool QBLFixtureXMLContentHandler::characters(const QString &text)
{
    if (m_state == State::TypeText) {
        m_current->setFixtureType(FixtureTypes::fromText(text));
        m_state = State::Fixture;
    } else if (m_state == State::ReferenceText) {
        m_referenceHasText = true;
        addReferencedChannel(text);
        m_state = State::Personality;
    }
    return true;
}

// Channels that share a name are told apart by their order: the k-th reference to a name
// takes the k-th declaration of it (the first once they run out), so that files written here
// read back exactly. That is the first declaration of the name not yet taken.
int QBLFixtureXMLContentHandler::findDeclaration(const QString &name)
{
    while (m_nextDeclaration < m_declared.size() && m_declared[m_nextDeclaration].taken)
        ++m_nextDeclaration;
    if (m_nextDeclaration < m_declared.size() && m_declared[m_nextDeclaration].name == name)
        return int(m_nextDeclaration++);

    // Out of order: look the name up. Declarations are complete once a personality started.
    if (m_declaredByName.isEmpty()) {
        for (size_t i = 0; i < m_declared.size(); ++i)
            m_declaredByName[m_declared[i].name].indices.push_back(int(i));
    }
    const auto found = m_declaredByName.find(name);
    if (found == m_declaredByName.end())
        return -1;
    SameName &same = *found;
    if (same.personality != m_personalityCount) {
        same.personality = m_personalityCount;
        same.next = 0;
    }
    while (same.next < same.indices.size() && m_declared[size_t(same.indices[same.next])].taken)
        ++same.next;
    return same.next < same.indices.size() ? same.indices[same.next] : same.indices.front();
}

void QBLFixtureXMLContentHandler::addReferencedChannel(const QString &name)
{
    const int index = findDeclaration(name);
    if (index < 0)
        return;
    DeclaredChannel &declared = m_declared[size_t(index)];
    declared.taken = true;
    declared.number = m_currentChannelNumber;
    auto *channel = new QBLFixtureChannel;
    channel->setName(declared.name);
    channel->setNameShort(declared.nameShort);
    channel->setAutoNameShort(declared.autoNameShort);
    channel->setNumber(declared.number);
    m_current->channels().append(channel);
}

bool QBLFixtureXMLContentHandler::endElement(QStringView localName)
{
    if (m_state == State::Personality && localName == QLatin1String("Personality")) {
        completePersonality();
    } else if (m_state == State::ReferenceText) {
        // A reference without text names a declared channel with an empty name.
        if (!m_referenceHasText)
            addReferencedChannel(QString());
        m_state = State::Personality;
    }
    return true;
}

void QBLFixtureXMLContentHandler::completePersonality()
{
    m_state = State::AfterPersonality;
    if (!m_definitions.isEmpty()) {
        reportUnsupported(
            QCoreApplication::translate("QBLFixtureXMLContentHandler", "further personality \"%1\"")
                .arg(m_personalityAttributes.value(kName).toString()));
        const QString suffix = QLatin1Char('@') + m_personalityAttributes.value(kName).toString();
        m_current->setFixtureName(m_modelName + suffix);
        m_current->setFixtureNameShort(m_modelNameShort + suffix);
    }
    QBLFixtureDefinition *completed = m_current;
    m_definitions.append(completed);
    m_current = new QBLFixtureDefinition(*completed);
    m_current->channels().clear(); // the copy shared them; they stay with the completed one
}

void QBLFixtureXMLContentHandler::reportUnsupported(const QString &construct)
{
    const QString &name = m_current->fixtureName();
    m_unsupported << (name.isEmpty()
                          ? construct
                          : QCoreApplication::translate("QBLFixtureXMLContentHandler", "\"%1\": %2")
                                .arg(name, construct));
}

bool QBLFixtureXMLContentHandler::stop(const QString &reason)
{
    m_stopReason = reason;
    return false;
}
