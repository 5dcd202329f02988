// Scans a QLC+ fixture catalogue and imports it into a library file.
// Usage: qxf_bench [FOLDER | --generated]   (default: the installed catalogue, else a generated one)
// Prints the wall time of the scan and of the import (a second scan, building the definitions and
// saving them) as "qxf scan: N ms for F files (M modes)" and "qxf import: N ms", each followed by
// its CPU time (user + system, all threads) on a line of its own; then the import split into its
// three steps and the load average. Targets on the installed catalogue: scan <= 250 ms, import
// <= 500 ms.
#include "qxfbenchcatalogue.h"
#include "stopwatch.h"

#include "library/blflarchive.h"
#include "library/qxfcatalogue.h"
#include "model/qblfixturedefinition.h"

#include <QCoreApplication>
#include <QDir>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

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
    const double firstWall = clock.wallMs(), firstCpu = clock.cpuMs();
    std::printf("qxf scan: %.0f ms for %d files (%d modes)\n", firstWall, scan.fileCount,
                scan.modeCount());
    std::printf("qxf scan cpu: %.0f ms\n", firstCpu);

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
    const double importWall = clock.wallMs(), importCpu = clock.cpuMs();
    std::printf("qxf import: %.0f ms\n", importWall);
    std::printf("qxf import cpu: %.0f ms\n", importCpu);
    std::printf("qxf import definitions: %d\n", int(list.size()));
    std::printf("  scan %.0f ms (cpu %.0f), build %.0f ms (cpu %.0f), save %.0f ms (cpu %.0f)\n",
                scanWall, scanCpu, buildWall, buildCpu, saveWall, saveCpu);
    std::printf("load average: %s\n", qPrintable(loadAverage()));
    if (!saved)
        std::printf("the library could not be saved: %s\n", qPrintable(archive.errorString()));
    return saved ? 0 : 1;
}
