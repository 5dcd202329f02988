#pragma once

// --simulate-state FILE: keeps the simulated controllers' stores (records and patch-list
// flag) and software versions in a file between tool runs, so that a session of several
// commands on the demo controllers sees its own changes. Each run starts from the demo state
// when the file does not exist yet.
//
// A controller's entry may also hold "firmwareFaults", kept as given, to try a firmware
// update against a controller that fails in its last sector:
//   "lastSectorStatus": N       answers status N to the last sector's first segment
//   "lastSectorSilentAfter": K  answers none of the last sector's segments after the K-th
//   "restartsAfterFirmware": true  leaves only the final segment unanswered (restarts)

#include <QString>
#include <QStringList>

// Takes --simulate-state FILE out of args. False with a message when it has no path.
bool takeSimulatedStateOption(QStringList *args, QString *path, QString *error);
// After installDeviceDriver with --simulate: replaces the demo stores by the saved ones.
bool loadSimulatedState(const QString &path, QString *error);
bool saveSimulatedState(const QString &path, QString *error);
// The help line of the option.
QString simulatedStateHelp();
