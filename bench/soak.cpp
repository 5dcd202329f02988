// Runs random device jobs (upload, list, download, delete, patch-list clear, discovery, device
// change) against two simulated KDR-450P with random faults switched on, and checks after
// each that exactly one terminal signal came in time, that the store holds what the jobs that
// succeeded wrote (a failed job may have done a prefix of its work, nothing else), and that
// the library in memory and on disk is untouched. Prints "name: value unit" lines; exits 1
// when anything but the counts of operations and faults is non-zero.
//
// soak [operations] [seed]

#include "devicechanger.h"
#include "devicerecord.h"
#include "devicesdiscoverer.h"
#include "fixturedefinitionsdownloader.h"
#include "fixturedefinitionsuploader.h"
#include "fixturelistdownloader.h"
#include "fixturesdeleter.h"
#include "library/blflarchive.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"
#include "patchlistclearer.h"
#include "qblremotefixturedefinition.h"
#include "simulatedlink.h"
#include "testdefinitions.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <atomic>
#include <cstdio>
#include <memory>
#include <vector>

namespace
{

constexpr int Capacity = 24;
constexpr int ResponseTimeoutMs = 40;
// A job that has not ended by then counts as a hang.
constexpr unsigned long TerminalTimeoutMs = 15000;

using Store = QMap<int, QString>; // slot -> fixture name

struct Counters {
    int operations = 0;
    int faults = 0;
    int hangs = 0;
    int terminalErrors = 0; // no terminal signal, or more than one
    int storeMismatches = 0;
    int libraryChanges = 0;
    int succeeded = 0;
};

Store storeOf(const SimulatedController *controller)
{
    Store store;
    const QMap<int, QByteArray> records = controller->records();
    for (auto it = records.cbegin(); it != records.cend(); ++it)
        store.insert(it.key(), DeviceRecord::readText(it.value().constData(), 100));
    return store;
}

QString describe(const Store &s)
{
    QStringList parts;
    for (auto it = s.cbegin(); it != s.cend(); ++it)
        parts << QStringLiteral("%1=%2").arg(it.key()).arg(it.value());
    return parts.join(QLatin1Char(' '));
}

QByteArray librarySnapshot(const std::vector<std::unique_ptr<QBLFixtureDefinition>> &library)
{
    QByteArray out;
    for (const auto &def : library) {
        out += def->fixtureName().toUtf8() + '|' + def->fixtureNameShort().toUtf8() + '|' +
               def->manufacturerName().toUtf8() + '|' + QByteArray::number(def->fixtureType());
        for (const QBLFixtureChannel *ch : def->channels())
            out += '|' + QByteArray::number(ch->number()) + ':' + ch->name().toUtf8() + ':' +
                   ch->nameShort().toUtf8();
        out += '\n';
    }
    return out;
}

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Counts every terminal signal of one job, from whichever thread emits it.
class Terminals
{
public:
    template <typename Sender, typename... Signals> void watch(Sender *sender, Signals... signal)
    {
        (QObject::connect(
             sender, signal, sender, [this](auto &&...) { ++m_count; }, Qt::DirectConnection),
         ...);
    }
    // The job's success signal, a terminal signal too.
    template <typename Sender, typename Signal> void watchSuccess(Sender *sender, Signal signal)
    {
        QObject::connect(
            sender, signal, sender,
            [this](auto &&...) {
                m_succeeded = true;
                ++m_count;
            },
            Qt::DirectConnection);
    }
    // For a job whose only end is the thread's own finished().
    void watchFinished(QThread *thread)
    {
        QObject::connect(
            thread, &QThread::finished, thread, [this] { ++m_count; }, Qt::DirectConnection);
    }
    int count() const { return m_count.load(); }
    bool succeeded() const { return m_succeeded.load(); }

private:
    std::atomic<int> m_count{0};
    std::atomic<bool> m_succeeded{false};
};

class Soak
{
public:
    Soak(quint32 seed, const QString &libraryPath) : m_random(seed), m_libraryPath(libraryPath)
    {
        // The link is on the first controller; the second is set up the same way.
        SimulatedLink::prepare(m_link.driver.addController()->controller());
        for (int i = 0; i < 2; ++i) {
            SimulatedController *c = m_link.driver.devices().at(i)->controller();
            c->setLabel(QByteArray("Soak ") + QByteArray::number(i));
            c->setCapacity(Capacity);
        }
        m_link.master.setResponseTimeout(ResponseTimeoutMs);

        for (int i = 0; i < 12; ++i)
            m_library.push_back(
                makeDefinition(QStringLiteral("Soak fixture %1").arg(i), 1 + i * 4));
        m_libraryBefore = librarySnapshot(m_library);
    }

