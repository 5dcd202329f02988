#include "commands.h"
#include "storesession.h"

#include <QCoreApplication>

#include "devicejobrunner.h"
#include "devicerecord.h"
#include "library/libraryjson.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"
#include "qblremotefixturedefinition.h"

#include <cstdio>

using namespace StoreCommand;

namespace
{

const char *const kHelp = QT_TRANSLATE_NOOP(
    "StoreCommand",
    "Usage: kdr450p-tool device fixtures [--json] [--channels] [options]\n\n"
    "Lists the fixture definitions stored on a controller (slot, name, manufacturer,\n"
    "channels), its capacity, free slots and whether its patch list is empty.\n"
    "  --json          print the JSON form of 'library list --json', each definition with its\n"
    "                  \"slot\", after \"device\", \"capacity\", \"freeSlots\" and\n"
    "                  \"patchListEmpty\"; 'library create --from-json' reads it\n"
    "  --channels      read every stored record for its channels (slower)\n");

const char *const kShowHelp = QT_TRANSLATE_NOOP(
    "StoreCommand",
    "Usage: kdr450p-tool device show --slot N [--json] [options]\n\n"
    "Reads the definition stored in slot N and lists its channels: number, name, short name.\n"
    "  --json          print it in the JSON form of 'device fixtures --json --channels'\n");

// Definitions from the list's headers alone: names, type and channel count, no channel names.
std::vector<std::unique_ptr<QBLFixtureDefinition>> fromHeaders(const QList<StoredRecord> &headers)
{
    std::vector<std::unique_ptr<QBLFixtureDefinition>> out;
    for (const StoredRecord &h : headers) {
        QByteArray record = h.record;
        record.resize(DeviceRecord::RecordSize, '\0');
        auto d = std::make_unique<QBLFixtureDefinition>();
        decodeDeviceRecord(record, *d);
        out.push_back(std::move(d));
    }
    return out;
}

// As a library keeps them: "no type" (the controller's 255) and empty automatic short names.
void toLibraryForm(const QList<QBLFixtureDefinition *> &definitions)
{
    for (QBLFixtureDefinition *d : definitions) {
        if (d->fixtureType() == 0xFF)
            d->setFixtureType(QBLFixtureDefinition::NoFixtureType);
        if (d->isAutoFixtureNameShort())
            d->setFixtureNameShort(QString());
        if (d->isAutoManufacturerNameShort())
            d->setManufacturerNameShort(QString());
        for (QBLFixtureChannel *c : d->channels())
            if (c->isAutoNameShort())
                c->setNameShort(QString());
    }
}

QByteArray storeFields(const StoreSession &session, const StoreState &state)
{
    QByteArray fields = "  \"device\": \"" + QByteArray(FixtureStore::DeviceName) + " #" +
                        QByteArray::number(session.controllerNumber()) + "\",\n";
    const auto number = [](int n) { return n < 0 ? QByteArray("null") : QByteArray::number(n); };
    fields += "  \"capacity\": " + number(state.capacity()) + ",\n";
    fields += "  \"freeSlots\": " + number(state.status.freeSlots) + ",\n";
    fields += QByteArray("  \"patchListEmpty\": ") +
              (state.status.patchListNeedsClearing ? "false" : "true") + ",\n";
    return fields;
}

// The listing as JSON on stdout; the exit code.
int writeJson(const QList<QBLFixtureDefinition *> &definitions, const QList<int> &slotNumbers,
              bool withChannels, const QByteArray &fields)
{
    toLibraryForm(definitions);
    const QByteArray text = LibraryJson::write(
        QList<const QBLFixtureDefinition *>(definitions.cbegin(), definitions.cend()),
        withChannels, slotNumbers, fields);
    if (fwrite(text.constData(), 1, size_t(text.size()), stdout) != size_t(text.size()))
        return fail(StoreCommand::tr("cannot write the output"));
    return Success;
}

QString table(const StoreState &state, const StoreSession &session)
{
    QString text = state.capacity() < 0
                       ? StoreCommand::tr("%1: %2 stored, free slots unknown")
                             .arg(session.deviceText(), definitionsText(qsizetype(state.entries.size())))
                       : StoreCommand::tr("%1: %2 stored, %3 of %4 slots free")
                             .arg(session.deviceText(),
                                  definitionsText(qsizetype(state.entries.size())))
                             .arg(state.status.freeSlots)
                             .arg(state.capacity());
    text += state.status.patchListNeedsClearing ? StoreCommand::tr("; patch list in use\n")
                                                : StoreCommand::tr("; patch list empty\n");
    if (state.entries.empty())
        return text;
    text += QStringLiteral("%1  %2  %3  %4\n")
                .arg(StoreCommand::tr("Slot"), 4)
                .arg(StoreCommand::tr("Name"), -32)
                .arg(StoreCommand::tr("Manufacturer"), -24)
                .arg(StoreCommand::tr("Channels"));
    for (const auto &e : state.entries)
        text += QStringLiteral("%1  %2  %3  %4\n")
                    .arg(int(e->slotNumber()), 4)
                    .arg(e->displayName(), -32)
                    .arg(e->manufacturerDisplayName(), -24)
                    .arg(e->nbrOfChannels(), 8);
    return text;
}

// Reads the whole records of entries; the definitions stay the runner's.
bool readRecords(StoreSession &session, const QList<QBLRemoteFixtureDefinition *> &entries,
                 QString *error)
{
    const StoreSession::JobResult result = session.run(
        StoreCommand::tr("Reading"), [&](DeviceJobRunner &jobs) { return jobs.download(entries); });
    if (result.outcome == DeviceJobOutcome::Done)
        return true;
    *error = StoreCommand::tr("reading the stored records of %1 failed: %2")
                 .arg(session.deviceText(), StoreSession::failureReason(result));
    return false;
}

} // namespace

