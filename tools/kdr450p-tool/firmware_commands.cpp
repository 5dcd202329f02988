#include "commands.h"

#include "storesession.h"
#include "toolfiles.h"

#include "firmware/firmwarefile.h"

#include <QCoreApplication>
#include <QTextStream>

namespace
{

struct FirmwareCommand {
    Q_DECLARE_TR_FUNCTIONS(FirmwareCommand)
};

void printFirmwareUsage(QTextStream &s)
{
    s << FirmwareCommand::tr(
        "Usage: kdr450p-tool firmware <subcommand> [options]\n\n"
        "Subcommands:\n"
        "  check FILE                  check a firmware file (.bl2): magic, layout, checksum\n"
        "  update FILE [--device N] [--yes]  program a controller with a firmware file\n"
        "                              (--simulate, --port PATH, --verbose as for 'device')\n");
}

// The rule an invalid file broke: "it claims 9 sectors, at most 8 are allowed".
QString brokenRule(const FirmwareFile::Check &check)
{
    using V = FirmwareFile::Validation;
    switch (check.validation) {
    case V::TooLarge:
        return FirmwareCommand::tr("it is larger than %1 MB")
            .arg(FirmwareFile::MaxFileSize / (1024 * 1024));
    case V::BadMagic:
        return FirmwareCommand::tr("it does not start with \"BLU2\" and a zero byte");
    case V::ShorterThanHeader:
        return FirmwareCommand::tr("it has %1 bytes, fewer than its 256-byte header")
            .arg(check.fileSize);
    case V::TooManySectors:
        return FirmwareCommand::tr("it claims %1 sectors, at most %2 are allowed")
            .arg(check.sectorCount)
            .arg(FirmwareFile::MaxSectors);
    case V::SectorOutsideFile:
        return FirmwareCommand::tr("sector %1 (%2 bytes) lies outside the file")
            .arg(check.sector)
            .arg(check.sectorSize);
    case V::ChecksumMismatch:
        return FirmwareCommand::tr("the checksum is %1, the sectors add up to %2")
            .arg(check.storedChecksum)
            .arg(check.computedChecksum);
    default:
        return QString();
    }
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
        return StoreCommand::fail(firmwareFileText(file, input.name()));
    QTextStream out(stdout);
    out << firmwareFileText(file, input.name()) << "\n";
    out << FirmwareCommand::tr("Device:  %1\n").arg(file.targetDeviceName());
    out << FirmwareCommand::tr("Sectors: %1\n").arg(file.sectorCount());
    out << FirmwareCommand::tr("Size:    %n byte(s)\n", "", int(file.totalSize()));
    if (!file.noteText().isEmpty())
        out << FirmwareCommand::tr("Note:    %1\n").arg(file.noteText());
    return 0;
}

} // namespace

QString firmwareFileText(const FirmwareFile &file, const QString &name)
{
    switch (file.check().validation) {
    case FirmwareFile::Validation::Valid:
        return FirmwareCommand::tr("The file %1 is OK.").arg(name);
    case FirmwareFile::Validation::Unreadable:
    case FirmwareFile::Validation::NotLoaded:
        return FirmwareCommand::tr("The file %1 is not readable.").arg(name);
    default:
        return FirmwareCommand::tr("The file %1 is not a valid BL2 file: %2.")
            .arg(name, brokenRule(file.check()));
    }
}

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
