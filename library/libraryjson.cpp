#include "libraryjson.h"

#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <cmath>

namespace
{

// Keys are written in a fixed order (QJsonDocument sorts them), so that the output reads well
// and diffs well under version control.
void appendString(QByteArray &out, const QString &text)
{
    out += '"';
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u < 0x20)
                out += "\\u" + QByteArray::number(u, 16).rightJustified(4, '0');
            else
                out += QString(c).toUtf8();
        }
    }
    out += '"';
}

void appendField(QByteArray &out, const char *indent, const char *key)
{
    out += indent;
    out += '"';
    out += key;
    out += "\": ";
}

struct NameKeys {
    const char *name;
    const char *nameShort;
    const char *autoNameShort;
};

// A name, its short name and whether that one is derived: three fields of a definition.
void appendNames(QByteArray &out, const char *indent, const NameKeys &keys, const QString &name,
                 const QString &nameShort, bool autoNameShort)
{
    appendField(out, indent, keys.name);
    appendString(out, name);
    appendField(out, ",\n      ", keys.nameShort);
    appendString(out, nameShort);
    appendField(out, ",\n      ", keys.autoNameShort);
    out += autoNameShort ? "true" : "false";
}

const QSet<QString> kDefinitionKeys = {
    "fixtureName",      "fixtureNameShort",      "autoFixtureNameShort",
    "manufacturerName", "manufacturerNameShort", "autoManufacturerNameShort",
    "fixtureType",      "channelCount",          "channels",
    "slot"};
const QSet<QString> kChannelKeys = {"number", "name", "nameShort", "autoNameShort"};

class Reader
{
public:
    QString error;

    bool unknownKeys(const QJsonObject &o, const QSet<QString> &known, const QString &where)
    {
        for (auto it = o.begin(); it != o.end(); ++it) {
            if (!known.contains(it.key()))
                return fail(QStringLiteral("%1: unknown field \"%2\"").arg(where, it.key()));
        }
        return false;
    }

    bool fail(const QString &text)
    {
        error = text;
        return true;
    }

    // Each getter leaves the default when the key is absent, and fails on a wrong type.
    // The value at key, undefined when absent; a failure when isType refuses it.
    bool typed(const QJsonObject &o, const char *key, const QString &where,
               bool (QJsonValue::*isType)() const, const char *expected, QJsonValue &v)
    {
        v = o.value(QLatin1String(key));
        if (v.isUndefined() || (v.*isType)())
            return false;
        return fail(QStringLiteral("%1: \"%2\" must be %3").arg(where, key, expected));
    }

    bool string(const QJsonObject &o, const char *key, const QString &where, QString &value)
    {
        QJsonValue v;
        if (typed(o, key, where, &QJsonValue::isString, "a string", v))
            return true;
        if (v.isUndefined())
            return false;
        value = v.toString();
        const int bad = firstCharacterXmlCannotHold(value);
        if (bad >= 0)
            return fail(QStringLiteral("%1: \"%2\" holds U+%3, which library files cannot store")
                            .arg(where, key)
                            .arg(QString::number(bad, 16).toUpper().rightJustified(4, u'0')));
        return false;
    }

    // Library files are XML 1.0 documents: control characters other than tab, line feed and
    // carriage return, U+FFFE, U+FFFF and unpaired surrogates cannot be stored.
    // The first such UTF-16 unit, or -1.
    static int firstCharacterXmlCannotHold(const QString &text)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t u = text.at(i).unicode();
            if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
                QChar::isLowSurrogate(text.at(i + 1).unicode())) {
                ++i;
                continue;
            }
            if ((u < 0x20 && u != 0x9 && u != 0xA && u != 0xD) || QChar::isSurrogate(u) ||
                u == 0xFFFE || u == 0xFFFF)
                return u;
        }
        return -1;
    }

    bool boolean(const QJsonObject &o, const char *key, const QString &where, bool &value)
    {
        QJsonValue v;
        if (typed(o, key, where, &QJsonValue::isBool, "true or false", v))
            return true;
        if (!v.isUndefined())
            value = v.toBool();
        return false;
    }

    bool integer(const QJsonObject &o, const char *key, const QString &where, double low,
                 double high, qint64 &value, bool &present)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        present = !v.isUndefined();
        if (!present)
            return false;
        const double d = v.toDouble(std::nan(""));
        if (!v.isDouble() || std::floor(d) != d || d < low || d > high)
            return fail(QStringLiteral("%1: \"%2\" must be a whole number from %3 to %4")
                            .arg(where, key)
                            .arg(qint64(low))
                            .arg(qint64(high)));
        value = qint64(d);
        return false;
    }
};

} // namespace

