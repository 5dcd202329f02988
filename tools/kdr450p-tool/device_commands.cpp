#include "commands.h"
#include "simulatedstate.h"
#include "storesession.h"

#include "blpmaster.h"
#include "blpprotocol.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

using namespace StoreCommand;

namespace
{

struct DeviceCommand {
    Q_DECLARE_TR_FUNCTIONS(DeviceCommand)
};

const char *const kDevicesHelp = QT_TRANSLATE_NOOP(
    "DeviceCommand",
    "Usage: kdr450p-tool devices [--json] [options]\n\n"
    "Lists the attached devices that answer, one a line: the entry text as the window\n"
    "lists it (name, controller number for --device, label), software and hardware\n"
    "version.\n"
    "  --json          print {\"backend\", \"devices\": [{\"number\", \"name\", "
    "\"label\",\n"
    "                  \"softwareVersion\", \"hardwareVersion\"}]}\n\n"
    "Options:\n");

const char *const kInfoHelp = QT_TRANSLATE_NOOP(
    "DeviceCommand",
    "Usage: kdr450p-tool info [--device N] [--json] [options]\n\n"
    "Prints the information block of one controller: name, software and hardware\n"
    "version, frame limit, and its label.\n"
    "  --json          print {\"device\", \"usbName\", \"name\", \"softwareVersion\",\n"
    "                  \"hardwareVersion\", \"frameLimit\", \"label\"}\n\nOptions:\n");

QJsonValue numberOrNull(int n)
{
    return n > 0 ? QJsonValue(n) : QJsonValue(QJsonValue::Null);
}

void printJson(const QJsonObject &object)
{
    out(QString::fromUtf8(QJsonDocument(object).toJson()));
}

} // namespace

int runDevicesCommand(const QStringList &args)
{
    bool json = false;
    ControllerCommand command(QStringLiteral("devices"), DeviceCommand::tr(kDevicesHelp),
                              {{QStringLiteral("--json"), &json}});
    command.allowDevice = false;
    command.discoverOnly = true;
    command.run = [&](StoreSession &session) -> int {
        const QList<DiscoveredDevice> devices = session.discover();
        if (devices.isEmpty())
            return fail(session.noControllerText());

        int number = 0;
        QJsonArray list;
        // The backend names the options take stay as typed; only the simulated bus has a word.
        const QString backend = installedBackendName();
        QString text = DeviceCommand::tr("backend: %1\n")
                           .arg(backend == QLatin1String("simulated")
                                    ? DeviceCommand::tr("simulated")
                                    : backend);
        for (const DiscoveredDevice &d : devices) {
            const bool controller = d.name.startsWith(QLatin1String(BLPDevice::ControllerName));
            list.append(QJsonObject{
                {QStringLiteral("number"), numberOrNull(controller ? ++number : 0)},
                {QStringLiteral("name"), d.name},
                {QStringLiteral("label"), d.hasLabel ? QJsonValue(d.label) : QJsonValue()},
                {QStringLiteral("softwareVersion"), versionText(d.softwareVersion)},
                {QStringLiteral("hardwareVersion"), versionText(d.hardwareVersion)}});
            text += DeviceCommand::tr("%1, software %2, hardware %3\n")
                        .arg(d.entryText, versionText(d.softwareVersion),
                             versionText(d.hardwareVersion));
        }
        if (json)
            printJson(QJsonObject{{QStringLiteral("backend"), installedBackendName()},
                                  {QStringLiteral("devices"), list}});
        else
            out(text);
        return Success;
    };
    return runControllerCommand(command, args);
}

int runInfoCommand(const QStringList &args)
{
    bool json = false;
    ControllerCommand command(QStringLiteral("info"), DeviceCommand::tr(kInfoHelp),
                              {{QStringLiteral("--json"), &json}});
    command.run = [&](StoreSession &session) -> int {
        const DeviceIdentity &id = session.identity();
        QByteArray label(BLPSize::MaxLabelLength, '\0');
        qint32 received = 0;
        const bool haveLabel = session.link().master()->readData(
            BLPSize::MaxLabelLength, label.data(), received, BLPCommand::Label, 0);
        const QString labelText = QString::fromLatin1(
            label.constData(), int(qstrnlen(label.constData(), uint(qMax(0, received)))));
        const QString device = QStringLiteral("%1 #%2")
                                   .arg(QLatin1String(BLPDevice::ControllerName))
                                   .arg(session.controllerNumber());

        if (json) {
            printJson(QJsonObject{
                {QStringLiteral("device"), device},
                {QStringLiteral("usbName"), id.usbName},
                {QStringLiteral("name"), id.name},
                {QStringLiteral("softwareVersion"), versionText(id.softwareVersion)},
                {QStringLiteral("hardwareVersion"), versionText(id.hardwareVersion)},
                {QStringLiteral("frameLimit"), id.frameLimit},
                {QStringLiteral("label"), haveLabel ? QJsonValue(labelText) : QJsonValue()}});
            return Success;
        }
        QString text =
            DeviceCommand::tr("Device:            %1 (%2)\n").arg(device, id.usbName) +
            DeviceCommand::tr("Name:              %1\n").arg(id.name) +
            DeviceCommand::tr("Software version:  %1\n").arg(versionText(id.softwareVersion)) +
            DeviceCommand::tr("Hardware version:  %1\n").arg(versionText(id.hardwareVersion)) +
            DeviceCommand::tr("Frame limit:       %1\n").arg(id.frameLimit);
        if (haveLabel)
            text += DeviceCommand::tr("Label:             %1\n").arg(labelText);
        out(text);
        return Success;
    };
    return runControllerCommand(command, args);
}
