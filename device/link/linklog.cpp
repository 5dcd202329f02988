#include "linklog.h"

#include "blpprotocol.h"

#include <QString>

#include <iterator>
#include <utility>

Q_LOGGING_CATEGORY(lcLink, "kdr.link", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLinkFrames, "kdr.link.frames", QtInfoMsg)

namespace
{

const char *commandName(uint8_t command)
{
    using namespace BLPCommand;
    static const std::pair<uint8_t, const char *> names[] = {{Probe, "Probe"},
                                                             {DeviceInfo, "DeviceInfo"},
                                                             {FirmwareHeader, "FirmwareHeader"},
                                                             {FirmwareSector, "FirmwareSector"},
                                                             {Label, "Label"},
                                                             {FixtureList, "FixtureList"},
                                                             {Record, "Record"},
                                                             {DeleteRecord, "DeleteRecord"},
                                                             {StoreStatus, "StoreStatus"},
                                                             {ClearPatchList, "ClearPatchList"}};
    for (const auto &name : names)
        if (name.first == command)
            return name.second;
    return "Unknown";
}

// By frame type: data, status answer, read request, data answer.
const char *typeName(uint8_t type)
{
    static const char *const names[] = {"data", "status", "read", "answer"};
    return type < std::size(names) ? names[type] : "unknown";
}

} // namespace

QString describeFrame(bool sent, const uint8_t *bytes, uint32_t length)
{
    using namespace BLPFrame;
    const QString direction = sent ? QStringLiteral("send") : QStringLiteral("recv");
    if (length < uint32_t(HeaderSize))
        return QStringLiteral("%1 %2 bytes, shorter than a frame header")
            .arg(direction)
            .arg(length);
    const uint8_t command = bytes[CommandOffset];
    const uint8_t type = bytes[TypeOffset];
    const int payload = bytes[LengthOffset] | (bytes[LengthOffset + 1] << 8);
    // Only a status answer carries a status; its missing byte reads as the engine reads it.
    QString status = QStringLiteral("-");
    if (type == TypeStatusAnswer)
        status = QString::number(payload > 0 && length > uint32_t(HeaderSize) ? bytes[HeaderSize]
                                                                              : BLPStatus::Missing);
    return QStringLiteral("%1 %2(%3) %4 seq=%5 flags=0x%6 status=%7 length=%8")
        .arg(direction, QLatin1String(commandName(command)))
        .arg(command)
        .arg(QLatin1String(typeName(type)))
        .arg(bytes[SequenceOffset])
        .arg(bytes[FlagsOffset], 2, 16, QLatin1Char('0'))
        .arg(status)
        .arg(payload);
}

void logLinkFrame(BLPEngineContext *, bool sent, uint32_t length, const uint8_t *bytes)
{
    qCDebug(lcLinkFrames).noquote() << describeFrame(sent, bytes, length);
}