QByteArray LibraryJson::write(const QList<const QBLFixtureDefinition *> &definitions,
                              bool withChannels, const QList<int> &slotNumbers,
                              const QByteArray &fields)
{
    QByteArray out = "{\n" + fields + "  \"definitions\": [";
    bool firstDefinition = true;
    for (qsizetype i = 0; i < definitions.size(); ++i) {
        const QBLFixtureDefinition *d = definitions.at(i);
        out += firstDefinition ? "\n    {\n" : ",\n    {\n";
        firstDefinition = false;
        const char *in = "      ";
        if (i < slotNumbers.size()) {
            appendField(out, in, "slot");
            out += QByteArray::number(slotNumbers.at(i));
            in = ",\n      ";
        }
        appendNames(out, in, {"fixtureName", "fixtureNameShort", "autoFixtureNameShort"},
                    d->fixtureName(), d->fixtureNameShort(), d->isAutoFixtureNameShort());
        appendNames(out, ",\n      ",
                    {"manufacturerName", "manufacturerNameShort", "autoManufacturerNameShort"},
                    d->manufacturerName(), d->manufacturerNameShort(),
                    d->isAutoManufacturerNameShort());
        appendField(out, ",\n      ", "fixtureType");
        out += d->fixtureType() == QBLFixtureDefinition::NoFixtureType
                   ? QByteArray("null")
                   : QByteArray::number(d->fixtureType());
        appendField(out, ",\n      ", "channelCount");
        out += QByteArray::number(d->nbrOfChannels());
        if (withChannels) {
            appendField(out, ",\n      ", "channels");
            out += '[';
            bool firstChannel = true;
            for (const QBLFixtureChannel *c : d->channels()) {
                out += firstChannel ? "\n        {" : ",\n        {";
                firstChannel = false;
                out += "\"number\": " + QByteArray::number(c->number()) + ", \"name\": ";
                appendString(out, c->name());
                out += ", \"nameShort\": ";
                appendString(out, c->nameShort());
                out += ", \"autoNameShort\": ";
                out += c->isAutoNameShort() ? "true" : "false";
                out += '}';
            }
            out += firstChannel ? "]" : "\n      ]";
        }
        out += "\n    }";
    }
    out += firstDefinition ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

bool LibraryJson::read(const QByteArray &json,
                       std::vector<std::unique_ptr<QBLFixtureDefinition>> &out, QString &error)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (doc.isNull()) {
        error = QStringLiteral("not valid JSON at offset %1: %2")
                    .arg(parseError.offset)
                    .arg(parseError.errorString());
        return false;
    }
    const QJsonValue list = doc.object().value(QLatin1String("definitions"));
    if (!doc.isObject() || !list.isArray()) {
        error = QStringLiteral("expected an object with a \"definitions\" array");
        return false;
    }

    Reader r;
    const QJsonArray definitions = list.toArray();
    for (qsizetype i = 0; i < definitions.size(); ++i) {
        const QString where = QStringLiteral("definition %1").arg(i + 1);
        if (!definitions.at(i).isObject()) {
            error = where + QStringLiteral(": not an object");
            return false;
        }
        const QJsonObject o = definitions.at(i).toObject();
        auto d = std::make_unique<QBLFixtureDefinition>();
        QString fixtureName, fixtureNameShort, manufacturerName, manufacturerNameShort;
        bool autoFixture = true, autoManufacturer = true, hasCount = false, hasSlot = false;
        qint64 count = 0, slot = 0;
        if (r.unknownKeys(o, kDefinitionKeys, where) ||
            r.string(o, "fixtureName", where, fixtureName) ||
            r.string(o, "fixtureNameShort", where, fixtureNameShort) ||
            r.boolean(o, "autoFixtureNameShort", where, autoFixture) ||
            r.string(o, "manufacturerName", where, manufacturerName) ||
            r.string(o, "manufacturerNameShort", where, manufacturerNameShort) ||
            r.boolean(o, "autoManufacturerNameShort", where, autoManufacturer) ||
            r.integer(o, "channelCount", where, 0, 1e6, count, hasCount) ||
            r.integer(o, "slot", where, 0, 254, slot, hasSlot)) {
            error = r.error;
            return false;
        }
        const QJsonValue type = o.value(QLatin1String("fixtureType"));
        if (!type.isUndefined() && !type.isNull()) {
            qint64 value = 0;
            bool present = false;
            if (r.integer(o, "fixtureType", where, 0, 255, value, present)) {
                error = r.error + QStringLiteral(", or null for no type");
                return false;
            }
            d->setFixtureType(quint32(value));
        }
        d->setFixtureName(fixtureName);
        d->setFixtureNameShort(fixtureNameShort);
        d->setAutoFixtureNameShort(autoFixture);
        d->setManufacturerName(manufacturerName);
        d->setManufacturerNameShort(manufacturerNameShort);
        d->setAutoManufacturerNameShort(autoManufacturer);

        const QJsonValue channelsValue = o.value(QLatin1String("channels"));
        if (channelsValue.isUndefined()) {
            if (hasCount && count > 0) {
                error = where + QStringLiteral(": \"channels\" is missing (list the library "
                                               "with --channels to get them)");
                return false;
            }
        } else if (!channelsValue.isArray()) {
            error = where + QStringLiteral(": \"channels\" must be an array");
            return false;
        } else {
            const QJsonArray channels = channelsValue.toArray();
            if (hasCount && count != channels.size()) {
                error = where + QStringLiteral(": \"channelCount\" is %1 but %2 channels are given")
                                    .arg(count)
                                    .arg(channels.size());
                return false;
            }
            const QString named = fixtureName.isEmpty()
                                      ? where
                                      : QStringLiteral("%1 (\"%2\")").arg(where, fixtureName);
            for (qsizetype k = 0; k < channels.size(); ++k) {
                const QString at = named + QStringLiteral(", channel %1").arg(k + 1);
                if (!channels.at(k).isObject()) {
                    error = at + QStringLiteral(": not an object");
                    return false;
                }
                const QJsonObject co = channels.at(k).toObject();
                QString name, nameShort;
                bool autoShort = true, hasNumber = false;
                qint64 number = k + 1;
                if (r.unknownKeys(co, kChannelKeys, at) || r.string(co, "name", at, name) ||
                    r.string(co, "nameShort", at, nameShort) ||
                    r.boolean(co, "autoNameShort", at, autoShort) ||
                    r.integer(co, "number", at, -2147483648.0, 2147483647.0, number, hasNumber)) {
                    error = r.error;
                    return false;
                }
                // The record places channels by number: any other numbering would overwrite
                // or drop channels on the controller.
                if (hasNumber && number != k + 1) {
                    error = at + QStringLiteral(": \"number\" is %1; channels are numbered 1, 2, "
                                                "3 ... in the order given")
                                     .arg(number);
                    return false;
                }
                if (nameShort.size() > QBLFixtureChannel::NameShortLength) {
                    error = at + QStringLiteral(": \"nameShort\" is longer than %1 characters")
                                     .arg(QBLFixtureChannel::NameShortLength);
                    return false;
                }
                auto *c = new QBLFixtureChannel;
                c->setNumber(int(number));
                c->setName(name);
                c->setNameShort(nameShort);
                c->setAutoNameShort(autoShort);
                d->channels().append(c);
            }
        }
        out.push_back(std::move(d));
    }
    return true;
}
