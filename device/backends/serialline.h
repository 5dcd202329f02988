#pragma once

// Line settings of a serial port file descriptor through Linux termios2, which takes any
// baud rate (BOTHER) where the classic termios knows only the fixed Bnnn table. Kept in a
// file of its own: <asm/termbits.h> clashes with <termios.h>.

#include <QtGlobal>

struct SerialLineSettings {
    quint32 baudRate = 9600;
    quint8 wordLength = 8; // 5..8
    quint8 stopBits = 1;   // 1 or 2
    quint8 parity = 0;     // 0 none, 1 odd, 2 even
};

// Raw mode (no echo, no line editing, no translation, no flow control) with these settings.
// False with errno set when the kernel refuses.
bool applySerialLineSettings(int fd, const SerialLineSettings &settings);

// Asks the driver not to hold received bytes back (FTDI chips otherwise wait up to 16 ms);
// false where the driver has no such flag, which is harmless.
bool setSerialLowLatency(int fd);
