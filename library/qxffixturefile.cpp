#include "qxffixturefile.h"

#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"
#include "xmlcharacters.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <algorithm>

namespace
{

const QString kNamespace = QStringLiteral("http://www.qlcplus.org/FixtureDefinition");

struct TypeWord {
    const char *word;
    quint32 type;
};

const TypeWord kTypeWords[] = {
    {"Moving Head", 0}, {"Scanner", 1},       {"LED Bar (Beams)", 2}, {"LED Bar (Pixels)", 2},
    {"Color Changer", 3}, {"Dimmer", 4},      {"Laser", 5},           {"Strobe", 6},
    {"Hazer", 7},       {"Smoke", 8},         {"Effect", 9},          {"Flower", 9},
};
constexpr quint32 kOtherType = 10;

QString tr(const char *text)
{
    return QCoreApplication::translate("Qxf", text);
}

QxfMode readMode(QXmlStreamReader &xml)
{
    QxfMode mode;
    mode.name = Qxf::normalizedName(xml.attributes().value(QLatin1String("Name")));
    QList<Qxf::ModeChannel> channels;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("Channel")) {
            bool ok = false;
            const int number = xml.attributes().value(QLatin1String("Number")).toInt(&ok);
            const QString name =
                Qxf::normalizedName(xml.readElementText(QXmlStreamReader::SkipChildElements));
            channels.append({ok && number >= 0 ? number : -1, name});
        } else {
            xml.skipCurrentElement();
        }
    }
    mode.channels = Qxf::orderedChannels(channels);
    return mode;
}

} // namespace

QStringList Qxf::orderedChannels(QList<ModeChannel> &channels)
{
    const bool numbered = std::all_of(channels.cbegin(), channels.cend(),
                                      [](const ModeChannel &c) { return c.number >= 0; });
    if (numbered)
        std::stable_sort(channels.begin(), channels.end(),
                         [](const ModeChannel &a, const ModeChannel &b) {
                             return a.number < b.number;
                         });
    QStringList names;
    names.reserve(channels.size());
    for (const ModeChannel &c : channels)
        names.append(c.name);
    return names;
}

QString Qxf::normalizedName(QStringView text)
{
    return XmlCharacters::withXmlCharactersOnly(text.toString().simplified());
}

quint32 Qxf::fixtureType(QStringView qxfType)
{
    const QString word = normalizedName(qxfType);
    for (const TypeWord &t : kTypeWords) {
        if (word.compare(QLatin1String(t.word), Qt::CaseInsensitive) == 0)
            return t.type;
    }
    return kOtherType;
}

bool Qxf::parse(const QByteArray &document, QxfFixture &fixture, QString &reason)
{
    return readPlainDocument(document, fixture) || parseWithStreamReader(document, fixture, reason);
}

bool Qxf::parseWithStreamReader(const QByteArray &document, QxfFixture &fixture, QString &reason)
{
    QXmlStreamReader xml(document);
    if (!xml.readNextStartElement()) {
        reason = xml.hasError() ? tr("not well-formed XML (line %1: %2)")
                                      .arg(xml.lineNumber())
                                      .arg(xml.errorString())
                                : tr("no XML document");
        return false;
    }
    const QStringView ns = xml.namespaceUri();
    if (xml.name() != QLatin1String("FixtureDefinition") || !(ns.isEmpty() || ns == kNamespace)) {
        reason = tr("root element %1 is not a QLC+ FixtureDefinition").arg(xml.qualifiedName());
        return false;
    }
    bool hasManufacturer = false;
    bool hasModel = false;
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        if (name == QLatin1String("Manufacturer")) {
            fixture.manufacturer =
                normalizedName(xml.readElementText(QXmlStreamReader::SkipChildElements));
            hasManufacturer = !fixture.manufacturer.isEmpty();
        } else if (name == QLatin1String("Model")) {
            fixture.model = normalizedName(xml.readElementText(QXmlStreamReader::SkipChildElements));
            hasModel = !fixture.model.isEmpty();
        } else if (name == QLatin1String("Type")) {
            fixture.type = normalizedName(xml.readElementText(QXmlStreamReader::SkipChildElements));
        } else if (name == QLatin1String("Mode")) {
            fixture.modes.append(readMode(xml));
        } else {
            xml.skipCurrentElement();
        }
    }
    // Read to the end, so that a truncated or damaged tail is not taken for a whole file.
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError()) {
        reason = tr("not well-formed XML (line %1: %2)").arg(xml.lineNumber()).arg(xml.errorString());
        return false;
    }
    if (!hasManufacturer) {
        reason = tr("no Manufacturer");
        return false;
    }
    if (!hasModel) {
        reason = tr("no Model");
        return false;
    }
    return true;
}

