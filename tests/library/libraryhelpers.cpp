#include "libraryhelpers.h"

#include "library/blflarchive.h"
#include "library/qblfixturedefinitionloader.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

#include <QRandomGenerator>

bool DefinitionSnapshot::operator==(const DefinitionSnapshot &o) const
{
    return fixtureName == o.fixtureName && fixtureNameShort == o.fixtureNameShort &&
           manufacturerName == o.manufacturerName &&
           manufacturerNameShort == o.manufacturerNameShort &&
           autoFixtureNameShort == o.autoFixtureNameShort &&
           autoManufacturerNameShort == o.autoManufacturerNameShort &&
           fixtureType == o.fixtureType && channels == o.channels;
}

QString DefinitionSnapshot::describe() const
{
    QString s = QStringLiteral("[%1|%2|%3] [%4|%5|%6] type %7, %8 channels:")
                    .arg(fixtureName, fixtureNameShort)
                    .arg(autoFixtureNameShort)
                    .arg(manufacturerName, manufacturerNameShort)
                    .arg(autoManufacturerNameShort)
                    .arg(fixtureType)
                    .arg(channels.size());
    for (const Channel &c : channels)
        s += QStringLiteral(" %1:%2|%3|%4")
                 .arg(c.number)
                 .arg(c.name, c.nameShort)
                 .arg(c.autoNameShort);
    return s;
}

DefinitionSnapshot snapshot(const QBLFixtureDefinition &d)
{
    DefinitionSnapshot s{d.fixtureName(),
                         d.fixtureNameShort(),
                         d.manufacturerName(),
                         d.manufacturerNameShort(),
                         d.isAutoFixtureNameShort(),
                         d.isAutoManufacturerNameShort(),
                         d.fixtureType(),
                         {}};
    for (const QBLFixtureChannel *c : d.channels())
        s.channels.append({c->number(), c->name(), c->nameShort(), c->isAutoNameShort()});
    return s;
}

QList<DefinitionSnapshot> snapshots(const QList<QBLFixtureDefinition *> &list)
{
    QList<DefinitionSnapshot> out;
    for (const QBLFixtureDefinition *d : list)
        out.append(snapshot(*d));
    return out;
}

std::unique_ptr<QBLFixtureDefinition> makeDefinition(const QString &name,
                                                     const QStringList &channelNames)
{
    auto d = std::make_unique<QBLFixtureDefinition>();
    d->setFixtureName(name);
    int number = 0;
    for (const QString &channelName : channelNames) {
        auto *c = new QBLFixtureChannel;
        c->setName(channelName);
        c->setNumber(++number);
        d->channels().append(c);
    }
    return d;
}

QList<QBLFixtureDefinition *> rawList(const DefinitionList &list)
{
    QList<QBLFixtureDefinition *> out;
    for (const auto &d : list)
        out.append(d.get());
    return out;
}