    bool saveLibrary()
    {
        QList<QBLFixtureDefinition *> list;
        for (const auto &def : m_library)
            list.append(def.get());
        BLFLArchive archive(m_libraryPath);
        archive.setDefinitions(&list);
        if (!archive.save())
            return false;
        m_libraryBefore = librarySnapshot(m_library);
        m_libraryHash = fileHash(m_libraryPath);
        return !m_libraryHash.isEmpty();
    }

    void run(int operations)
    {
        for (int i = 0; i < operations; ++i) {
            const int jobDevice = m_current;
            const Store before = storeOf(controller());
            const bool fault = m_random.bounded(100) < 60;
            if (fault)
                injectFault();
            QList<Store> allowed{before};
            bool success = false;
            switch (m_random.bounded(8)) {
            case 0:
            case 1:
                success = upload(before, &allowed);
                break;
            case 2:
                success = list(before);
                break;
            case 3:
                success = download(before);
                break;
            case 4:
                success = remove(before, &allowed);
                break;
            case 5:
                success = clearPatchList();
                break;
            case 6:
                success = discover();
                break;
            default:
                success = changeDevice(int(m_random.bounded(2)));
                break;
            }
            ++m_counters.operations;
            if (success)
                ++m_counters.succeeded;
            settle();
            checkStore(jobDevice, success ? QList<Store>{allowed.last()} : allowed);
            checkLibrary();
        }
    }

    const Counters &counters() const { return m_counters; }

private:
    SimulatedDevice *device() const { return m_link.driver.devices().at(m_current); }
    SimulatedController *controller() const { return device()->controller(); }

    void injectFault()
    {
        ++m_counters.faults;
        SimulatedDevice *d = device();
        const int after = int(m_random.bounded(6));
        switch (m_random.bounded(7)) {
        case 0:
            d->dropAnswers(1 + int(m_random.bounded(2)), after);
            break;
        case 1:
            d->answerWithStatus(quint8(7 + m_random.bounded(4)), 1 + int(m_random.bounded(3)),
                                after);
            break;
        case 2:
            d->corruptAnswers(1 + int(m_random.bounded(2)), after,
                              m_random.bounded(2) ? -2 : int(m_random.bounded(12)));
            break;
        case 3: // slow, but within the time-out
            d->setAnswerDelay(std::chrono::milliseconds(ResponseTimeoutMs / 4));
            break;
        case 4: // slower than the time-out
            d->setAnswerDelay(std::chrono::milliseconds(ResponseTimeoutMs * 2));
            break;
        case 5:
            d->unplugAfterReceivedBytes(1 + qint64(m_random.bounded(12000)));
            break;
        default:
            d->unplug();
            break;
        }
    }

    // Faults off and the device back on the bus; a lost link is recovered as the window does,
    // by changing to the device again.
    void settle()
    {
        bool replugged = false;
        for (SimulatedDevice *d : m_link.driver.devices()) {
            d->clearFaults();
            if (!d->isPlugged()) {
                d->plugIn();
                replugged = true;
            }
        }
        if (replugged || m_link.master.isLinkLost())
            changeDevice(m_current);
    }

    bool finish(QThread *worker, const Terminals &terminals)
    {
        worker->start();
        if (!worker->wait(TerminalTimeoutMs)) {
            ++m_counters.hangs;
            m_link.master.cancel();
            worker->wait();
            return false;
        }
        if (terminals.count() != 1) {
            ++m_counters.terminalErrors;
            std::fprintf(stderr, "soak: %s ended with %d terminal signals\n",
                         worker->metaObject()->className(), terminals.count());
            return false;
        }
        return true;
    }

