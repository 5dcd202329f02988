#include "devicerecord.h"

#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

#include <QCoreApplication>
#include <QtEndian>

#include <cstring>

namespace DeviceRecord
{

QString readText(const char *field, int width)
{
    const void *end = std::memchr(field, 0, size_t(width));
    const int length = end ? int(static_cast<const char *>(end) - field) : width;
    return QString::fromLatin1(field, length);
}

// By characters, not UTF-16 units: one outside the basic plane takes two units but one byte,
// and a cut between its two units must not leave half of it.
void writeText(char *field, int width, const QString &text)
{
    int written = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n && written < width; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate())
            ++i;
        field[written++] = c.unicode() <= 0xFF ? char(c.unicode()) : '?';
    }
    if (written < width)
        field[written] = '\0';
}

bool splitFixtureList(QByteArrayView list, QList<QByteArrayView> *headers)
{
    if (list.size() <= 2)
        return false;
    const int count = qFromLittleEndian<quint16>(list.data());
    if (list.size() != 2 + qsizetype(HeaderSize) * count)
        return false;
    headers->clear();
    for (int k = 0; k < count; ++k)
        headers->append(list.sliced(2 + HeaderSize * k, HeaderSize));
    return true;
}

bool isEmptyFixtureList(QByteArrayView list)
{
    return list.size() == 2 && list[0] == 0 && list[1] == 0;
}

} // namespace DeviceRecord

using namespace DeviceRecord;

QByteArray encodeDeviceRecord(QBLFixtureDefinition &definition)
{
    QByteArray record(RecordSize, '\0');
    char *r = record.data();
    r[FixtureTypeOffset] = char(definition.fixtureType() & 0xFF);
    definition.applyAutoShortNames();
    writeText(r + FixtureNameOffset, FixtureNameWidth, definition.fixtureName());
    writeText(r + FixtureNameShortOffset, FixtureNameShortWidth, definition.fixtureNameShort());
    writeText(r + ManufacturerNameOffset, ManufacturerNameWidth, definition.manufacturerName());
    writeText(r + ManufacturerNameShortOffset, ManufacturerNameShortWidth,
              definition.manufacturerNameShort());
    r[ChannelCountOffset] = char(qBound(0, definition.nbrOfChannels(), 255));
    // Entries are placed by channel number; numbers outside 1..45 have no entry.
    for (QBLFixtureChannel *channel : definition.channels()) {
        const int n = channel->number();
        if (n < 1 || n > MaxChannels)
            continue;
        channel->applyAutoNameShort();
        char *entry = r + channelEntryOffset(n);
        writeText(entry + ChannelNameOffset, ChannelNameWidth, channel->name());
        writeText(entry + ChannelNameShortOffset, ChannelNameShortWidth, channel->nameShort());
    }
    return record;
}

bool decodeDeviceRecord(QByteArrayView record, QBLFixtureDefinition &definition)
{
    if (record.size() < RecordSize)
        return false;
    const char *r = record.data();
    qDeleteAll(definition.channels());
    definition.channels().clear();
    definition.setFixtureType(quint8(r[FixtureTypeOffset]));
    definition.setFixtureName(readText(r + FixtureNameOffset, FixtureNameWidth));
    definition.setFixtureNameShort(readText(r + FixtureNameShortOffset, FixtureNameShortWidth));
    definition.setAutoFixtureNameShort(false);
    definition.setManufacturerName(readText(r + ManufacturerNameOffset, ManufacturerNameWidth));
    definition.setManufacturerNameShort(
        readText(r + ManufacturerNameShortOffset, ManufacturerNameShortWidth));
    definition.setAutoManufacturerNameShort(false);

    // The record has room for 45 entries, whatever its count byte claims.
    const int count = qMin(int(quint8(r[ChannelCountOffset])), MaxChannels);
    for (int i = 0; i < count; ++i) {
        const char *entry = r + channelEntryOffset(i + 1);
        auto *channel = new QBLFixtureChannel;
        channel->setNameShort(readText(entry + ChannelNameShortOffset, ChannelNameShortWidth));
        channel->setAutoNameShort(false);
        channel->setName(readText(entry + ChannelNameOffset, ChannelNameWidth));
        channel->setNumber(i + 1);
        channel->clearErasedName();
        channel->detectAutoNameShort();
        definition.channels().append(channel);
    }
    definition.clearErasedNames();
    definition.detectAutoShortNames();
    return true;
}

namespace
{

// The first count characters (code points) of text.
QString leftCharacters(const QString &text, int count)
{
    qsizetype end = 0;
    const qsizetype n = text.size();
    for (int taken = 0; end < n && taken < count; ++taken) {
        const bool pair =
            text.at(end).isHighSurrogate() && end + 1 < n && text.at(end + 1).isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return text.left(end);
}

QString storedText(const QString &text, int width)
{
    QByteArray field(width, '\0');
    writeText(field.data(), width, text);
    return readText(field.constData(), width);
}

// Adds the change when the record would not keep text as given.
void checkName(QList<DeviceNameChange> &changes, const QString &field, const QString &text,
               int width)
{
    const QString stored = storedText(text, width);
    if (stored == text)
        return;
    const QString kept = leftCharacters(text, width);
    DeviceNameChange change{field, text, stored};
    change.cut = kept.size() < text.size();
    change.replaced = stored != kept;
    changes.append(change);
}

} // namespace

DeviceRecordPreview previewDeviceRecord(const QBLFixtureDefinition &definition)
{
    DeviceRecordPreview preview;
    preview.channelCount = definition.nbrOfChannels();
    preview.channelCountFits = preview.channelCount >= 1 && preview.channelCount <= MaxChannels;

    // Automatic short names are cuts of their long name, so only the long name can change.
    const QBLFixtureDefinition &d = definition;
    auto &changes = preview.nameChanges;
    checkName(changes, QCoreApplication::translate("DeviceRecord", "fixture name"), d.fixtureName(),
              FixtureNameWidth);
    if (!d.isAutoFixtureNameShort())
        checkName(changes, QCoreApplication::translate("DeviceRecord", "fixture short name"),
                  d.fixtureNameShort(), FixtureNameShortWidth);
    checkName(changes, QCoreApplication::translate("DeviceRecord", "manufacturer name"),
              d.manufacturerName(), ManufacturerNameWidth);
    if (!d.isAutoManufacturerNameShort())
        checkName(changes, QCoreApplication::translate("DeviceRecord", "manufacturer short name"),
                  d.manufacturerNameShort(), ManufacturerNameShortWidth);
    for (const QBLFixtureChannel *channel : d.channels()) {
        const int n = channel->number();
        if (n < 1 || n > MaxChannels)
            continue;
        checkName(changes, QCoreApplication::translate("DeviceRecord", "channel %1 name").arg(n),
                  channel->name(), ChannelNameWidth);
        if (!channel->isAutoNameShort())
            checkName(changes,
                      QCoreApplication::translate("DeviceRecord", "channel %1 short name").arg(n),
                      channel->nameShort(), ChannelNameShortWidth);
    }
    return preview;
}
