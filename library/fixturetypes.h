#pragma once

#include <QString>

// Fixture type values and their words in the library file.
namespace FixtureTypes
{

// Canonical word of a type: "Moving Head" ... "Other" for 0 to 10, "Undefined" for any other
// value; empty for no type (0xFFFFFFFF), which has no word.
QString canonicalText(quint32 type);

// The first keyword ("Moving", "Scanner", "LED Fixture", "Color", ...) that occurs in the text,
// without regard to case; 0xFFFFFFFF when none does.
quint32 fromText(QStringView text);

} // namespace FixtureTypes
