// Every device worker stops on abort() whenever it comes: right after start() (before the
// worker's thread has begun its run), while the first frame is answered, and at the last one.
// Each run ends with exactly one terminal signal, soon, and the worker and the link work for
// the next run.
#include "fixturedefinitionsdownloader.h"
#include "fixturedefinitionsuploader.h"
#include "fixturelistdownloader.h"
#include "fixturesdeleter.h"
#include "patchlistclearer.h"
#include "qblremotefixturedefinition.h"
#include "schedulingdelay.h"
#include "simulatedlink.h"
#include "threadend.h"
#include "workerharness.h"

#include <QtTest>

#include <atomic>
#include <chrono>
#include <functional>

using namespace std::chrono_literals;

namespace
{

// One worker, ready to run against the link's controller.
struct Job {
    QThread *thread = nullptr;
    std::function<void()> start; // the worker's own start()
    std::function<void()> abort;
    std::function<void()> prepareStore; // the controller's store as a run expects it
    QList<const char *> terminals;
    QByteArray abortedSignal;
    QByteArray doneSignal;
    // Slow enough that a run takes well over half a second, so a lost abort shows.
    std::chrono::microseconds answerDelay{0};
    std::shared_ptr<void> keep; // the worker and what it was given
};
using MakeJob = std::function<Job(SimulatedLink &)>;

template <typename Worker>
Job jobOf(const std::shared_ptr<Worker> &worker, QList<const char *> terminals,
          const char *abortedSignal, const char *doneSignal)
{
    Job job;
    job.thread = worker.get();
    job.start = [w = worker.get()] { w->start(); };
    job.abort = [w = worker.get()] { w->abort(); };
    job.terminals = terminals;
    job.abortedSignal = abortedSignal;
    job.doneSignal = doneSignal;
    job.keep = worker;
    return job;
}

void fillStore(SimulatedLink &link, int records)
{
    link.controller->clearRecords();
    for (int i = 0; i < records; ++i)
        link.controller->storeRecord(SimulatedLink::record("Stored " + QByteArray::number(i), 45));
}

Job listDownload(SimulatedLink &link)
{
    auto worker = std::make_shared<FixtureListDownloader>();
    worker->setMaster(&link.master);
    Job job = jobOf(
        worker, {SIGNAL(receivedData(void *, int)), SIGNAL(failed()), SIGNAL(downloadAborted())},
        "downloadAborted", "receivedData");
    job.prepareStore = [&link] { fillStore(link, 40); };
    return job;
}

Job upload(SimulatedLink &link)
{
    auto worker = std::make_shared<FixtureDefinitionsUploader>();
    worker->setMaster(&link.master);
    for (int i = 0; i < 2; ++i)
        worker->addDefinition(*makeDefinition(QStringLiteral("Fixture %1").arg(i), 45));
    Job job = jobOf(worker,
                    {SIGNAL(dataSent()), SIGNAL(failed()), SIGNAL(aborted()), SIGNAL(alreadyHeld()),
                     SIGNAL(failedNotEnoughFreeSpace()), SIGNAL(failedTooManyOrNotEnoughChannels()),
                     SIGNAL(failedPatchingNeedsToBeCleared())},
                    "aborted", "dataSent");
    job.prepareStore = [&link] { link.controller->clearRecords(); };
    return job;
}

Job download(SimulatedLink &link)
{
    auto worker = std::make_shared<FixtureDefinitionsDownloader>();
    worker->setMaster(&link.master);
    for (int slot = 0; slot < 2; ++slot) {
        QBLRemoteFixtureDefinition entry;
        entry.setSlotNumber(quint8(slot));
        worker->addDefinition(entry);
    }
    Job job = jobOf(worker, {SIGNAL(fixturesDownloaded()), SIGNAL(failed()), SIGNAL(aborted())},
                    "aborted", "fixturesDownloaded");
    job.prepareStore = [&link] { fillStore(link, 2); };
    return job;
}

Job deletion(SimulatedLink &link)
{
    constexpr int Slots = 60;
    auto worker = std::make_shared<FixturesDeleter>();
    worker->setMaster(&link.master);
    auto rows = std::make_shared<std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>>>();
    for (int slot = 0; slot < Slots; ++slot) {
        rows->push_back(std::make_unique<QBLRemoteFixtureDefinition>());
        rows->back()->setSlotNumber(quint8(slot));
        worker->addTarget(rows->back().get());
    }
    Job job = jobOf(worker,
                    {SIGNAL(fixturesDeleted()), SIGNAL(failed()), SIGNAL(aborted()),
                     SIGNAL(failedPatchingNeedsToBeCleared())},
                    "aborted", "fixturesDeleted");
    job.keep =
        std::make_shared<std::pair<std::shared_ptr<FixturesDeleter>, decltype(rows)>>(worker, rows);
    job.prepareStore = [&link] { fillStore(link, Slots); };
    job.answerDelay = 8ms; // a deletion's frames are short
    return job;
}

Job patchListClearing(SimulatedLink &link)
{
    auto worker = std::make_shared<PatchListClearer>();
    worker->setMaster(&link.master);
    Job job = jobOf(worker, {SIGNAL(success()), SIGNAL(failed()), SIGNAL(aborted())}, "aborted",
                    "success");
    job.prepareStore = [&link] { link.controller->setPatchListEmpty(false); };
    return job;
}

enum class Moment { RightAfterStart, FirstFrame, LastFrame };

QElapsedTimer &monotonic()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer;
}

