#pragma once

// The one link to the controllers that a program keeps: the protocol master and the USB phy,
// set up once, switched between devices by one sequence, and given scoped answer time-outs.
//
//   DeviceLink::installBackend(options);   // once per process, before any link
//   DeviceLink link;
//   link.selectDevice(index);              // on the thread that runs device jobs
//   { ScopedAnswerTimeout t(link.master(), 4000); ...blocking operations... }

#include "driverselection.h"

#include <QMap>
#include <QString>

#include <memory>

class BLPMaster;
class BLPmPhyUSB;

struct DeviceIdentity {
    int deviceIndex = -1;
    QString usbName; // "USB Device 1"
    QString name;
    int softwareVersion = 0;
    int hardwareVersion = 0;
    int frameLimit = 0;
};

class DeviceLink
{
public:
    static constexpr int ResponseTimeoutMs = 2000;

    DeviceLink();
    ~DeviceLink(); // cancels a running operation, resets the link and closes the device

    // Makes the chosen backend the process's driver (FtdiDriver::current()). False, with one
    // line in error, when the D2XX library or one of its functions is missing.
    static bool installBackend(const DriverOptions &options, QString *error = nullptr);
    // The reset, select and connect sequence; every switch of the active device goes here.
    // It holds the master's transaction lock throughout, so the connection poll's probe
    // cannot connect the phy in the middle of it.
    static void switchDevice(BLPMaster *master, BLPmPhyUSB *phy, int deviceIndex);

    BLPMaster *master() const { return m_master.get(); }
    BLPmPhyUSB *phy() const { return m_phy.get(); }

    // The controllers attached now: device index -> "USB Device n" / "USB Dongle n".
    QMap<int, QString> controllers();
    void selectDevice(int deviceIndex) { switchDevice(master(), phy(), deviceIndex); }

    // Selects the device index (-1: the first controller) and reads its information block.
    // False with a one-line reason.
    bool open(int deviceIndex, QString *error);
    const DeviceIdentity &identity() const { return m_identity; }

private:
    std::unique_ptr<BLPMaster> m_master;
    std::unique_ptr<BLPmPhyUSB> m_phy;
    DeviceIdentity m_identity;
};

// Sets the master's answer time-out for a scope and restores the one before.
class ScopedAnswerTimeout
{
public:
    ScopedAnswerTimeout(BLPMaster *master, int ms);
    ~ScopedAnswerTimeout();
    ScopedAnswerTimeout(const ScopedAnswerTimeout &) = delete;
    ScopedAnswerTimeout &operator=(const ScopedAnswerTimeout &) = delete;

private:
    BLPMaster *m_master;
    int m_saved;
};
