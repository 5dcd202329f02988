#pragma once

// A simulated controller behind a pseudo-terminal: the slave side is a serial port that the
// serial-port backends open like a controller's (--port PATH), and every byte goes to and
// comes from one device of a simulated bus, wire-time model included. It lets a program in
// another process, or a backend under test, talk to the same simulated controller.

#include <QString>

#include <atomic>
#include <thread>

class SimulatedFtdiDriver;

// A new pseudo-terminal's master side, granted and unlocked, and its slave's path; -1 when
// none could be had.
int openPtyMaster(QString *slavePath);

class SimulatedPtyBridge
{
public:
    // Bridges to the device at index of driver's list (opened on the driver, which must
    // outlive the bridge).
    SimulatedPtyBridge(SimulatedFtdiDriver *driver, int index = 0);
    ~SimulatedPtyBridge();
    SimulatedPtyBridge(const SimulatedPtyBridge &) = delete;
    SimulatedPtyBridge &operator=(const SimulatedPtyBridge &) = delete;

    bool isOpen() const { return m_master >= 0 && m_handle; }
    QString slavePath() const { return m_slavePath; }

private:
    void toDevice();
    void fromDevice();

    SimulatedFtdiDriver *m_driver;
    void *m_handle = nullptr;
    int m_master = -1;
    QString m_slavePath;
    std::atomic<bool> m_stop{false};
    std::thread m_in;
    std::thread m_out;
};
