// Firmware files come from users and downloads: every byte pattern must be read safely.
#include "firmware/firmwarefile.h"
#include "inputfile.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString fileName = writeFuzzInputFile(data, size);
    if (fileName.isEmpty())
        return 0;

    FirmwareFile firmware;
    firmware.load(fileName);
    unsigned sum = 0;
    const QByteArrayView header = firmware.headerBlock();
    for (char c : header)
        sum += uchar(c);
    for (int i = -1; i <= firmware.sectorCount() && i < 10; ++i) {
        const QByteArrayView s = firmware.sector(i);
        for (char c : s)
            sum += uchar(c);
    }
    (void)firmware.totalSize();
    (void)firmware.isForDevice(QStringLiteral("KDR-450P"));
    (void)firmware.check();
    return int(sum & 0);
}
