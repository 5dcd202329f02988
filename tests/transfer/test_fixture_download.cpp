#include "devicerecord.h"
#include "fixturedefinitionsdownloader.h"
#include "fixturedefinitionsuploader.h"
#include "qblremotefixturedefinition.h"
#include "workerrig.h"

#include <QtTest>

class FixtureDownloadTest : public QObject, WorkerRig<FixtureDefinitionsDownloader>
{
    Q_OBJECT

    void request(const QList<int> &slotNumbers)
    {
        m_worker->clearDefinitions();
        for (int s : slotNumbers) {
            QBLRemoteFixtureDefinition entry;
            entry.setSlotNumber(quint8(s));
            m_worker->addDefinition(entry);
        }
    }

private slots:
    void init() { setUpRig({SIGNAL(fixturesDownloaded()), SIGNAL(failed()), SIGNAL(aborted())}); }

    void cleanup() { tearDownRig(); }

    void downloadedDefinitionsEqualTheUploadedOnesAsTheRecordHoldsThem()
    {
        auto first = makeDefinition(QString(110, QLatin1Char('L')), 45);
        first->setFixtureType(0xFFFFFFFFu);
        first->setManufacturerName(QStringLiteral("Caf\u00e9 Lights \u2600"));
        auto second = makeDefinition(QStringLiteral("Wash"), 3);
        second->setAutoFixtureNameShort(false);
        second->setFixtureNameShort(QStringLiteral("W-1"));
        second->channels().at(1)->setAutoNameShort(false);
        second->channels().at(1)->setNameShort(QStringLiteral("own short"));

        FixtureDefinitionsUploader uploader;
        uploader.setMaster(&m_link->master);
        uploader.addDefinition(*first);
        uploader.addDefinition(*second);
        QSignalSpy sent(&uploader, &FixtureDefinitionsUploader::dataSent);
        QVERIFY(runToEnd(&uploader));
        QCOMPARE(sent.count(), 1);

        request({0, 1});
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("fixturesDownloaded"));
        const QList<QBLFixtureDefinition *> &got = m_worker->downloadedDefinitions();
        QCOMPARE(got.size(), 2);

        const QBLFixtureDefinition *a = got.at(0);
        QCOMPARE(a->fixtureName(), QString(100, QLatin1Char('L')));
        QCOMPARE(a->fixtureNameShort(), QString(20, QLatin1Char('L')));
        QVERIFY(a->isAutoFixtureNameShort());
        QCOMPARE(a->manufacturerName(), QStringLiteral("Caf\u00e9 Lights ?"));
        QCOMPARE(a->fixtureType(), 255u);
        QCOMPARE(a->nbrOfChannels(), 45);
        for (int i = 0; i < 45; ++i) {
            const QBLFixtureChannel *sent = first->channels().at(i);
            const QBLFixtureChannel *back = a->channels().at(i);
            QCOMPARE(back->name(), sent->name().left(100));
            QCOMPARE(back->nameShort(), sent->name().left(12));
            QCOMPARE(back->number(), i + 1);
            QVERIFY(back->isAutoNameShort());
        }

