#include "driverselection.h"

#include "d2xxftdidriver.h"
#include "demodevices.h"
#include "ftdidriver.h"
#include "qtserialftdidriver.h"
#include "simulatedftdidriver.h"
#ifdef KDR_WITH_TERMIOS2
#include "serialftdidriver.h"
#endif

#include <QCoreApplication>

#include <memory>
#include <mutex>

namespace
{

struct DriverOptionsText {
    Q_DECLARE_TR_FUNCTIONS(DriverOptionsText)
};

std::mutex g_installedMutex;
QString g_installed;

// --name VALUE or --name=VALUE at args[*i]; false when it is another argument.
bool takeValue(const QStringList &args, int *i, const QString &name, QString *value)
{
    const QString &a = args.at(*i);
    if (a == name) {
        *value = *i + 1 < args.size() ? args.at(++*i) : QString();
        return true;
    }
    if (a.startsWith(name + QLatin1Char('='))) {
        *value = a.mid(name.size() + 1);
        return true;
    }
    return false;
}

} // namespace

QString defaultBackendName(DriverPlatform platform, const std::function<bool()> &d2xxLoads)
{
    switch (platform) {
    case DriverPlatform::Termios2:
        return QStringLiteral("serial");
    case DriverPlatform::Windows:
        return d2xxLoads() ? QStringLiteral("d2xx") : QStringLiteral("qtserial");
    case DriverPlatform::Other:
        break;
    }
    return QStringLiteral("qtserial");
}

QString defaultBackendName()
{
#if defined(KDR_WITH_TERMIOS2)
    const DriverPlatform platform = DriverPlatform::Termios2;
#elif defined(Q_OS_WIN)
    const DriverPlatform platform = DriverPlatform::Windows;
#else
    const DriverPlatform platform = DriverPlatform::Other;
#endif
    return defaultBackendName(platform, [] {
        QString unused;
        D2xxFtdiDriver probe;
        return probe.load(&unused);
    });
}

QString installedBackendName()
{
    std::lock_guard<std::mutex> l(g_installedMutex);
    return g_installed;
}

bool takeDriverOptions(QStringList *args, DriverOptions *options, QString *error)
{
    QStringList rest;
    for (int i = 0; i < args->size(); ++i) {
        QString value;
        if (args->at(i) == QLatin1String("--simulate")) {
            options->simulate = true;
        } else if (takeValue(*args, &i, QStringLiteral("--port"), &value)) {
            if (value.isEmpty()) {
                *error = DriverOptionsText::tr("--port needs the path of a serial port");
                return false;
            }
            options->portPath = value;
        } else if (takeValue(*args, &i, QStringLiteral("--backend"), &value)) {
            QStringList known{QStringLiteral("qtserial"), QStringLiteral("d2xx")};
#ifdef KDR_WITH_TERMIOS2
            known.prepend(QStringLiteral("serial"));
#endif
            if (!known.contains(value)) {
                *error = DriverOptionsText::tr("--backend needs one of: %1")
                             .arg(known.join(QLatin1String(", ")));
                return false;
            }
            options->backend = value;
        } else if (takeValue(*args, &i, QStringLiteral("--d2xx-library"), &value)) {
            if (value.isEmpty()) {
                *error = DriverOptionsText::tr(
                    "--d2xx-library needs the path of the D2XX driver library");
                return false;
            }
            options->d2xxLibrary = value;
        } else {
            rest.append(args->at(i));
        }
    }
    if (options->simulate && (!options->portPath.isEmpty() || !options->backend.isEmpty())) {
        *error = options->portPath.isEmpty()
                     ? DriverOptionsText::tr("--simulate and --backend cannot be used together")
                     : DriverOptionsText::tr("--simulate and --port cannot be used together");
        return false;
    }
    const QString backend = options->backend.isEmpty() && !options->d2xxLibrary.isEmpty()
                                ? QStringLiteral("d2xx")
                                : options->backend;
    if (backend == QLatin1String("d2xx") && !options->portPath.isEmpty()) {
        *error =
            DriverOptionsText::tr("--port works with the serial and qtserial backends, not d2xx");
        return false;
    }
    if (!options->d2xxLibrary.isEmpty() && backend != QLatin1String("d2xx")) {
        *error = DriverOptionsText::tr("--d2xx-library goes with --backend d2xx");
        return false;
    }
    options->backend = backend;
    *args = rest;
    return true;
}

bool installDriver(const DriverOptions &options, QString *error)
{
    // Never destroyed: device threads may still use the driver while the process exits.
    QString name;
    if (options.simulate) {
        auto *simulated = new SimulatedFtdiDriver;
        addDemoControllers(*simulated);
        FtdiDriver::setCurrent(simulated);
        name = QStringLiteral("simulated");
    } else {
        name = options.backend.isEmpty() ? defaultBackendName() : options.backend;
        if (name == QLatin1String("d2xx")) {
            auto d2xx = std::make_unique<D2xxFtdiDriver>(options.d2xxLibrary);
            QString reason;
            if (!d2xx->load(&reason)) {
                if (error)
                    *error = reason;
                return false;
            }
            FtdiDriver::setCurrent(d2xx.release());
        } else if (name == QLatin1String("qtserial")) {
            FtdiDriver::setCurrent(new QtSerialFtdiDriver(options.portPath));
        } else {
#ifdef KDR_WITH_TERMIOS2
            FtdiDriver::setCurrent(new SerialFtdiDriver(options.portPath));
#else
            FtdiDriver::setCurrent(new QtSerialFtdiDriver(options.portPath));
            name = QStringLiteral("qtserial");
#endif
        }
    }
    std::lock_guard<std::mutex> l(g_installedMutex);
    g_installed = name;
    return true;
}
