#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

class QBLFixtureDefinition;

// Comparable snapshot of a definition as a library file keeps it (no descriptions).
struct DefinitionSnapshot {
    struct Channel {
        int number;
        QString name;
        QString nameShort;
        bool autoNameShort;
        bool operator==(const Channel &o) const
        {
            return number == o.number && name == o.name && nameShort == o.nameShort &&
                   autoNameShort == o.autoNameShort;
        }
    };
    QString fixtureName, fixtureNameShort, manufacturerName, manufacturerNameShort;
    bool autoFixtureNameShort, autoManufacturerNameShort;
    quint32 fixtureType;
    QList<Channel> channels;

    bool operator==(const DefinitionSnapshot &o) const;
    QString describe() const;
};

DefinitionSnapshot snapshot(const QBLFixtureDefinition &d);
QList<DefinitionSnapshot> snapshots(const QList<QBLFixtureDefinition *> &list);

using DefinitionList = std::vector<std::unique_ptr<QBLFixtureDefinition>>;

// Definitions that stress the file format: markup characters, non-Latin-1, long, empty,
// duplicate and dotted names, 0 to 46 channels, every type value including none.
DefinitionList nastyDefinitions();

// A definition with the given name and channel names; short names stored where given.
std::unique_ptr<QBLFixtureDefinition> makeDefinition(const QString &name,
                                                     const QStringList &channelNames = {});

// count definitions of channelsEach channels, named by the generator seeded with seed: the
// same seed gives the same library.
DefinitionList randomDefinitions(quint32 seed, int count, int channelsEach);

QList<QBLFixtureDefinition *> rawList(const DefinitionList &list);

// Saves into path; returns the archive's error text, or an empty string on success.
QString saveLibrary(const QString &path, const QList<QBLFixtureDefinition *> &definitions);
// Loads path and returns every parsed definition, in archive order; ok tells load's result.
QList<DefinitionSnapshot> loadLibrary(const QString &path, bool *ok, bool *unsupported = nullptr);

// Parses one XML document and returns its definitions; unsupported counts the signals.
QList<DefinitionSnapshot> parseDocument(const QByteArray &xml, int *unsupported = nullptr);