// When, and how loaded, the first terminal signal came (on the worker's thread).
class TerminalWatch : public QObject
{
    Q_OBJECT

public:
    explicit TerminalWatch(const Job &job)
    {
        for (const char *signal : job.terminals)
            connect(job.thread, signal, this, SLOT(ended()), Qt::DirectConnection);
    }
    // Written before endedNs, read once the worker has ended.
    RunQueueWaits waits;
    std::atomic<qint64> endedNs{-1};

public slots:
    void ended()
    {
        if (endedNs.load() >= 0)
            return;
        waits = runQueueWaits();
        endedNs = monotonic().nsecsElapsed();
    }
};

bool waitForFrames(SimulatedDevice *device, quint64 count)
{
    QElapsedTimer deadline;
    deadline.start();
    while (device->framesReceived() < count) {
        if (deadline.elapsed() > 20000)
            return false;
        QThread::usleep(20);
    }
    return true;
}

} // namespace

Q_DECLARE_METATYPE(MakeJob)
Q_DECLARE_METATYPE(Moment)

class WorkerAborts : public QObject
{
    Q_OBJECT

private slots:
    void everyWorkerEndsAnAbortedRunOnceAndSoonAndRunsAgain_data()
    {
        const QList<std::pair<const char *, MakeJob>> jobs = {
            {"list download", listDownload},
            {"upload", upload},
            {"download", download},
            {"deletion", deletion},
            {"patch list clearing", patchListClearing}};
        const QList<std::pair<const char *, Moment>> moments = {
            {"right after start", Moment::RightAfterStart},
            {"at the first frame", Moment::FirstFrame},
            {"at the last frame", Moment::LastFrame}};
        QTest::addColumn<MakeJob>("make");
        QTest::addColumn<Moment>("moment");
        for (const auto &job : jobs)
            for (const auto &moment : moments)
                QTest::addRow("%s, %s", job.first, moment.first) << job.second << moment.second;
    }

    void everyWorkerEndsAnAbortedRunOnceAndSoonAndRunsAgain()
    {
        QFETCH(MakeJob, make);
        QFETCH(Moment, moment);
        SimulatedLink link(true);
        const Job job = make(link);
        SimulatedDevice *device = link.device;
        ThreadEnd end(job.thread);

        // A whole run first, fast, to count its frames.
        device->setWireTimeModel(false);
        job.prepareStore();
        quint64 base = device->framesReceived();
        auto spies = std::make_unique<TerminalSignals>(job.thread, job.terminals);
        job.start();
        QVERIFY(end.wait(20000));
        QCOMPARE(spies->only(), job.doneSignal);
        const quint64 frames = device->framesReceived() - base;
        QVERIFY(frames > 0);

        // The aborted run, at wire speed.
        device->setWireTimeModel(true);
        device->setAnswerDelay(job.answerDelay);
        job.prepareStore();
        spies = std::make_unique<TerminalSignals>(job.thread, job.terminals);
        TerminalWatch watch(job);
        base = device->framesReceived();
        // Right after start() means before run(): the new thread holds on between its
        // started() and run() until the abort has been given.
        std::atomic<bool> abortGiven{false};
        QObject holdBack;
        if (moment == Moment::RightAfterStart)
            connect(
                job.thread, &QThread::started, &holdBack,
                [&abortGiven] {
                    while (!abortGiven)
                        QThread::usleep(20);
                },
                Qt::DirectConnection);
        job.start();
        if (moment == Moment::FirstFrame)
            QVERIFY(waitForFrames(device, base + 1));
        else if (moment == Moment::LastFrame)
            QVERIFY(waitForFrames(device, base + frames));
        const RunQueueWaits waitsBefore = runQueueWaits();
        const qint64 abortedAt = monotonic().nsecsElapsed();
        job.abort();
        abortGiven = true;
        QVERIFY(end.wait(20000));

        QVERIFY2(spies->total() == 1, spies->only().constData());
        const QByteArray ended = spies->only();
        if (moment == Moment::LastFrame || (moment == Moment::FirstFrame && frames == 1))
            QVERIFY2(ended == job.abortedSignal || ended == job.doneSignal, ended.constData());
        else
            QCOMPARE(ended, job.abortedSignal);
        if (moment == Moment::RightAfterStart)
            QCOMPARE(device->framesReceived(), base); // nothing went out
        // From the abort to the signal, less what the machine's load added.
        const qint64 tookNs = std::max<qint64>(0, watch.endedNs - abortedAt);
        const qint64 loadNs = runQueueWaitBetween(waitsBefore, watch.waits);
        const qint64 unloadedMs = std::max<qint64>(0, tookNs - loadNs) / 1000000;
        QVERIFY2(unloadedMs < 100, qPrintable(QStringLiteral("%1 ms after the abort, %2 ms of it "
                                                             "waiting for a processor")
                                                  .arg(tookNs / 1000000)
                                                  .arg(loadNs / 1000000)));

        // The worker and the link do the next job whole.
        device->clearFaults();
        device->setWireTimeModel(false);
        job.prepareStore();
        spies = std::make_unique<TerminalSignals>(job.thread, job.terminals);
        job.start();
        QVERIFY(end.wait(20000));
        QCOMPARE(spies->only(), job.doneSignal);
        QVERIFY(!link.master.isLinkLost());
    }
};

QTEST_GUILESS_MAIN(WorkerAborts)
#include "test_worker_aborts.moc"
