#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

class QBLFixtureDefinition;

// The JSON form of a library that `library list --json` prints and `library create` reads:
// {"definitions": [{"fixtureName", "fixtureNameShort", "autoFixtureNameShort",
// "manufacturerName", "manufacturerNameShort", "autoManufacturerNameShort", "fixtureType"
// (0-255 or null), "channelCount", "channels": [{"number", "name", "nameShort",
// "autoNameShort"}]}]}. Strings are as stored; "channels" only when asked for. A definition
// listed from a controller also has its "slot" (0-254), which reading skips.
namespace LibraryJson
{

// slotNumbers, when not empty, holds one slot per definition. fields are written first, as
// given: "  \"key\": value,\n" lines.
QByteArray write(const QList<const QBLFixtureDefinition *> &definitions, bool withChannels,
                 const QList<int> &slotNumbers = {}, const QByteArray &fields = {});

// Builds definitions from the JSON form; on failure returns false and sets error to one line.
bool read(const QByteArray &json, std::vector<std::unique_ptr<QBLFixtureDefinition>> &out,
          QString &error);

} // namespace LibraryJson
