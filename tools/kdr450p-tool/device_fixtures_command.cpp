#include "commands.h"
#include "storesession.h"

#include <QCoreApplication>

#include "qblremotefixturedefinition.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace StoreCommand;

namespace
{

const char *const kHelp = QT_TRANSLATE_NOOP(
    "StoreCommand",
    "Usage: kdr450p-tool device fixtures [--json] [options]\n\n"
    "Lists the fixture definitions stored on a controller: slot, name, manufacturer, channels.\n"
    "  --json          print {\"fixtures\": [{\"slot\", \"fixtureName\", \"fixtureNameShort\",\n"
    "                  \"manufacturerName\", \"manufacturerNameShort\", \"fixtureType\",\n"
    "                  \"channelCount\"}]}\n");

QString jsonList(const std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> &entries)
{
    QJsonArray fixtures;
    for (const auto &e : entries)
        fixtures.append(
            QJsonObject{{QStringLiteral("slot"), int(e->slotNumber())},
                        {QStringLiteral("fixtureName"), e->fixtureName()},
                        {QStringLiteral("fixtureNameShort"), e->fixtureNameShort()},
                        {QStringLiteral("manufacturerName"), e->manufacturerName()},
                        {QStringLiteral("manufacturerNameShort"), e->manufacturerNameShort()},
                        {QStringLiteral("fixtureType"), e->fixtureType()},
                        {QStringLiteral("channelCount"), e->nbrOfChannels()}});
    return QString::fromUtf8(
        QJsonDocument(QJsonObject{{QStringLiteral("fixtures"), fixtures}}).toJson());
}

QString table(const std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> &entries,
              const StoreSession &session)
{
    if (entries.empty())
        return StoreCommand::tr("No fixture definitions are stored on %1.\n")
            .arg(session.deviceText());
    QString text = StoreCommand::tr("%1 on %2:\n")
                       .arg(definitionsText(qsizetype(entries.size())), session.deviceText());
    text += QStringLiteral("%1  %2  %3  %4\n")
                .arg(StoreCommand::tr("Slot"), 4)
                .arg(StoreCommand::tr("Name"), -32)
                .arg(StoreCommand::tr("Manufacturer"), -24)
                .arg(StoreCommand::tr("Channels"));
    for (const auto &e : entries)
        text += QStringLiteral("%1  %2  %3  %4\n")
                    .arg(int(e->slotNumber()), 4)
                    .arg(e->displayName(), -32)
                    .arg(e->manufacturerDisplayName(), -24)
                    .arg(e->nbrOfChannels(), 8);
    return text;
}

} // namespace

int runDeviceFixtures(QStringList args)
{
    if (wantsHelp(args)) {
        out(StoreCommand::tr(kHelp) + StoreSession::optionsHelp());
        return Success;
    }
    StoreSession session;
    QString error;
    if (!session.takeOptions(&args, &error))
        return usage(QStringLiteral("device fixtures"), error);
    const bool json = takeFlag(&args, QStringLiteral("--json"));
    if (!args.isEmpty())
        return usage(QStringLiteral("device fixtures"),
                     StoreCommand::tr("unexpected argument '%1'").arg(args.first()));
    if (!session.open(&error))
        return fail(error);
    std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> entries;
    if (!session.readStoredList(&entries, &error))
        return session.finish(fail(error));
    out(json ? jsonList(entries) : table(entries, session));
    return session.finish(Success);
}
