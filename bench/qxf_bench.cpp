// Scans a QLC+ fixture catalogue and imports it into a library file.
// Usage: qxf_bench [FOLDER | --generated]   (default: the installed catalogue, else a generated one)
#include "library/blflarchive.h"
#include "library/qxfcatalogue.h"
#include "model/qblfixturedefinition.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>
#include <vector>

namespace
{

// About the size and shape of the installed catalogue: 1,400 files, 1 to 4 modes each.
bool generateCatalogue(const QString &root)
{
    for (int i = 0; i < 1400; ++i) {
        const QString folder = QStringLiteral("%1/Maker %2").arg(root).arg(i % 120);
        if (!QDir().mkpath(folder))
            return false;
        QByteArray doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE FixtureDefinition>\n"
                         "<FixtureDefinition xmlns=\"http://www.qlcplus.org/FixtureDefinition\">\n"
                         " <Manufacturer>Maker " + QByteArray::number(i % 120) + "</Manufacturer>\n"
                         " <Model>Fixture " + QByteArray::number(i) + "</Model>\n <Type>Moving Head</Type>\n";
        const int channels = 4 + i % 40;
        for (int c = 0; c < channels; ++c)
            doc += " <Channel Name=\"Channel " + QByteArray::number(c) + "\">\n  <Group Byte=\"0\">Intensity</Group>\n"
                   "  <Capability Min=\"0\" Max=\"127\">Low</Capability>\n"
                   "  <Capability Min=\"128\" Max=\"255\">High</Capability>\n </Channel>\n";
        for (int m = 0, modes = 1 + i % 4; m < modes; ++m) {
            doc += " <Mode Name=\"Mode " + QByteArray::number(m) + "\">\n  <Physical/>\n";
            for (int c = 0; c < channels - m; ++c)
                doc += "  <Channel Number=\"" + QByteArray::number(c) + "\">Channel " +
                       QByteArray::number(c) + "</Channel>\n";
            doc += " </Mode>\n";
        }
        doc += "</FixtureDefinition>\n";
        QFile f(QStringLiteral("%1/fixture-%2.qxf").arg(folder).arg(i));
        if (!f.open(QIODevice::WriteOnly) || f.write(doc) != doc.size())
            return false;
    }
    return true;
}

QString loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readLine()).section(QLatin1Char(' '), 0, 2)
                                       : QStringLiteral("unknown");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    QTextStream out(stdout);
    QTemporaryDir work;
    if (!work.isValid())
        return 1;

    const QString given = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const bool generated = given == QLatin1String("--generated");
    QString folder = generated ? QString() : given;
    if (folder.isEmpty() && !generated) {
        for (const QString &system : QxfCatalogue::systemFolders())
            if (QDir(system).exists()) {
                folder = system;
                break;
            }
    }
    if (folder.isEmpty()) {
        folder = work.filePath(QStringLiteral("catalogue"));
        if (!generateCatalogue(folder)) {
            out << "cannot write the generated catalogue\n";
            return 1;
        }
        out << "generated catalogue: " << folder << "\n";
    }

    QElapsedTimer timer;
    timer.start();
    const QxfScanResult scan = QxfCatalogue::scan(QStringList{folder});
    const qint64 scanMs = timer.elapsed();
    out << "qxf scan: " << scanMs << " ms for " << scan.fileCount << " files (" << scan.modeCount()
        << " modes)\n";

    timer.restart();
    const QxfScanResult again = QxfCatalogue::scan(QStringList{folder});
    std::vector<std::unique_ptr<QBLFixtureDefinition>> definitions;
    QList<QBLFixtureDefinition *> list;
    for (const QxfFixture &f : again.fixtures)
        for (auto &d : Qxf::toDefinitions(f)) {
            list.append(d.get());
            definitions.push_back(std::move(d));
        }
    BLFLArchive archive(work.filePath(QStringLiteral("imported.blfl")));
    archive.setDefinitions(&list);
    const bool saved = archive.save();
    out << "qxf import: " << timer.elapsed() << " ms\n";
    out << "load average: " << loadAverage() << "\n";
    return saved ? 0 : 1;
}
