#include "commands.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

const ToolCommand kCommands[] = {
    {"library", "read, check, re-save and create library files (.blfl)", runLibraryCommand},
    {"devices", "list the attached controllers", runDevicesCommand},
    {"info", "print the information block of one controller", runInfoCommand},
    {"device", "list, upload, download and delete a controller's fixture definitions",
     runDeviceCommand},
    {"firmware", "check firmware files (.bl2) and program controllers", runFirmwareCommand},
    {"qxf", "list the fixtures of QLC+ fixture files (.qxf)", runQxfCommand},
};

void printUsage(FILE *out)
{
    QTextStream s(out);
    s << "Usage: kdr450p-tool <command> [options]\n\n"
         "The command-line companion of the KDR-450P Fixture Library Editor.\n\nCommands:\n";
    for (const ToolCommand &c : kCommands)
        s << "  " << QString::fromLatin1(c.name).leftJustified(12) << c.summary << "\n";
    s << "\nRun 'kdr450p-tool <command> --help' for the options of one command.\n";
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kdr450p-tool"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KDR_VERSION));

    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        printUsage(stderr);
        return 2;
    }
    const QString command = args.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("-h")
        || command == QLatin1String("help")) {
        printUsage(stdout);
        return 0;
    }
    if (command == QLatin1String("--version")) {
        QTextStream(stdout) << "kdr450p-tool " << KDR_VERSION << "\n";
        return 0;
    }
    for (const ToolCommand &c : kCommands) {
        if (command == QLatin1String(c.name))
            return c.run(args);
    }
    QTextStream(stderr) << "kdr450p-tool: unknown command '" << command
                        << "' (see kdr450p-tool --help)\n";
    return 2;
}
