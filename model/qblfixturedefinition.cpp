#include "qblfixturedefinition.h"

#include "qblfixturechannel.h"
#include "shortname.h"

#include <QAbstractItemModel>

QBLFixtureDefinition::QBLFixtureDefinition(QObject *parent) : QObject(parent) {}

QBLFixtureDefinition::QBLFixtureDefinition(const QBLFixtureDefinition &other) : QObject(nullptr)
{
    copyHeader(other);
    m_channels = other.m_channels;
}

QBLFixtureDefinition &QBLFixtureDefinition::operator=(const QBLFixtureDefinition &other)
{
    if (this == &other)
        return *this;
    copyHeader(other);
    QList<QBLFixtureChannel *> copies;
    copies.reserve(other.m_channels.size());
    for (const QBLFixtureChannel *source : other.m_channels) {
        auto *channel = new QBLFixtureChannel;
        *channel = *source;
        copies.append(channel);
    }
    qDeleteAll(m_channels);
    m_channels = copies;
    return *this;
}

QBLFixtureDefinition::~QBLFixtureDefinition()
{
    qDeleteAll(m_channels);
}

void QBLFixtureDefinition::copyHeader(const QBLFixtureDefinition &other)
{
    m_fixtureName = other.m_fixtureName;
    m_fixtureNameShort = other.m_fixtureNameShort;
    m_autoFixtureNameShort = other.m_autoFixtureNameShort;
    m_manufacturerName = other.m_manufacturerName;
    m_manufacturerNameShort = other.m_manufacturerNameShort;
    m_autoManufacturerNameShort = other.m_autoManufacturerNameShort;
    m_fixtureType = other.m_fixtureType;
    m_listIndex = other.m_listIndex;
    m_listModel = other.m_listModel;
}

void QBLFixtureDefinition::setFixtureName(const QString &name)
{
    m_fixtureName = name;
    notifyListModel();
}

void QBLFixtureDefinition::setFixtureNameShort(const QString &name)
{
    m_fixtureNameShort = name;
    notifyListModel();
}

void QBLFixtureDefinition::setManufacturerName(const QString &name)
{
    m_manufacturerName = name;
    notifyListModel();
}

void QBLFixtureDefinition::setManufacturerNameShort(const QString &name)
{
    m_manufacturerNameShort = name;
    notifyListModel();
}

QString QBLFixtureDefinition::displayName() const
{
    return m_fixtureName.isEmpty() ? m_fixtureNameShort : m_fixtureName;
}

void QBLFixtureDefinition::notifyListModel()
{
    if (!m_listModel || m_notifying)
        return;
    m_notifying = true;
    // Copies first: the model's setData may store into these very fields.
    const QString fixtureName = m_fixtureName;
    const QString manufacturerName = m_manufacturerName;
    const int row = m_listIndex.row();
    m_listModel->setData(m_listModel->index(row, 0), fixtureName, Qt::EditRole);
    if (m_listModel)
        m_listModel->setData(m_listModel->index(row, 2), manufacturerName, Qt::EditRole);
    m_notifying = false;
}

void QBLFixtureDefinition::emitNbrOfChannelChanged()
{
    emit nbrOfChannelChanged(m_listIndex);
}

QString QBLFixtureDefinition::derivedShortName(const QString &name)
{
    return cutShortName(name, AutoShortNameLength);
}

QString QBLFixtureDefinition::effectiveFixtureNameShort() const
{
    return m_autoFixtureNameShort ? derivedShortName(m_fixtureName) : m_fixtureNameShort;
}

QString QBLFixtureDefinition::effectiveManufacturerNameShort() const
{
    return m_autoManufacturerNameShort ? derivedShortName(m_manufacturerName)
                                       : m_manufacturerNameShort;
}

void QBLFixtureDefinition::applyAutoShortNames()
{
    const QString fixtureNameShort = m_fixtureNameShort;
    m_fixtureNameShort = effectiveFixtureNameShort();
    m_manufacturerNameShort = effectiveManufacturerNameShort();
    // The row shows the short name when the name is empty; the list and its filter must see
    // a short name that changed here as they see one that was set.
    if (m_fixtureName.isEmpty() && m_fixtureNameShort != fixtureNameShort)
        notifyListModel();
}

void QBLFixtureDefinition::detectAutoShortNames()
{
    if (m_fixtureNameShort == cutShortName(m_fixtureName, AutoShortNameLength))
        m_autoFixtureNameShort = true;
    if (m_manufacturerNameShort == cutShortName(m_manufacturerName, AutoShortNameLength))
        m_autoManufacturerNameShort = true;
}

void QBLFixtureDefinition::clearErasedNames()
{
    if (!m_fixtureName.isEmpty() && m_fixtureName.at(0) == QChar(0x00FF))
        m_fixtureName.clear();
    if (!m_manufacturerName.isEmpty() && m_manufacturerName.at(0) == QChar(0x00FF))
        m_manufacturerName.clear();
}
