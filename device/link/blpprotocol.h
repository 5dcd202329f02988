#pragma once

// Every constant of the controller's wire protocol, in one place. The host's layers use
// these; the simulated controller parses frames with its own code but shares these facts.

#include <cstdint>

// Frame layout: 0xAA, reserved 0, address, flags, type, command, parameter (LE16),
// length (LE16), sequence, header checksum, payload, frame checksum, 0xCC. No escaping.
namespace BLPFrame
{
constexpr uint8_t Start = 0xAA; // no escaping: the receiver hunts for it after garbage
constexpr uint8_t End = 0xCC;   // a frame without it is thrown away whole
constexpr int HeaderSize = 12;  // up to and including the header checksum
constexpr int Overhead = 14;    // header, frame checksum, end byte
constexpr int MaxPayload = 65535; // the length field is 16 bits
constexpr uint8_t HostAddress = 255;  // the controller answers only frames from the host
constexpr uint8_t AnswerAddress = 0;  // what the controller puts in its answers
constexpr uint8_t FlagFirst = 0x08;   // first segment of a transfer
constexpr uint8_t FlagLast = 0x04;    // last segment: the controller acts on the whole
constexpr uint8_t FlagResentMiddle = 0x01; // a resent segment that is neither first nor last
constexpr uint8_t TypeData = 0;
constexpr uint8_t TypeStatusAnswer = 1;
constexpr uint8_t TypeReadRequest = 2;
constexpr uint8_t TypeDataAnswer = 3;
// Byte offsets inside a frame.
constexpr int AddressOffset = 2;
constexpr int FlagsOffset = 3;
constexpr int TypeOffset = 4;
constexpr int CommandOffset = 5;
constexpr int ParameterOffset = 6;
constexpr int LengthOffset = 8;
constexpr int SequenceOffset = 10;
constexpr int HeaderChecksumOffset = 11;
// The engine's own status for "too many bad frames while waiting".
constexpr uint8_t StatusTooManyBadFrames = 11;
} // namespace BLPFrame

namespace BLPCommand
{
constexpr uint8_t Probe = 0;          // one zero byte: does anything answer?
constexpr uint8_t DeviceInfo = 1;     // the 50-byte information block
constexpr uint8_t FirmwareHeader = 3; // the image's 256-byte header; parameter: sector count
constexpr uint8_t FirmwareSector = 4; // one sector; parameter: its index
constexpr uint8_t Label = 10;         // the user's label of the controller
constexpr uint8_t FixtureList = 11;   // count (LE16) and the 244-byte header of each record
constexpr uint8_t Record = 12;        // one whole record; parameter: its slot
constexpr uint8_t DeleteRecord = 13;  // frees one slot; parameter: the slot
constexpr uint8_t StoreStatus = 14;   // free slots and whether the patch list holds entries
constexpr uint8_t ClearPatchList = 15; // the patch list pins records against deletion
} // namespace BLPCommand

namespace BLPStatus
{
constexpr uint8_t Ok = 0;
// The controller's own failures; the host treats them alike.
constexpr uint8_t UnknownCommand = 1;
constexpr uint8_t BadRequest = 2; // wrong sequence, length or segment order
constexpr uint8_t StoreFull = 3;
constexpr uint8_t PatchListInUse = 4;
constexpr uint8_t NoSuchSlot = 5;
// Transient: the controller missed the frame; the host resends it once.
constexpr uint8_t TransientFirst = 7;
constexpr uint8_t TransientLast = 10;
// A status answer with no status byte says nothing good.
constexpr uint8_t Missing = 0xFF;
constexpr bool isTransient(uint8_t status)
{
    return status >= TransientFirst && status <= TransientLast;
}
} // namespace BLPStatus

namespace BLPSize
{
constexpr int BaudRate = 250000;          // 8 data bits, no parity, 2 stop bits
constexpr int BitsPerByte = 11;           // start, 8 data, 2 stop
constexpr int DefaultResponseTimeoutMs = 300;
constexpr int MinimumFrameLength = 80;    // the host never goes below, whatever the device says
constexpr int InfoBlockLength = 50;       // name, versions, frame limit
constexpr int MaxNameLength = 39;         // the name field of the information block
constexpr int MaxLabelLength = 99;
constexpr int MaxAnswerPayload = 65534;   // one less than the length field allows
constexpr int FirmwareHeaderLength = 256;
constexpr int RecordSize = 5284;          // one fixture record: 244-byte header, 45 channels
constexpr int RecordHeaderSize = 244;     // also one entry of the fixture list
constexpr int RecordSlotOffset = 242;     // the slot byte inside a record header
constexpr int FixtureListCountSize = 2;   // the list starts with its count (LE16)
constexpr int MaxSlots = 255;             // the slot is one byte, 0xFF meaning none
} // namespace BLPSize

namespace BLPDevice
{
constexpr char ControllerName[] = "KDR-450P"; // the information block's name
constexpr int MinStoreSoftwareVersion = 0x0102; // 1.1 and older have no fixture store
// USB descriptions of the adapters; the terminating zero is part of the comparison, so a
// longer description does not match.
constexpr char DeviceDescription[16] = "BRENLOW BLP-DEV";
constexpr char DongleDescription[16] = "BRENLOW BLP-DGL";
constexpr uint16_t FtdiVendorId = 0x0403;
} // namespace BLPDevice