        const QBLFixtureDefinition *b = got.at(1);
        QCOMPARE(b->fixtureName(), QStringLiteral("Wash"));
        QCOMPARE(b->fixtureNameShort(), QStringLiteral("W-1"));
        QVERIFY(!b->isAutoFixtureNameShort());
        QCOMPARE(b->fixtureType(), 2u);
        QCOMPARE(b->channels().at(1)->nameShort(), QStringLiteral("own short"));
        QVERIFY(!b->channels().at(1)->isAutoNameShort());
        QVERIFY(b->channels().at(2)->isAutoNameShort());
    }

    void fourRecordsReportAQuarterOfTheJobEach()
    {
        for (int i = 0; i < 4; ++i)
            m_link->controller->storeRecord(SimulatedLink::record("R", 2));
        request({0, 1, 2, 3});
        QSignalSpy total(m_worker.get(), &FixtureDefinitionsDownloader::progressTotal);
        QSignalSpy current(m_worker.get(), &FixtureDefinitionsDownloader::progressCurrent);
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("fixturesDownloaded"));
        const QList<uint> values = uintArgs(total);
        QCOMPARE(values.first(), 0u);
        for (uint expected : {25u, 50u, 75u, 100u})
            QVERIFY(values.contains(expected));
        QCOMPARE(values.last(), 100u);
        for (int i = 1; i < values.size(); ++i)
            QVERIFY2(values[i] >= values[i - 1], "progress went backwards");
        QVERIFY(uintArgs(current).contains(100u));
    }

    void perRecordProgressCounts2000BytesAsAWholeRecord()
    {
        using D = FixtureDefinitionsDownloader;
        QCOMPARE(D::itemPercent(0), 0u);
        QCOMPARE(D::itemPercent(1000), 50u);
        QCOMPARE(D::itemPercent(1999), 99u);
        QCOMPARE(D::itemPercent(2000), 100u);
        QCOMPARE(D::itemPercent(3000), 100u);
        QCOMPARE(D::itemPercent(0xFFFFFFFFu), 100u);

        // 1000 bytes into the first of four records is 12 % of the job.
        for (int i = 0; i < 4; ++i)
            m_link->controller->storeRecord(SimulatedLink::record("R", 2));
        request({0, 1, 2, 3});
        QList<QPair<uint, uint>> pairs;
        QList<uint> currents;
        connect(
            m_worker.get(), &D::progressCurrent, this, [&](uint p) { currents.append(p); },
            Qt::DirectConnection);
        connect(
            m_worker.get(), &D::progressTotal, this,
            [&](uint t) {
                if (!currents.isEmpty())
                    pairs.append({currents.last(), t});
            },
            Qt::DirectConnection);
        QVERIFY(runToEnd(m_worker.get()));
        // Every (item, total) pair during the first record follows total = 25 * item / 100.
        bool sawFirstRecord = false;
        for (const auto &pr : pairs) {
            if (pr.second >= 25)
                break;
            sawFirstRecord = true;
            QCOMPARE(pr.second, 25 * pr.first / 100);
        }
        QVERIFY(sawFirstRecord);
    }

    void aFailingSecondReadKeepsTheFirstDefinitionAndFails()
    {
        m_link->controller->storeRecord(SimulatedLink::record("Only", 2));
        request({0, 7, 0});
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("failed"));
        QCOMPARE(m_worker->downloadedDefinitions().size(), 1);
        QCOMPARE(m_worker->downloadedDefinitions().at(0)->fixtureName(), QStringLiteral("Only"));
    }

    void aRecordShorterThan5284BytesIsAFailureNotADecode()
    {
        m_link->controller->storeRecord(SimulatedLink::record("Whole", 2));
        QVERIFY(m_link->controller->putRecord(1, SimulatedLink::record("Short", 2).left(5000)));
        request({0, 1});
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("failed"));
        QCOMPARE(m_worker->downloadedDefinitions().size(), 1);
    }

    void aNewDownloadReplacesTheDefinitionsOfThePreviousOne()
    {
        m_link->controller->storeRecord(SimulatedLink::record("One", 1));
        m_link->controller->storeRecord(SimulatedLink::record("Two", 1));
        request({0, 1});
        QVERIFY(runToEnd(m_worker.get()));
        QPointer<QBLFixtureDefinition> old = m_worker->downloadedDefinitions().at(0);
        request({1});
        QVERIFY(runToEnd(m_worker.get()));
        QVERIFY(old.isNull());
        QCOMPARE(m_worker->downloadedDefinitions().size(), 1);
        QCOMPARE(m_worker->downloadedDefinitions().at(0)->fixtureName(), QStringLiteral("Two"));
    }

    void aFailedDeviceCheckLeavesThePreviousDownloadAlone()
    {
        m_link->controller->storeRecord(SimulatedLink::record("One", 1));
        request({0});
        QVERIFY(runToEnd(m_worker.get()));
        m_link->controller->setSoftwareVersion(257);
        TerminalSignals second(m_worker.get(), {SIGNAL(fixturesDownloaded()), SIGNAL(failed())});
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(second.only(), QByteArray("failed"));
        QCOMPARE(m_worker->downloadedDefinitions().size(), 1);
    }

    void abortingCancelsTheRunningReadAndKeepsTheRecordsBeforeIt()
    {
        m_link->device->setWireTimeModel(true);
        for (int i = 0; i < 3; ++i)
            m_link->controller->storeRecord(SimulatedLink::record("R", 45));
        request({0, 1, 2});
        connect(
            m_worker.get(), &FixtureDefinitionsDownloader::progressTotal, this,
            [this](uint t) {
                if (t > 40)
                    m_worker->abort();
            },
            Qt::DirectConnection);
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("aborted"));
        QCOMPARE(m_worker->downloadedDefinitions().size(), 1);
    }

    void unpluggingInTheMiddleFailsPromptly()
    {
        for (int i = 0; i < 3; ++i)
            m_link->controller->storeRecord(SimulatedLink::record("R", 45));
        request({0, 1, 2});
        verifyUnplugFailsPromptly(300);
    }

    void anEmptyDownloadSucceedsAtOnceWithFullProgress()
    {
        verifyEmptyRunEndsAtOnce("fixturesDownloaded");
        if (QTest::currentTestFailed())
            return;
        QVERIFY(m_worker->downloadedDefinitions().isEmpty());
    }
};

QTEST_GUILESS_MAIN(FixtureDownloadTest)
#include "test_fixture_download.moc"
