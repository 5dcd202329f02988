#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QtEndian>

// Builds .bl2 images for tests: made-up sector data, never a real controller's firmware.
namespace SyntheticFirmware
{

inline QByteArray sectorData(int size, int seed)
{
    QByteArray data(size, Qt::Uninitialized);
    quint32 x = 2654435761u * quint32(seed + 1);
    for (int i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        data[i] = char(x >> 16);
    }
    return data;
}

// Sectors are placed at 1280, each following one starting at the next multiple of 256.
inline QByteArray image(const QString &device, const QList<QByteArray> &sectors)
{
    QByteArray file(256 + 1024, '\0');
    file.replace(0, 5, QByteArray("BLU2\0", 5));
    const QByteArray name = device.toLatin1().left(39);
    file.replace(5, name.size(), name);
    file[46] = char(sectors.size());
    quint32 sum = 0;
    for (int i = 0; i < sectors.size(); ++i) {
        qToLittleEndian<qint32>(sectors[i].size(), file.data() + 68 + 4 * i);
        for (char c : sectors[i])
            sum += uchar(c);
    }
    qToLittleEndian<quint32>(sum, file.data() + 100);
    const QByteArray note = QByteArray("Test image for ") + name;
    file.replace(256, note.size(), note);
    for (const QByteArray &s : sectors) {
        file.append(s);
        const int pad = (256 - s.size() % 256) % 256;
        file.append(QByteArray(pad, '\0'));
    }
    return file;
}

inline QByteArray oneSector(const QString &device = QStringLiteral("KDR-450P"), int size = 77312)
{
    return image(device, {sectorData(size, 1)});
}

inline bool write(const QString &path, const QByteArray &contents)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(contents) == contents.size();
}

} // namespace SyntheticFirmware
