#include "qblremotefixturedefinition.h"

#include "devicerecord.h"

QBLRemoteFixtureDefinition::QBLRemoteFixtureDefinition(QObject *parent) : QObject(parent) {}

QBLRemoteFixtureDefinition &
QBLRemoteFixtureDefinition::operator=(const QBLRemoteFixtureDefinition &other)
{
    m_nbrOfChannels = other.m_nbrOfChannels;
    m_fixtureName = other.m_fixtureName;
    m_fixtureNameShort = other.m_fixtureNameShort;
    m_manufacturerName = other.m_manufacturerName;
    m_manufacturerNameShort = other.m_manufacturerNameShort;
    m_fixtureType = other.m_fixtureType;
    m_slotNumber = other.m_slotNumber;
    return *this;
}

QString QBLRemoteFixtureDefinition::displayName() const
{
    return m_fixtureName.isEmpty() ? m_fixtureNameShort : m_fixtureName;
}

QString QBLRemoteFixtureDefinition::manufacturerDisplayName() const
{
    return m_manufacturerName.isEmpty() ? m_manufacturerNameShort : m_manufacturerName;
}

void QBLRemoteFixtureDefinition::decodeListHeader(const char *header)
{
    using namespace DeviceRecord;
    m_fixtureType = quint8(header[FixtureTypeOffset]);
    m_fixtureName = readText(header + FixtureNameOffset, FixtureNameWidth);
    m_fixtureNameShort = readText(header + FixtureNameShortOffset, FixtureNameShortWidth);
    m_manufacturerName = readText(header + ManufacturerNameOffset, ManufacturerNameWidth);
    m_manufacturerNameShort =
        readText(header + ManufacturerNameShortOffset, ManufacturerNameShortWidth);
    m_nbrOfChannels = quint8(header[ChannelCountOffset]);
    m_slotNumber = quint8(header[SlotOffset]);
}
