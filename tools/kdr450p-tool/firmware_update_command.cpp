#include "commands.h"
#include "storesession.h"

#include <QCoreApplication>

#include "devicejobrunner.h"
#include "firmware/firmwarefile.h"

#include <QRegularExpression>

using namespace StoreCommand;

int runFirmwareUpdate(const QStringList &arguments)
{
    QStringList args = arguments;
    if (wantsHelp(args)) {
        out(StoreCommand::tr("Usage: kdr450p-tool firmware update FILE [--device N] [options]\n\n"
                             "Programs a controller with a firmware file (.bl2).\n") +
            StoreSession::optionsHelp());
        return Success;
    }
    const QString command = QStringLiteral("firmware update");
    StoreSession session;
    QString error;
    if (!session.takeOptions(&args, &error))
        return usage(command, error);
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return usage(command, StoreCommand::tr("expects one firmware FILE"));
    FirmwareFile file;
    if (!file.load(args.first()))
        return fail(
            file.statusText(QString()).remove(QRegularExpression(QStringLiteral("<[^>]*>"))));

    if (!session.open(&error))
        return fail(error);
    const DeviceIdentity id = session.identity();
    if (!file.isForDevice(id.name))
        return session.finish(
            fail(StoreCommand::tr("update refused (wrong device): %1 holds firmware for "
                                  "'%2', but %3 is a '%4'")
                     .arg(args.first(), file.targetDeviceName(),
                          QStringLiteral("device %1").arg(id.deviceIndex), id.name)));
    const QString before = session.deviceText();
    const StoreSession::JobResult result =
        session.run(StoreCommand::tr("Programming"), [&](DeviceJobRunner &jobs) {
            return jobs.updateFirmware(&file, id.deviceIndex);
        });
    if (result.outcome != DeviceJobOutcome::Done)
        return session.finish(fail(StoreCommand::tr("firmware update of %1 failed: %2")
                                       .arg(before, session.failureReason())));
    out(StoreCommand::tr("Programmed %1 with %2 (%3 bytes).\n")
            .arg(before, args.first())
            .arg(file.totalSize()));
    return session.finish(Success);
}
