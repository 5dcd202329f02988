#include "commands.h"
#include "storesession.h"
#include "toolfiles.h"

#include "library/blflarchive.h"
#include "library/fixturetypes.h"
#include "library/libraryjson.h"
#include "library/qblfixturedefinitionloader.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"
#include "transfer/devicerecord.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTextStream>

#include <cstdio>

namespace
{

constexpr int Unsupported = 3;
constexpr int UsageError = Usage;

struct LibraryCommand {
    Q_DECLARE_TR_FUNCTIONS(LibraryCommand)
};

const char *const kGroupHelp = QT_TRANSLATE_NOOP(
    "LibraryCommand",
    "Usage: kdr450p-tool library <subcommand> [options]\n\n"
    "Read, check, re-save and create library files (.blfl).\n\n"
    "Subcommands:\n"
    "  list FILE [--json] [--channels]   print every definition in archive order\n"
    "  check FILE [--for-device]         check that a library loads (and would upload)\n"
    "  resave IN OUT [--force]           load IN and save it as OUT\n"
    "  create OUT --from-json FILE [--force]  build a library from the JSON form of 'list'\n"
    "  import-qxf LIBRARY DIR_OR_FILE... append definitions made from QLC+ fixture files\n\n"
    "Fixture types: 0 Moving Head, 1 Scanner, 2 LED Fixture, 3 Color Changer, 4 Dimmer,\n"
    "5 Laser, 6 Strobe, 7 Hazer, 8 Smoke, 9 Effect, 10 Other (null in JSON: none).\n\n"
    "Run 'kdr450p-tool library <subcommand> --help' for details.\n");

const char *const kListHelp = QT_TRANSLATE_NOOP(
    "LibraryCommand",
    "Usage: kdr450p-tool library list FILE [--json] [--channels]\n\n"
    "Prints every fixture definition of FILE in archive order: fixture name, short name,\n"
    "manufacturer, manufacturer short name, type and channel count. Short names are shown\n"
    "as stored (empty while the automatic short name is used).\n\n"
    "Options:\n"
    "  --channels   also print each channel's number, name and short name\n"
    "  --json       print one JSON document (UTF-8), the form that 'library create' reads\n");

const char *const kCheckHelp = QT_TRANSLATE_NOOP(
    "LibraryCommand",
    "Usage: kdr450p-tool library check FILE [--for-device]\n\n"
    "Loads FILE. Exit status 0 when it loads, 1 with the reason when it does not, 3 when it\n"
    "loads but holds content this version does not support (saving it would lose that):\n"
    "an unknown element, a further personality, or an entry that does not read whole (not\n"
    "well-formed XML, another root element, no definition). Each such construct is printed\n"
    "as one line naming the entry (counted from 1), its path and the definition.\n\n"
    "Options:\n"
    "  --for-device   also list, one line per definition (counted from 1), what would not\n"
    "                 upload as it is: channel counts outside 1 to 45, and names the\n"
    "                 controller stores differently (characters outside Latin-1 become \"?\";\n"
    "                 names over 100, short names over 20, channel short names over 12\n"
    "                 characters are cut); exit status 3 when there is any\n");

const char *const kResaveHelp = QT_TRANSLATE_NOOP(
    "LibraryCommand",
    "Usage: kdr450p-tool library resave IN OUT [--force]\n\n"
    "Loads IN and saves it as OUT, the round trip that the editor does. OUT is replaced only\n"
    "when it has been written completely; OUT may be IN.\n\n"
    "Options:\n"
    "  --force   re-save even when IN holds content this version does not support, which\n"
    "            is then lost\n");

const char *const kCreateHelp = QT_TRANSLATE_NOOP(
    "LibraryCommand",
    "Usage: kdr450p-tool library create OUT --from-json FILE [--force]\n\n"
    "Builds the library OUT from FILE, a JSON document in the form that\n"
    "'kdr450p-tool library list --json --channels' prints:\n"
    "  {\"definitions\": [{\"fixtureName\", \"fixtureNameShort\", \"autoFixtureNameShort\",\n"
    "    \"manufacturerName\", \"manufacturerNameShort\", \"autoManufacturerNameShort\",\n"
    "    \"fixtureType\" (0-255 or null), \"channelCount\",\n"
    "    \"channels\": [{\"number\", \"name\", \"nameShort\", \"autoNameShort\"}]}]}\n"
    "Missing fields take their defaults (empty texts, automatic short names, no type).\n"
    "Channels are numbered 1, 2, 3 ... in the order given. OUT is never FILE, and an\n"
    "existing OUT is replaced only with --force.\n");

void out(const QString &text)
{
    QTextStream(stdout) << text;
}

// The subcommand the lines name, "library check": one prefix for every command.
QString g_command = QStringLiteral("library");

int failure(const QString &line, int code = Failure)
{
    QTextStream(stderr) << "kdr450p-tool " << g_command << ": " << line << "\n";
    return code;
}

int usage(const QString &subcommand, const QString &problem)
{
    return StoreCommand::usage(QStringLiteral("library ") + subcommand, problem);
}

bool wantsHelp(const QStringList &args)
{
    return args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"));
}

// Splits arguments into positional ones and the allowed flags; false on an unknown option.
bool splitArguments(const QStringList &args, const QStringList &allowedFlags,
                    QStringList &positional, QStringList &flags, QString &unknown)
{
    bool onlyPositional = false;
    for (const QString &a : args) {
        if (!onlyPositional && a == QLatin1String("--")) {
            onlyPositional = true;
        } else if (!onlyPositional && a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            if (!allowedFlags.contains(a)) {
                unknown = a;
                return false;
            }
            flags << a;
        } else {
            positional << a;
        }
    }
    return true;
}

struct LoadedLibrary {
    InputFile input; // "-": standard input, through a temporary file
    std::unique_ptr<BLFLArchive> archive;
    QList<QBLFixtureDefinition *> definitions; // owned by the archive's loaders
};

bool loadLibrary(const QString &path, LoadedLibrary &library, QString &error)
{
    if (!library.input.open(path, &error))
        return false;
    library.archive = std::make_unique<BLFLArchive>(library.input.path());
    if (!library.archive->load()) {
        error = LibraryCommand::tr("cannot load %1: %2")
                    .arg(library.input.name(), library.archive->errorString());
        return false;
    }
    for (QBLFixtureDefinitionLoader *loader : library.archive->loaders()) {
        loader->parse();
        library.definitions += *loader->definitions();
    }
    return true;
}

struct LibraryArguments {
    QStringList positional;
    QStringList flags;
    LoadedLibrary library;
};

// The outline of list, check and resave: the help, the flags each knows, the number of file
// arguments, the first file loaded, and then the work on it, which returns the exit code.
int runOnLibrary(const QStringList &args, const char *help, const QString &subcommand,
                 const QStringList &allowedFlags, qsizetype files, const QString &filesProblem,
                 int (*work)(const LibraryArguments &taken))
{
    LibraryArguments taken;
    if (wantsHelp(args)) {
        out(LibraryCommand::tr(help));
        return Success;
    }
    QString unknown;
    if (!splitArguments(args, allowedFlags, taken.positional, taken.flags, unknown))
        return usage(subcommand, LibraryCommand::tr("unknown option %1").arg(unknown));
    if (taken.positional.size() != files)
        return usage(subcommand, filesProblem);
    QString error;
    if (!loadLibrary(taken.positional.first(), taken.library, error))
        return failure(error);
    return work(taken);
}

QString unsupportedText(const QString &path)
{
    return LibraryCommand::tr("%1 holds content this version does not support; saving it "
                              "would lose that content")
        .arg(path);
}

// "-" writes the library to standard output.
bool saveLibrary(const QString &path, QList<QBLFixtureDefinition *> definitions, QString &error)
{
    OutputFile output;
    if (path == QLatin1String("-") && !output.prepare(path, &error))
        return false;
    BLFLArchive archive(output.isStdout() ? output.path() : path);
    archive.setDefinitions(&definitions);
    if (!archive.save()) {
        error = LibraryCommand::tr("cannot save %1: %2")
                    .arg(output.isStdout() ? output.name() : path, archive.errorString());
        return false;
    }
    return output.deliver(&error);
}

QString typeText(quint32 type)
{
    return type == QBLFixtureDefinition::NoFixtureType ? LibraryCommand::tr("(no type)")
                                                       : FixtureTypes::canonicalText(type);
}

int listLibrary(const LibraryArguments &taken)
{
    const bool json = taken.flags.contains(QLatin1String("--json"));
    const bool channels = taken.flags.contains(QLatin1String("--channels"));
    const LoadedLibrary &library = taken.library;
    if (library.archive->hasUnsupportedFeatures())
        QTextStream(stderr)
            << "kdr450p-tool " << g_command << ": "
            << LibraryCommand::tr("warning: %1").arg(unsupportedText(library.input.name())) << "\n";

    if (json) {
        QList<const QBLFixtureDefinition *> list(library.definitions.cbegin(),
                                                 library.definitions.cend());
        const QByteArray text = LibraryJson::write(list, channels);
        if (fwrite(text.constData(), 1, size_t(text.size()), stdout) != size_t(text.size()))
            return failure(LibraryCommand::tr("cannot write the output"));
        return Success;
    }

    QTextStream s(stdout);
    int index = 0;
    for (const QBLFixtureDefinition *d : std::as_const(library.definitions)) {
        s << ++index << ". " << d->fixtureName() << " [" << d->fixtureNameShort() << "]  "
          << d->manufacturerName() << " [" << d->manufacturerNameShort() << "]  "
          << typeText(d->fixtureType()) << "  "
          << LibraryCommand::tr("%n channel(s)", "", d->nbrOfChannels()) << "\n";
        if (!channels)
            continue;
        for (const QBLFixtureChannel *c : d->channels())
            s << "    " << QString::number(c->number()).rightJustified(3) << "  " << c->name()
              << " [" << c->nameShort() << "]\n";
    }
    return Success;
}

// One line per definition that an upload would refuse or change; true when there is none.
bool checkForDevice(const QList<QBLFixtureDefinition *> &definitions)
{
    bool allFit = true;
    for (qsizetype i = 0; i < definitions.size(); ++i) {
        const DeviceRecordPreview preview = previewDeviceRecord(*definitions.at(i));
        if (preview.storesAsGiven())
            continue;
        allFit = false;
        QStringList problems;
        if (!preview.channelCountFits)
            problems << LibraryCommand::tr("%n channel(s), the controller takes 1 to 45", "",
                                           preview.channelCount);
        for (const DeviceNameChange &c : preview.nameChanges)
            problems << LibraryCommand::tr("%1 \"%2\" is stored as \"%3\"")
                            .arg(c.field, c.given, c.stored);
        out(QStringLiteral("%1. \"%2\": %3\n")
                .arg(i + 1)
                .arg(definitions.at(i)->fixtureName(), problems.join(QStringLiteral("; "))));
    }
    return allFit;
}

int checkLibrary(const LibraryArguments &taken)
{
    const LoadedLibrary &library = taken.library;
    const QString name = library.input.name();
    if (library.archive->hasUnsupportedFeatures()) {
        // What would be lost, one line each on stdout; the verdict stays one line on stderr.
        for (const QString &line : library.archive->unsupportedContentReport())
            out(QStringLiteral("%1: %2\n").arg(name, line));
        return failure(unsupportedText(name), Unsupported);
    }
    if (taken.flags.contains(QLatin1String("--for-device")) &&
        !checkForDevice(library.definitions))
        return failure(
            LibraryCommand::tr("%1: definitions above would not upload as they are").arg(name),
            Unsupported);
    out(LibraryCommand::tr("%1: loads, %n definition(s)\n", "", int(library.definitions.size()))
            .arg(name));
    return Success;
}

int resaveLibrary(const LibraryArguments &taken)
{
    const LoadedLibrary &library = taken.library;
    if (library.archive->hasUnsupportedFeatures() &&
        !taken.flags.contains(QLatin1String("--force")))
        return failure(unsupportedText(library.input.name()) +
                       LibraryCommand::tr(" (add --force to re-save anyway)"));
    QString error;
    if (!saveLibrary(taken.positional.at(1), library.definitions, error))
        return failure(error);
    return Success;
}

int runList(const QStringList &args)
{
    return runOnLibrary(args, kListHelp, QStringLiteral("list"),
                        {QStringLiteral("--json"), QStringLiteral("--channels")}, 1,
                        LibraryCommand::tr("expected one FILE"), listLibrary);
}

int runCheck(const QStringList &args)
{
    return runOnLibrary(args, kCheckHelp, QStringLiteral("check"), {QStringLiteral("--for-device")},
                        1, LibraryCommand::tr("expected one FILE"), checkLibrary);
}

int runResave(const QStringList &args)
{
    return runOnLibrary(args, kResaveHelp, QStringLiteral("resave"), {QStringLiteral("--force")}, 2,
                        LibraryCommand::tr("expected IN and OUT"), resaveLibrary);
}

int runCreate(const QStringList &args)
{
    if (wantsHelp(args)) {
        out(LibraryCommand::tr(kCreateHelp));
        return Success;
    }
    QStringList positional;
    QString jsonPath;
    bool force = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--force")) {
            force = true;
        } else if (a == QLatin1String("--from-json")) {
            if (i + 1 >= args.size())
                return usage(QStringLiteral("create"),
                             LibraryCommand::tr("--from-json needs a FILE"));
            jsonPath = args.at(++i);
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            return usage(QStringLiteral("create"), LibraryCommand::tr("unknown option %1").arg(a));
        } else {
            positional << a;
        }
    }
    if (positional.size() != 1 || jsonPath.isEmpty())
        return usage(QStringLiteral("create"), LibraryCommand::tr("expected OUT --from-json FILE"));
    // Never replace the user's JSON, or a library, without being asked.
    const QFileInfo target(positional.first());
    if (target.exists()) {
        if (target.canonicalFilePath() == QFileInfo(jsonPath).canonicalFilePath())
            return failure(LibraryCommand::tr("%1 is the JSON file to read; give another OUT")
                               .arg(positional.first()));
        if (!force)
            return failure(LibraryCommand::tr("%1 exists (add --force to replace it)")
                               .arg(positional.first()));
    }

    InputFile input;
    QString error;
    if (!input.open(jsonPath, &error))
        return failure(error);
    QFile file(input.path());
    if (!file.open(QIODevice::ReadOnly))
        return failure(
            LibraryCommand::tr("cannot read %1: %2").arg(input.name(), file.errorString()));
    const QByteArray json = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(
            LibraryCommand::tr("cannot read %1: %2").arg(input.name(), file.errorString()));

    std::vector<std::unique_ptr<QBLFixtureDefinition>> definitions;
    if (!LibraryJson::read(json, definitions, error))
        return failure(QStringLiteral("%1: %2").arg(input.name(), error));
    QList<QBLFixtureDefinition *> list;
    for (const auto &d : definitions)
        list.append(d.get());
    if (!saveLibrary(positional.first(), list, error))
        return failure(error);
    return Success;
}

