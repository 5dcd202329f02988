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
    bool force = false;
    OutputFile output;
    std::unique_ptr<BLFLArchive> existing;
    QList<QBLFixtureDefinition *> definitions;
    ControllerCommand command(QStringLiteral("device download"), StoreCommand::tr(kHelp),
                              {{QStringLiteral("--force"), &force}});
    command.slotCount = ControllerCommand::Slots::Any;
    command.fileUsage = StoreCommand::tr("expects one OUT.blfl file");
    command.beforeOpen = [&] {
        QString error;
        if (!output.prepare(command.file, &error) ||
            (!output.isStdout() &&
             !loadExisting(output.path(), force, &existing, &definitions, &error)))
            return fail(error);
        return Proceed;
    };
    command.runOnStore = [&](StoreSession &session, const StoreState &state) -> int {
        if (state.entries.empty()) {
            report(StoreCommand::tr("No fixture definitions are stored on %1.\n")
                       .arg(session.deviceText()),
                   output);
            return Success;
        }
        QList<QBLRemoteFixtureDefinition *> wanted;
        for (const auto &e : state.entries)
            if (command.slotNumbers.isEmpty() || command.slotNumbers.contains(e->slotNumber()))
                wanted.append(e.get());

        const StoreSession::JobResult result =
            session.run(StoreCommand::tr("Downloading"),
                        [&](DeviceJobRunner &jobs) { return jobs.download(wanted); });
        if (result.outcome != DeviceJobOutcome::Done)
            return fail(StoreCommand::tr("downloading from %1 failed: %2; %3 was not changed")
                            .arg(session.deviceText(), StoreSession::failureReason(result),
                                 output.name()));

        const QList<QBLFixtureDefinition *> &got = session.jobs().downloadedDefinitions();
        definitions += got;
        BLFLArchive target(output.path());
        target.setDefinitions(&definitions);
        if (!target.save())
            return fail(
                StoreCommand::tr("cannot save %1: %2").arg(output.name(), target.errorString()));
        QString error;
        if (!output.deliver(&error))
            return fail(error);
        report(StoreCommand::tr("%1 %2 from %3 to %4.\n")
                   .arg(existing ? StoreCommand::tr("Appended") : StoreCommand::tr("Downloaded"),
                        definitionsText(got.size()), session.deviceText(), output.name()),
               output);
        return Success;
    };
    return runControllerCommand(command, args);
}
