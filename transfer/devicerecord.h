#pragma once

#include "blpprotocol.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

class QBLFixtureDefinition;

// The controller's byte layout of one fixture definition ("record") and of its fixture list.
// Integers are little-endian, texts Latin-1, zero-ended unless they fill their field.
namespace DeviceRecord
{

constexpr int HeaderSize = BLPSize::RecordHeaderSize;
constexpr int ChannelEntrySize = 112;
constexpr int MaxChannels = 45;
constexpr int RecordSize = HeaderSize + MaxChannels * ChannelEntrySize;
static_assert(RecordSize == BLPSize::RecordSize, "the record layout fills the whole record");
constexpr int FixtureListBufferSize = 40000;

// Header fields.
constexpr int FixtureNameOffset = 0;
constexpr int FixtureNameWidth = 100;
constexpr int FixtureNameShortOffset = 100;
constexpr int FixtureNameShortWidth = 20;
constexpr int ManufacturerNameOffset = 120;
constexpr int ManufacturerNameWidth = 100;
constexpr int ManufacturerNameShortOffset = 220;
constexpr int ManufacturerNameShortWidth = 20;
constexpr int ChannelCountOffset = 240;
constexpr int FixtureTypeOffset = 241;
constexpr int SlotOffset = BLPSize::RecordSlotOffset;

// Channel entry fields, relative to the entry.
constexpr int ChannelNameShortOffset = 0;
constexpr int ChannelNameShortWidth = 12;
constexpr int ChannelNameOffset = 12;
constexpr int ChannelNameWidth = 100;

constexpr int channelEntryOffset(int number)
{
    return HeaderSize + ChannelEntrySize * (number - 1);
}

// The bytes up to the first zero or the end of the field, as Latin-1.
QString readText(const char *field, int width);
// The first width characters as Latin-1 ("?" for others), zero-ended when shorter. A
// character is a code point: one outside the basic plane is one "?", and is never split.
void writeText(char *field, int width, const QString &text);

// Splits a fixture list answer into its 244-byte headers. Accepted only when its length
// exceeds 2 and equals 2 + 244 * count.
bool splitFixtureList(QByteArrayView list, QList<QByteArrayView> *headers);
// An answer of only the 2-byte count 0: a controller with no definitions stored.
bool isEmptyFixtureList(QByteArrayView list);

} // namespace DeviceRecord

// A name that the controller will not show as given: characters outside Latin-1 become "?",
// and names longer than their field are cut.
struct DeviceNameChange {
    QString field; // translated: "fixture name", "channel 3 short name", ...
    QString given;
    QString stored;
    bool replaced = false; // characters the record cannot hold
    bool cut = false;      // longer than the field
};

// What an upload of the definition would store, before anything is sent.
struct DeviceRecordPreview {
    int channelCount = 0;
    bool channelCountFits = false; // 1 to 45: the controller refuses the others
    // In record order; automatic short names are not listed (their long name is).
    QList<DeviceNameChange> nameChanges;
    bool storesAsGiven() const { return channelCountFits && nameChanges.isEmpty(); }
};
DeviceRecordPreview previewDeviceRecord(const QBLFixtureDefinition &definition);

// Encodes the definition into a full record. Refreshes its automatic short names first, so
// the definition itself changes.
QByteArray encodeDeviceRecord(QBLFixtureDefinition &definition);
// Fills a definition from a full record; false, and nothing changed, when the buffer is
// shorter than a record.
bool decodeDeviceRecord(QByteArrayView record, QBLFixtureDefinition &definition);
