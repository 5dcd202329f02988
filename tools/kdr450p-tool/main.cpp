#include "commands.h"
#include "deviceoptions.h"

#include "model/uilanguage.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace
{

struct ToolMain {
    Q_DECLARE_TR_FUNCTIONS(ToolMain)
};

const ToolCommand kCommands[] = {
    {"library",
     QT_TRANSLATE_NOOP("ToolMain", "read, check, re-save and create library files (.blfl)"),
     runLibraryCommand},
    {"devices", QT_TRANSLATE_NOOP("ToolMain", "list the attached controllers"), runDevicesCommand},
    {"info", QT_TRANSLATE_NOOP("ToolMain", "print the information block of one controller"),
     runInfoCommand},
    {"device",
     QT_TRANSLATE_NOOP("ToolMain",
                       "list, upload, download and delete a controller's fixture definitions"),
     runDeviceCommand},
    {"firmware",
     QT_TRANSLATE_NOOP("ToolMain", "check firmware files (.bl2) and program controllers"),
     runFirmwareCommand},
    {"qxf", QT_TRANSLATE_NOOP("ToolMain", "list the fixtures of QLC+ fixture files (.qxf)"),
     runQxfCommand},
};

// The commands that talk to controllers, and so take --verbose.
bool talksToDevices(const QString &command)
{
    for (const char *name : {"devices", "info", "device", "firmware"})
        if (command == QLatin1String(name))
            return true;
    return false;
}

// Takes every --verbose before "--" out of args: it may stand before or after the command.
bool takeVerbose(QStringList *args)
{
    const qsizetype end = args->indexOf(QLatin1String("--"));
    bool found = false;
    for (qsizetype i = (end < 0 ? args->size() : end) - 1; i >= 0; --i) {
        if (args->at(i) == QLatin1String("--verbose")) {
            args->removeAt(i);
            found = true;
        }
    }
    return found;
}

void printUsage(FILE *out)
{
    QTextStream s(out);
    s << ToolMain::tr("Usage: kdr450p-tool <command> [options]\n\n"
                      "The command-line companion of the KDR-450P Fixture Library Editor.\n\n"
                      "Commands:\n");
    for (const ToolCommand &c : kCommands)
        s << "  " << QString::fromLatin1(c.name).leftJustified(12) << ToolMain::tr(c.summary)
          << "\n";
    s << ToolMain::tr("\nRun 'kdr450p-tool <command> --help' for the options of one command.\n");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kdr450p-tool"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KDR_VERSION));
    QStringList args = QCoreApplication::arguments().mid(1);
    // Messages and help in the user's language. JSON is for scripts: it reads the same in
    // every language, reasons quoted in it included.
    if (args.contains(QLatin1String("--json")))
        UiLanguage::install(&app, {QStringLiteral("en")});
    else
        UiLanguage::installForSystem(&app);

    const bool verbose = takeVerbose(&args);
    if (args.isEmpty()) {
        printUsage(stderr);
        return 2;
    }
    // --version answers at every level, before a command looks at its arguments.
    const qsizetype end = args.indexOf(QLatin1String("--"));
    if (args.mid(0, end < 0 ? args.size() : end).contains(QLatin1String("--version"))) {
        QTextStream(stdout) << "kdr450p-tool " << KDR_VERSION << "\n";
        return 0;
    }
    const QString command = args.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("help")) {
        printUsage(stdout);
        return 0;
    }
    if (verbose) {
        if (talksToDevices(command))
            traceLinkFrames();
        else // the command refuses it as an unknown option
            args.insert(args.contains(QLatin1String("--")) ? args.indexOf(QLatin1String("--"))
                                                           : args.size(),
                        QStringLiteral("--verbose"));
    }
    for (const ToolCommand &c : kCommands) {
        if (command == QLatin1String(c.name))
            return c.run(args);
    }
    QTextStream(stderr) << ToolMain::tr("kdr450p-tool: unknown command '%1' (see kdr450p-tool "
                                        "--help)\n")
                               .arg(command);
    return 2;
}
