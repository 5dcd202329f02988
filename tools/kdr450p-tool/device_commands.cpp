#include "commands.h"
#include "deviceoptions.h"

#include "blpmaster.h"
#include "devicesdiscoverer.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>

namespace
{

enum ExitCode { Success = 0, Failure = 1, UsageError = 2 };

struct DeviceCommand {
    Q_DECLARE_TR_FUNCTIONS(DeviceCommand)
};

constexpr quint8 kCommandLabel = 10;
constexpr int kMaxLabelLength = 99;

int failure(const char *command, const QString &line, int code = Failure)
{
    QTextStream(stderr) << "kdr450p-tool " << command << ": " << line << "\n";
    return code;
}

bool wantsHelp(const QStringList &args)
{
    return args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"));
}

// Parses the options; on a problem returns the exit code through *code.
bool prepare(const char *command, QStringList args, bool allowDevice, DeviceOptions *options,
             int *code)
{
    QString error;
    if (!takeDeviceOptions(&args, options, &error, allowDevice)) {
        *code = failure(command, error, UsageError);
        return false;
    }
    if (!args.isEmpty()) {
        *code = failure(command,
                        DeviceCommand::tr("unexpected argument '%1' (see kdr450p-tool %2 --help)")
                            .arg(args.first(), QLatin1String(command)),
                        UsageError);
        return false;
    }
    // The link's diagnostics are for the editor's debug output, not the tool's stderr.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    QString reason;
    if (!installDeviceDriver(*options, &reason)) {
        *code = failure(command, reason);
        return false;
    }
    return true;
}

} // namespace

int runDevicesCommand(const QStringList &args)
{
    if (wantsHelp(args)) {
        QTextStream(stdout) << DeviceCommand::tr(
                                   "Usage: kdr450p-tool devices [--simulate] [--port PATH]\n\n"
                                   "Lists the attached controllers that answer, one a line: "
                                   "device number, entry text\n(name, running number, label), "
                                   "software and hardware version.\n\nOptions:\n")
                            << deviceOptionsHelp(false);
        return Success;
    }
    DeviceOptions options;
    int code = Success;
    if (!prepare("devices", args, false, &options, &code))
        return code;

    DeviceLink link;
    DevicesDiscoverer discoverer;
    discoverer.setLink(link.master(), link.phy());
    discoverer.start();
    discoverer.wait();
    const QList<DiscoveredDevice> devices = discoverer.devices();
    if (devices.isEmpty())
        return failure("devices", DeviceCommand::tr("no controller found"));
    QTextStream out(stdout);
    out << "backend: " << installedBackendName() << "\n";
    for (const DiscoveredDevice &d : devices)
        out << DeviceCommand::tr("device %1: %2, software %3, hardware %4\n")
                   .arg(QString::number(d.deviceIndex), d.entryText, versionText(d.softwareVersion),
                        versionText(d.hardwareVersion));
    return Success;
}

int runInfoCommand(const QStringList &args)
{
    if (wantsHelp(args)) {
        QTextStream(stdout) << DeviceCommand::tr(
                                   "Usage: kdr450p-tool info [--device N] [--simulate] [--port "
                                   "PATH]\n\nPrints the information block of one controller: "
                                   "name, software and hardware\nversion, frame limit, and its "
                                   "label.\n\nOptions:\n")
                            << deviceOptionsHelp(true);
        return Success;
    }
    DeviceOptions options;
    int code = Success;
    if (!prepare("info", args, true, &options, &code))
        return code;

    DeviceLink link;
    QString error;
    if (!link.open(options.device, &error))
        return failure("info", error);
    const DeviceIdentity &id = link.identity();
    QByteArray label(kMaxLabelLength, '\0');
    qint32 received = 0;
    const bool haveLabel =
        link.master()->readData(kMaxLabelLength, label.data(), received, kCommandLabel, 0);

    QTextStream out(stdout);
    out << DeviceCommand::tr("Device:            %1 (%2)\n")
               .arg(QString::number(id.deviceIndex), id.usbName)
        << DeviceCommand::tr("Name:              %1\n").arg(id.name)
        << DeviceCommand::tr("Software version:  %1\n").arg(versionText(id.softwareVersion))
        << DeviceCommand::tr("Hardware version:  %1\n").arg(versionText(id.hardwareVersion))
        << DeviceCommand::tr("Frame limit:       %1\n").arg(id.frameLimit);
    if (haveLabel)
        out << DeviceCommand::tr("Label:             %1\n")
                   .arg(QString::fromLatin1(label.constData(),
                                            int(qstrnlen(label.constData(), uint(received)))));
    return Success;
}
