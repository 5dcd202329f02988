#include "serialline.h"

#include <asm/termbits.h>
#include <linux/serial.h>
#include <sys/ioctl.h>

bool applySerialLineSettings(int fd, const SerialLineSettings &settings)
{
    struct termios2 tio {
    };
    if (ioctl(fd, TCGETS2, &tio) != 0)
        return false;
    tio.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                             IXOFF | IXANY | INPCK);
    tio.c_oflag &= ~tcflag_t(OPOST);
    tio.c_lflag &= ~tcflag_t(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &=
        ~tcflag_t(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | CBAUD | (CBAUD << IBSHIFT));
    switch (settings.wordLength) {
    case 5:
        tio.c_cflag |= CS5;
        break;
    case 6:
        tio.c_cflag |= CS6;
        break;
    case 7:
        tio.c_cflag |= CS7;
        break;
    default:
        tio.c_cflag |= CS8;
        break;
    }
    if (settings.stopBits == 2)
        tio.c_cflag |= CSTOPB;
    if (settings.parity == 1)
        tio.c_cflag |= PARENB | PARODD;
    else if (settings.parity == 2)
        tio.c_cflag |= PARENB;
    tio.c_cflag |= CLOCAL | CREAD | BOTHER | (BOTHER << IBSHIFT);
    tio.c_ispeed = settings.baudRate;
    tio.c_ospeed = settings.baudRate;
    // Reads are bounded by poll(). VMIN 1 keeps "no data yet" (EAGAIN on the non-blocking
    // descriptor) apart from the end-of-file of a hung-up line; with VMIN 0 both read 0.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    return ioctl(fd, TCSETS2, &tio) == 0;
}

bool setSerialLowLatency(int fd)
{
    struct serial_struct serial {
    };
    if (ioctl(fd, TIOCGSERIAL, &serial) != 0)
        return false;
    serial.flags |= ASYNC_LOW_LATENCY;
    return ioctl(fd, TIOCSSERIAL, &serial) == 0;
}