    bool upload(const Store &before, QList<Store> *allowed)
    {
        FixtureDefinitionsUploader uploader;
        uploader.setMaster(&m_link.master);
        const int count = 1 + int(m_random.bounded(3));
        Store expected = before;
        for (int i = 0; i < count; ++i) {
            const auto &def = m_library[m_random.bounded(quint32(m_library.size()))];
            uploader.addDefinition(*def);
            int slot = 0;
            while (expected.contains(slot))
                ++slot;
            if (slot < Capacity) {
                expected.insert(slot, def->fixtureName());
                allowed->append(expected);
            }
        }
        Terminals terminals;
        terminals.watchSuccess(&uploader, &FixtureDefinitionsUploader::dataSent);
        terminals.watch(&uploader, &FixtureDefinitionsUploader::failed,
                        &FixtureDefinitionsUploader::failedNotEnoughFreeSpace,
                        &FixtureDefinitionsUploader::failedTooManyOrNotEnoughChannels,
                        &FixtureDefinitionsUploader::failedPatchingNeedsToBeCleared);
        // Sometimes the controller has patched fixtures: the upload must refuse and store nothing.
        if (m_random.bounded(10) == 0)
            controller()->setPatchListEmpty(false);
        const bool sent = finish(&uploader, terminals) && terminals.succeeded();
        if (sent && allowed->size() != count + 1) {
            ++m_counters.storeMismatches;
            std::fprintf(stderr, "soak: an upload into a full store reported success\n");
        }
        return sent;
    }

    bool list(const Store &before)
    {
        FixtureListDownloader downloader;
        downloader.setMaster(&m_link.master);
        int received = -1;
        QObject::connect(
            &downloader, &FixtureListDownloader::receivedData, &downloader,
            [&](void *, int length) {
                received = length <= 2 ? 0 : (length - 2) / DeviceRecord::HeaderSize;
            },
            Qt::DirectConnection);
        Terminals terminals;
        terminals.watch(&downloader, &FixtureListDownloader::receivedData,
                        &FixtureListDownloader::failed, &FixtureListDownloader::downloadAborted);
        const bool ok = finish(&downloader, terminals) && received >= 0;
        if (ok && received != before.size()) {
            ++m_counters.storeMismatches;
            std::fprintf(stderr, "soak: listed %d definitions of %lld stored\n", received,
                         qint64(before.size()));
        }
        return ok;
    }

    bool download(const Store &before)
    {
        if (before.isEmpty())
            return list(before);
        FixtureDefinitionsDownloader downloader;
        downloader.setMaster(&m_link.master);
        QList<int> chosen;
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            if (chosen.size() < 3 && m_random.bounded(2))
                chosen << it.key();
        if (chosen.isEmpty())
            chosen << before.firstKey();
        for (int slot : chosen) {
            QBLRemoteFixtureDefinition entry;
            entry.setSlotNumber(quint8(slot));
            entry.setFixtureName(before.value(slot));
            downloader.addDefinition(entry);
        }
        Terminals terminals;
        terminals.watchSuccess(&downloader, &FixtureDefinitionsDownloader::fixturesDownloaded);
        terminals.watch(&downloader, &FixtureDefinitionsDownloader::failed);
        const bool ok = finish(&downloader, terminals) && terminals.succeeded();
        if (ok) {
            const QList<QBLFixtureDefinition *> &got = downloader.downloadedDefinitions();
            bool same = got.size() == chosen.size();
            for (int i = 0; same && i < chosen.size(); ++i)
                same = got.at(i)->fixtureName() == before.value(chosen.at(i));
            if (!same) {
                ++m_counters.storeMismatches;
                std::fprintf(stderr, "soak: a download returned other definitions\n");
            }
        }
        return ok;
    }

    bool remove(const Store &before, QList<Store> *allowed)
    {
        FixturesDeleter deleter;
        deleter.setMaster(&m_link.master);
        std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> targets;
        Store expected = before;
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            if (targets.size() >= 3 || m_random.bounded(3))
                continue;
            auto target = std::make_unique<QBLRemoteFixtureDefinition>();
            target->setSlotNumber(quint8(it.key()));
            target->setFixtureName(it.value());
            deleter.addTarget(target.get());
            targets.push_back(std::move(target));
            expected.remove(it.key());
            allowed->append(expected);
        }
        Terminals terminals;
        terminals.watchSuccess(&deleter, &FixturesDeleter::fixturesDeleted);
        terminals.watch(&deleter, &FixturesDeleter::failed,
                        &FixturesDeleter::failedPatchingNeedsToBeCleared);
        if (m_random.bounded(10) == 0)
            controller()->setPatchListEmpty(false);
        return finish(&deleter, terminals) && terminals.succeeded();
    }

