#include "storeplan.h"

#include "devicerecord.h"

#include "model/qblfixturedefinition.h"

#include <QSet>

using namespace DeviceRecord;

namespace
{

QByteArrayView headerOf(const QByteArray &key)
{
    return QByteArrayView(key).first(qMin<qsizetype>(key.size(), HeaderSize));
}

QList<QByteArray> definitionKeys(const QList<const QBLFixtureDefinition *> &definitions)
{
    QList<QByteArray> keys;
    keys.reserve(definitions.size());
    for (const QBLFixtureDefinition *d : definitions)
        keys.append(definitionRecordKey(*d));
    return keys;
}

} // namespace

QByteArray storedRecordKey(QByteArrayView record)
{
    if (record.size() < HeaderSize)
        return QByteArray();
    // A header alone decodes like a record with empty channel entries; only its header counts.
    QByteArray full = record.first(qMin<qsizetype>(record.size(), RecordSize)).toByteArray();
    const bool headerOnly = full.size() < RecordSize;
    full.resize(RecordSize, '\0');
    QBLFixtureDefinition definition;
    decodeDeviceRecord(full, definition);
    QByteArray key = encodeDeviceRecord(definition);
    return headerOnly ? key.first(HeaderSize) : key;
}

QByteArray definitionRecordKey(const QBLFixtureDefinition &definition)
{
    QBLFixtureDefinition copy;
    copy = definition;
    // Through the decoder too, so that the key equals what reading the record back gives.
    return storedRecordKey(encodeDeviceRecord(copy));
}

StorePlan planStore(const QList<StoredRecord> &stored,
                    const QList<const QBLFixtureDefinition *> &definitions, int freeSlots)
{
    StorePlan plan;
    plan.stored = int(stored.size());
    plan.freeSlots = freeSlots;
    QList<QByteArray> storedKeys;
    for (const StoredRecord &s : stored)
        storedKeys.append(storedRecordKey(s.record));
    for (const QByteArray &key : definitionKeys(definitions)) {
        int slot = -1;
        for (qsizetype i = 0; i < stored.size() && slot < 0; ++i) {
            const QByteArray &k = storedKeys.at(i);
            if (k.size() == HeaderSize ? headerOf(key) == k : k == key)
                slot = stored.at(i).slot;
        }
        plan.heldIn.append(slot);
        if (slot < 0)
            ++plan.toWrite;
    }
    return plan;
}

QList<int> candidateSlots(const QList<StoredRecord> &headers,
                          const QList<const QBLFixtureDefinition *> &definitions)
{
    QSet<QByteArray> wanted;
    for (const QByteArray &key : definitionKeys(definitions))
        wanted.insert(headerOf(key).toByteArray());
    QList<int> out;
    for (const StoredRecord &s : headers)
        if (wanted.contains(headerOf(storedRecordKey(s.record)).toByteArray()) &&
            !out.contains(s.slot))
            out.append(s.slot);
    return out;
}

QList<int> placedSlots(const QList<StoredRecord> &before, const QList<StoredRecord> &after,
                       const QList<const QBLFixtureDefinition *> &written)
{
    QSet<int> old;
    for (const StoredRecord &s : before)
        old.insert(s.slot);
    QList<StoredRecord> fresh;
    QList<QByteArray> freshKeys;
    for (const StoredRecord &s : after) {
        if (old.contains(s.slot))
            continue;
        fresh.append(s);
        freshKeys.append(headerOf(storedRecordKey(s.record)).toByteArray());
    }
    // Each new slot serves one definition, the lowest first, as the controller fills them.
    QList<int> out;
    QSet<int> taken;
    for (const QByteArray &key : definitionKeys(written)) {
        const QByteArrayView header = headerOf(key);
        int slot = -1;
        for (qsizetype i = 0; i < fresh.size(); ++i) {
            const int s = fresh.at(i).slot;
            if (!taken.contains(s) && freshKeys.at(i) == header && (slot < 0 || s < slot))
                slot = s;
        }
        if (slot >= 0)
            taken.insert(slot);
        out.append(slot);
    }
    return out;
}
