#include "fixturesdeleter.h"
#include "patchlistclearer.h"
#include "qblremotefixturedefinition.h"
#include "threadend.h"
#include "workerrig.h"

#include <QtTest>

// A patch-list clearer on a test's link, with spies on its terminal signals.
struct ClearerOnLink {
    explicit ClearerOnLink(SimulatedLink *link) { worker.setMaster(&link->master); }
    PatchListClearer worker;
    TerminalSignals end{&worker, {SIGNAL(success()), SIGNAL(failed()), SIGNAL(aborted())}};
};

class FixtureDeleteTest : public QObject, WorkerRig<FixturesDeleter>
{
    Q_OBJECT

    QList<QBLRemoteFixtureDefinition *> m_rows;

    void target(const QList<int> &slotNumbers)
    {
        m_worker->clearTargets();
        for (int s : slotNumbers) {
            auto *row = new QBLRemoteFixtureDefinition;
            row->setSlotNumber(quint8(s));
            m_rows.append(row);
            m_worker->addTarget(row);
        }
    }

    void store(int count)
    {
        for (int i = 0; i < count; ++i)
            m_link->controller->storeRecord(SimulatedLink::record("R" + QByteArray::number(i), 1));
    }

private slots:
    void init()
    {
        setUpRig({SIGNAL(fixturesDeleted()), SIGNAL(failed()), SIGNAL(aborted()),
                  SIGNAL(failedPatchingNeedsToBeCleared())});
    }

    void cleanup()
    {
        tearDownRig();
        qDeleteAll(m_rows);
        m_rows.clear();
    }

    void deletingRemovesExactlyTheChosenSlotsWithThirdsOfProgress()
    {
        store(6);
        target({4, 1, 2});
        QSignalSpy total(m_worker.get(), &FixturesDeleter::progressTotal);
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("fixturesDeleted"));
        QCOMPARE(uintArgs(total), QList<uint>({33u, 66u, 100u}));
        QCOMPARE(m_link->controller->records().keys(), QList<int>({0, 3, 5}));
    }

    void aNonEmptyPatchListRefusesBeforeAnyDeleteRequest()
    {
        store(2);
        m_link->controller->setPatchListEmpty(false);
        m_link->device->clearFrameLog();
        target({0});
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("failedPatchingNeedsToBeCleared"));
        for (const SimulatedFrameInfo &f : m_link->device->frameLog())
            QVERIFY(f.command != 13);
        QCOMPARE(m_link->controller->records().size(), 2);
    }

    void abortDuringTheSecondOfFiveLetsItFinishThenStops()
    {
        store(5);
        target({0, 1, 2, 3, 4});
        // The first progress report comes after the first request; abort from there, while
        // the second runs next.
        connect(
            m_worker.get(), &FixturesDeleter::progressTotal, this,
            [this](uint p) {
                if (p == 20)
                    m_worker->abort();
            },
            Qt::DirectConnection);
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("aborted"));
        QCOMPARE(m_worker->deletedCount(), 2);
        QCOMPARE(m_link->controller->records().keys(), QList<int>({2, 3, 4}));
    }

    void aDeviceWithOldSoftwareIsRefusedWithoutDeleting()
    {
        store(1);
        m_link->controller->setSoftwareVersion(257);
        target({0});
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("failed"));
        QCOMPARE(m_link->controller->records().size(), 1);
    }

    void unpluggingInTheMiddleFailsAndKeepsWhatWasDeleted()
    {
        store(4);
        target({0, 1, 2, 3});
        // Requests are 14 bytes: information, status and the first deletion go through, the
        // device goes during the second.
        m_link->device->unplugAfterReceivedBytes(3 * 14 + 5);
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("failed"));
        QCOMPARE(m_link->controller->records().keys(), QList<int>({1, 2, 3}));
    }

    void anEmptyDeletionSucceedsAtOnceWithFullProgress()
    {
        store(1);
        verifyEmptyRunEndsAtOnce("fixturesDeleted");
    }

    void theClearerEmptiesThePatchList()
    {
        m_link->controller->setPatchListEmpty(false);
        ClearerOnLink clearer(m_link.get());
        QVERIFY(runToEnd(&clearer.worker));
        QCOMPARE(clearer.end.only(), QByteArray("success"));
        QVERIFY(m_link->controller->patchListEmpty());
    }

    void aClearerWhoseDeviceDoesNotAnswerFails()
    {
        m_link->controller->setPatchListEmpty(false);
        m_link->device->setAnswering(false);
        m_link->master.setResponseTimeout(200);
        ClearerOnLink clearer(m_link.get());
        QVERIFY(runToEnd(&clearer.worker));
        QCOMPARE(clearer.end.only(), QByteArray("failed"));
        QVERIFY(!m_link->controller->patchListEmpty());
    }

    void abortingTheClearerDuringItsWriteEndsWithAborted()
    {
        m_link->controller->setPatchListEmpty(false);
        m_link->device->setAnswering(false);
        m_link->master.setResponseTimeout(500);
        ClearerOnLink clearer(m_link.get());
        clearer.worker.abort(); // not running: nothing happens
        ThreadEnd end(&clearer.worker);
        clearer.worker.start();
        QTest::qWait(50);
        clearer.worker.abort();
        QVERIFY(end.wait(5000));
        QCOMPARE(clearer.end.only(), QByteArray("aborted"));
    }
};

QTEST_GUILESS_MAIN(FixtureDeleteTest)
#include "test_fixture_delete.moc"
