#pragma once

// How the programs choose their driver backend from the command line:
//   --simulate      the simulated demo controllers (no hardware needed)
//   --port PATH     this serial port is a controller, whatever its USB description
//   (neither)       the serial ports whose USB description names a controller

#include <QString>
#include <QStringList>

struct DriverOptions {
    bool simulate = false;
    QString portPath;
};

// Takes --simulate, --port PATH and --port=PATH out of args, leaving the rest in order.
// False, with a message in error, when --port has no path or both options are given.
bool takeDriverOptions(QStringList *args, DriverOptions *options, QString *error);

// Makes the chosen backend FtdiDriver::current() for the rest of the process. Call once, at
// start, before any device work.
void installDriver(const DriverOptions &options);
