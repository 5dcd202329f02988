#include "commands.h"

#include "storesession.h"
#include "toolfiles.h"

#include "firmware/firmwarefile.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTextStream>

namespace
{

struct FirmwareCommand {
    Q_DECLARE_TR_FUNCTIONS(FirmwareCommand)
};

QString plainText(const QString &html)
{
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    return QString(html).remove(tags);
}

void printFirmwareUsage(QTextStream &s)
{
    s << FirmwareCommand::tr(
        "Usage: kdr450p-tool firmware <subcommand> [options]\n\n"
        "Subcommands:\n"
        "  check FILE                  check a firmware file (.bl2): magic, layout, checksum\n"
        "  update FILE [--device N] [--yes]  program a controller with a firmware file\n"
        "                              (--simulate, --port PATH, --verbose as for 'device')\n");
}

// "The file X is not a valid BL2 file: it claims 9 sectors, at most 8 are allowed."
QString checkFailure(const FirmwareFile &file)
{
    QString status = plainText(file.statusText(QString()));
    if (!file.invalidReason().isEmpty() && status.endsWith(QLatin1Char('.')))
        status = FirmwareCommand::tr("%1: %2.").arg(status.chopped(1), file.invalidReason());
    return status;
}

int runCheck(const QStringList &arguments)
{
    QStringList args = arguments;
    if (StoreCommand::wantsHelp(args)) {
        StoreCommand::out(FirmwareCommand::tr(
            "Usage: kdr450p-tool firmware check FILE\n\n"
            "Checks a firmware file (.bl2; FILE - reads standard input): its magic, layout and\n"
            "checksum. Prints the device it is for, its sectors, size and note; a file that\n"
            "is not valid is named with the rule it breaks.\n"));
        return 0;
    }
    const QString command = QStringLiteral("firmware check");
    const QStringList positional = StoreCommand::takePositional(&args);
    if (const int code = StoreCommand::leftOver(command, args))
        return code;
    if (positional.size() != 1)
        return StoreCommand::usage(command, FirmwareCommand::tr("expects one FILE"));
    InputFile input;
    QString error;
    if (!input.open(positional.first(), &error))
        return StoreCommand::fail(error);
    FirmwareFile file;
    if (!file.load(input.path()))
        return StoreCommand::fail(checkFailure(file).replace(input.path(), input.name()));
    QTextStream out(stdout);
    out << plainText(file.statusText(QString())).replace(input.path(), input.name()) << "\n";
    out << FirmwareCommand::tr("Device:  %1\n").arg(file.targetDeviceName());
    out << FirmwareCommand::tr("Sectors: %1\n").arg(file.sectorCount());
    out << FirmwareCommand::tr("Size:    %n byte(s)\n", "", int(file.totalSize()));
    if (!file.noteText().isEmpty())
        out << FirmwareCommand::tr("Note:    %1\n").arg(file.noteText());
    return 0;
}

} // namespace

int runFirmwareCommand(const QStringList &args)
{
    silenceDiagnostics();
    if (args.isEmpty()) {
        QTextStream err(stderr);
        printFirmwareUsage(err);
        return 2;
    }
    const QString sub = args.first();
    if (sub == QLatin1String("--help") || sub == QLatin1String("-h")) {
        QTextStream out(stdout);
        printFirmwareUsage(out);
        return 0;
    }
    StoreCommand::setCommand(QStringLiteral("firmware ") + sub);
    if (sub == QLatin1String("check"))
        return runCheck(args.mid(1));
    if (sub == QLatin1String("update"))
        return runFirmwareUpdate(args.mid(1));
    StoreCommand::setCommand(QStringLiteral("firmware"));
    if (StoreCommand::isOption(sub))
        return StoreCommand::usage(QStringLiteral("firmware"),
                                   StoreCommand::tr("unknown option %1").arg(sub));
    QTextStream(stderr) << "kdr450p-tool firmware: "
                        << FirmwareCommand::tr("unknown subcommand '%1' (see kdr450p-tool "
                                               "firmware --help)")
                               .arg(sub)
                        << "\n";
    return 2;
}
