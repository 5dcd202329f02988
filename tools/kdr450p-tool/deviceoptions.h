#pragma once

// What every device command of the tool shares: the backend options (--simulate,
// --port PATH), the choice of controller (--device N), opening the link to it, and a
// progress bar on the terminal.
//
//   QStringList args = ...;
//   DeviceOptions options;
//   QString error;
//   if (!takeDeviceOptions(&args, &options, &error)) -> usage error
//   if (!installDeviceDriver(options, &error)) -> failure (once per process)
//   DeviceLink link;
//   if (!link.open(options.device, &error)) -> failure
//   link.master()->writeData(...);          // blocking operations on this thread

#include "devicelink.h"
#include "driverselection.h"

#include <QMap>
#include <QMetaObject>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <memory>

class BLPMaster;

struct DeviceOptions {
    DriverOptions driver;
    int device = -1; // --device N: controller KDR-450P #N as 'devices' lists it; -1: #1
};

// Takes --simulate, --port PATH and, when allowDevice, --device N out of args, leaving the
// rest in order. False with a message when an option is malformed.
bool takeDeviceOptions(QStringList *args, DeviceOptions *options, QString *error,
                       bool allowDevice = true);
// The help lines of those options, for a command's --help.
QString deviceOptionsHelp(bool withDevice = true);
// --verbose: the link's frames, one line each, on stderr (the link's kdr.link.frames lines).
// Once, before the command runs; silenceDiagnostics() keeps them on.
void traceLinkFrames();
bool linkFramesTraced();
// Chooses the backend; once per process, before any DeviceLink.
// False with one line in error when the chosen backend cannot be loaded.
bool installDeviceDriver(const DeviceOptions &options, QString *error);

// "label [#######       ]  45 %" on one terminal line of stderr, redrawn on change, so that
// stdout stays parseable. Shown only when stderr is a terminal. Safe from any thread.
class TerminalProgress
{
public:
    explicit TerminalProgress(const QString &label);
    ~TerminalProgress(); // ends the line if one was drawn

    static bool shown();
    void setPercent(int percent);
    // Shows the master's sigTransferred values (of writes on the caller's thread) until
    // finish().
    void follow(BLPMaster *master);
    void finish();

private:
    QMutex m_mutex;
    QMetaObject::Connection m_connection;
    QString m_label;
    int m_last = -1;
    bool m_drawn = false;
    bool m_finished = false;
};

QString versionText(int versionWord); // "1.3"
