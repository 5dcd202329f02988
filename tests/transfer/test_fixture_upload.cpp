#include "devicerecord.h"
#include "fixturedefinitionsuploader.h"
#include "fixturelistdownloader.h"
#include "patchlistclearer.h"
#include "workerrig.h"

#include <QtTest>

class FixtureUploadTest : public QObject, WorkerRig<FixtureDefinitionsUploader>
{
    Q_OBJECT

    void fill(const QList<int> &channelCounts)
    {
        m_worker->clearDefinitions();
        for (int i = 0; i < channelCounts.size(); ++i)
            m_worker->addDefinition(
                *makeDefinition(QStringLiteral("Fixture %1").arg(i + 1), channelCounts[i]));
    }

private slots:
    void init()
    {
        setUpRig({SIGNAL(dataSent()), SIGNAL(failed()), SIGNAL(aborted()),
                  SIGNAL(failedNotEnoughFreeSpace()), SIGNAL(failedTooManyOrNotEnoughChannels()),
                  SIGNAL(failedPatchingNeedsToBeCleared())});
    }

    void cleanup() { tearDownRig(); }

    void uploadedDefinitionsAppearInTheListInTheLowestFreeSlots()
    {
        m_link->controller->storeRecord(SimulatedLink::record("Kept", 3));
        fill({1, 12, 45});
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("dataSent"));

