#include "driverselection.h"

#include "demodevices.h"
#include "ftdidriver.h"
#include "serialftdidriver.h"
#include "simulatedftdidriver.h"

#include <QCoreApplication>

bool takeDriverOptions(QStringList *args, DriverOptions *options, QString *error)
{
    QStringList rest;
    for (int i = 0; i < args->size(); ++i) {
        const QString &a = args->at(i);
        if (a == QLatin1String("--simulate")) {
            options->simulate = true;
        } else if (a == QLatin1String("--port")) {
            if (i + 1 >= args->size() || args->at(i + 1).isEmpty()) {
                *error = QCoreApplication::translate("DriverOptions",
                                                     "--port needs the path of a serial port");
                return false;
            }
            options->portPath = args->at(++i);
        } else if (a.startsWith(QLatin1String("--port="))) {
            options->portPath = a.mid(7);
            if (options->portPath.isEmpty()) {
                *error = QCoreApplication::translate("DriverOptions",
                                                     "--port needs the path of a serial port");
                return false;
            }
        } else {
            rest.append(a);
        }
    }
    if (options->simulate && !options->portPath.isEmpty()) {
        *error = QCoreApplication::translate("DriverOptions",
                                             "--simulate and --port cannot be used together");
        return false;
    }
    *args = rest;
    return true;
}

void installDriver(const DriverOptions &options)
{
    // Never destroyed: device threads may still use the driver while the process exits.
    if (options.simulate) {
        auto *simulated = new SimulatedFtdiDriver;
        addDemoControllers(*simulated);
        FtdiDriver::setCurrent(simulated);
    } else {
        FtdiDriver::setCurrent(new SerialFtdiDriver(options.portPath));
    }
}
