// Firmware files come from users and downloads: every byte pattern must be read safely.
#include "firmware/firmwarefile.h"

#include <QCoreApplication>
#include <QTemporaryFile>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryFile file;
    static const bool opened = file.open();
    if (!opened)
        return 0;
    file.resize(0);
    file.seek(0);
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.flush();

    FirmwareFile firmware;
    firmware.load(file.fileName());
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
    (void)firmware.statusText(QStringLiteral("KDR-450P"));
    (void)firmware.statusText(QString());
    return int(sum & 0);
}