int runDeviceFixtures(QStringList args)
{
    bool json = false;
    bool channels = false;
    ControllerCommand command(
        QStringLiteral("device fixtures"), StoreCommand::tr(kHelp),
        {{QStringLiteral("--json"), &json}, {QStringLiteral("--channels"), &channels}});
    command.runOnStore = [&](StoreSession &session, const StoreState &state) -> int {
        if (!json && !channels) {
            out(table(state, session));
            return Success;
        }

        QList<int> slotNumbers;
        QList<QBLRemoteFixtureDefinition *> entries;
        for (const auto &e : state.entries) {
            slotNumbers.append(e->slotNumber());
            entries.append(e.get());
        }
        std::vector<std::unique_ptr<QBLFixtureDefinition>> owned;
        QList<QBLFixtureDefinition *> definitions;
        if (channels && !entries.isEmpty()) {
            QString error;
            if (!readRecords(session, entries, &error))
                return fail(error);
            definitions = session.jobs().downloadedDefinitions();
        } else {
            owned = fromHeaders(session.storedHeaders());
            for (const auto &d : owned)
                definitions.append(d.get());
        }
        if (json)
            return writeJson(definitions, slotNumbers, channels, storeFields(session, state));
        out(table(state, session));
        for (qsizetype i = 0; i < definitions.size(); ++i) {
            out(QStringLiteral("%1  %2\n")
                    .arg(slotNumbers.at(i), 4)
                    .arg(definitions.at(i)->displayName()));
            for (const QBLFixtureChannel *c : definitions.at(i)->channels())
                out(QStringLiteral("      %1  %2 [%3]\n")
                        .arg(c->number(), 3)
                        .arg(c->name(), c->nameShort()));
        }
        return Success;
    };
    return runControllerCommand(command, args);
}

int runDeviceShow(QStringList args)
{
    bool json = false;
    ControllerCommand command(QStringLiteral("device show"), StoreCommand::tr(kShowHelp),
                              {{QStringLiteral("--json"), &json}});
    command.slotCount = ControllerCommand::Slots::One;
    command.runOnStore = [&](StoreSession &session, const StoreState &state) -> int {
        const int slot = command.slotNumbers.first();
        QString error;
        if (!readRecords(session, {findSlot(state.entries, slot)}, &error))
            return fail(error);
        const QList<QBLFixtureDefinition *> definitions = session.jobs().downloadedDefinitions();
        if (definitions.size() != 1)
            return fail(StoreCommand::tr("slot %1 did not read back").arg(slot));
        if (json)
            return writeJson(definitions, {slot}, true, storeFields(session, state));
        const QBLFixtureDefinition *d = definitions.first();
        out(StoreCommand::tr("Slot %1 of %2: \"%3\" by \"%4\", %5 channels\n")
                .arg(slot)
                .arg(session.deviceText(), d->displayName(), d->manufacturerName())
                .arg(d->nbrOfChannels()));
        for (const QBLFixtureChannel *c : d->channels())
            out(QStringLiteral("%1  %2 [%3]\n").arg(c->number(), 3).arg(c->name(), c->nameShort()));
        return Success;
    };
    return runControllerCommand(command, args);
}
