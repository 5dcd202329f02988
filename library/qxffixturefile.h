#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QBLFixtureDefinition;

// One mode of a QLC+ fixture file (.qxf): its name and its channel names in DMX order.
struct QxfMode {
    QString name;
    QStringList channels;
};

// What the import needs of one .qxf file; every name is already normalised.
struct QxfFixture {
    QString file; // as reported: relative to the scanned folder, or as given
    QString path; // where it was read from
    QString manufacturer;
    QString model;
    QString type; // the file's own word, empty when it has none
    QList<QxfMode> modes;
};

// A mode that the import leaves out or that the controller cannot take, in one line.
struct QxfNote {
    QString file;
    QString text;
};

namespace Qxf
{

// Larger files are refused before they are read: no real fixture file comes near it, and a
// junk file must not be loaded whole.
constexpr qint64 MaxFileSize = 16 * 1024 * 1024;
// The most channels the controller takes for one definition.
constexpr int ControllerChannelLimit = 45;

// Leading and trailing white space removed, every inner run of it made one space.
QString normalizedName(QStringView text);

// The definition's type value for a QLC+ type word; "Other" (10) for unknown words and none.
quint32 fixtureType(QStringView qxfType);

// Parses a document; false with a one-line reason (without the file name) when it is not a
// fixture file we can read.
bool parse(const QByteArray &document, QxfFixture &fixture, QString &reason);

// The two ways parse() takes. The stream reader reads any document. The plain reader reads
// the files that make up nearly all of the catalogue (UTF-8, a DOCTYPE without internal subset,
// comments, the predefined entities and character references, names without prefix) several
// times faster with the same result, and returns false, leaving fixture as it was, for
// anything else: other constructs, errors, and files that lack a manufacturer or model.
bool parseWithStreamReader(const QByteArray &document, QxfFixture &fixture, QString &reason);
bool readPlainDocument(const QByteArray &document, QxfFixture &fixture);

// A channel of a mode as the file lists it; number is -1 when missing or not a number.
struct ModeChannel {
    int number;
    QString name;
};
// The mode's channel names: ascending numbers, document order when any number is missing
// (stable, so repeats keep it).
QStringList orderedChannels(QList<ModeChannel> &channels);

// Reads and parses a file, refusing files above MaxFileSize without reading them.
bool readFile(const QString &path, QxfFixture &fixture, QString &reason);

// The fixture name a mode becomes: the model, plus the mode name when there are several.
QString definitionName(const QxfFixture &fixture, const QxfMode &mode);

// One definition per mode with channels; empty modes and modes above the controller's limit
// are reported through notes (the latter are still built).
std::vector<std::unique_ptr<QBLFixtureDefinition>> toDefinitions(const QxfFixture &fixture,
                                                                  QList<QxfNote> *notes = nullptr);
// The same for one mode; null for a mode without channels.
std::unique_ptr<QBLFixtureDefinition> toDefinition(const QxfFixture &fixture, const QxfMode &mode);

} // namespace Qxf
