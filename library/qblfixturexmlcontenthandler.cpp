#include "qblfixturexmlcontenthandler.h"

#include "fixturetypes.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"
#include "qblfixturedefinitionloader.h"

namespace
{

const QString kName = QStringLiteral("Name");
const QString kShortName = QStringLiteral("ShortName");
const QString kNumber = QStringLiteral("Number");

// A present "ShortName" is a chosen one; an absent one is derived from the long name.
template <typename SetShort, typename SetAuto>
void applyShortName(const QXmlStreamAttributes &attributes, SetShort setShort, SetAuto setAuto)
{
    if (attributes.hasAttribute(kShortName)) {
        setShort(attributes.value(kShortName).toString());
        setAuto(false);
    } else {
        setShort(QString());
        setAuto(true);
    }
}

QBLFixtureChannel *channelFrom(const QXmlStreamAttributes &attributes)
{
    auto *channel = new QBLFixtureChannel;
    channel->setName(attributes.value(kName).toString());
    applyShortName(
        attributes, [channel](const QString &s) { channel->setNameShort(s); },
        [channel](bool on) { channel->setAutoNameShort(on); });
    return channel;
}

} // namespace

QBLFixtureXMLContentHandler::QBLFixtureXMLContentHandler(QBLFixtureDefinitionLoader *loader)
    : m_loader(loader), m_current(new QBLFixtureDefinition)
{
}

QBLFixtureXMLContentHandler::~QBLFixtureXMLContentHandler()
{
    qDeleteAll(m_definitions);
    delete m_current;
    qDeleteAll(m_declaredChannels);
}

bool QBLFixtureXMLContentHandler::startDocument()
{
    m_state = State::Start;
    qDeleteAll(m_declaredChannels);
    m_declaredChannels.clear();
    m_declaredByName.clear();
    return true;
}

bool QBLFixtureXMLContentHandler::startElement(QStringView localName,
                                               const QXmlStreamAttributes &attributes)
{
    switch (m_state) {
    case State::Start:
        if (localName != QLatin1String("BrenlowFixtureDefinition"))
            return false;
        m_state = State::Fixture;
        return true;
    case State::Fixture:
        return startFixtureElement(localName, attributes);
    case State::Personality:
        startPersonalityElement(localName, attributes);
        return true;
    case State::AfterPersonality:
        if (localName != QLatin1String("Personality"))
            return false;
        m_personalityAttributes = attributes;
        m_referencesByName.clear();
        m_state = State::Personality;
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
    if (name == QLatin1String("Manufacturer")) {
        d->setManufacturerName(attributes.value(kName).toString());
        applyShortName(
            attributes, [d](const QString &s) { d->setManufacturerNameShort(s); },
            [d](bool on) { d->setAutoManufacturerNameShort(on); });
    } else if (name == QLatin1String("Model")) {
        d->setFixtureName(attributes.value(kName).toString());
        applyShortName(
            attributes, [d](const QString &s) { d->setFixtureNameShort(s); },
            [d](bool on) { d->setAutoFixtureNameShort(on); });
        m_modelName = d->fixtureName();
        m_modelNameShort = d->fixtureNameShort();
    } else if (name == QLatin1String("DMXChannel")) {
        QBLFixtureChannel *channel = channelFrom(attributes);
        channel->setNumber(int(m_declaredChannels.size()) + 1);
        m_declaredChannels.append(channel);
        m_declaredByName[channel->name()].append(channel);
    } else if (name == QLatin1String("Type")) {
        m_state = State::TypeText;
    } else if (name == QLatin1String("Personality")) {
        m_personalityAttributes = attributes;
        m_referencesByName.clear();
        m_state = State::Personality;
    } else if (name == QLatin1String("DMXChannelRef")) {
        return false;
    } else {
        reportUnsupportedContent();
    }
    return true;
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
        QBLFixtureChannel *channel = channelFrom(attributes);
        bool ok = false;
        const int number = attributes.value(kNumber).toInt(&ok);
        channel->setNumber(ok ? number : m_currentChannelNumber + 1);
        m_currentChannelNumber = channel->number();
        m_current->channels().append(channel);
    } else {
        reportUnsupportedContent();
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

void QBLFixtureXMLContentHandler::addReferencedChannel(const QString &name)
{
    const auto declared = m_declaredByName.constFind(name);
    if (declared == m_declaredByName.constEnd())
        return;
    // Channels that share a name are told apart by their order: the k-th reference takes the
    // k-th declaration (the first once they run out), so the writer's files read back exactly.
    int &taken = m_referencesByName[name];
    QBLFixtureChannel *source = declared->value(taken, declared->first());
    ++taken;
    source->setNumber(m_currentChannelNumber);
    auto *copy = new QBLFixtureChannel;
    *copy = *source;
    m_current->channels().append(copy);
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
        reportUnsupportedContent();
        const QString suffix = QLatin1Char('@') + m_personalityAttributes.value(kName).toString();
        m_current->setFixtureName(m_modelName + suffix);
        m_current->setFixtureNameShort(m_modelNameShort + suffix);
    }
    QBLFixtureDefinition *completed = m_current;
    m_definitions.append(completed);
    m_current = new QBLFixtureDefinition(*completed);
    m_current->channels().clear(); // the copy shared them; they stay with the completed one
}

void QBLFixtureXMLContentHandler::reportUnsupportedContent()
{
    if (m_loader)
        m_loader->slotUnsupportedContent();
}
