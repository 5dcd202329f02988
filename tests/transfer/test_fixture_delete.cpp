#include "fixturesdeleter.h"
#include "patchlistclearer.h"
#include "qblremotefixturedefinition.h"
#include "simulatedlink.h"
#include "workerharness.h"

#include <QtTest>

class FixtureDeleteTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<SimulatedLink> m_link;
    std::unique_ptr<FixturesDeleter> m_deleter;
    std::unique_ptr<TerminalSignals> m_terminal;
    QList<QBLRemoteFixtureDefinition *> m_rows;

    void target(const QList<int> &slotNumbers)
    {
        m_deleter->clearTargets();
        for (int s : slotNumbers) {
            auto *row = new QBLRemoteFixtureDefinition;
            row->setSlotNumber(quint8(s));
            m_rows.append(row);
            m_deleter->addTarget(row);
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
        m_link = std::make_unique<SimulatedLink>();
        m_deleter = std::make_unique<FixturesDeleter>();
        m_deleter->setMaster(&m_link->master);
        m_terminal = std::make_unique<TerminalSignals>(
            m_deleter.get(), std::initializer_list<const char *>{
                                 SIGNAL(fixturesDeleted()), SIGNAL(failed()), SIGNAL(aborted()),
                                 SIGNAL(failedPatchingNeedsToBeCleared())});
    }

    void cleanup()
    {
        m_terminal.reset();
        m_deleter.reset();
        m_link.reset();
        qDeleteAll(m_rows);
        m_rows.clear();
    }

    void deletingRemovesExactlyTheChosenSlotsWithThirdsOfProgress()
    {
        store(6);
        target({4, 1, 2});
        QSignalSpy total(m_deleter.get(), &FixturesDeleter::progressTotal);
        QVERIFY(runToEnd(m_deleter.get()));
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
        QVERIFY(runToEnd(m_deleter.get()));
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
            m_deleter.get(), &FixturesDeleter::progressTotal, this,
            [this](uint p) {
                if (p == 20)
                    m_deleter->abort();
            },
            Qt::DirectConnection);
        QVERIFY(runToEnd(m_deleter.get()));
        QCOMPARE(m_terminal->only(), QByteArray("aborted"));
        QCOMPARE(m_deleter->deletedCount(), 2);
        QCOMPARE(m_link->controller->records().keys(), QList<int>({2, 3, 4}));
    }

    void aDeviceWithOldSoftwareIsRefusedWithoutDeleting()
    {
        store(1);
        m_link->controller->setSoftwareVersion(257);
        target({0});
        QVERIFY(runToEnd(m_deleter.get()));
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
        QVERIFY(runToEnd(m_deleter.get()));
        QCOMPARE(m_terminal->only(), QByteArray("failed"));
        QCOMPARE(m_link->controller->records().keys(), QList<int>({1, 2, 3}));
    }

    void anEmptyDeletionSucceedsAtOnceWithFullProgress()
    {
        store(1);
        m_link->device->clearFrameLog();
        QSignalSpy total(m_deleter.get(), &FixturesDeleter::progressTotal);
        QVERIFY(runToEnd(m_deleter.get()));
        QCOMPARE(m_terminal->only(), QByteArray("fixturesDeleted"));
        QCOMPARE(uintArgs(total), QList<uint>({100u}));
        QVERIFY(m_link->device->frameLog().isEmpty());
    }

    void theClearerEmptiesThePatchList()
    {
        m_link->controller->setPatchListEmpty(false);
        PatchListClearer clearer;
        clearer.setMaster(&m_link->master);
        TerminalSignals end(&clearer, {SIGNAL(success()), SIGNAL(failed()), SIGNAL(aborted())});
        QVERIFY(runToEnd(&clearer));
        QCOMPARE(end.only(), QByteArray("success"));
        QVERIFY(m_link->controller->patchListEmpty());
    }

    void aClearerWhoseDeviceDoesNotAnswerFails()
    {
        m_link->controller->setPatchListEmpty(false);
        m_link->device->setAnswering(false);
        m_link->master.setResponseTimeout(200);
        PatchListClearer clearer;
        clearer.setMaster(&m_link->master);
        TerminalSignals end(&clearer, {SIGNAL(success()), SIGNAL(failed()), SIGNAL(aborted())});
        QVERIFY(runToEnd(&clearer));
        QCOMPARE(end.only(), QByteArray("failed"));
        QVERIFY(!m_link->controller->patchListEmpty());
    }

    void abortingTheClearerDuringItsWriteEndsWithAborted()
    {
        m_link->controller->setPatchListEmpty(false);
        m_link->device->setAnswering(false);
        m_link->master.setResponseTimeout(500);
        PatchListClearer clearer;
        clearer.setMaster(&m_link->master);
        TerminalSignals end(&clearer, {SIGNAL(success()), SIGNAL(failed()), SIGNAL(aborted())});
        clearer.abort(); // not running: nothing happens
        clearer.start();
        QTest::qWait(50);
        clearer.abort();
        QVERIFY(clearer.wait(5000));
        QCOMPARE(end.only(), QByteArray("aborted"));
    }
};

QTEST_GUILESS_MAIN(FixtureDeleteTest)
#include "test_fixture_delete.moc"
