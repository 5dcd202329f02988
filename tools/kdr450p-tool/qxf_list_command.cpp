// kdr450p-tool qxf list: what the import would find in QLC+ fixture files.
#include "commands.h"
#include "storesession.h"

#include "library/fixturetypes.h"
#include "library/qxfcatalogue.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>

namespace
{

struct QxfCommand {
    Q_DECLARE_TR_FUNCTIONS(QxfCommand)
};

const char *const kGroupHelp = QT_TRANSLATE_NOOP(
    "QxfCommand",
    "Usage: kdr450p-tool qxf list DIR_OR_FILE... [--json]\n\n"
    "Lists every mode of the QLC+ fixture files (.qxf) in the given folders (searched\n"
    "recursively) and files: manufacturer, model, mode, type and channel count, in the order\n"
    "the import takes them. Files that cannot be read are listed on stderr with the reason.\n"
    "Exit status 0 when at least one file was read, 1 when none could be, 2 on a usage error.\n\n"
    "Options:\n"
    "  --json   print one JSON document (UTF-8):\n"
    "           {\"fixtures\": [{\"file\", \"manufacturer\", \"model\", \"type\",\n"
    "             \"modes\": [{\"name\", \"channels\": [names]}]}],\n"
    "            \"skipped\": [{\"file\", \"reason\"}]}\n"
    "           \"file\" is relative to the folder given, or as given for a file.\n");

int fail(const QString &line, int code)
{
    QTextStream(stderr) << "kdr450p-tool " << StoreCommand::command() << ": " << line << "\n";
    return code;
}

QByteArray toJson(const QxfScanResult &scan)
{
    QJsonArray fixtures;
    for (const QxfFixture &f : scan.fixtures) {
        QJsonArray modes;
        for (const QxfMode &m : f.modes)
            modes.append(
                QJsonObject{{QStringLiteral("name"), m.name},
                            {QStringLiteral("channels"), QJsonArray::fromStringList(m.channels)}});
        fixtures.append(QJsonObject{{QStringLiteral("file"), f.file},
                                    {QStringLiteral("manufacturer"), f.manufacturer},
                                    {QStringLiteral("model"), f.model},
                                    {QStringLiteral("type"), f.type},
                                    {QStringLiteral("modes"), modes}});
    }
    QJsonArray skipped;
    for (const QxfNote &s : scan.skipped)
        skipped.append(
            QJsonObject{{QStringLiteral("file"), s.file}, {QStringLiteral("reason"), s.text}});
    return QJsonDocument(QJsonObject{{QStringLiteral("fixtures"), fixtures},
                                     {QStringLiteral("skipped"), skipped}})
        .toJson(QJsonDocument::Indented);
}

int runList(const QStringList &args)
{
    bool json = false;
    QStringList inputs;
    for (const QString &a : args) {
        if (a == QLatin1String("--json"))
            json = true;
        else if (a.startsWith(QLatin1Char('-')) && a.size() > 1)
            return StoreCommand::usage(QStringLiteral("qxf list"),
                                       StoreCommand::tr("unknown option %1").arg(a));
        else
            inputs << a;
    }
    if (inputs.isEmpty())
        return StoreCommand::usage(QStringLiteral("qxf list"),
                                   QxfCommand::tr("expected DIR_OR_FILE"));

    const QxfScanResult scan = QxfCatalogue::scan(inputs);
    if (json) {
        const QByteArray text = toJson(scan);
        if (fwrite(text.constData(), 1, size_t(text.size()), stdout) != size_t(text.size()))
            return fail(QxfCommand::tr("cannot write the output"), 1);
    } else {
        QTextStream s(stdout);
        for (const QxfFixture &f : scan.fixtures) {
            const QString type = FixtureTypes::canonicalText(Qxf::fixtureType(f.type));
            for (const QxfMode &m : f.modes)
                s << f.manufacturer << "  " << f.model << "  " << m.name << "  " << type << "  "
                  << QxfCommand::tr("%n channel(s)", "", int(m.channels.size())) << "\n";
        }
        s.flush();
        QTextStream e(stderr);
        for (const QxfNote &n : scan.skipped)
            e << QxfCommand::tr("skipped %1: %2\n").arg(n.file, n.text);
    }
    if (scan.fixtures.isEmpty())
        return fail(QxfCommand::tr("no fixture file could be read"), 1);
    return 0;
}

} // namespace

int runQxfCommand(const QStringList &args)
{
    if (args.isEmpty()) {
        QTextStream(stderr) << QxfCommand::tr(kGroupHelp);
        return 2;
    }
    const QString sub = args.first();
    if (sub == QLatin1String("--help") || sub == QLatin1String("-h") ||
        sub == QLatin1String("help") || args.contains(QLatin1String("--help"))) {
        QTextStream(stdout) << QxfCommand::tr(kGroupHelp);
        return 0;
    }
    StoreCommand::setCommand(QStringLiteral("qxf"));
    if (sub == QLatin1String("list")) {
        StoreCommand::setCommand(QStringLiteral("qxf list"));
        return runList(args.mid(1));
    }
    return fail(QxfCommand::tr("unknown subcommand '%1' (see kdr450p-tool qxf --help)").arg(sub),
                2);
}
