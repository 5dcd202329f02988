// Scans a QLC+ fixture catalogue and imports it into a library file.
// Usage: qxf_bench [FOLDER | --generated]   (default: the installed catalogue, else a generated one)
// Prints wall and CPU time (user + system, all threads) of the scan and of the import (a second
// scan, building the definitions and saving them), the import split into its three steps, and
// the load average. Targets on the installed catalogue: scan <= 250 ms, import <= 500 ms.
#include "qxfbenchcatalogue.h"
#include "stopwatch.h"

#include "library/blflarchive.h"
#include "library/qxfcatalogue.h"
#include "model/qblfixturedefinition.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

namespace
{

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
        if (!generateQxfCatalogue(folder, 1400)) {
            std::printf("cannot write the generated catalogue\n");
            return 1;
        }
        std::printf("generated catalogue: %s\n", qPrintable(folder));
    }
    std::printf("load average before: %s\n", qPrintable(loadAverage()));

    Stopwatch clock;
    clock.start();
    const QxfScanResult scan = QxfCatalogue::scan(QStringList{folder});
    std::printf("qxf scan: %.0f ms (cpu %.0f ms) for %d files (%d modes)\n", clock.wallMs(),
                clock.cpuMs(), scan.fileCount, scan.modeCount());

    Stopwatch step;
    clock.start();
    step.start();
    const QxfScanResult again = QxfCatalogue::scan(QStringList{folder});
    const double scanWall = step.wallMs(), scanCpu = step.cpuMs();
    step.start();
    std::vector<std::unique_ptr<QBLFixtureDefinition>> definitions;
    QList<QBLFixtureDefinition *> list;
    for (const QxfFixture &f : again.fixtures)
        for (auto &d : Qxf::toDefinitions(f)) {
            list.append(d.get());
            definitions.push_back(std::move(d));
        }
    const double buildWall = step.wallMs(), buildCpu = step.cpuMs();
    step.start();
    BLFLArchive archive(work.filePath(QStringLiteral("imported.blfl")));
    archive.setDefinitions(&list);
    const bool saved = archive.save();
    const double saveWall = step.wallMs(), saveCpu = step.cpuMs();
    std::printf("qxf import: %.0f ms (cpu %.0f ms) for %d definitions\n", clock.wallMs(),
                clock.cpuMs(), int(list.size()));
    std::printf("  scan %.0f ms (cpu %.0f), build %.0f ms (cpu %.0f), save %.0f ms (cpu %.0f)\n",
                scanWall, scanCpu, buildWall, buildCpu, saveWall, saveCpu);
    std::printf("load average: %s\n", qPrintable(loadAverage()));
    if (!saved)
        std::printf("the library could not be saved: %s\n", qPrintable(archive.errorString()));
    return saved ? 0 : 1;
}
