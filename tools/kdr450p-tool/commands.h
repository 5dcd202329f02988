#pragma once

#include <QStringList>

class FirmwareFile;

// Each command group takes the arguments after its own name and returns the exit code:
// 0 success, 1 failure (one line on stderr), 2 usage error, 3 for checks that say
// "loads, but not fully supported".
struct ToolCommand {
    const char *name;
    const char *summary;
    int (*run)(const QStringList &args);
};

int runLibraryCommand(const QStringList &args);
int runDevicesCommand(const QStringList &args);
int runInfoCommand(const QStringList &args);
int runDeviceCommand(const QStringList &args);
int runFirmwareCommand(const QStringList &args);
int runFirmwareUpdate(const QStringList &args);
// "The file NAME is OK.", or why it is not: "The file NAME is not a valid BL2 file: the
// checksum is 5, the sectors add up to 6."
QString firmwareFileText(const FirmwareFile &file, const QString &name);
int runQxfCommand(const QStringList &args);
int runLibraryImportQxf(const QStringList &args);

// The subcommands of 'device', one file each (device_<name>_command.cpp).
int runDeviceFixtures(QStringList args);
int runDeviceShow(QStringList args);
int runDeviceUpload(QStringList args);
int runDeviceDownload(QStringList args);
int runDeviceDelete(QStringList args);
int runDeviceClearPatchList(QStringList args);
