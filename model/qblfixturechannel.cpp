#include "qblfixturechannel.h"

#include <QAbstractItemModel>

namespace
{

// The first `length` UTF-16 units, one fewer when that would split a surrogate pair.
QString cut(const QString &text, int length)
{
    if (text.size() > length && text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}

} // namespace

QBLFixtureChannel::QBLFixtureChannel(QObject *parent) : QObject(parent) {}

QBLFixtureChannel &QBLFixtureChannel::operator=(const QBLFixtureChannel &other)
{
    if (this == &other)
        return *this;
    m_name = other.m_name;
    m_nameShort = cut(other.m_nameShort, NameShortLength);
    m_autoNameShort = other.m_autoNameShort;
    m_listIndex = other.m_listIndex;
    m_listModel = other.m_listModel;
    m_number = other.m_number;
    return *this;
}

void QBLFixtureChannel::setNameShort(const QString &nameShort)
{
    m_nameShort = cut(nameShort, NameShortLength);
}

QString QBLFixtureChannel::displayName() const
{
    return m_name.isEmpty() ? m_nameShort : m_name;
}

QString QBLFixtureChannel::derivedNameShort(const QString &name)
{
    return cut(name, NameShortLength);
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
    if (m_nameShort == cut(m_name, NameShortLength))
        m_autoNameShort = true;
}

void QBLFixtureChannel::clearErasedName()
{
    if (!m_name.isEmpty() && m_name.at(0) == QChar(0x00FF))
        m_name.clear();
}
