#pragma once

// The set-up that every fixture store and firmware command shares: device options, the
// optional simulator state file, and the open link to one controller.

#include "deviceoptions.h"

#include <QString>
#include <QStringList>

#include <memory>

class QThread;
class TerminalProgress;

class StoreSession
{
public:
    // Takes the device options (and --simulate-state) out of args.
    bool takeOptions(QStringList *args, QString *error);
    // Installs the driver, restores the simulator state and opens the chosen controller.
    bool open(QString *error);
    // Saves the simulator state, if one is kept. Call once the device work is done.
    bool close(QString *error);

    DeviceLink &link() { return *m_link; }
    const DeviceIdentity &identity() const { return m_link->identity(); }
    // "device 0 (KDR-450P, software 1.3)"
    QString deviceText() const;
    // Why a fixture store job refuses this controller, or empty when it does not.
    QString deviceRefusal() const;

    static QString optionsHelp();

private:
    DeviceOptions m_options;
    QString m_statePath;
    std::unique_ptr<DeviceLink> m_link;
};

// The device classes' diagnostic lines are for developers; the tool's output stays one line
// per outcome.
void silenceDiagnostics();

// Runs a worker on its thread and waits for it to end.
void runWorker(QThread *worker);