bool Qxf::readFile(const QString &path, QxfFixture &fixture, QString &reason)
{
    fixture.path = path;
    // A FIFO or device named .qxf (or a link to one) would block the open or never end.
    const QFileInfo info(path);
    if (!info.isFile()) {
        reason = info.exists() ? tr("not a regular file, not read") : tr("no such file");
        return false;
    }
    if (info.size() > MaxFileSize) {
        reason = tr("larger than 16 MiB, not read");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = tr("cannot be read: %1").arg(file.errorString());
        return false;
    }
    // Sized from the open file, one byte over to notice growth, and bounded even when it grew
    // after its size was taken; reading up to the bound at once would allocate 16 MiB a file.
    const qint64 expected = std::min(file.size(), MaxFileSize);
    QByteArray document = file.read(expected + 1);
    if (file.error() == QFileDevice::NoError && document.size() > expected)
        document += file.read(MaxFileSize + 1 - document.size());
    if (file.error() != QFileDevice::NoError) {
        reason = tr("cannot be read: %1").arg(file.errorString());
        return false;
    }
    if (document.size() > MaxFileSize) {
        reason = tr("larger than 16 MiB, not read");
        return false;
    }
    return parse(document, fixture, reason);
}

QString Qxf::definitionName(const QxfFixture &fixture, const QxfMode &mode)
{
    if (fixture.modes.size() <= 1 || mode.name.isEmpty())
        return fixture.model;
    return fixture.model + QLatin1Char(' ') + mode.name;
}

std::unique_ptr<QBLFixtureDefinition> Qxf::toDefinition(const QxfFixture &fixture,
                                                        const QxfMode &mode)
{
    if (mode.channels.isEmpty())
        return nullptr;
    auto definition = std::make_unique<QBLFixtureDefinition>();
    definition->setFixtureName(definitionName(fixture, mode));
    definition->setManufacturerName(fixture.manufacturer);
    definition->setFixtureType(fixtureType(fixture.type));
    definition->applyAutoShortNames();
    definition->channels().reserve(mode.channels.size());
    int number = 0;
    for (const QString &name : mode.channels) {
        auto *channel = new QBLFixtureChannel;
        channel->setNumber(++number);
        channel->setName(name);
        channel->applyAutoNameShort();
        definition->channels().append(channel);
    }
    return definition;
}

std::vector<std::unique_ptr<QBLFixtureDefinition>> Qxf::toDefinitions(const QxfFixture &fixture,
                                                                      QList<QxfNote> *notes)
{
    std::vector<std::unique_ptr<QBLFixtureDefinition>> definitions;
    for (const QxfMode &mode : fixture.modes) {
        auto definition = toDefinition(fixture, mode);
        if (!definition) {
            if (notes)
                notes->append({fixture.file, tr("mode \"%1\" has no channels, skipped").arg(mode.name)});
            continue;
        }
        if (notes && definition->nbrOfChannels() > ControllerChannelLimit)
            notes->append({fixture.file, tr("mode \"%1\" has %2 channels; the controller takes "
                                            "at most %3")
                                             .arg(mode.name)
                                             .arg(definition->nbrOfChannels())
                                             .arg(ControllerChannelLimit)});
        definitions.push_back(std::move(definition));
    }
    return definitions;
}
