#include "devicejobs.h"
#include "devicerecord.h"
#include "fixturelistdownloader.h"
#include "qblremotefixturedefinition.h"
#include "workerrig.h"

#include <QtTest>

class FixtureListDownloadTest : public QObject, WorkerRig<FixtureListDownloader>
{
    Q_OBJECT

private slots:
    void init()
    {
        setUpRig({SIGNAL(receivedData(void *, int)), SIGNAL(failed()), SIGNAL(downloadAborted())});
    }

    void cleanup() { tearDownRig(); }

    void theListHoldsOneHeaderPerStoredRecordAndTheTimeOutIsRestored()
    {
        m_link->controller->storeRecord(SimulatedLink::record("A", 1));
        m_link->controller->storeRecord(SimulatedLink::record("B", 2));
        QSignalSpy data(m_worker.get(), &FixtureListDownloader::receivedData);
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("receivedData"));
        QCOMPARE(data.at(0).at(1).toInt(), 2 + 2 * 244);
        QCOMPARE(m_link->master.responseTimeout(), 2000);
    }

    // The window, the tool and the job runner read the answer through one parse.
    void theAnswerReadsAsOneHeaderWithItsSlotPerStoredRecord()
    {
        QVERIFY(m_link->controller->storeRecordAt(7, SimulatedLink::record("Seven", 3)));
        QVERIFY(m_link->controller->storeRecordAt(2, SimulatedLink::record("Two", 5)));
        QSignalSpy data(m_worker.get(), &FixtureListDownloader::receivedData);
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(data.count(), 1);
        const QByteArray answer(static_cast<const char *>(data.at(0).at(0).value<void *>()),
                                data.at(0).at(1).toInt());

        StoredFixtureList list;
        QVERIFY(list.parse(answer));
        QCOMPARE(list.count(), 2);
        QCOMPARE(list.answer(), answer);
        const QList<StoredRecord> stored = list.storedHeaders();
        const auto entries = list.entries();
        QCOMPARE(stored.size(), 2);
        QCOMPARE(entries.size(), size_t(2));
        QStringList names;
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(stored.at(i).record, answer.mid(2 + 244 * i, 244));
            QCOMPARE(list.headers().at(i), QByteArrayView(stored.at(i).record));
            QCOMPARE(int(entries.at(size_t(i))->slotNumber()), stored.at(i).slot);
            names << entries.at(size_t(i))->fixtureName() + QLatin1Char('@') +
                         QString::number(stored.at(i).slot);
        }
        names.sort();
        QCOMPARE(names, (QStringList{"Seven@7", "Two@2"}));

        // A wrong length is refused and leaves nothing behind.
        QVERIFY(!list.parse(answer.chopped(1)));
        QCOMPARE(list.count(), 0);
        QVERIFY(list.answer().isEmpty());
        QVERIFY(list.headers().isEmpty());
    }

    // The one reading of an empty store: a list without rows, not a malformed answer (the
    // window then shows it as the refresh that found nothing).
    void anEmptyStoreAnswersWithTheCountAloneAndReadsAsAnEmptyList()
    {
        QSignalSpy data(m_worker.get(), &FixtureListDownloader::receivedData);
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(data.count(), 1);
        const QByteArray answer(static_cast<const char *>(data.at(0).at(0).value<void *>()),
                                data.at(0).at(1).toInt());
        QCOMPARE(answer, QByteArray(2, '\0'));
        StoredFixtureList list;
        QVERIFY(list.parse(answer));
        QVERIFY(list.isEmpty());
        QCOMPARE(list.answer(), answer);
        QVERIFY(list.storedHeaders().isEmpty());
        QVERIFY(list.entries().empty());
    }

    void softwareVersion257FailsWithoutAListRequest()
    {
        m_link->controller->setSoftwareVersion(257);
        m_link->device->clearFrameLog();
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("failed"));
        for (const SimulatedFrameInfo &f : m_link->device->frameLog())
            QVERIFY(f.command != 11);
        QCOMPARE(m_link->master.responseTimeout(), 2000);
    }

    void aDeviceThatDoesNotAnswerFails()
    {
        m_link->device->setAnswering(false);
        m_link->master.setResponseTimeout(100);
        m_worker->setMaster(&m_link->master);
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("failed"));
        QCOMPARE(m_link->master.responseTimeout(), 100);
    }

    void abortWhileIdleChangesNothing()
    {
        m_worker->abort();
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("receivedData"));
    }

    void abortingDuringTheListReadEndsWithDownloadAborted()
    {
        m_link->device->setWireTimeModel(true);
        for (int i = 0; i < 100; ++i)
            m_link->controller->storeRecord(SimulatedLink::record("R", 1));
        connect(
            &m_link->master, &BLPMaster::sigReceived, this,
            [this](uint n) {
                if (n > 1000 && n != 0xFFFFFFFFu)
                    m_worker->abort();
            },
            Qt::DirectConnection);
        QVERIFY(runToEnd(m_worker.get()));
        QCOMPARE(m_terminal->only(), QByteArray("downloadAborted"));
    }
};

QTEST_GUILESS_MAIN(FixtureListDownloadTest)
#include "test_fixture_list_download.moc"
