#include "devicejobs.h"

#include "devicerecord.h"
#include "qblremotefixturedefinition.h"

bool StoredFixtureList::parse(QByteArrayView answer)
{
    clear();
    QList<QByteArrayView> headers;
    if (!DeviceRecord::isEmptyFixtureList(answer) &&
        !DeviceRecord::splitFixtureList(answer, &headers))
        return false;
    m_answer = answer.toByteArray();
    m_count = int(headers.size());
    return true;
}

void StoredFixtureList::clear()
{
    m_answer.clear();
    m_count = 0;
    m_freeSlots = -1;
}

QList<QByteArrayView> StoredFixtureList::headers() const
{
    QList<QByteArrayView> out;
    out.reserve(m_count);
    for (int i = 0; i < m_count; ++i)
        out.append(QByteArrayView(m_answer).sliced(BLPSize::FixtureListCountSize +
                                                       qsizetype(DeviceRecord::HeaderSize) * i,
                                                   DeviceRecord::HeaderSize));
    return out;
}

QList<StoredRecord> StoredFixtureList::storedHeaders() const
{
    QList<StoredRecord> out;
    for (const QByteArrayView header : headers())
        out.append(
            StoredRecord{int(quint8(header[DeviceRecord::SlotOffset])), header.toByteArray()});
    return out;
}

std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> StoredFixtureList::entries() const
{
    std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> out;
    for (const QByteArrayView header : headers()) {
        auto entry = std::make_unique<QBLRemoteFixtureDefinition>();
        entry->decodeListHeader(header.data());
        out.push_back(std::move(entry));
    }
    return out;
}
