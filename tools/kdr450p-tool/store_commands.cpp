#include "commands.h"
#include "deviceoptions.h"
#include "storesession.h"

#include "devicerecord.h"
#include "firmware/firmwarefile.h"
#include "firmware/fwupdater.h"
#include "fixturedefinitionsdownloader.h"
#include "fixturedefinitionsuploader.h"
#include "fixturelistdownloader.h"
#include "fixturesdeleter.h"
#include "library/blflarchive.h"
#include "library/qblfixturedefinitionloader.h"
#include "model/qblfixturedefinition.h"
#include "patchlistclearer.h"
#include "qblremotefixturedefinition.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>
#include <memory>
#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define STDIN_FILENO 0
#define STDOUT_FILENO 1
#else
#include <unistd.h>
#endif
#include <vector>

namespace
{

enum ExitCode { Success = 0, Failure = 1, Usage = 2 };

QString tr(const char *text)
{
    return QCoreApplication::translate("StoreCommands", text);
}

void out(const QString &text)
{
    QTextStream s(stdout);
    s << text;
}

int fail(const QString &reason)
{
    QTextStream(stderr) << "kdr450p-tool: " << reason << "\n";
    return Failure;
}

int usage(const QString &command, const QString &reason)
{
    QTextStream(stderr) << "kdr450p-tool " << command << ": " << reason << " (see kdr450p-tool "
                        << command << " --help)\n";
    return Usage;
}

bool wantsHelp(const QStringList &args)
{
    return args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"));
}

// Takes every "--name VALUE" (or --name=VALUE) out of args.
bool takeRepeated(QStringList *args, const QString &name, QStringList *values, QString *error)
{
    QStringList rest;
    const QString withEquals = name + QLatin1Char('=');
    for (int i = 0; i < args->size(); ++i) {
        const QString &a = args->at(i);
        if (a == name) {
            if (i + 1 >= args->size()) {
                *error = tr("%1 needs a value").arg(name);
                return false;
            }
            values->append(args->at(++i));
        } else if (a.startsWith(withEquals)) {
            values->append(a.mid(withEquals.size()));
        } else {
            rest.append(a);
        }
    }
    *args = rest;
    return true;
}

bool takeFlag(QStringList *args, const QString &name)
{
    return args->removeAll(name) > 0;
}

bool takeSlots(QStringList *args, QList<int> *slotNumbers, QString *error)
{
    QStringList values;
    if (!takeRepeated(args, QStringLiteral("--slot"), &values, error))
        return false;
    for (const QString &v : values) {
        bool ok = false;
        const int n = v.toInt(&ok);
        if (!ok || n < 0 || n > 255) {
            *error = tr("--slot needs a slot number from 0 to 255, not '%1'").arg(v);
            return false;
        }
        if (!slotNumbers->contains(n))
            slotNumbers->append(n);
    }
    return true;
}

// Ends a session that did device work: saves the simulator state, keeps the exit code.
int finish(StoreSession &session, int code)
{
    QString error;
    if (!session.close(&error))
        return fail(error);
    return code;
}

// The controller's fixture list, read as the window reads it.
struct StoredList {
    bool ok = false;
    std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> entries;
    QString error;
};

StoredList readStoredList(StoreSession &session)
{
    StoredList list;
    if (const QString refusal = session.deviceRefusal(); !refusal.isEmpty()) {
        list.error = tr("fixture list %1").arg(refusal);
        return list;
    }
    FixtureListDownloader lister;
    lister.setMaster(session.link().master());
    QByteArray answer;
    bool received = false;
    QObject::connect(
        &lister, &FixtureListDownloader::receivedData, &lister,
        [&](void *data, int length) {
            answer = QByteArray(static_cast<const char *>(data), length);
            received = true;
        },
        Qt::DirectConnection);
    runWorker(&lister);
    if (!received) {
        list.error = tr("reading the fixture list of %1 failed").arg(session.deviceText());
        return list;
    }
    list.ok = true;
    // A count of 0 alone is a store without definitions.
    if (DeviceRecord::isEmptyFixtureList(answer))
        return list;
    QList<QByteArrayView> headers;
    if (!DeviceRecord::splitFixtureList(answer, &headers)) {
        list.ok = false;
        list.error = tr("the fixture list of %1 is malformed (%2 bytes)")
                         .arg(session.deviceText())
                         .arg(answer.size());
        return list;
    }
    for (const QByteArrayView &h : headers) {
        auto entry = std::make_unique<QBLRemoteFixtureDefinition>();
        entry->decodeListHeader(h.data());
        list.entries.push_back(std::move(entry));
    }
    return list;
}

// "1 fixture definition", "3 fixture definitions"
QString definitionsText(qsizetype n)
{
    return n == 1 ? tr("1 fixture definition") : tr("%1 fixture definitions").arg(n);
}

QString noDefinitionsText(const StoreSession &session)
{
    return tr("No fixture definitions are stored on %1.\n").arg(session.deviceText());
}

bool confirmed(const QString &question)
{
    if (!isatty(STDIN_FILENO))
        return false;
    QTextStream(stdout) << question << " [y/N] " << Qt::flush;
    QTextStream in(stdin);
    const QString answer = in.readLine().trimmed().toLower();
    return answer == QLatin1String("y") || answer == QLatin1String("yes");
}

QString patchListQuestion()
{
    return tr("The current patch list will be erased.\nDo you want to continue?");
}

// True when the clearer succeeded; otherwise the reason in error.
bool clearPatchList(StoreSession &session, QString *error)
{
    PatchListClearer clearer;
    clearer.setMaster(session.link().master());
    bool ok = false;
    QObject::connect(
        &clearer, &PatchListClearer::success, &clearer, [&] { ok = true; }, Qt::DirectConnection);
    runWorker(&clearer);
    if (!ok)
        *error = tr("clearing the patch list of %1 failed").arg(session.deviceText());
    return ok;
}

QString patchListRefusal(const QString &what, const StoreSession &session)
{
    return tr("%1 refused (patch list): the patch list of %2 is not empty; clear it with "
              "'kdr450p-tool device clear-patch-list' or add --clear-patch-list")
        .arg(what, session.deviceText());
}

// ---- device fixtures

const char kFixturesHelp[] =
    "Usage: kdr450p-tool device fixtures [--json] [options]\n\n"
    "Lists the fixture definitions stored on a controller: slot, name, manufacturer, channels.\n"
    "  --json          print {\"fixtures\": [{\"slot\", \"fixtureName\", \"fixtureNameShort\",\n"
    "                  \"manufacturerName\", \"manufacturerNameShort\", \"fixtureType\",\n"
    "                  \"channelCount\"}]}\n";

int runFixtures(QStringList args)
{
    if (wantsHelp(args)) {
        out(QString::fromLatin1(kFixturesHelp) + StoreSession::optionsHelp());
        return Success;
    }
    StoreSession session;
    QString error;
    if (!session.takeOptions(&args, &error))
        return usage(QStringLiteral("device fixtures"), error);
    const bool json = takeFlag(&args, QStringLiteral("--json"));
    if (!args.isEmpty())
        return usage(QStringLiteral("device fixtures"),
                     tr("unexpected argument '%1'").arg(args.first()));
    if (!session.open(&error))
        return fail(error);
    const StoredList list = readStoredList(session);
    if (!list.ok)
        return finish(session, fail(list.error));

    if (json) {
        QJsonArray fixtures;
        for (const auto &e : list.entries)
            fixtures.append(
                QJsonObject{{QStringLiteral("slot"), int(e->slotNumber())},
                            {QStringLiteral("fixtureName"), e->fixtureName()},
                            {QStringLiteral("fixtureNameShort"), e->fixtureNameShort()},
                            {QStringLiteral("manufacturerName"), e->manufacturerName()},
                            {QStringLiteral("manufacturerNameShort"), e->manufacturerNameShort()},
                            {QStringLiteral("fixtureType"), e->fixtureType()},
                            {QStringLiteral("channelCount"), e->nbrOfChannels()}});
        out(QString::fromUtf8(
            QJsonDocument(QJsonObject{{QStringLiteral("fixtures"), fixtures}}).toJson()));
        return finish(session, Success);
    }
    if (list.entries.empty()) {
        out(noDefinitionsText(session));
        return finish(session, Success);
    }
    out(tr("%1 on %2:\n")
            .arg(definitionsText(qsizetype(list.entries.size())), session.deviceText()));
    out(QStringLiteral("%1  %2  %3  %4\n")
            .arg(tr("Slot"), 4)
            .arg(tr("Name"), -32)
            .arg(tr("Manufacturer"), -24)
            .arg(tr("Channels")));
    for (const auto &e : list.entries)
        out(QStringLiteral("%1  %2  %3  %4\n")
                .arg(int(e->slotNumber()), 4)
                .arg(e->displayName(), -32)
                .arg(e->manufacturerDisplayName(), -24)
                .arg(e->nbrOfChannels(), 8));
    return finish(session, Success);
}

// ---- device upload

const char kUploadHelp[] =
    "Usage: kdr450p-tool device upload LIBRARY [--only NAME]... [--clear-patch-list] [options]\n\n"
    "Uploads the definitions of a library file (all, or those whose fixture name is NAME).\n"
    "  --only NAME         upload only definitions with this fixture name (repeatable)\n"
    "  --clear-patch-list  erase a non-empty patch list instead of refusing\n";

int runUpload(QStringList args)
{
    if (wantsHelp(args)) {
        out(QString::fromLatin1(kUploadHelp) + StoreSession::optionsHelp());
        return Success;
    }
    const QString command = QStringLiteral("device upload");
    StoreSession session;
    QString error;
    QStringList only;
    if (!session.takeOptions(&args, &error) ||
        !takeRepeated(&args, QStringLiteral("--only"), &only, &error))
        return usage(command, error);
    const bool clearPatch = takeFlag(&args, QStringLiteral("--clear-patch-list"));
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return usage(command, tr("expects one LIBRARY file"));

    BLFLArchive archive(args.first());
    if (!archive.load())
        return fail(tr("cannot load %1: %2").arg(args.first(), archive.errorString()));
    QList<QBLFixtureDefinition *> chosen;
    QStringList unmatched = only;
    for (QBLFixtureDefinitionLoader *loader : archive.loaders()) {
        loader->parse();
        for (QBLFixtureDefinition *d : *loader->definitions()) {
            if (only.isEmpty() || only.contains(d->fixtureName())) {
                chosen.append(d);
                unmatched.removeAll(d->fixtureName());
            }
        }
    }
    if (!unmatched.isEmpty())
        return fail(tr("%1 holds no definition named '%2'").arg(args.first(), unmatched.first()));
    if (chosen.isEmpty()) {
        out(tr("%1 holds no definitions; nothing to upload.\n").arg(args.first()));
        return Success;
    }
    for (const QBLFixtureDefinition *d : std::as_const(chosen)) {
        if (d->nbrOfChannels() < FixtureDefinitionsUploader::MinChannels ||
            d->nbrOfChannels() > FixtureDefinitionsUploader::MaxChannels)
            return fail(tr("upload refused (channel counts): '%1' has %2 channels; every "
                           "definition needs 1 to %3")
                            .arg(d->displayName())
                            .arg(d->nbrOfChannels())
                            .arg(FixtureDefinitionsUploader::MaxChannels));
    }

    if (!session.open(&error))
        return fail(error);
    if (const QString refusal = session.deviceRefusal(); !refusal.isEmpty())
        return finish(session, fail(tr("upload %1").arg(refusal)));

    FixtureDefinitionsUploader uploader;
    uploader.setMaster(session.link().master());
    for (const QBLFixtureDefinition *d : std::as_const(chosen))
        uploader.addDefinition(*d);

    for (bool clearedOnce = false;;) {
        QByteArray outcome;
        auto record = [&](const char *name) { return [&outcome, name] { outcome = name; }; };
        QObject::connect(&uploader, &FixtureDefinitionsUploader::dataSent, &uploader,
                         record("sent"), Qt::DirectConnection);
        QObject::connect(&uploader, &FixtureDefinitionsUploader::failed, &uploader,
                         record("failed"), Qt::DirectConnection);
        QObject::connect(&uploader, &FixtureDefinitionsUploader::failedNotEnoughFreeSpace,
                         &uploader, record("space"), Qt::DirectConnection);
        QObject::connect(&uploader, &FixtureDefinitionsUploader::failedTooManyOrNotEnoughChannels,
                         &uploader, record("channels"), Qt::DirectConnection);
        QObject::connect(&uploader, &FixtureDefinitionsUploader::failedPatchingNeedsToBeCleared,
                         &uploader, record("patch"), Qt::DirectConnection);
        {
            TerminalProgress bar(tr("Uploading"));
            QObject::connect(
                &uploader, &FixtureDefinitionsUploader::progressTotal, &uploader,
                [&bar](uint p) { bar.setPercent(int(p)); }, Qt::DirectConnection);
            runWorker(&uploader);
        }
        QObject::disconnect(&uploader, nullptr, &uploader, nullptr);

        if (outcome == "sent") {
            out(tr("Uploaded %1 to %2.\n")
                    .arg(definitionsText(chosen.size()), session.deviceText()));
            return finish(session, Success);
        }
        if (outcome == "patch" && clearPatch && !clearedOnce) {
            if (!clearPatchList(session, &error))
                return finish(session, fail(error));
            out(tr("Cleared the patch list of %1.\n").arg(session.deviceText()));
            clearedOnce = true;
            continue;
        }
        if (outcome == "patch")
            return finish(session, fail(patchListRefusal(tr("upload"), session)));
        if (outcome == "space")
            return finish(session,
                          fail(tr("upload refused (free slots): %1 has fewer free slots than the "
                                  "%2 definitions to upload")
                                   .arg(session.deviceText())
                                   .arg(chosen.size())));
        if (outcome == "channels")
            return finish(session, fail(tr("upload refused (channel counts): every definition "
                                           "needs 1 to 45 channels")));
        return finish(session, fail(tr("upload to %1 failed: the controller stopped answering or "
                                       "refused a record; definitions written before stay")
                                        .arg(session.deviceText())));
    }
}

// ---- device download

const char kDownloadHelp[] =
    "Usage: kdr450p-tool device download OUT.blfl [--slot N]... [options]\n\n"
    "Reads stored definitions (all, or those of the given slots) into a library file; an\n"
    "existing library gets them appended (the file is replaced only once fully written).\n"
    "  --slot N        read the definition in slot N (repeatable; see 'device fixtures')\n";

int runDownload(QStringList args)
{
    if (wantsHelp(args)) {
        out(QString::fromLatin1(kDownloadHelp) + StoreSession::optionsHelp());
        return Success;
    }
    const QString command = QStringLiteral("device download");
    StoreSession session;
    QString error;
    QList<int> slotNumbers;
    if (!session.takeOptions(&args, &error) || !takeSlots(&args, &slotNumbers, &error))
        return usage(command, error);
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return usage(command, tr("expects one OUT.blfl file"));
    const QString path = args.first();

    // Load an existing library first: a file that is not one is never overwritten.
    std::unique_ptr<BLFLArchive> existing;
    QList<QBLFixtureDefinition *> definitions;
    if (QFileInfo::exists(path)) {
        existing = std::make_unique<BLFLArchive>(path);
        if (!existing->load())
            return fail(tr("cannot append to %1: %2").arg(path, existing->errorString()));
        for (QBLFixtureDefinitionLoader *loader : existing->loaders()) {
            loader->parse();
            definitions += *loader->definitions();
        }
        if (existing->hasUnsupportedFeatures())
            return fail(tr("cannot append to %1: it holds content this version does not "
                           "support, which saving would lose")
                            .arg(path));
    }

    if (!session.open(&error))
        return fail(error);
    const StoredList list = readStoredList(session);
    if (!list.ok)
        return finish(session, fail(list.error));
    if (list.entries.empty()) {
        out(noDefinitionsText(session));
        return finish(session, slotNumbers.isEmpty()
                                   ? Success
                                   : fail(tr("slot %1 holds no definition").arg(slotNumbers[0])));
    }

    FixtureDefinitionsDownloader downloader;
    downloader.setMaster(session.link().master());
    for (const auto &e : list.entries)
        if (slotNumbers.isEmpty() || slotNumbers.contains(e->slotNumber()))
            downloader.addDefinition(*e);
    for (int s : std::as_const(slotNumbers)) {
        const bool stored = std::any_of(list.entries.begin(), list.entries.end(),
                                        [s](const auto &e) { return e->slotNumber() == s; });
        if (!stored)
            return finish(session, fail(tr("slot %1 of %2 holds no definition (see 'kdr450p-tool "
                                           "device fixtures')")
                                            .arg(s)
                                            .arg(session.deviceText())));
    }

    bool ok = false;
    QObject::connect(
        &downloader, &FixtureDefinitionsDownloader::fixturesDownloaded, &downloader,
        [&] { ok = true; }, Qt::DirectConnection);
    {
        TerminalProgress bar(tr("Downloading"));
        QObject::connect(
            &downloader, &FixtureDefinitionsDownloader::progressTotal, &downloader,
            [&bar](uint p) { bar.setPercent(int(p)); }, Qt::DirectConnection);
        runWorker(&downloader);
    }
    if (!ok)
        return finish(session, fail(tr("downloading from %1 failed; %2 was not changed")
                                        .arg(session.deviceText(), path)));

    const QList<QBLFixtureDefinition *> &got = downloader.downloadedDefinitions();
    definitions += got;
    BLFLArchive target(path);
    target.setDefinitions(&definitions);
    if (!target.save())
        return finish(session, fail(tr("cannot save %1: %2").arg(path, target.errorString())));
    out(tr("%1 %2 from %3 to %4.\n")
            .arg(existing ? tr("Appended") : tr("Downloaded"), definitionsText(got.size()),
                 session.deviceText(), path));
    return finish(session, Success);
}

// ---- device delete

const char kDeleteHelp[] =
    "Usage: kdr450p-tool device delete --slot N... [--clear-patch-list] [options]\n\n"
    "Deletes the definitions stored in the given slots.\n"
    "  --slot N            delete the definition in slot N (repeatable; see 'device fixtures')\n"
    "  --clear-patch-list  erase a non-empty patch list instead of refusing\n";

int runDelete(QStringList args)
{
    if (wantsHelp(args)) {
        out(QString::fromLatin1(kDeleteHelp) + StoreSession::optionsHelp());
        return Success;
    }
    const QString command = QStringLiteral("device delete");
    StoreSession session;
    QString error;
    QList<int> slotNumbers;
    if (!session.takeOptions(&args, &error) || !takeSlots(&args, &slotNumbers, &error))
        return usage(command, error);
    const bool clearPatch = takeFlag(&args, QStringLiteral("--clear-patch-list"));
    if (!args.isEmpty())
        return usage(command, tr("unexpected argument '%1'").arg(args.first()));
    if (slotNumbers.isEmpty())
        return usage(command, tr("name at least one --slot N"));

    if (!session.open(&error))
        return fail(error);
    const StoredList list = readStoredList(session);
    if (!list.ok)
        return finish(session, fail(list.error));
    FixturesDeleter deleter;
    deleter.setMaster(session.link().master());
    QStringList names;
    for (int s : std::as_const(slotNumbers)) {
        auto it = std::find_if(list.entries.begin(), list.entries.end(),
                               [s](const auto &e) { return e->slotNumber() == s; });
        if (it == list.entries.end())
            return finish(session, fail(tr("slot %1 of %2 holds no definition (see 'kdr450p-tool "
                                           "device fixtures')")
                                            .arg(s)
                                            .arg(session.deviceText())));
        deleter.addTarget(it->get());
        names << QStringLiteral("%1 '%2'").arg(s).arg((*it)->displayName());
    }

    for (bool clearedOnce = false;;) {
        QByteArray outcome;
        QObject::connect(
            &deleter, &FixturesDeleter::fixturesDeleted, &deleter, [&] { outcome = "deleted"; },
            Qt::DirectConnection);
        QObject::connect(
            &deleter, &FixturesDeleter::failed, &deleter, [&] { outcome = "failed"; },
            Qt::DirectConnection);
        QObject::connect(
            &deleter, &FixturesDeleter::failedPatchingNeedsToBeCleared, &deleter,
            [&] { outcome = "patch"; }, Qt::DirectConnection);
        {
            TerminalProgress bar(tr("Deleting"));
            QObject::connect(
                &deleter, &FixturesDeleter::progressTotal, &deleter,
                [&bar](uint p) { bar.setPercent(int(p)); }, Qt::DirectConnection);
            runWorker(&deleter);
        }
        QObject::disconnect(&deleter, nullptr, &deleter, nullptr);
        if (outcome == "deleted") {
            out(tr("Deleted slot %1 from %2.\n")
                    .arg(names.join(QStringLiteral(", slot ")), session.deviceText()));
            return finish(session, Success);
        }
        if (outcome == "patch" && clearPatch && !clearedOnce) {
            if (!clearPatchList(session, &error))
                return finish(session, fail(error));
            out(tr("Cleared the patch list of %1.\n").arg(session.deviceText()));
            clearedOnce = true;
            continue;
        }
        if (outcome == "patch")
            return finish(session, fail(patchListRefusal(tr("deletion"), session)));
        if (const QString refusal = session.deviceRefusal(); !refusal.isEmpty())
            return finish(session, fail(tr("deletion %1").arg(refusal)));
        return finish(session, fail(tr("deletion on %1 failed; slots deleted before stay deleted")
                                        .arg(session.deviceText())));
    }
}

// ---- device clear-patch-list

const char kClearHelp[] = "Usage: kdr450p-tool device clear-patch-list [--yes] [options]\n\n"
                          "Erases the controller's patch list, which must be empty before\n"
                          "definitions can be uploaded or deleted.\n"
                          "  --yes           do not ask before erasing\n";

int runClearPatchList(QStringList args)
{
    if (wantsHelp(args)) {
        out(QString::fromLatin1(kClearHelp) + StoreSession::optionsHelp());
        return Success;
    }
    const QString command = QStringLiteral("device clear-patch-list");
    StoreSession session;
    QString error;
    if (!session.takeOptions(&args, &error))
        return usage(command, error);
    const bool yes = takeFlag(&args, QStringLiteral("--yes"));
    if (!args.isEmpty())
        return usage(command, tr("unexpected argument '%1'").arg(args.first()));
    if (!yes && !confirmed(patchListQuestion()))
        return fail(tr("patch list not cleared: not confirmed (add --yes to clear without "
                       "asking)"));
    if (!session.open(&error))
        return fail(error);
    if (!clearPatchList(session, &error))
        return finish(session, fail(error));
    out(tr("Cleared the patch list of %1.\n").arg(session.deviceText()));
    return finish(session, Success);
}

void printDeviceUsage(QTextStream &s)
{
    s << "Usage: kdr450p-tool device <subcommand> [options]\n\n"
         "The fixture store of a controller:\n"
         "  fixtures [--json]                      list the stored definitions\n"
         "  upload LIBRARY [--only NAME]...        upload definitions of a library file\n"
         "  download OUT.blfl [--slot N]...        read stored definitions into a library\n"
         "  delete --slot N...                     delete stored definitions\n"
         "  clear-patch-list [--yes]               erase the controller's patch list\n\n"
         "Options of every subcommand:\n"
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
    const QStringList rest = args.mid(1);
    if (sub == QLatin1String("--help") || sub == QLatin1String("-h")) {
        QTextStream s(stdout);
        printDeviceUsage(s);
        return Success;
    }
    if (sub == QLatin1String("fixtures"))
        return runFixtures(rest);
    if (sub == QLatin1String("upload"))
        return runUpload(rest);
    if (sub == QLatin1String("download"))
        return runDownload(rest);
    if (sub == QLatin1String("delete"))
        return runDelete(rest);
    if (sub == QLatin1String("clear-patch-list"))
        return runClearPatchList(rest);
    return usage(QStringLiteral("device"), tr("unknown subcommand '%1'").arg(sub));
}

// ---- firmware update

int runFirmwareUpdate(const QStringList &arguments)
{
    QStringList args = arguments;
    if (wantsHelp(args)) {
        out(QStringLiteral("Usage: kdr450p-tool firmware update FILE [--device N] [options]\n\n"
                           "Programs a controller with a firmware file (.bl2).\n") +
            StoreSession::optionsHelp());
        return Success;
    }
    const QString command = QStringLiteral("firmware update");
    StoreSession session;
    QString error;
    if (!session.takeOptions(&args, &error))
        return usage(command, error);
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return usage(command, tr("expects one firmware FILE"));
    FirmwareFile file;
    if (!file.load(args.first()))
        return fail(
            file.statusText(QString()).remove(QRegularExpression(QStringLiteral("<[^>]*>"))));

    if (!session.open(&error))
        return fail(error);
    if (!file.isForDevice(session.identity().name))
        return finish(session,
                      fail(tr("update refused (wrong device): %1 holds firmware for "
                              "'%2', but %3 is a '%4'")
                               .arg(args.first(), file.targetDeviceName(),
                                    QStringLiteral("device %1").arg(session.identity().deviceIndex),
                                    session.identity().name)));
    const QString before = session.deviceText();
    FwUpdater updater;
    updater.setLink(session.link().master(), session.link().phy());
    updater.setFile(&file);
    updater.setDeviceIndex(session.identity().deviceIndex);
    bool ok = false;
    QObject::connect(
        &updater, &FwUpdater::success, &updater, [&] { ok = true; }, Qt::DirectConnection);
    {
        TerminalProgress bar(tr("Programming"));
        QObject::connect(
            &updater, &FwUpdater::progress, &updater, [&bar](int p) { bar.setPercent(p); },
            Qt::DirectConnection);
        runWorker(&updater);
    }
    if (!ok)
        return finish(session, fail(tr("firmware update of %1 failed").arg(before)));
    out(tr("Programmed %1 with %2 (%3 bytes).\n").arg(before, args.first()).arg(file.totalSize()));
    return finish(session, Success);
}
