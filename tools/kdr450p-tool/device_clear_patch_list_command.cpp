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
    bool yes = false;
    ControllerCommand command(QStringLiteral("device clear-patch-list"), StoreCommand::tr(kHelp),
                              {{QStringLiteral("--yes"), &yes}});
    command.beforeOpen = [&] {
        if (!yes && !confirmed(StoreCommand::tr(
                        "The current patch list will be erased.\nDo you want to continue?")))
            return fail(StoreCommand::tr(
                "patch list not cleared: not confirmed (add --yes to clear without asking)"));
        return Proceed;
    };
    command.run = [](StoreSession &session) -> int {
        const StoreSession::JobResult result =
            session.run(QString(), [](DeviceJobRunner &jobs) { return jobs.clearPatchList(); });
        if (result.outcome != DeviceJobOutcome::Done)
            return fail(StoreCommand::tr("clearing the patch list of %1 failed: %2")
                            .arg(session.deviceText(), StoreSession::failureReason(result)));
        reportPatchListCleared(session);
        return Success;
    };
    return runControllerCommand(command, args);
}
