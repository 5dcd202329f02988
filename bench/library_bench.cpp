// Times loading and saving a large library against gzip on the same data, in one run.
// Wall-clock times first; CPU times too, since they hold up better on a busy machine (the
// shell's CPU time is counted with gzip's, a millisecond or two in gzip's disfavour).
#include "library/blflarchive.h"
#include "library/qblfixturedefinitionloader.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace
{

constexpr int kDefinitions = 10000;
constexpr int kChannels = 24;
constexpr int kRounds = 3; // the best of these is reported: the machine is shared

const char *const kChannelNames[] = {"Pan",
                                     "Pan fine",
                                     "Tilt",
                                     "Tilt fine",
                                     "Pan/Tilt speed",
                                     "Dimmer",
                                     "Dimmer fine",
                                     "Shutter",
                                     "Strobe",
                                     "Colour wheel",
                                     "Cyan",
                                     "Magenta",
                                     "Yellow",
                                     "CTO",
                                     "Gobo wheel 1",
                                     "Gobo rotation",
                                     "Gobo wheel 2",
                                     "Prism",
                                     "Prism rotation",
                                     "Focus",
                                     "Zoom",
                                     "Iris",
                                     "Frost",
                                     "Control"};

std::vector<std::unique_ptr<QBLFixtureDefinition>> makeLibrary()
{
    const char *const makers[] = {"Brightworks", "Lumen & Söhne", "Stagecraft", "Nordlicht"};
    std::vector<std::unique_ptr<QBLFixtureDefinition>> list;
    list.reserve(kDefinitions);
    for (int i = 0; i < kDefinitions; ++i) {
        auto d = std::make_unique<QBLFixtureDefinition>();
        d->setFixtureName(
            QStringLiteral("Spot %1 Mk%2").arg(i, 5, 10, QLatin1Char('0')).arg(i % 7));
        d->setManufacturerName(QString::fromUtf8(makers[i % 4]));
        d->setFixtureType(quint32(i % 11));
        if (i % 5 == 0) {
            d->setAutoFixtureNameShort(false);
            d->setFixtureNameShort(QStringLiteral("S%1").arg(i));
        }
        for (int c = 0; c < kChannels; ++c) {
            auto *channel = new QBLFixtureChannel;
            channel->setNumber(c + 1);
            channel->setName(QString::fromLatin1(kChannelNames[c]));
            if (c % 3 == 0) {
                channel->setAutoNameShort(false);
                channel->setNameShort(QStringLiteral("Ch%1").arg(c + 1));
            }
            d->channels().append(channel);
        }
        list.push_back(std::move(d));
    }
    return list;
}

struct Timing {
    double wallMs = 1e300;
    double cpuMs = 1e300; // this thread's, plus that of the child processes it waited for
};

double cpuNowMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    auto ms = [](const timeval &v) { return v.tv_sec * 1e3 + v.tv_usec / 1e3; };
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6 + ms(children.ru_utime) + ms(children.ru_stime);
}

// The best of kRounds runs of work; cleanup runs after each timed run, untimed.
Timing best(const std::function<bool()> &work, bool *ok, const std::function<void()> &cleanup = {})
{
    Timing result;
    for (int round = 0; round < kRounds; ++round) {
        const double cpu = cpuNowMs();
        QElapsedTimer t;
        t.start();
        if (!work())
            *ok = false;
        result.wallMs = std::min(result.wallMs, t.nsecsElapsed() / 1e6);
        result.cpuMs = std::min(result.cpuMs, cpuNowMs() - cpu);
        if (cleanup)
            cleanup();
    }
    return result;
}

// Runs a shell command line; true when it exits with 0.
bool shell(const QString &command)
{
    QProcess p;
    p.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    return p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QString quoted(const QString &path)
{
    return QLatin1Char('\'') + QString(path).replace(QLatin1Char('\''), QLatin1String("'\\''")) +
           QLatin1Char('\'');
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QTemporaryDir dir;
    if (!dir.isValid()) {
        err << "library_bench: cannot create a temporary folder\n";
        return 1;
    }
    const QString file = dir.filePath(QStringLiteral("bench.blfl"));
    const QString tar = dir.filePath(QStringLiteral("bench.tar"));

    const auto library = makeLibrary();
    QList<QBLFixtureDefinition *> definitions;
    for (const auto &d : library)
        definitions.append(d.get());

    bool ok = true;
    const Timing save = best(
        [&] {
            BLFLArchive archive(file);
            archive.setDefinitions(&definitions);
            return archive.save();
        },
        &ok);
    // Loading ends with the definitions in memory; freeing them again is not part of it.
    std::unique_ptr<BLFLArchive> archive;
    qsizetype loaded = 0;
    const Timing load = best(
        [&] {
            archive = std::make_unique<BLFLArchive>(file);
            if (!archive->load())
                return false;
            loaded = 0;
            for (QBLFixtureDefinitionLoader *loader : archive->loaders())
                loaded += loader->definitions()->size();
            return true;
        },
        &ok, [&] { archive.reset(); });
    if (!ok || loaded != kDefinitions) {
        err << "library_bench: saving or loading the library failed\n";
        return 1;
    }

    const Timing gunzip = best(
        [&] { return shell(QStringLiteral("gzip -dc %1 > /dev/null").arg(quoted(file))); }, &ok);
    if (!shell(QStringLiteral("gzip -dc %1 > %2").arg(quoted(file), quoted(tar))))
        ok = false;
    const Timing gzip =
        best([&] { return shell(QStringLiteral("gzip -c %1 > /dev/null").arg(quoted(tar))); }, &ok);
    if (!ok) {
        err << "library_bench: gzip failed (is it installed?)\n";
        return 1;
    }

    auto ms = [](double v) { return QString::number(v, 'f', 1); };
    auto ratio = [](double a, double b) { return QString::number(a / b, 'f', 2); };
    out << "definitions: " << kDefinitions << " definitions\n"
        << "channels per definition: " << kChannels << " channels\n"
        << "library size: " << QFileInfo(file).size() << " bytes\n"
        << "tar size: " << QFileInfo(tar).size() << " bytes\n"
        << "load: " << ms(load.wallMs) << " ms\n"
        << "save: " << ms(save.wallMs) << " ms\n"
        << "gzip -dc: " << ms(gunzip.wallMs) << " ms\n"
        << "gzip -c: " << ms(gzip.wallMs) << " ms\n"
        << "load / gzip -dc: " << ratio(load.wallMs, gunzip.wallMs) << " x (target 5)\n"
        << "save / gzip -c: " << ratio(save.wallMs, gzip.wallMs) << " x (target 3)\n"
        << "load cpu: " << ms(load.cpuMs) << " ms\n"
        << "save cpu: " << ms(save.cpuMs) << " ms\n"
        << "gzip -dc cpu: " << ms(gunzip.cpuMs) << " ms\n"
        << "gzip -c cpu: " << ms(gzip.cpuMs) << " ms\n"
        << "load / gzip -dc cpu: " << ratio(load.cpuMs, gunzip.cpuMs) << " x (target 5)\n"
        << "save / gzip -c cpu: " << ratio(save.cpuMs, gzip.cpuMs) << " x (target 3)\n";
    return 0;
}
