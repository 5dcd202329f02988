// kdr450p-tool library import-qxf: appends definitions made from QLC+ fixture files.
#include "commands.h"
#include "storesession.h"

#include "library/blflarchive.h"
#include "library/qblfixturedefinitionloader.h"
#include "library/qxfcatalogue.h"
#include "model/qblfixturedefinition.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include <memory>
#include <vector>

namespace
{

struct ImportQxfCommand {
    Q_DECLARE_TR_FUNCTIONS(ImportQxfCommand)
};

const char *const kHelp = QT_TRANSLATE_NOOP(
    "ImportQxfCommand",
    "Usage: kdr450p-tool library import-qxf LIBRARY DIR_OR_FILE... [--mode NAME]...\n"
    "                                       [--manufacturer TEXT] [--model TEXT]\n"
    "                                       [--max-channels N]\n\n"
    "Appends one definition per mode of the QLC+ fixture files (.qxf) in the given folders\n"
    "(searched recursively) and files to LIBRARY, creating it when it does not exist. LIBRARY\n"
    "is replaced only when it has been written completely. The fixture name is the model, plus\n"
    "the mode name when the file has several modes. Unreadable files, modes without channels\n"
    "and modes above the controller's 45 channels are reported on stderr.\n"
    "Exit status 0 when at least one file was read, 1 when none could be (LIBRARY is then left\n"
    "alone), 2 on a usage error.\n\n"
    "Options:\n"
    "  --mode NAME          only modes of this name (any case); may be repeated\n"
    "  --manufacturer TEXT  only fixtures whose manufacturer contains TEXT (any case)\n"
    "  --model TEXT         only fixtures whose model contains TEXT (any case)\n"
    "  --max-channels N     leave out modes of more than N channels\n");

int fail(const QString &line, int code = 1)
{
    QTextStream(stderr) << "kdr450p-tool library import-qxf: " << line << "\n";
    return code;
}

int usage(const QString &problem)
{
    return StoreCommand::usage(QStringLiteral("library import-qxf"), problem);
}

struct Options {
    QString library;
    QStringList inputs;
    QStringList modes;
    QString manufacturer;
    QString model;
    int maxChannels = -1;
};

// Returns 0 when the options were understood, else the exit code.
int parseOptions(const QStringList &args, Options &o)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        const bool takesValue =
            a == QLatin1String("--mode") || a == QLatin1String("--manufacturer") ||
            a == QLatin1String("--model") || a == QLatin1String("--max-channels");
        if (takesValue) {
            if (i + 1 >= args.size())
                return usage(ImportQxfCommand::tr("%1 needs a value").arg(a));
            const QString value = args.at(++i);
            if (a == QLatin1String("--mode")) {
                o.modes << Qxf::normalizedName(value);
            } else if (a == QLatin1String("--manufacturer")) {
                o.manufacturer = value;
            } else if (a == QLatin1String("--model")) {
                o.model = value;
            } else {
                bool ok = false;
                o.maxChannels = value.toInt(&ok);
                if (!ok || o.maxChannels < 1)
                    return usage(ImportQxfCommand::tr("--max-channels takes a number from 1"));
            }
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            return usage(ImportQxfCommand::tr("unknown option %1").arg(a));
        } else if (o.library.isEmpty()) {
            o.library = a;
        } else {
            o.inputs << a;
        }
    }
    if (o.library.isEmpty() || o.inputs.isEmpty())
        return usage(ImportQxfCommand::tr("expected LIBRARY and DIR_OR_FILE"));
    return 0;
}

bool wanted(const Options &o, const QxfFixture &f, const QxfMode &m)
{
    if (!o.manufacturer.isEmpty() && !f.manufacturer.contains(o.manufacturer, Qt::CaseInsensitive))
        return false;
    if (!o.model.isEmpty() && !f.model.contains(o.model, Qt::CaseInsensitive))
        return false;
    return o.modes.isEmpty() || o.modes.contains(m.name, Qt::CaseInsensitive);
}

} // namespace

int runLibraryImportQxf(const QStringList &args)
{
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        QTextStream(stdout) << ImportQxfCommand::tr(kHelp);
        return 0;
    }
    Options o;
    if (const int code = parseOptions(args, o))
        return code;

    // An existing library that does not load fully is never overwritten.
    std::unique_ptr<BLFLArchive> existing;
    QList<QBLFixtureDefinition *> definitions;
    if (QFileInfo::exists(o.library)) {
        existing = std::make_unique<BLFLArchive>(o.library);
        if (!existing->load())
            return fail(ImportQxfCommand::tr("cannot load %1: %2; it is left unchanged")
                            .arg(o.library, existing->errorString()));
        if (existing->hasUnsupportedFeatures())
            return fail(ImportQxfCommand::tr("%1 holds content this version does not support; "
                                             "saving it would lose that content")
                            .arg(o.library));
        for (QBLFixtureDefinitionLoader *loader : existing->loaders()) {
            loader->parse();
            definitions += *loader->definitions();
        }
    }

    const QxfScanResult scan = QxfCatalogue::scan(o.inputs);
    QTextStream err(stderr);
    for (const QxfNote &s : scan.skipped)
        err << ImportQxfCommand::tr("skipped %1: %2\n").arg(s.file, s.text);
    if (scan.fixtures.isEmpty()) {
        err.flush();
        return fail(ImportQxfCommand::tr("no fixture file could be read; %1 is left unchanged")
                        .arg(o.library));
    }

    std::vector<std::unique_ptr<QBLFixtureDefinition>> imported;
    int emptyModes = 0;
    int overMax = 0;
    int overController = 0;
    for (const QxfFixture &f : scan.fixtures) {
        for (const QxfMode &m : f.modes) {
            if (!wanted(o, f, m))
                continue;
            if (m.channels.isEmpty()) {
                ++emptyModes;
                err << ImportQxfCommand::tr("skipped %1: mode \"%2\" has no channels\n")
                           .arg(f.file, m.name);
                continue;
            }
            if (o.maxChannels > 0 && m.channels.size() > o.maxChannels) {
                ++overMax;
                continue;
            }
            if (m.channels.size() > Qxf::ControllerChannelLimit) {
                ++overController;
                err << ImportQxfCommand::tr("warning: %1: mode \"%2\" has %3 channels; the "
                                            "controller takes at most %4\n")
                           .arg(f.file, m.name, QString::number(m.channels.size()),
                                QString::number(Qxf::ControllerChannelLimit));
            }
            imported.push_back(Qxf::toDefinition(f, m));
            definitions.append(imported.back().get());
        }
    }
    err.flush();

    BLFLArchive archive(o.library);
    archive.setDefinitions(&definitions);
    if (!archive.save())
        return fail(
            ImportQxfCommand::tr("cannot save %1: %2").arg(o.library, archive.errorString()));

    // One counted phrase each, so every count takes its own plural form.
    const QString added =
        ImportQxfCommand::tr("added %n definition(s) to %1", "", int(imported.size()))
            .arg(o.library);
    const QString skipped =
        ImportQxfCommand::tr("skipped %1, %2, %3")
            .arg(ImportQxfCommand::tr("%n file(s)", "", int(scan.skipped.size())),
                 ImportQxfCommand::tr("%n empty mode(s)", "", emptyModes),
                 ImportQxfCommand::tr("%n mode(s) over --max-channels", "", overMax));
    const QString exceeding =
        ImportQxfCommand::tr("%n added mode(s) exceed the controller's %1 channels", "",
                             overController)
            .arg(Qxf::ControllerChannelLimit);
    QTextStream(stdout) << added << "; " << skipped << "; " << exceeding << "\n";
    return 0;
}
