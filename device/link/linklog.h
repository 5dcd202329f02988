#pragma once

// Diagnostics of the device link, off by default:
//   kdr.link          what discovery found
//   kdr.link.frames   one line per frame that leaves or arrives (kdr450p-tool --verbose)
// Switch them on with QT_LOGGING_RULES="kdr.link*.debug=true".

#include <QLoggingCategory>

#include <cstdint>

Q_DECLARE_LOGGING_CATEGORY(lcLink)
Q_DECLARE_LOGGING_CATEGORY(lcLinkFrames)

// "send DeviceInfo(1) read seq=0 flags=0x0c status=- length=0": direction, command, frame
// type, sequence, flags, the status byte of a status answer, payload length. bytes is one
// whole frame as it goes over the wire.
QString describeFrame(bool sent, const uint8_t *bytes, uint32_t length);

struct BLPEngineContext;
// The engine's frame observer: writes describeFrame() to kdr.link.frames when that is on.
void logLinkFrame(BLPEngineContext *context, bool sent, uint32_t length, const uint8_t *bytes);
