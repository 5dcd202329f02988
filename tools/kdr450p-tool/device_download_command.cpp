#include "commands.h"
#include "storesession.h"

#include <QCoreApplication>

#include "devicejobrunner.h"
#include "library/blflarchive.h"
#include "library/qblfixturedefinitionloader.h"
#include "model/qblfixturedefinition.h"
#include "qblremotefixturedefinition.h"

#include <QFileInfo>

using namespace StoreCommand;

namespace
{

const char *const kHelp = QT_TRANSLATE_NOOP(
    "StoreCommand",
    "Usage: kdr450p-tool device download OUT.blfl [--slot N]... [options]\n\n"
    "Reads stored definitions (all, or those of the given slots) into a library file; an\n"
    "existing library gets them appended (the file is replaced only once fully written).\n"
    "  --slot N        read the definition in slot N (repeatable; see 'device fixtures')\n");

// The definitions of an existing library, loaded first: a file that is not one is never
// overwritten. False with the reason.
bool loadExisting(const QString &path, std::unique_ptr<BLFLArchive> *existing,
                  QList<QBLFixtureDefinition *> *definitions, QString *error)
{
    if (!QFileInfo::exists(path))
        return true;
    *existing = std::make_unique<BLFLArchive>(path);
    if (!(*existing)->load()) {
        *error = StoreCommand::tr("cannot append to %1: %2").arg(path, (*existing)->errorString());
        return false;
    }
    for (QBLFixtureDefinitionLoader *loader : (*existing)->loaders()) {
        loader->parse();
        *definitions += *loader->definitions();
    }
    if ((*existing)->hasUnsupportedFeatures()) {
        *error =
            StoreCommand::tr("cannot append to %1: it holds content this version does not support, "
                             "which saving would lose")
                .arg(path);
        return false;
    }
    return true;
}

} // namespace

int runDeviceDownload(QStringList args)
{
    if (wantsHelp(args)) {
        out(StoreCommand::tr(kHelp) + StoreSession::optionsHelp());
        return Success;
    }
    const QString command = QStringLiteral("device download");
    StoreSession session;
    QString error;
    QList<int> slotNumbers;
    if (!session.takeOptions(&args, &error) || !takeSlots(&args, &slotNumbers, &error))
        return usage(command, error);
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return usage(command, StoreCommand::tr("expects one OUT.blfl file"));
    const QString path = args.first();

    std::unique_ptr<BLFLArchive> existing;
    QList<QBLFixtureDefinition *> definitions;
    if (!loadExisting(path, &existing, &definitions, &error))
        return fail(error);

    if (!session.open(&error))
        return fail(error);
    std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> entries;
    if (!session.readStoredList(&entries, &error))
        return session.finish(fail(error));
    if (entries.empty()) {
        out(StoreCommand::tr("No fixture definitions are stored on %1.\n")
                .arg(session.deviceText()));
        return session.finish(
            slotNumbers.isEmpty()
                ? Success
                : fail(StoreCommand::tr("slot %1 holds no definition").arg(slotNumbers[0])));
    }
    QList<QBLRemoteFixtureDefinition *> wanted;
    for (const auto &e : entries)
        if (slotNumbers.isEmpty() || slotNumbers.contains(e->slotNumber()))
            wanted.append(e.get());
    for (int s : std::as_const(slotNumbers))
        if (!findSlot(entries, s))
            return session.finish(fail(noSuchSlot(s, session)));

    const StoreSession::JobResult result =
        session.run(StoreCommand::tr("Downloading"),
                    [&](DeviceJobRunner &jobs) { return jobs.download(wanted); });
    if (result.outcome != DeviceJobOutcome::Done)
        return session.finish(
            fail(StoreCommand::tr("downloading from %1 failed: %2; %3 was not changed")
                     .arg(session.deviceText(), session.failureReason(), path)));

    const QList<QBLFixtureDefinition *> &got = session.jobs().downloadedDefinitions();
    definitions += got;
    BLFLArchive target(path);
    target.setDefinitions(&definitions);
    if (!target.save())
        return session.finish(
            fail(StoreCommand::tr("cannot save %1: %2").arg(path, target.errorString())));
    out(StoreCommand::tr("%1 %2 from %3 to %4.\n")
            .arg(existing ? StoreCommand::tr("Appended") : StoreCommand::tr("Downloaded"),
                 definitionsText(got.size()), session.deviceText(), path));
    return session.finish(Success);
}
