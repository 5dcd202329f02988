#pragma once

#include <QObject>
#include <QString>

// One entry of the controller's fixture list: a record header with its slot number.
class QBLRemoteFixtureDefinition : public QObject
{
    Q_OBJECT

public:
    static constexpr quint8 NoSlot = 0xFF;

    explicit QBLRemoteFixtureDefinition(QObject *parent = nullptr);
    // Copies every field (a QObject has no copy of its own).
    QBLRemoteFixtureDefinition &operator=(const QBLRemoteFixtureDefinition &other)
    {
        m_fields = other.m_fields;
        return *this;
    }

    int nbrOfChannels() const { return m_fields.nbrOfChannels; }
    void setNbrOfChannels(int count) { m_fields.nbrOfChannels = count; }
    QString fixtureName() const { return m_fields.fixtureName; }
    void setFixtureName(const QString &name) { m_fields.fixtureName = name; }
    QString fixtureNameShort() const { return m_fields.fixtureNameShort; }
    QString manufacturerName() const { return m_fields.manufacturerName; }
    void setManufacturerName(const QString &name) { m_fields.manufacturerName = name; }
    QString manufacturerNameShort() const { return m_fields.manufacturerNameShort; }
    int fixtureType() const { return m_fields.fixtureType; }
    quint8 slotNumber() const { return m_fields.slotNumber; }
    void setSlotNumber(quint8 slot) { m_fields.slotNumber = slot; }

    // The fixture name, or the fixture short name when the name is empty.
    QString displayName() const;
    // The manufacturer name, or its short name when the name is empty.
    QString manufacturerDisplayName() const;

    // Fills every field from one 244-byte fixture list header.
    void decodeListHeader(const char *header);

private:
    // Plain values, so that copying the entry cannot miss a field.
    struct Fields {
        int nbrOfChannels = 0;
        QString fixtureName;
        QString fixtureNameShort;
        QString manufacturerName;
        QString manufacturerNameShort;
        int fixtureType = 0;
        quint8 slotNumber = NoSlot;
    };
    Fields m_fields;
};
