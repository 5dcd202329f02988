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
    // Copies all seven fields.
    QBLRemoteFixtureDefinition &operator=(const QBLRemoteFixtureDefinition &other);

    int nbrOfChannels() const { return m_nbrOfChannels; }
    void setNbrOfChannels(int count) { m_nbrOfChannels = count; }
    QString fixtureName() const { return m_fixtureName; }
    void setFixtureName(const QString &name) { m_fixtureName = name; }
    QString fixtureNameShort() const { return m_fixtureNameShort; }
    QString manufacturerName() const { return m_manufacturerName; }
    void setManufacturerName(const QString &name) { m_manufacturerName = name; }
    QString manufacturerNameShort() const { return m_manufacturerNameShort; }
    int fixtureType() const { return m_fixtureType; }
    quint8 slotNumber() const { return m_slotNumber; }
    void setSlotNumber(quint8 slot) { m_slotNumber = slot; }

    // The fixture name, or the fixture short name when the name is empty.
    QString displayName() const;
    // The manufacturer name, or its short name when the name is empty.
    QString manufacturerDisplayName() const;

    // Fills every field from one 244-byte fixture list header.
    void decodeListHeader(const char *header);

private:
    int m_nbrOfChannels = 0;
    QString m_fixtureName;
    QString m_fixtureNameShort;
    QString m_manufacturerName;
    QString m_manufacturerNameShort;
    int m_fixtureType = 0;
    quint8 m_slotNumber = NoSlot;
};