    bool clearPatchList()
    {
        PatchListClearer clearer;
        clearer.setMaster(&m_link.master);
        Terminals terminals;
        terminals.watchSuccess(&clearer, &PatchListClearer::success);
        terminals.watch(&clearer, &PatchListClearer::failed, &PatchListClearer::aborted);
        const bool ok = finish(&clearer, terminals) && terminals.succeeded();
        if (ok && !controller()->patchListEmpty()) {
            ++m_counters.storeMismatches;
            std::fprintf(stderr, "soak: the patch list is not empty after a clear\n");
        }
        return ok;
    }

    bool discover()
    {
        DevicesDiscoverer discoverer;
        discoverer.setLink(&m_link.master, &m_link.phy);
        Terminals terminals;
        terminals.watchFinished(&discoverer);
        if (!finish(&discoverer, terminals))
            return false;
        const QList<DiscoveredDevice> found = discoverer.devices();
        if (found.size() > 2) {
            ++m_counters.storeMismatches;
            std::fprintf(stderr, "soak: discovery found %lld devices of 2\n", qint64(found.size()));
        }
        // Discovery leaves the link on some device: go back to ours, as the window does.
        settle();
        changeDevice(m_current);
        return found.size() == 2;
    }

    bool changeDevice(int index)
    {
        DeviceChanger changer;
        changer.setLink(&m_link.master, &m_link.phy);
        changer.setTargetIndex(index);
        Terminals terminals;
        terminals.watch(&changer, &DeviceChanger::done);
        if (!finish(&changer, terminals))
            return false;
        m_current = index;
        return !m_link.master.isLinkLost();
    }

    // The job's own device holds one of the allowed stores; the other was left alone.
    void checkStore(int jobDevice, const QList<Store> &allowed)
    {
        for (int i = 0; i < 2; ++i) {
            const Store now = storeOf(m_link.driver.devices().at(i)->controller());
            const bool fine = i == jobDevice ? allowed.contains(now) : now == m_seen[i];
            if (!fine) {
                ++m_counters.storeMismatches;
                std::fprintf(stderr, "soak: store of device %d is %s, expected one of:\n", i,
                             qPrintable(describe(now)));
                for (const Store &s : i == jobDevice ? allowed : QList<Store>{m_seen[i]})
                    std::fprintf(stderr, "  %s\n", qPrintable(describe(s)));
            }
            m_seen[i] = now;
        }
    }

    void checkLibrary()
    {
        if (librarySnapshot(m_library) != m_libraryBefore ||
            fileHash(m_libraryPath) != m_libraryHash)
            ++m_counters.libraryChanges;
    }

    QRandomGenerator m_random;
    QString m_libraryPath;
    SimulatedLink m_link;
    int m_current = 0;
    Store m_seen[2]; // each device's store after the last check
    std::vector<std::unique_ptr<QBLFixtureDefinition>> m_library;
    QByteArray m_libraryBefore;
    QByteArray m_libraryHash;
    Counters m_counters;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.warning=false"));
    const QStringList args = app.arguments();
    const int operations = args.size() > 1 ? args.at(1).toInt() : 1000;
    const quint32 seed = args.size() > 2 ? args.at(2).toUInt() : 1;

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "soak: no temporary folder\n");
        return 1;
    }
    Soak soak(seed, dir.filePath(QStringLiteral("soak.blfl")));
    if (!soak.saveLibrary()) {
        std::fprintf(stderr, "soak: the library could not be saved\n");
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    soak.run(operations);
    const Counters &c = soak.counters();

    QTextStream out(stdout);
    out.setRealNumberNotation(QTextStream::FixedNotation);
    out.setRealNumberPrecision(1);
    out << "operations: " << c.operations << " count\n";
    out << "faults_injected: " << c.faults << " count\n";
    out << "operations_succeeded: " << c.succeeded << " count\n";
    out << "hangs: " << c.hangs << " count\n";
    out << "terminal_signal_errors: " << c.terminalErrors << " count\n";
    out << "store_mismatches: " << c.storeMismatches << " count\n";
    out << "library_changes: " << c.libraryChanges << " count\n";
    out << "duration: " << double(timer.elapsed()) / 1000.0 << " s\n";
    out.flush();
    return c.hangs + c.terminalErrors + c.storeMismatches + c.libraryChanges == 0 ? 0 : 1;
}