        FixtureListDownloader lister;
        lister.setMaster(&m_link->master);
        QSignalSpy data(&lister, &FixtureListDownloader::receivedData);
        QVERIFY(runToEnd(&lister));
        QCOMPARE(data.count(), 1);
        const QByteArray list(static_cast<const char *>(data.at(0).at(0).value<void *>()),
                              data.at(0).at(1).toInt());
        QList<QByteArrayView> headers;
        QVERIFY(DeviceRecord::splitFixtureList(list, &headers));
        QCOMPARE(headers.size(), 4);
        QStringList seen;
        for (const QByteArrayView &h : headers)
            seen << QStringLiteral("%1:%2:%3")
                        .arg(int(quint8(h.at(242))))
                        .arg(DeviceRecord::readText(h.data(), 100))
                        .arg(int(h.at(240)));
        QCOMPARE(seen,
                 QStringList({"0:Kept:3", "1:Fixture 1:1", "2:Fixture 2:12", "3:Fixture 3:45"}));
    }

    void threeRecordsReportThirdsOfTheJob()
    {
        fill({2, 2, 2});
        QSignalSpy total(m_worker.get(), &FixtureDefinitionsUploader::progressTotal);
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("dataSent"));
        const QList<uint> values = uintArgs(total);
        // Record ends come as 33, 66, 100, with the in-record values between them.
        QVERIFY(values.contains(33u) && values.contains(66u));
        QCOMPARE(values.last(), 100u);
        for (int i = 1; i < values.size(); ++i)
            QVERIFY2(values[i] >= values[i - 1], "progress went backwards");
    }

    void sevenRecordsEndEachRecordAtItsShareOfTheJob()
    {
        fill({1, 1, 1, 1, 1, 1, 1});
        QSignalSpy total(m_worker.get(), &FixtureDefinitionsUploader::progressTotal);
        QVERIFY(runToEnd(m_worker.get()));
        const QList<uint> values = uintArgs(total);
        for (uint expected : {14u, 28u, 42u, 57u, 71u, 85u, 100u})
            QVERIFY2(values.contains(expected), qPrintable(QString::number(expected)));
        QCOMPARE(values.last(), 100u);
    }

    void halfOfTheSecondOfFourRecordsIs37Percent()
    {
        QCOMPARE(FixtureDefinitionsUploader::mapProgress(25, 50, 50), 37u);
        QCOMPARE(FixtureDefinitionsUploader::mapProgress(0, 33, 100), 33u);
        fill({3, 3, 3, 3});
        QSignalSpy total(m_worker.get(), &FixtureDefinitionsUploader::progressTotal);
        QVERIFY(runToEnd(m_worker.get()));
        const QList<uint> values = uintArgs(total);
        const qsizetype at25 = values.indexOf(25u);
        QVERIFY(at25 >= 0);
        QVERIFY(values.indexOf(37u, at25) > at25);
    }

    void tooFewFreeSlotsRefuseTheUploadAndWriteNothing()
    {
        m_link->controller->setCapacity(2);
        fill({1, 1, 1});
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("failedNotEnoughFreeSpace"));
        QCOMPARE(m_worker->freeSlots(), 2);
        QVERIFY(m_link->controller->records().isEmpty());
    }

    void aFullStoreIsReportedBeforeANonEmptyPatchList()
    {
        m_link->controller->setCapacity(1);
        m_link->controller->setPatchListEmpty(false);
        fill({1, 1});
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("failedNotEnoughFreeSpace"));
    }

    void aNonEmptyPatchListRefusesUntilClearedThenTheUploadGoesOn()
    {
        m_link->controller->setPatchListEmpty(false);
        fill({4, 5});
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("failedPatchingNeedsToBeCleared"));
        QVERIFY(m_link->controller->records().isEmpty());

        PatchListClearer clearer;
        clearer.setMaster(&m_link->master);
        TerminalSignals clearerEnd(&clearer,
                                   {SIGNAL(success()), SIGNAL(failed()), SIGNAL(aborted())});
        QVERIFY(runToEnd(&clearer));
        QCOMPARE(clearerEnd.only(), QByteArray("success"));
        QVERIFY(m_link->controller->patchListEmpty());

        TerminalSignals again(m_worker.get(), {SIGNAL(dataSent()), SIGNAL(failed())});
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(again.only(), QByteArray("dataSent"));
        QCOMPARE(m_link->controller->records().size(), 2);
    }

    void aDefinitionWithNoOrTooManyChannelsRefusesTheWholeUpload_data()
    {
        QTest::addColumn<int>("channels");
        QTest::newRow("none") << 0;
        QTest::newRow("46") << 46;
    }

    void aDefinitionWithNoOrTooManyChannelsRefusesTheWholeUpload()
    {
        QFETCH(int, channels);
        fill({2, channels, 3});
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("failedTooManyOrNotEnoughChannels"));
        QVERIFY(m_link->controller->records().isEmpty());
    }

    void aDeviceOfAnotherNameOrOldSoftwareIsRefused_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("version");
        QTest::newRow("other name") << QByteArray("KDR-450") << 0x0103;
        QTest::newRow("software 1.1") << QByteArray("KDR-450P") << 257;
    }

    void aDeviceOfAnotherNameOrOldSoftwareIsRefused()
    {
        QFETCH(QByteArray, name);
        QFETCH(int, version);
        m_link->controller->setName(name);
        m_link->controller->setSoftwareVersion(quint16(version));
        fill({1});
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("failed"));
        QVERIFY(m_link->controller->records().isEmpty());
    }

    void softwareVersion258IsAccepted()
    {
        m_link->controller->setSoftwareVersion(258);
        fill({1});
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("dataSent"));
    }

    void abortDuringTheSecondRecordFinishesItAndStopsBeforeTheThird()
    {
        fill({8, 8, 8});
        connect(
            m_worker.get(), &FixtureDefinitionsUploader::progressTotal, m_worker.get(),
            [this](uint p) {
                if (p > 33 && p < 66)
                    m_worker->abort();
            },
            Qt::DirectConnection);
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("aborted"));
        QCOMPARE(m_worker->sentCount(), 2);
        QCOMPARE(m_link->controller->records().size(), 2);
    }

    void unpluggingDuringTheSecondRecordEndsWithFailureAndKeepsTheFirst()
    {
        fill({8, 8, 8});
        verifyUnplugFailsPromptly(8000);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(m_link->controller->records().size(), 1);
    }

    void anEmptyUploadSucceedsAtOnceWithFullProgress() { verifyEmptyRunEndsAtOnce("dataSent"); }

    void uploadingWorksOnCopiesAndRefreshesTheirShortNames()
    {
        auto original = makeDefinition(QStringLiteral("A rather long fixture name"), 1);
        original->setFixtureNameShort(QStringLiteral("old"));
        m_worker->addDefinition(*original);
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(original->fixtureNameShort(), QStringLiteral("old"));
        QCOMPARE(m_worker->definitions().at(0)->fixtureNameShort(),
                 QStringLiteral("A rather long fixtur"));
        QCOMPARE(m_link->controller->record(0).mid(100, 20), QByteArray("A rather long fixtur"));
    }
};

QTEST_GUILESS_MAIN(FixtureUploadTest)
#include "test_fixture_upload.moc"