DefinitionList nastyDefinitions()
{
    DefinitionList list;
    const QStringList names = {
        QStringLiteral("Spot & Wash <Pro> \"XL\" 'a'"),
        QStringLiteral("\u00c4rger Wash \u00df"),
        QStringLiteral(
            "\u041f\u0440\u043e\u0436\u0435\u043a\u0442\u043e\u0440 \u706f\u5149 \U0001F4A1"),
        QString(120, QLatin1Char('L')) + QStringLiteral("ong"),
        QString(),
        QStringLiteral("Spot"),
        QStringLiteral("spot"),
        QStringLiteral("Mac 2.0.1."),
        QStringLiteral("BLFL"),
        QStringLiteral("  leading and trailing  "),
        QStringLiteral("&amp; literally ]]> <![CDATA[ x ]]>"),
        QStringLiteral("tab\there\nnewline"),
        QStringLiteral("Spot"),
    };
    const int channelCounts[] = {0, 1, 2, 24, 45, 46, 3, 5, 12, 7, 4, 2, 1};
    const quint32 types[] = {QBLFixtureDefinition::NoFixtureType, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10,
                             QBLFixtureDefinition::NoFixtureType};
    for (int i = 0; i < names.size(); ++i) {
        QStringList channelNames;
        for (int c = 0; c < channelCounts[i]; ++c)
            channelNames << QStringLiteral("Ch %1 <&\"> \u00e9\u4e2d").arg(c + 1);
        if (channelCounts[i] >= 5) {
            channelNames[1] = QString();                   // empty name
            channelNames[3] = channelNames[2];             // duplicate names
            channelNames[4] = QString(100, QChar(0x0416)); // long, non-Latin-1
        }
        auto d = makeDefinition(names.at(i), channelNames);
        d->setFixtureType(types[i]);
        d->setManufacturerName(i % 2 ? QStringLiteral("Maker & Sons \u00a9") : QString());
        if (i % 3 == 0) {
            d->setAutoFixtureNameShort(false);
            d->setFixtureNameShort(i ? QStringLiteral("Short <%1>").arg(i) : QString());
            d->setAutoManufacturerNameShort(false);
            d->setManufacturerNameShort(QStringLiteral("M\u00e4ker \"%1\"").arg(i));
        }
        for (int c = 0; c < channelNames.size(); ++c) {
            QBLFixtureChannel *ch = d->channels().at(c);
            if (c % 2) {
                ch->setAutoNameShort(false);
                ch->setNameShort(c % 4 == 1 ? QString() : QStringLiteral("S&%1<\u00fc>").arg(c));
            }
        }
        // Duplicate names with different short names must keep their own.
        if (channelNames.size() >= 5) {
            d->channels().at(2)->setAutoNameShort(false);
            d->channels().at(2)->setNameShort(QStringLiteral("first"));
            d->channels().at(3)->setAutoNameShort(false);
            d->channels().at(3)->setNameShort(QStringLiteral("second"));
        }
        list.push_back(std::move(d));
    }
    // Numbers as stored: gaps, repeats, zero and negative.
    auto odd =
        makeDefinition(QStringLiteral("Odd numbers"), {QStringLiteral("a"), QStringLiteral("b"),
                                                       QStringLiteral("c"), QStringLiteral("d")});
    const int numbers[] = {7, 7, 0, -3};
    for (int c = 0; c < 4; ++c)
        odd->channels().at(c)->setNumber(numbers[c]);
    odd->setFixtureType(200); // written as "Undefined", read back as no type
    list.push_back(std::move(odd));
    return list;
}

QString saveLibrary(const QString &path, const QList<QBLFixtureDefinition *> &definitions)
{
    BLFLArchive archive(path);
    QList<QBLFixtureDefinition *> list = definitions;
    archive.setDefinitions(&list);
    return archive.save() ? QString() : QStringLiteral("save failed: ") + archive.errorString();
}

QList<DefinitionSnapshot> loadLibrary(const QString &path, bool *ok, bool *unsupported)
{
    BLFLArchive archive(path);
    *ok = archive.load();
    if (unsupported)
        *unsupported = archive.hasUnsupportedFeatures();
    QList<DefinitionSnapshot> out;
    for (QBLFixtureDefinitionLoader *loader : archive.loaders()) {
        loader->parse();
        if (loader->definitions())
            out += snapshots(*loader->definitions());
    }
    return out;
}

QList<DefinitionSnapshot> parseDocument(const QByteArray &xml, int *unsupported)
{
    QBLFixtureDefinitionLoader loader;
    int count = 0;
    QObject::connect(&loader, &QBLFixtureDefinitionLoader::unsupportedContent,
                     [&count]() { ++count; });
    loader.setData(xml);
    loader.parse();
    if (unsupported)
        *unsupported = count;
    return loader.definitions() ? snapshots(*loader.definitions()) : QList<DefinitionSnapshot>();
}

DefinitionList randomDefinitions(quint32 seed, int count, int channelsEach)
{
    DefinitionList defs;
    QRandomGenerator random(seed);
    for (int i = 0; i < count; ++i) {
        QStringList channels;
        for (int c = 0; c < channelsEach; ++c)
            channels << QString::number(random.generate64(), 36);
        defs.push_back(makeDefinition(QString::number(random.generate64(), 36), channels));
    }
    return defs;
}
