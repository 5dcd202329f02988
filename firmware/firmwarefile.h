#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>

// One .bl2 firmware file, read whole into memory. The updater sends its 256-byte header block
// and then each sector; the sector contents are opaque and only summed here. What load()
// found is a status with its figures; the dialog and the tool word it themselves.
class FirmwareFile : public QObject
{
    Q_OBJECT

public:
    enum class Validation {
        NotLoaded,
        Valid,
        Unreadable,        // cannot be opened or read whole
        TooLarge,          // more than MaxFileSize bytes
        BadMagic,          // does not start with "BLU2" and a zero byte
        ShorterThanHeader, // fewer bytes than the 256-byte header
        TooManySectors,    // claims more than MaxSectors
        SectorOutsideFile, // a sector of negative size, or reaching past the end
        ChecksumMismatch,
    };
    Q_ENUM(Validation)

    // The rule a refused file broke, with the figures that broke it.
    struct Check {
        Validation validation = Validation::NotLoaded;
        qint64 fileSize = -1; // TooLarge, ShorterThanHeader
        int sectorCount = 0;  // TooManySectors: the count the header claims
        int sector = -1;      // SectorOutsideFile: which sector, and its size
        qint64 sectorSize = 0;
        quint32 storedChecksum = 0; // ChecksumMismatch: the header's sum, and the data's
        quint32 computedChecksum = 0;
    };

    static constexpr int HeaderBlockSize = 256;
    static constexpr int DataOffset = 1280;
    static constexpr int MaxSectors = 8;
    // Far above any real image (about 80 KB); keeps a wrong file from filling memory.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    explicit FirmwareFile(QObject *parent = nullptr);

    bool load(const QString &fileName);

    bool isValid() const { return m_check.validation == Validation::Valid; }
    bool isForDevice(const QString &deviceName) const;
    int sectorCount() const;
    QByteArrayView headerBlock() const;
    QByteArrayView sector(int index) const;
    int totalSize() const;
    const Check &check() const { return m_check; }

    QString fileName() const { return m_fileName; }
    // The device name the header is meant for; empty unless the file is valid.
    QString targetDeviceName() const;
    bool isUnreadable() const { return m_check.validation == Validation::Unreadable; }
    // The free text after the header (its first line, printable characters only).
    QString noteText() const;

    // The built-in image exists only when the build embedded one; a test image never is.
    static bool hasBuiltinImage();
    static QString builtinImagePath();

private:
    bool refuse(Validation validation);
    bool checkLayout();
    quint32 storedChecksum() const;
    quint32 computeChecksum() const;
    qint32 sectorSize(int index) const;

    QString m_fileName;
    QByteArray m_contents;
    qint32 m_size = -1;
    bool m_loaded = false;
    Check m_check;
};
