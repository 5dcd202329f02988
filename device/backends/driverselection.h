#pragma once

// How the programs choose their driver backend from the command line:
//   --simulate      the simulated demo controllers (no hardware needed)
//   --port PATH     this serial port is a controller, whatever its USB description
//   --backend NAME  serial (Linux termios2), qtserial (Qt's serial ports) or d2xx (the FTDI
//                   D2XX driver library); --port works with the two serial-port ones
//   --d2xx-library PATH  the D2XX library file to load instead of the platform's own name
//   (none)          the platform's default backend, on controllers found by USB description

#include <QString>
#include <QStringList>

#include <functional>

struct DriverOptions {
    bool simulate = false;
    QString portPath;
    QString backend; // empty: defaultBackendName()
    QString d2xxLibrary;
};

// The platforms whose default backends differ.
enum class DriverPlatform {
    Termios2, // built with the Linux termios2 backend
    Windows,
    Other,
};

// serial with the termios2 backend, d2xx on Windows when d2xxLoads() says its library loads
// (else qtserial), qtserial elsewhere. d2xxLoads is called only on Windows.
QString defaultBackendName(DriverPlatform platform, const std::function<bool()> &d2xxLoads);
// The same for this build, trying the platform's own D2XX library where it matters.
QString defaultBackendName();

// Takes --simulate, --port, --backend and --d2xx-library (each also as --name=value) out of
// args, leaving the rest in order. False, with a message in error, when a value is missing or
// unknown or the options do not go together.
bool takeDriverOptions(QStringList *args, DriverOptions *options, QString *error);

// Makes the chosen backend FtdiDriver::current() for the rest of the process. Call once, at
// start, before any device work. False with one line in error when the D2XX library or one
// of its functions is missing; no backend is installed then.
bool installDriver(const DriverOptions &options, QString *error = nullptr);
// The backend installed last ("simulated", "serial", "qtserial", "d2xx"); empty before.
QString installedBackendName();
