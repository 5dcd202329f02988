#include "commands.h"
#include "storesession.h"
#include "toolfiles.h"

#include <QCoreApplication>

#include "devicejobrunner.h"
#include "devicerecord.h"
#include "fixturedefinitionsuploader.h"
#include "library/blflarchive.h"
#include "library/qblfixturedefinitionloader.h"
#include "model/qblfixturedefinition.h"
#include "qblremotefixturedefinition.h"
#include "storeplan.h"

using namespace StoreCommand;

namespace
{

const char *const kHelp = QT_TRANSLATE_NOOP(
    "StoreCommand",
    "Usage: kdr450p-tool device upload LIBRARY [--only NAME]... [--skip-existing]\n"
    "                                  [--clear-patch-list] [options]\n\n"
    "Uploads the definitions of a library file (all, or those whose fixture name is NAME;\n"
    "LIBRARY - reads it from standard input) and prints the slot each one went to. Names the\n"
    "controller shows differently (characters outside Latin-1, names cut to their field)\n"
    "are warned about on standard error, one line each.\n"
    "  --only NAME         upload only definitions with this fixture name (repeatable)\n"
    "  --skip-existing     leave out definitions whose record the controller already holds\n"
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

QString freeSlotsRefusal(StoreSession &session, int freeSlots, qsizetype needed)
{
    if (freeSlots < 0)
        return StoreCommand::tr("upload refused (free slots): %1 has fewer free slots than the "
                                "%2 needed")
            .arg(session.deviceText())
            .arg(needed);
    return StoreCommand::tr("upload refused (free slots): %1 has %2 free, the upload needs %3")
        .arg(session.deviceText())
        .arg(freeSlots)
        .arg(needed);
}

// What the controller will show instead of the given names, one warning each.
void warnAboutNames(const QList<QBLFixtureDefinition *> &definitions)
{
    for (const QBLFixtureDefinition *d : definitions) {
        const DeviceRecordPreview preview = previewDeviceRecord(*d);
        for (const DeviceNameChange &c : preview.nameChanges) {
            if (c.given == d->fixtureName() && c.field == QCoreApplication::translate(
                                                             "DeviceRecord", "fixture name"))
                warn(StoreCommand::tr("\"%1\" is stored as \"%2\"").arg(c.given, c.stored));
            else
                warn(StoreCommand::tr("\"%1\": %2 \"%3\" is stored as \"%4\"")
                         .arg(d->displayName(), c.field, c.given, c.stored));
        }
    }
}

QList<const QBLFixtureDefinition *> constList(const QList<QBLFixtureDefinition *> &list)
{
    return QList<const QBLFixtureDefinition *>(list.cbegin(), list.cend());
}

// Which of the chosen definitions the controller already holds: the headers name the
// candidates, and only their records are read.
bool findHeld(StoreSession &session, const QList<QBLFixtureDefinition *> &chosen,
              const std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> &entries,
              int freeSlots, StorePlan *plan, QString *error)
{
    const QList<int> candidates = candidateSlots(session.storedHeaders(), constList(chosen));
    QList<QBLRemoteFixtureDefinition *> wanted;
    for (int slot : candidates)
        wanted.append(findSlot(entries, slot));
    QList<StoredRecord> records;
    if (!wanted.isEmpty()) {
        const StoreSession::JobResult result =
            session.run(StoreCommand::tr("Comparing"),
                        [&](DeviceJobRunner &jobs) { return jobs.download(wanted); });
        if (result.outcome != DeviceJobOutcome::Done) {
            *error = StoreCommand::tr("reading the stored records of %1 failed: %2")
                         .arg(session.deviceText(), StoreSession::failureReason(result));
            return false;
        }
        const QList<QBLFixtureDefinition *> &got = session.jobs().downloadedDefinitions();
        for (qsizetype i = 0; i < got.size() && i < wanted.size(); ++i)
            records.append({int(wanted.at(i)->slotNumber()), encodeDeviceRecord(*got.at(i))});
    }
    *plan = planStore(records, constList(chosen), freeSlots);
    plan->stored = int(entries.size());
    return true;
}

// The line (or refusal) for how the upload ended.
int report(const StoreSession::JobResult &result, StoreSession &session,
           const QList<QBLFixtureDefinition *> &written, const QList<StoredRecord> &before,
           int freeSlots)
{
    if (const int code = patchListOutcome(result, StoreCommand::tr("upload"), session);
        code != Proceed)
        return code;
    switch (result.outcome) {
    case DeviceJobOutcome::Done: {
        std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> after;
        QString error;
        if (session.readStoredList(&after, &error)) {
            const QList<int> placed =
                placedSlots(before, session.storedHeaders(), constList(written));
            for (qsizetype i = 0; i < written.size(); ++i)
                out(placed.at(i) < 0
                        ? StoreCommand::tr("\"%1\": slot unknown\n").arg(written.at(i)->displayName())
                        : StoreCommand::tr("\"%1\": slot %2\n")
                              .arg(written.at(i)->displayName())
                              .arg(placed.at(i)));
        } else {
            warn(error);
        }
        out(StoreCommand::tr("Uploaded %1 to %2.\n")
                .arg(definitionsText(written.size()), session.deviceText()));
        return Success;
    }
    case DeviceJobOutcome::NotEnoughFreeSlots:
        return fail(freeSlotsRefusal(session, freeSlots, written.size()));
    case DeviceJobOutcome::ChannelCountsOutOfRange:
        return fail(StoreCommand::tr(
                        "upload refused (channel counts): every definition needs 1 to %1 channels")
                        .arg(FixtureDefinitionsUploader::MaxChannels));
    default:
        return fail(StoreCommand::tr("upload to %1 failed: %2; definitions written before stay")
                        .arg(session.deviceText(), StoreSession::failureReason(result)));
    }
}

} // namespace

int runDeviceUpload(QStringList args)
{
    QStringList only;
    bool clearPatch = false;
    bool skipExisting = false;
    InputFile input;
    std::unique_ptr<BLFLArchive> archive;
    QList<QBLFixtureDefinition *> chosen;
    ControllerCommand command(QStringLiteral("device upload"), StoreCommand::tr(kHelp),
                              {{QStringLiteral("--clear-patch-list"), &clearPatch},
                               {QStringLiteral("--skip-existing"), &skipExisting}});
    command.takeArguments = [&](QStringList *args, QString *error) {
        return takeRepeated(args, QStringLiteral("--only"), &only, error);
    };
    command.fileUsage = StoreCommand::tr("expects one LIBRARY file");
    command.beforeOpen = [&]() -> int {
        QString error;
        if (!input.open(command.file, &error))
            return fail(error);
        archive = std::make_unique<BLFLArchive>(input.path());
        if (!archive->load())
            return fail(
                StoreCommand::tr("cannot load %1: %2").arg(input.name(), archive->errorString()));
        QStringList unmatched = only;
        for (QBLFixtureDefinitionLoader *loader : archive->loaders()) {
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
                            .arg(input.name(), unmatched.first()));
        if (chosen.isEmpty()) {
            out(StoreCommand::tr("%1 holds no definitions; nothing to upload.\n")
                    .arg(input.name()));
            return Success;
        }
        for (const QBLFixtureDefinition *d : std::as_const(chosen)) {
            if (d->nbrOfChannels() < FixtureDefinitionsUploader::MinChannels ||
                d->nbrOfChannels() > FixtureDefinitionsUploader::MaxChannels)
                return fail(channelRefusal(*d));
        }
        return Proceed;
    };
    command.run = [&](StoreSession &session) -> int {
        if (const QString refusal = session.deviceRefusal(); !refusal.isEmpty())
            return fail(StoreCommand::tr("upload %1").arg(refusal));
        StoreState state;
        QString error;
        if (!readState(session, &state, &error))
            return fail(error);
        const QList<StoredRecord> before = session.storedHeaders();
        const int freeSlots = state.status.freeSlots;

        StorePlan plan = planStore({}, constList(chosen), freeSlots);
        if (skipExisting && !findHeld(session, chosen, state.entries, freeSlots, &plan, &error))
            return fail(error);
        QList<QBLFixtureDefinition *> toWrite;
        for (qsizetype i = 0; i < chosen.size(); ++i) {
            if (plan.heldIn.at(i) < 0)
                toWrite.append(chosen.at(i));
            else
                out(StoreCommand::tr("\"%1\": already in slot %2, skipped\n")
                        .arg(chosen.at(i)->displayName())
                        .arg(plan.heldIn.at(i)));
        }
        if (toWrite.isEmpty()) {
            out(StoreCommand::tr("Uploaded 0 definitions to %1: it holds them all.\n")
                    .arg(session.deviceText()));
            return Success;
        }
        if (!plan.fits())
            return fail(freeSlotsRefusal(session, freeSlots, toWrite.size()));
        warnAboutNames(toWrite);

        const StoreSession::JobResult result =
            session.run(StoreCommand::tr("Uploading"),
                        [&](DeviceJobRunner &jobs) { return jobs.upload(toWrite); }, clearPatch);
        return report(result, session, toWrite, before, freeSlots);
    };
    return runControllerCommand(command, args);
}
