#include "commands.h"
#include "storesession.h"

#include <QCoreApplication>

#include "devicejobrunner.h"
#include "fixturedefinitionsuploader.h"
#include "library/blflarchive.h"
#include "library/qblfixturedefinitionloader.h"
#include "model/qblfixturedefinition.h"

using namespace StoreCommand;

namespace
{

const char *const kHelp = QT_TRANSLATE_NOOP(
    "StoreCommand",
    "Usage: kdr450p-tool device upload LIBRARY [--only NAME]... [--clear-patch-list] [options]\n\n"
    "Uploads the definitions of a library file (all, or those whose fixture name is NAME).\n"
    "  --only NAME         upload only definitions with this fixture name (repeatable)\n"
    "  --clear-patch-list  erase a non-empty patch list instead of refusing\n");

QString channelRefusal(const QBLFixtureDefinition &d)
{
    return StoreCommand::tr(
               "upload refused (channel counts): '%1' has %2 channels; every definition needs 1 "
               "to %3")
        .arg(d.displayName())
        .arg(d.nbrOfChannels())
        .arg(FixtureDefinitionsUploader::MaxChannels);
}

// The line (or refusal) for how the upload ended.
int report(const StoreSession::JobResult &result, StoreSession &session, qsizetype count)
{
    if (result.patchListCleared)
        out(StoreCommand::tr("Cleared the patch list of %1.\n").arg(session.deviceText()));
    switch (result.outcome) {
    case DeviceJobOutcome::Done:
        out(StoreCommand::tr("Uploaded %1 to %2.\n")
                .arg(definitionsText(count), session.deviceText()));
        return Success;
    case DeviceJobOutcome::PatchListKept:
        return fail(patchListRefusal(StoreCommand::tr("upload"), session));
    case DeviceJobOutcome::PatchListClearFailed:
    case DeviceJobOutcome::PatchListClearAborted:
        return fail(
            StoreCommand::tr("clearing the patch list of %1 failed").arg(session.deviceText()));
    case DeviceJobOutcome::NotEnoughFreeSlots:
        return fail(
            StoreCommand::tr("upload refused (free slots): %1 has fewer free slots than the %2 "
                             "definitions to upload")
                .arg(session.deviceText())
                .arg(count));
    case DeviceJobOutcome::ChannelCountsOutOfRange:
        return fail(StoreCommand::tr(
                        "upload refused (channel counts): every definition needs 1 to %1 channels")
                        .arg(FixtureDefinitionsUploader::MaxChannels));
    default:
        return fail(StoreCommand::tr("upload to %1 failed: %2; definitions written before stay")
                        .arg(session.deviceText(), session.failureReason()));
    }
}

} // namespace

int runDeviceUpload(QStringList args)
{
    if (wantsHelp(args)) {
        out(StoreCommand::tr(kHelp) + StoreSession::optionsHelp());
        return Success;
    }
    const QString command = QStringLiteral("device upload");
    StoreSession session;
    QString error;
    QStringList only;
    if (!session.takeOptions(&args, &error) ||
        !takeRepeated(&args, QStringLiteral("--only"), &only, &error))
        return usage(command, error);
    const bool clearPatch = takeFlag(&args, QStringLiteral("--clear-patch-list"));
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return usage(command, StoreCommand::tr("expects one LIBRARY file"));

    BLFLArchive archive(args.first());
    if (!archive.load())
        return fail(
            StoreCommand::tr("cannot load %1: %2").arg(args.first(), archive.errorString()));
    QList<QBLFixtureDefinition *> chosen;
    QStringList unmatched = only;
    for (QBLFixtureDefinitionLoader *loader : archive.loaders()) {
        loader->parse();
        for (QBLFixtureDefinition *d : *loader->definitions()) {
            if (only.isEmpty() || only.contains(d->fixtureName())) {
                chosen.append(d);
                unmatched.removeAll(d->fixtureName());
            }
        }
    }
    if (!unmatched.isEmpty())
        return fail(StoreCommand::tr("%1 holds no definition named '%2'")
                        .arg(args.first(), unmatched.first()));
    if (chosen.isEmpty()) {
        out(StoreCommand::tr("%1 holds no definitions; nothing to upload.\n").arg(args.first()));
        return Success;
    }
    for (const QBLFixtureDefinition *d : std::as_const(chosen)) {
        if (d->nbrOfChannels() < FixtureDefinitionsUploader::MinChannels ||
            d->nbrOfChannels() > FixtureDefinitionsUploader::MaxChannels)
            return fail(channelRefusal(*d));
    }

    if (!session.open(&error))
        return fail(error);
    if (const QString refusal = session.deviceRefusal(); !refusal.isEmpty())
        return session.finish(fail(StoreCommand::tr("upload %1").arg(refusal)));
    const StoreSession::JobResult result = session.run(
        StoreCommand::tr("Uploading"), [&](DeviceJobRunner &jobs) { return jobs.upload(chosen); },
        clearPatch);
    return session.finish(report(result, session, chosen.size()));
}
