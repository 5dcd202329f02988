#include "commands.h"
#include "storesession.h"
#include "toolfiles.h"

#include <QCoreApplication>

#include "devicejobrunner.h"
#include "library/blflarchive.h"
#include "library/qblfixturedefinitionloader.h"
#include "model/qblfixturedefinition.h"
#include "qblremotefixturedefinition.h"

#include <QFileInfo>
#include <QTextStream>

using namespace StoreCommand;

namespace
{

const char *const kHelp = QT_TRANSLATE_NOOP(
    "StoreCommand",
    "Usage: kdr450p-tool device download OUT.blfl [--slot N]... [--force] [options]\n\n"
    "Reads stored definitions (all, or those of the given slots) into a library file; an\n"
    "existing library gets them appended (the file is replaced only once fully written).\n"
    "OUT must be a regular file or a new name in a writable folder, checked before the\n"
    "transfer; OUT - writes the library to standard output.\n"
    "  --slot N        read the definition in slot N (repeatable; see 'device fixtures')\n"
    "  --force         append even when OUT holds content this version does not support\n"
    "                  (damaged entries, unknown elements); that content is lost, the\n"
    "                  definitions that load are kept\n");

// The definitions of an existing library, loaded first: a file that is not one is never
// overwritten, and one whose content would be lost only with force. False with the reason.
bool loadExisting(const QString &path, bool force, std::unique_ptr<BLFLArchive> *existing,
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
    if (!(*existing)->hasUnsupportedFeatures())
        return true;
    if (force) {
        StoreCommand::warn(StoreCommand::tr("%1 holds content this version does not support; "
                                            "appending keeps only the definitions that load")
                               .arg(path));
        return true;
    }
    *error =
        StoreCommand::tr("cannot append to %1: it holds content this version does not support, "
                         "which saving would lose (add --force to append anyway)")
            .arg(path);
    return false;
}

// The closing line goes to stderr when the library itself goes to stdout.
void report(const QString &line, const OutputFile &output)
{
    if (output.isStdout())
        QTextStream(stderr) << line;
    else
        out(line);
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
    const bool force = takeFlag(&args, QStringLiteral("--force"));
    const QStringList positional = takePositional(&args);
    if (const int code = leftOver(command, args))
        return code;
    if (positional.size() != 1)
        return usage(command, StoreCommand::tr("expects one OUT.blfl file"));
    OutputFile output;
    if (!output.prepare(positional.first(), &error))
        return fail(error);
    const QString path = output.path();

    std::unique_ptr<BLFLArchive> existing;
    QList<QBLFixtureDefinition *> definitions;
    if (!output.isStdout() && !loadExisting(path, force, &existing, &definitions, &error))
        return fail(error);

    if (!session.open(&error))
        return fail(error);
    std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> entries;
    if (!session.readStoredList(&entries, &error))
        return session.finish(fail(error));
    const int freeSlots = session.readStatus().freeSlots;
    const int capacity = freeSlots < 0 ? -1 : int(entries.size()) + freeSlots;
    for (int s : std::as_const(slotNumbers)) {
        if (const QString refusal = slotOutOfRange(s, capacity, session); !refusal.isEmpty())
            return session.finish(fail(refusal));
        if (!findSlot(entries, s))
            return session.finish(fail(noSuchSlot(s, session)));
    }
    if (entries.empty()) {
        report(StoreCommand::tr("No fixture definitions are stored on %1.\n")
                   .arg(session.deviceText()),
               output);
        return session.finish(Success);
    }
    QList<QBLRemoteFixtureDefinition *> wanted;
    for (const auto &e : entries)
        if (slotNumbers.isEmpty() || slotNumbers.contains(e->slotNumber()))
            wanted.append(e.get());

    const StoreSession::JobResult result =
        session.run(StoreCommand::tr("Downloading"),
                    [&](DeviceJobRunner &jobs) { return jobs.download(wanted); });
    if (result.outcome != DeviceJobOutcome::Done)
        return session.finish(fail(
            StoreCommand::tr("downloading from %1 failed: %2; %3 was not changed")
                .arg(session.deviceText(), StoreSession::failureReason(result), output.name())));

    const QList<QBLFixtureDefinition *> &got = session.jobs().downloadedDefinitions();
    definitions += got;
    BLFLArchive target(path);
    target.setDefinitions(&definitions);
    if (!target.save())
        return session.finish(
            fail(StoreCommand::tr("cannot save %1: %2").arg(output.name(), target.errorString())));
    if (!output.deliver(&error))
        return session.finish(fail(error));
    report(StoreCommand::tr("%1 %2 from %3 to %4.\n")
               .arg(existing ? StoreCommand::tr("Appended") : StoreCommand::tr("Downloaded"),
                    definitionsText(got.size()), session.deviceText(), output.name()),
           output);
    return session.finish(Success);
}
