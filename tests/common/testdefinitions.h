#pragma once

// Made-up fixture definitions for filling a store. Header-only: only code that links the model
// includes it.

#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

#include <QString>

#include <memory>

inline std::unique_ptr<QBLFixtureDefinition> makeDefinition(const QString &name, int channels)
{
    auto def = std::make_unique<QBLFixtureDefinition>();
    def->setFixtureName(name);
    def->setManufacturerName(QStringLiteral("Test Works"));
    def->setFixtureType(2);
    for (int i = 1; i <= channels; ++i) {
        auto *ch = new QBLFixtureChannel;
        ch->setName(QStringLiteral("Channel %1 of %2").arg(i).arg(name));
        ch->setNumber(i);
        def->channels().append(ch);
    }
    return def;
}
