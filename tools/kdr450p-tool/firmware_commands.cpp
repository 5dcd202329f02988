#include "commands.h"

#include "storesession.h"

#include "firmware/firmwarefile.h"

#include <QCommandLineParser>
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
        "  update FILE [--device N]    program a controller with a firmware file\n"
        "                              (--simulate, --port PATH as for 'device')\n");
}

int runCheck(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(FirmwareCommand::tr("Checks a firmware file (.bl2)."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), FirmwareCommand::tr("the firmware file"));
    if (!parser.parse(QStringList{QStringLiteral("firmware check")} + args)) {
        QTextStream(stderr) << "kdr450p-tool firmware check: " << parser.errorText() << "\n";
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (parser.positionalArguments().size() != 1) {
        QTextStream(stderr) << "kdr450p-tool firmware check: "
                            << FirmwareCommand::tr("expects one FILE") << "\n";
        return 2;
    }
    FirmwareFile file;
    const bool ok = file.load(parser.positionalArguments().constFirst());
    const QString status = plainText(file.statusText(QString()));
    if (!ok) {
        QTextStream(stderr) << "kdr450p-tool: " << status << "\n";
        return 1;
    }
    QTextStream out(stdout);
    out << status << "\n";
    out << FirmwareCommand::tr("Device:  %1\n").arg(file.targetDeviceName());
    out << FirmwareCommand::tr("Sectors: %1\n").arg(file.sectorCount());
    out << FirmwareCommand::tr("Size:    %n byte(s)\n", "", int(file.totalSize()));
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
    if (sub == QLatin1String("check"))
        return runCheck(args.mid(1));
    if (sub == QLatin1String("update"))
        return runFirmwareUpdate(args.mid(1));
    QTextStream(stderr) << "kdr450p-tool firmware: "
                        << FirmwareCommand::tr("unknown subcommand '%1' (see kdr450p-tool "
                                               "firmware --help)")
                               .arg(sub)
                        << "\n";
    return 2;
}
