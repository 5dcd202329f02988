// Records and fixture lists come from the controller: a damaged answer must decode safely.
#include "definitionequality.h"
#include "model/qblfixturedefinition.h"
#include "transfer/devicerecord.h"
#include "transfer/qblremotefixturedefinition.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    QBLFixtureDefinition definition;
    if (decodeDeviceRecord(bytes, definition)) {
        // A decoded definition encodes again into a full record that decodes to the same
        // fields, and that record encodes to itself.
        QBLFixtureDefinition copy;
        copy = definition;
        const QByteArray record = encodeDeviceRecord(copy);
        if (record.size() != DeviceRecord::RecordSize)
            __builtin_trap();
        QBLFixtureDefinition again;
        if (!decodeDeviceRecord(record, again) || !sameDefinition(definition, again) ||
            encodeDeviceRecord(again) != record)
            __builtin_trap();
    }

    QList<QByteArrayView> headers;
    if (DeviceRecord::splitFixtureList(bytes, &headers)) {
        for (const QByteArrayView &h : headers) {
            if (h.size() != DeviceRecord::HeaderSize)
                __builtin_trap();
            QBLRemoteFixtureDefinition remote;
            remote.decodeListHeader(h.data());
        }
    }
    (void)DeviceRecord::isEmptyFixtureList(bytes);
    return 0;
}