struct Subcommand {
    const char *name;
    int (*run)(const QStringList &args);
};

const Subcommand kSubcommands[] = {{"list", runList},
                                   {"check", runCheck},
                                   {"resave", runResave},
                                   {"create", runCreate},
                                   {"import-qxf", runLibraryImportQxf}};

} // namespace

int runLibraryCommand(const QStringList &args)
{
    // The archive's diagnostics are for debugging (QT_LOGGING_RULES turns them back on).
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));

    if (args.isEmpty()) {
        QTextStream(stderr) << LibraryCommand::tr(kGroupHelp);
        return UsageError;
    }
    const QString subcommand = args.first();
    if (subcommand == QLatin1String("--help") || subcommand == QLatin1String("-h") ||
        subcommand == QLatin1String("help")) {
        out(LibraryCommand::tr(kGroupHelp));
        return Success;
    }
    for (const Subcommand &s : kSubcommands) {
        if (subcommand == QLatin1String(s.name)) {
            g_command = QStringLiteral("library ") + subcommand;
            return s.run(args.mid(1));
        }
    }
    if (StoreCommand::isOption(subcommand))
        return StoreCommand::usage(QStringLiteral("library"),
                                   StoreCommand::tr("unknown option %1").arg(subcommand));
    return failure(LibraryCommand::tr("unknown subcommand '%1' (see kdr450p-tool library --help)")
                       .arg(subcommand),
                   UsageError);
}
