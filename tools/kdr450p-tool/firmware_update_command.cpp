#include "commands.h"
#include "storesession.h"
#include "toolfiles.h"

#include <QCoreApplication>

#include "blpmaster.h"
#include "devicejobrunner.h"
#include "firmware/firmwarefile.h"

using namespace StoreCommand;

int runFirmwareUpdate(const QStringList &args)
{
    bool yes = false;
    InputFile input;
    FirmwareFile file;
    ControllerCommand command(
        QStringLiteral("firmware update"),
        StoreCommand::tr("Usage: kdr450p-tool firmware update FILE [--device N] [--yes] "
                         "[options]\n\n"
                         "Programs a controller with a firmware file (.bl2; FILE - "
                         "reads standard input)\nand prints its software version "
                         "before and after.\n"
                         "  --yes           do not ask before programming\n"),
        {{QStringLiteral("--yes"), &yes}});
    command.fileUsage = StoreCommand::tr("expects one firmware FILE");
    command.beforeOpen = [&] {
        QString error;
        if (!input.open(command.file, &error))
            return fail(error);
        if (!file.load(input.path()))
            return fail(firmwareFileText(file, input.name()));
        return Proceed;
    };
    command.run = [&](StoreSession &session) -> int {
        const DeviceIdentity id = session.identity();
        const QString before = session.deviceText();
        if (!file.isForDevice(id.name))
            return fail(StoreCommand::tr("update refused (wrong device): %1 holds firmware for "
                                         "'%2', but %3 is a '%4'")
                            .arg(input.name(), file.targetDeviceName(), before, id.name));
        if (!yes && !confirmed(StoreCommand::tr("%1 will be programmed with %2.\nDo you want to "
                                                "continue?")
                                   .arg(before, input.name())))
            return fail(StoreCommand::tr(
                "firmware not updated: not confirmed (add --yes to program without asking)"));
        out(StoreCommand::tr("Software version before: %1\n").arg(versionText(id.softwareVersion)));
        const StoreSession::JobResult result =
            session.run(StoreCommand::tr("Programming"), [&](DeviceJobRunner &jobs) {
                return jobs.updateFirmware(&file, id.deviceIndex);
            });
        if (result.outcome == DeviceJobOutcome::WrongDevice)
            return fail(StoreCommand::tr("update refused (wrong device): %1 does not "
                                         "call itself %2; nothing was programmed")
                            .arg(before, file.targetDeviceName()));
        if (result.outcome != DeviceJobOutcome::Done)
            return fail(StoreCommand::tr("firmware update of %1 failed: %2")
                            .arg(before, StoreSession::failureReason(result)));
        QString name;
        int softwareVersion = 0;
        int hardwareVersion = 0;
        if (session.link().master()->readDeviceInfo(name, softwareVersion, hardwareVersion))
            out(StoreCommand::tr("Software version after:  %1\n")
                    .arg(versionText(softwareVersion)));
        else
            out(StoreCommand::tr("Software version after:  unknown (the controller does not "
                                 "answer yet)\n"));
        out(StoreCommand::tr("Programmed %1 with %2 (%3 bytes).\n")
                .arg(before, input.name())
                .arg(file.totalSize()));
        return Success;
    };
    return runControllerCommand(command, args);
}
