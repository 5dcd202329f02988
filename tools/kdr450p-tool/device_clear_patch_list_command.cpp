#include "commands.h"
#include "storesession.h"

#include <QCoreApplication>

#include "devicejobrunner.h"

using namespace StoreCommand;

namespace
{

const char *const kHelp = QT_TRANSLATE_NOOP(
    "StoreCommand", "Usage: kdr450p-tool device clear-patch-list [--yes] [options]\n\n"
                    "Erases the controller's patch list, which must be empty before\n"
                    "definitions can be uploaded or deleted.\n"
                    "  --yes           do not ask before erasing\n");

} // namespace

int runDeviceClearPatchList(QStringList args)
{
    if (wantsHelp(args)) {
        out(StoreCommand::tr(kHelp) + StoreSession::optionsHelp());
        return Success;
    }
    const QString command = QStringLiteral("device clear-patch-list");
    StoreSession session;
    QString error;
    if (!session.takeOptions(&args, &error))
        return usage(command, error);
    const bool yes = takeFlag(&args, QStringLiteral("--yes"));
    if (const int code = leftOver(command, args))
        return code;
    if (!yes && !confirmed(StoreCommand::tr(
                    "The current patch list will be erased.\nDo you want to continue?")))
        return fail(
            StoreCommand::tr("patch list not cleared: not confirmed (add --yes to clear without "
                             "asking)"));
    if (!session.open(&error))
        return fail(error);
    const StoreSession::JobResult result =
        session.run(QString(), [](DeviceJobRunner &jobs) { return jobs.clearPatchList(); });
    if (result.outcome != DeviceJobOutcome::Done)
        return session.finish(
            fail(StoreCommand::tr("clearing the patch list of %1 failed: %2")
                     .arg(session.deviceText(), StoreSession::failureReason(result))));
    out(StoreCommand::tr("Cleared the patch list of %1.\n").arg(session.deviceText()));
    return session.finish(Success);
}
