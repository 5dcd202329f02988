#include "ptystandin.h"

#include "rawlink.h"
#include "simulatedpty.h"

#include <asm/termbits.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

bool readPtyLineSettings(int fd, PtyLineSettings *s)
{
    struct termios2 t {
    };
    if (ioctl(fd, TCGETS2, &t) != 0)
        return false;
    s->outputSpeed = t.c_ospeed;
    s->customSpeed = (t.c_cflag & CBAUD) == BOTHER;
    s->eightBits = (t.c_cflag & CSIZE) == CS8;
    s->twoStopBits = t.c_cflag & CSTOPB;
    s->parity = t.c_cflag & PARENB;
    s->raw = !(t.c_lflag & (ICANON | ECHO | ISIG)) && !(t.c_oflag & OPOST);
    return true;
}

PtyStandIn::PtyStandIn()
{
    m_master = openPtyMaster(&m_slavePath);
}

PtyStandIn::~PtyStandIn()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_master >= 0)
        ::close(m_master);
}

void PtyStandIn::startAnswering()
{
    m_thread = std::thread([this] { run(); });
}

void PtyStandIn::closeMaster()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    ::close(m_master);
    m_master = -1;
}

void PtyStandIn::run()
{
    QByteArray in;
    while (!m_stop) {
        pollfd pfd{m_master, POLLIN, 0};
        if (poll(&pfd, 1, 10) <= 0 || !(pfd.revents & POLLIN))
            continue;
        char buf[512];
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0)
            continue;
        in.append(buf, int(n));
        for (;;) {
            const int start = int(in.indexOf(char(0xAA)));
            if (start < 0) {
                in.clear();
                break;
            }
            in.remove(0, start);
            if (in.size() < 12)
                break;
            const int length = quint8(in[8]) | (quint8(in[9]) << 8);
            if (in.size() < length + 14)
                break;
            const quint8 type = quint8(in[4]);
            const quint8 command = quint8(in[5]);
            const quint16 parameter = quint16(quint8(in[6]) | (quint8(in[7]) << 8));
            const quint8 sequence = quint8(in[10]);
            in.remove(0, length + 14);
            QByteArray answer;
            if (type == 0) {
                answer = rawFrame(0x0C, 1, command, parameter, sequence, QByteArray(1, '\0'), 0);
            } else {
                QByteArray payload(2, '\0');
                payload[0] = char(parameter & 0xFF);
                payload[1] = char(parameter >> 8);
                if (command == 1) {
                    payload = QByteArray(50, '\0');
                    payload.replace(6, 8, "KDR-450P");
                    payload[4] = 3;
                    payload[5] = 1;
                    payload[46] = 80;
                }
                answer = rawFrame(0x0C, 3, command, parameter, sequence, payload, 0);
            }
            if (::write(m_master, answer.constData(), size_t(answer.size())) == answer.size())
                ++m_answered;
        }
    }
}
