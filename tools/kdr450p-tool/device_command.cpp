#include "commands.h"
#include "storesession.h"

#include <QCoreApplication>

#include <QTextStream>

using namespace StoreCommand;

namespace
{

struct Subcommand {
    const char *name;
    int (*run)(QStringList args);
};

const Subcommand kSubcommands[] = {
    {"fixtures", runDeviceFixtures},
    {"show", runDeviceShow},
    {"upload", runDeviceUpload},
    {"download", runDeviceDownload},
    {"delete", runDeviceDelete},
    {"clear-patch-list", runDeviceClearPatchList},
};

void printDeviceUsage(QTextStream &s)
{
    s << StoreCommand::tr(
             "Usage: kdr450p-tool device <subcommand> [options]\n\n"
             "The fixture store of a controller:\n"
             "  fixtures [--json] [--channels]         list the stored definitions, free slots\n"
             "  show --slot N [--json]                 list one stored definition's channels\n"
             "  upload LIBRARY [--only NAME]... [--skip-existing]\n"
             "                                         upload definitions of a library file\n"
             "  download OUT.blfl [--slot N]...        read stored definitions into a library\n"
             "  delete --slot N...                     delete stored definitions\n"
             "  clear-patch-list [--yes]               erase the controller's patch list\n\n"
             "Options of every subcommand:\n")
      << StoreSession::optionsHelp();
}

} // namespace

int runDeviceCommand(const QStringList &args)
{
    silenceDiagnostics();
    if (args.isEmpty()) {
        QTextStream err(stderr);
        printDeviceUsage(err);
        return Usage;
    }
    const QString sub = args.first();
    if (sub == QLatin1String("--help") || sub == QLatin1String("-h")) {
        QTextStream s(stdout);
        printDeviceUsage(s);
        return Success;
    }
    for (const Subcommand &c : kSubcommands) {
        if (sub == QLatin1String(c.name)) {
            setCommand(QStringLiteral("device ") + sub);
            return c.run(args.mid(1));
        }
    }
    if (isOption(sub))
        return usage(QStringLiteral("device"), StoreCommand::tr("unknown option %1").arg(sub));
    return usage(QStringLiteral("device"), StoreCommand::tr("unknown subcommand '%1'").arg(sub));
}
