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
    if (result.patchListCleared)
        out(StoreCommand::tr("Cleared the patch list of %1.\n").arg(session.deviceText()));
    switch (result.outcome) {
    case DeviceJobOutcome::Done:
        out(StoreCommand::tr("Deleted slot %1 from %2.\n")
                .arg(names.join(QStringLiteral(", slot ")), session.deviceText()));
        return Success;
    case DeviceJobOutcome::PatchListKept:
        return fail(patchListRefusal(StoreCommand::tr("deletion"), session));
    case DeviceJobOutcome::PatchListClearFailed:
    case DeviceJobOutcome::PatchListClearAborted:
        return fail(patchListClearFailure(result, session));
    default:
        return fail(StoreCommand::tr("deletion on %1 failed: %2; slots deleted before stay deleted")
                        .arg(session.deviceText(), StoreSession::failureReason(result)));
    }
}

} // namespace

int runDeviceDelete(QStringList args)
{
    if (wantsHelp(args)) {
        out(StoreCommand::tr(kHelp) + StoreSession::optionsHelp());
        return Success;
    }
    const QString command = QStringLiteral("device delete");
    StoreSession session;
    QString error;
    QList<int> slotNumbers;
    if (!session.takeOptions(&args, &error) || !takeSlots(&args, &slotNumbers, &error))
        return usage(command, error);
    const bool clearPatch = takeFlag(&args, QStringLiteral("--clear-patch-list"));
    if (const int code = leftOver(command, args))
        return code;
    if (slotNumbers.isEmpty())
        return usage(command, StoreCommand::tr("name at least one --slot N"));

    if (!session.open(&error))
        return fail(error);
    std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> entries;
    if (!session.readStoredList(&entries, &error))
        return session.finish(fail(error));
    const int freeSlots = session.readStatus().freeSlots;
    const int capacity = freeSlots < 0 ? -1 : int(entries.size()) + freeSlots;
    QList<QBLRemoteFixtureDefinition *> targets;
    QStringList names;
    for (int s : std::as_const(slotNumbers)) {
        if (const QString refusal = slotOutOfRange(s, capacity, session); !refusal.isEmpty())
            return session.finish(fail(refusal));
        QBLRemoteFixtureDefinition *entry = findSlot(entries, s);
        if (!entry)
            return session.finish(fail(noSuchSlot(s, session)));
        targets.append(entry);
        names << QStringLiteral("%1 '%2'").arg(s).arg(entry->displayName());
    }
    const StoreSession::JobResult result = session.run(
        StoreCommand::tr("Deleting"), [&](DeviceJobRunner &jobs) { return jobs.remove(targets); },
        clearPatch);
    return session.finish(report(result, session, names));
}
