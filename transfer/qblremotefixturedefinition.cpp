#include "qblremotefixturedefinition.h"

#include "devicerecord.h"

QBLRemoteFixtureDefinition::QBLRemoteFixtureDefinition(QObject *parent) : QObject(parent) {}

QString QBLRemoteFixtureDefinition::displayName() const
{
    return m_fields.fixtureName.isEmpty() ? m_fields.fixtureNameShort : m_fields.fixtureName;
}

QString QBLRemoteFixtureDefinition::manufacturerDisplayName() const
{
    return m_fields.manufacturerName.isEmpty() ? m_fields.manufacturerNameShort
                                               : m_fields.manufacturerName;
}

void QBLRemoteFixtureDefinition::decodeListHeader(const char *header)
{
    using namespace DeviceRecord;
    m_fields.fixtureType = quint8(header[FixtureTypeOffset]);
    m_fields.fixtureName = readText(header + FixtureNameOffset, FixtureNameWidth);
    m_fields.fixtureNameShort = readText(header + FixtureNameShortOffset, FixtureNameShortWidth);
    m_fields.manufacturerName = readText(header + ManufacturerNameOffset, ManufacturerNameWidth);
    m_fields.manufacturerNameShort =
        readText(header + ManufacturerNameShortOffset, ManufacturerNameShortWidth);
    m_fields.nbrOfChannels = quint8(header[ChannelCountOffset]);
    m_fields.slotNumber = quint8(header[SlotOffset]);
}
