#include "qblfixturechannel.h"

#include "shortname.h"

#include <QAbstractItemModel>

QBLFixtureChannel::QBLFixtureChannel(QObject *parent) : QObject(parent) {}

QBLFixtureChannel &QBLFixtureChannel::operator=(const QBLFixtureChannel &other)
{
    if (this == &other)
        return *this;
    m_name = other.m_name;
    m_nameShort = cutShortName(other.m_nameShort, NameShortLength);
    m_autoNameShort = other.m_autoNameShort;
    m_listIndex = other.m_listIndex;
    m_listModel = other.m_listModel;
    m_number = other.m_number;
    return *this;
}

void QBLFixtureChannel::setNameShort(const QString &nameShort)
{
    m_nameShort = cutShortName(nameShort, NameShortLength);
}

QString QBLFixtureChannel::displayName() const
{
    return m_name.isEmpty() ? m_nameShort : m_name;
}

QString QBLFixtureChannel::derivedNameShort(const QString &name)
{
    return cutShortName(name, NameShortLength);
}

QString QBLFixtureChannel::effectiveNameShort() const
{
    return m_autoNameShort ? derivedNameShort(m_name) : m_nameShort;
}

void QBLFixtureChannel::applyAutoNameShort()
{
    m_nameShort = effectiveNameShort();
}

void QBLFixtureChannel::detectAutoNameShort()
{
    if (m_nameShort == cutShortName(m_name, NameShortLength))
        m_autoNameShort = true;
}

void QBLFixtureChannel::clearErasedName()
{
    if (!m_name.isEmpty() && m_name.at(0) == QChar(0x00FF))
        m_name.clear();
}
