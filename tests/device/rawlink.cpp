#include "rawlink.h"

#include <QElapsedTimer>

QByteArray rawFrame(quint8 flags, quint8 type, quint8 command, quint16 parameter, quint8 sequence,
                    const QByteArray &payload, quint8 address)
{
    QByteArray f;
    f.append(char(0xAA));
    f.append(char(0));
    f.append(char(address));
    f.append(char(flags));
    f.append(char(type));
    f.append(char(command));
    f.append(char(parameter & 0xFF));
    f.append(char(parameter >> 8));
    f.append(char(payload.size() & 0xFF));
    f.append(char(payload.size() >> 8));
    f.append(char(sequence));
    quint8 sum = 0;
    for (char c : f)
        sum += quint8(c);
    f.append(char(sum));
    for (char c : payload)
        sum += quint8(c);
    f.append(payload);
    f.append(char(sum));
    f.append(char(0xCC));
    return f;
}

RawLink::RawLink(FtdiDriver *driver, int index) : m_driver(driver)
{
    quint32 count = 0;
    FtdiHandle h = nullptr;
    if (driver->createDeviceInfoList(&count) != FtdiDriver::Ok || driver->open(index, &h) != 0)
        return;
    if (driver->resetDevice(h) || driver->setBaudRate(h, 250000) ||
        driver->setDataCharacteristics(h, 8, 2, 0) || driver->setTimeouts(h, 40, 2000)) {
        driver->close(h);
        return;
    }
    m_handle = h;
}

RawLink::~RawLink()
{
    if (m_handle)
        m_driver->close(m_handle);
}

bool RawLink::send(const QByteArray &frame)
{
    quint32 written = 0;
    return m_driver->write(m_handle, frame.constData(), quint32(frame.size()), &written) == 0 &&
           written == quint32(frame.size());
}

RawAnswer RawLink::receive(std::chrono::milliseconds patience)
{
    RawAnswer a;
    QElapsedTimer quiet;
    quiet.start();
    int expected = 14;
    while (a.bytes.size() < expected) {
        uchar byte = 0;
        quint32 got = 0;
        if (m_driver->read(m_handle, &byte, 1, &got) != FtdiDriver::Ok)
            return a;
        if (got == 0) {
            if (quiet.elapsed() > patience.count())
                return a;
            continue;
        }
        quiet.restart();
        if (a.bytes.isEmpty() && byte != 0xAA)
            continue;
        a.bytes.append(char(byte));
        if (a.bytes.size() == 12)
            expected = 14 + (quint8(a.bytes[8]) | (quint8(a.bytes[9]) << 8));
    }
    const auto b = [&a](int i) { return quint8(a.bytes[i]); };
    a.complete = b(expected - 1) == 0xCC;
    a.address = b(2);
    a.flags = b(3);
    a.type = b(4);
    a.command = b(5);
    a.parameter = quint16(b(6) | (b(7) << 8));
    a.length = quint16(b(8) | (b(9) << 8));
    a.sequence = b(10);
    a.payload = a.bytes.mid(12, a.length);
    quint8 sum = 0;
    for (int i = 0; i < 11; ++i)
        sum += b(i);
    bool good = sum == b(11);
    for (char c : a.payload)
        sum += quint8(c);
    a.checksumsGood = good && sum == b(12 + a.length);
    return a;
}

RawAnswer RawLink::exchange(const QByteArray &frame)
{
    if (!send(frame))
        return RawAnswer();
    return receive();
}

bool RawLink::readAll(quint8 command, quint16 parameter, QByteArray *data)
{
    data->clear();
    for (int seq = 0; seq < 256; ++seq) {
        const quint8 flags = seq == 0 ? 0x0C : 0x04;
        const RawAnswer a = exchange(rawFrame(flags, 2, command, parameter, quint8(seq)));
        if (!a.complete || !a.checksumsGood || a.type != 3 || a.sequence != quint8(seq))
            return false;
        data->append(a.payload);
        if (a.flags & 0x04)
            return true;
    }
    return false;
}

quint8 RawLink::writeAll(quint8 command, quint16 parameter, const QByteArray &data, int segment)
{
    int sent = 0;
    quint8 seq = 0;
    do {
        const int n = qMin(segment, int(data.size()) - sent);
        const quint8 flags = (sent == 0 ? 0x08 : 0) | (sent + n == data.size() ? 0x04 : 0);
        const RawAnswer a =
            exchange(rawFrame(flags, 0, command, parameter, seq++, data.mid(sent, n)));
        if (!a.complete || a.type != 1)
            return 0xFF;
        if (a.status() != 0)
            return a.status();
        sent += n;
    } while (sent < data.size());
    return 0;
}
