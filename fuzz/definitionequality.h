#pragma once

// Field-by-field equality of definitions, for the round-trip invariants of the fuzz targets.
// An automatic short name is derived from its long name whenever it is used, so only its
// flag counts, not the text it holds meanwhile.

#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

inline bool sameChannel(const QBLFixtureChannel &a, const QBLFixtureChannel &b)
{
    return a.number() == b.number() && a.name() == b.name() &&
           a.isAutoNameShort() == b.isAutoNameShort() &&
           (a.isAutoNameShort() || a.nameShort() == b.nameShort()) &&
           a.description() == b.description();
}

inline bool sameDefinition(const QBLFixtureDefinition &a, const QBLFixtureDefinition &b)
{
    if (a.fixtureName() != b.fixtureName() ||
        a.isAutoFixtureNameShort() != b.isAutoFixtureNameShort() ||
        (!a.isAutoFixtureNameShort() && a.fixtureNameShort() != b.fixtureNameShort()) ||
        a.manufacturerName() != b.manufacturerName() ||
        a.isAutoManufacturerNameShort() != b.isAutoManufacturerNameShort() ||
        (!a.isAutoManufacturerNameShort() &&
         a.manufacturerNameShort() != b.manufacturerNameShort()) ||
        a.fixtureType() != b.fixtureType() || a.nbrOfChannels() != b.nbrOfChannels())
        return false;
    for (int i = 0; i < a.nbrOfChannels(); ++i)
        if (!sameChannel(*a.channels().at(i), *b.channels().at(i)))
            return false;
    return true;
}
