#include "devicejobs.h"

#include "devicerecord.h"
#include "qblremotefixturedefinition.h"

bool StoredFixtureList::parse(QByteArrayView answer)
{
    clear();
    if (DeviceRecord::isEmptyFixtureList(answer))
        return true;
    QList<QByteArrayView> headers;
    if (!DeviceRecord::splitFixtureList(answer, &headers))
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

std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> StoredFixtureList::entries() const
{
    std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> out;
    out.reserve(size_t(m_count));
    for (int i = 0; i < m_count; ++i) {
        auto entry = std::make_unique<QBLRemoteFixtureDefinition>();
        entry->decodeListHeader(headers() + qsizetype(DeviceRecord::HeaderSize) * i);
        out.push_back(std::move(entry));
    }
    return out;
}
