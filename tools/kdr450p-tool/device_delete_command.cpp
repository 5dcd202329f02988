#include "commands.h"
#include "storesession.h"

#include <QCoreApplication>

#include "devicejobrunner.h"
#include "qblremotefixturedefinition.h"

using namespace StoreCommand;

namespace
{

const char *const kHelp = QT_TRANSLATE_NOOP(
    "StoreCommand",
    "Usage: kdr450p-tool device delete --slot N... [--clear-patch-list] [options]\n\n"
    "Deletes the definitions stored in the given slots.\n"
    "  --slot N            delete the definition in slot N (repeatable; see 'device fixtures')\n"
    "  --clear-patch-list  erase a non-empty patch list instead of refusing\n");

int report(const StoreSession::JobResult &result, StoreSession &session, const QStringList &names)
{
    if (const int code = patchListOutcome(result, StoreCommand::tr("deletion"), session);
        code != Proceed)
        return code;
    if (result.outcome == DeviceJobOutcome::Done) {
        out(StoreCommand::tr("Deleted slot %1 from %2.\n")
                .arg(names.join(QStringLiteral(", slot ")), session.deviceText()));
        return Success;
    }
    return fail(StoreCommand::tr("deletion on %1 failed: %2; slots deleted before stay deleted")
                    .arg(session.deviceText(), StoreSession::failureReason(result)));
}

} // namespace

int runDeviceDelete(QStringList args)
{
    bool clearPatch = false;
    ControllerCommand command(QStringLiteral("device delete"), StoreCommand::tr(kHelp),
                              {{QStringLiteral("--clear-patch-list"), &clearPatch}});
    command.slotCount = ControllerCommand::Slots::AtLeastOne;
    command.runOnStore = [&](StoreSession &session, const StoreState &state) -> int {
        QList<QBLRemoteFixtureDefinition *> targets;
        QStringList names;
        for (int s : std::as_const(command.slotNumbers)) {
            QBLRemoteFixtureDefinition *entry = findSlot(state.entries, s);
            targets.append(entry);
            names << QStringLiteral("%1 '%2'").arg(s).arg(entry->displayName());
        }
        const StoreSession::JobResult result =
            session.run(StoreCommand::tr("Deleting"),
                        [&](DeviceJobRunner &jobs) { return jobs.remove(targets); }, clearPatch);
        return report(result, session, names);
    };
    return runControllerCommand(command, args);
}
