#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>

// One .bl2 firmware file, read whole into memory. The updater sends its 256-byte header block
// and then each sector; the sector contents are opaque and only summed here.
class FirmwareFile : public QObject
{
    Q_OBJECT

public:
    static constexpr int HeaderBlockSize = 256;
    static constexpr int DataOffset = 1280;
    static constexpr int MaxSectors = 8;
    // Far above any real image (about 80 KB); keeps a wrong file from filling memory.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    explicit FirmwareFile(QObject *parent = nullptr);

    bool load(const QString &fileName);

    bool isValid() const { return m_loaded && !m_invalid; }
    bool isForDevice(const QString &deviceName) const;
    int sectorCount() const;
    QByteArrayView headerBlock() const;
    QByteArrayView sector(int index) const;
    int totalSize() const;
    QString statusText(const QString &connectedDeviceName) const;

    QString fileName() const { return m_fileName; }
    // The device name the header is meant for; empty unless the file is valid.
    QString targetDeviceName() const;
    bool isUnreadable() const { return m_unreadable; }
    // The rule an invalid file broke, in one translated phrase; empty for a valid one.
    QString invalidReason() const { return m_invalidReason; }
    // The free text after the header (its first line, printable characters only).
    QString noteText() const;

    // The built-in image exists only when the build embedded one; a test image never is.
    static bool hasBuiltinImage();
    static QString builtinImagePath();

private:
    bool checkLayout();
    quint32 storedChecksum() const;
    quint32 computeChecksum() const;
    qint32 sectorSize(int index) const;

    QString m_fileName;
    QByteArray m_contents;
    qint32 m_size = -1;
    bool m_loaded = false;
    bool m_unreadable = false;
    bool m_invalid = true;
    QString m_invalidReason;
};
