#include "firmwarefile.h"

#include "firmwarelog.h"

#include <QFile>
#include <QtEndian>

#include <cstring>

Q_LOGGING_CATEGORY(lcFirmware, "kdr.firmware", QtInfoMsg)

namespace
{

constexpr int MagicSize = 5;
constexpr int NameOffset = 5;
constexpr int NameSize = 40;
constexpr int CountOffset = 46;
constexpr int SizesOffset = 68;
constexpr int ChecksumOffset = 100;
constexpr char Magic[MagicSize] = {'B', 'L', 'U', '2', '\0'};

qint64 roundUpTo256(qint64 n)
{
    return (n + 255) / 256 * 256;
}

} // namespace

FirmwareFile::FirmwareFile(QObject *parent) : QObject(parent) {}

bool FirmwareFile::load(const QString &fileName)
{
    m_fileName = fileName;
    m_check = Check();
    m_loaded = false;
    m_contents.clear();
    m_size = -1;

    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        qCDebug(lcFirmware) << "Could not open the file " << fileName;
        return refuse(Validation::Unreadable);
    }
    m_check.fileSize = file.size();
    if (file.size() > MaxFileSize) {
        qCDebug(lcFirmware) << "Firmware file too large:" << file.size();
        return refuse(Validation::TooLarge);
    }
    m_contents = file.readAll();
    if (m_contents.size() != file.size()) {
        qCDebug(lcFirmware) << "Could not read the whole file " << fileName;
        m_contents.clear();
        return refuse(Validation::Unreadable);
    }
    m_size = qint32(m_contents.size());
    file.close();

    if (m_size < MagicSize || std::memcmp(m_contents.constData(), Magic, MagicSize) != 0) {
        qCDebug(lcFirmware) << "Not an BLU2 file";
        return refuse(Validation::BadMagic);
    }
    if (!checkLayout())
        return false;
    m_check.storedChecksum = storedChecksum();
    m_check.computedChecksum = computeChecksum();
    if (m_check.storedChecksum != m_check.computedChecksum) {
        qCDebug(lcFirmware) << "Checksum error";
        qCDebug(lcFirmware) << "Expected Checksum " << m_check.storedChecksum;
        qCDebug(lcFirmware) << "Received Checksum " << m_check.computedChecksum;
        return refuse(Validation::ChecksumMismatch);
    }
    m_check.validation = Validation::Valid;
    m_loaded = true;
    return true;
}

bool FirmwareFile::refuse(Validation validation)
{
    m_check.validation = validation;
    return false;
}

// Every field read later must lie inside the buffer: the header block whole, at most eight
// sizes (a ninth entry would overlap the checksum), no negative size, and every sector,
// under both the rounded (checksum) and packed (sending) placement, inside the file.
bool FirmwareFile::checkLayout()
{
    if (m_size < HeaderBlockSize) {
        qCDebug(lcFirmware) << "Firmware file shorter than its header:" << m_size;
        return refuse(Validation::ShorterThanHeader);
    }
    const int count = quint8(m_contents.at(CountOffset));
    if (count > MaxSectors) {
        qCDebug(lcFirmware) << "Firmware file claims" << count << "sectors";
        m_check.sectorCount = count;
        return refuse(Validation::TooManySectors);
    }
    qint64 offset = DataOffset;
    for (int i = 0; i < count; ++i) {
        const qint32 size = sectorSize(i);
        if (size < 0 || offset + size > m_size) {
            qCDebug(lcFirmware) << "Firmware sector" << i << "of size" << size << "lies outside the file";
            m_check.sector = i;
            m_check.sectorSize = size;
            return refuse(Validation::SectorOutsideFile);
        }
        offset += roundUpTo256(size);
    }
    return true;
}

qint32 FirmwareFile::sectorSize(int index) const
{
    return qFromLittleEndian<qint32>(m_contents.constData() + SizesOffset + 4 * index);
}

quint32 FirmwareFile::storedChecksum() const
{
    return qFromLittleEndian<quint32>(m_contents.constData() + ChecksumOffset);
}

quint32 FirmwareFile::computeChecksum() const
{
    const int count = quint8(m_contents.at(CountOffset));
    const auto *bytes = reinterpret_cast<const uchar *>(m_contents.constData());
    quint32 sum = 0;
    qint64 offset = DataOffset;
    for (int i = 0; i < count; ++i) {
        const qint32 size = sectorSize(i);
        for (qint32 j = 0; j < size; ++j)
            sum += bytes[offset + j];
        if (size > 0)
            offset += roundUpTo256(size);
    }
    return sum;
}

QString FirmwareFile::targetDeviceName() const
{
    if (!isValid())
        return QString();
    const char *name = m_contents.constData() + NameOffset;
    return QString::fromLatin1(name, int(qstrnlen(name, NameSize)));
}

QString FirmwareFile::noteText() const
{
    if (!isValid())
        return QString();
    const QByteArray note = m_contents.mid(HeaderBlockSize, DataOffset - HeaderBlockSize);
    QString line;
    for (const char c : note) {
        if (c == '\0' || c == '\n' || c == '\r')
            break;
        if (uchar(c) >= 0x20 && uchar(c) < 0x7F)
            line += QLatin1Char(c);
    }
    return line.trimmed();
}

bool FirmwareFile::isForDevice(const QString &deviceName) const
{
    if (!isValid() || deviceName.isEmpty())
        return false;
    return targetDeviceName() == deviceName;
}

int FirmwareFile::sectorCount() const
{
    if (!m_loaded)
        return -1;
    return quint8(m_contents.at(CountOffset));
}

QByteArrayView FirmwareFile::headerBlock() const
{
    if (!m_loaded || m_size <= HeaderBlockSize)
        return QByteArrayView();
    return QByteArrayView(m_contents.constData(), HeaderBlockSize);
}

QByteArrayView FirmwareFile::sector(int index) const
{
    if (!m_loaded || index < 0 || index >= sectorCount() || index >= MaxSectors)
        return QByteArrayView();
    // Sectors start where the checksum reads them (each at the next multiple of 256 after
    // the previous one), so the bytes sent are the bytes the checksum vouched for.
    qint64 offset = DataOffset;
    for (int i = 0; i < index; ++i) {
        qCDebug(lcFirmware) << "Incrementing sector";
        offset += roundUpTo256(sectorSize(i));
    }
    return QByteArrayView(m_contents.constData() + offset, sectorSize(index));
}

int FirmwareFile::totalSize() const
{
    if (!isValid())
        return -1;
    qint64 total = HeaderBlockSize;
    for (int i = 0; i < sectorCount(); ++i)
        total += sectorSize(i);
    return int(total);
}

bool FirmwareFile::hasBuiltinImage()
{
#ifdef KDR_HAVE_BUILTIN_FIRMWARE
    return QFile::exists(builtinImagePath());
#else
    return false;
#endif
}

QString FirmwareFile::builtinImagePath()
{
    return QStringLiteral(":/firmware/KDR-450P/KDR-450P.bl2");
}
