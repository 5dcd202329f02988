#pragma once

// A controller stand-in on the master side of a pseudo-terminal: the serial backend opens the
// slave side as if it were the controller's port.

#include <QByteArray>
#include <QString>

#include <atomic>
#include <thread>

struct PtyLineSettings {
    quint32 outputSpeed = 0;
    bool customSpeed = false; // BOTHER
    bool eightBits = false;
    bool twoStopBits = false;
    bool parity = false;
    bool raw = false; // no canonical mode, echo, signals or output processing
};

// Reads the line settings through termios2, independently of the backend's own code.
bool readPtyLineSettings(int fd, PtyLineSettings *settings);

class PtyStandIn
{
public:
    PtyStandIn();
    ~PtyStandIn();
    bool isOpen() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    int masterFd() const { return m_master; }

    // Answers every frame: a write with status 0, a read of command 1 with a 50-byte
    // information block, any other read with its parameter as two bytes.
    void startAnswering();
    // Hangs the line up, as an unplugged adapter does.
    void closeMaster();
    int framesAnswered() const { return m_answered.load(); }

private:
    void run();

    int m_master = -1;
    QString m_slavePath;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_answered{0};
    std::thread m_thread;
};
