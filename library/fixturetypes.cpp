#include "fixturetypes.h"

#include "model/qblfixturedefinition.h"

#include <iterator>

namespace
{

struct TypeWords {
    const char *keyword;
    const char *canonical;
};

// Indexed by type value; the keywords are tested in this order.
const TypeWords kTypes[] = {
    {"Moving", "Moving Head"},  {"Scanner", "Scanner"}, {"LED Fixture", "LED Fixture"},
    {"Color", "Color Changer"}, {"Dimmer", "Dimmer"},   {"Laser", "Laser"},
    {"Strobe", "Strobe"},       {"Hazer", "Hazer"},     {"Smoke", "Smoke"},
    {"Effect", "Effect"},       {"Other", "Other"},
};

} // namespace

QString FixtureTypes::canonicalText(quint32 type)
{
    if (type == QBLFixtureDefinition::NoFixtureType)
        return QString();
    if (type < std::size(kTypes))
        return QString::fromLatin1(kTypes[type].canonical);
    return QStringLiteral("Undefined");
}

quint32 FixtureTypes::fromText(QStringView text)
{
    for (quint32 i = 0; i < std::size(kTypes); ++i) {
        if (text.contains(QLatin1String(kTypes[i].keyword), Qt::CaseInsensitive))
            return i;
    }
    return QBLFixtureDefinition::NoFixtureType;
}
