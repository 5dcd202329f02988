#include "devicerecord.h"
#include "fixturelistdownloader.h"
#include "simulatedlink.h"
#include "workerharness.h"

#include <QtTest>

class FixtureListDownloadTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<SimulatedLink> m_link;
    std::unique_ptr<FixtureListDownloader> m_lister;
    std::unique_ptr<TerminalSignals> m_terminal;

private slots:
    void init()
    {
        m_link = std::make_unique<SimulatedLink>();
        m_lister = std::make_unique<FixtureListDownloader>();
        m_lister->setMaster(&m_link->master);
        m_terminal = std::make_unique<TerminalSignals>(
            m_lister.get(),
            std::initializer_list<const char *>{SIGNAL(receivedData(void *, int)), SIGNAL(failed()),
                                                SIGNAL(downloadAborted())});
    }

    void cleanup()
    {
        m_terminal.reset();
        m_lister.reset();
        m_link.reset();
    }

    void theListHoldsOneHeaderPerStoredRecordAndTheTimeOutIsRestored()
    {
        m_link->controller->storeRecord(SimulatedLink::record("A", 1));
        m_link->controller->storeRecord(SimulatedLink::record("B", 2));
        QSignalSpy data(m_lister.get(), &FixtureListDownloader::receivedData);
        QVERIFY(runToEnd(m_lister.get()));
        QCOMPARE(m_terminal->only(), QByteArray("receivedData"));
        QCOMPARE(data.at(0).at(1).toInt(), 2 + 2 * 244);
        QCOMPARE(m_link->master.responseTimeout(), 2000);
    }

    void anEmptyStoreAnswersWithTheCountAlone()
    {
        QSignalSpy data(m_lister.get(), &FixtureListDownloader::receivedData);
        QVERIFY(runToEnd(m_lister.get()));
        QCOMPARE(data.count(), 1);
        const QByteArray list(static_cast<const char *>(data.at(0).at(0).value<void *>()),
                              data.at(0).at(1).toInt());
        QVERIFY(DeviceRecord::isEmptyFixtureList(list));
    }

    void softwareVersion257FailsWithoutAListRequest()
    {
        m_link->controller->setSoftwareVersion(257);
        m_link->device->clearFrameLog();
        QVERIFY(runToEnd(m_lister.get()));
        QCOMPARE(m_terminal->only(), QByteArray("failed"));
        for (const SimulatedFrameInfo &f : m_link->device->frameLog())
            QVERIFY(f.command != 11);
        QCOMPARE(m_link->master.responseTimeout(), 2000);
    }

    void aDeviceThatDoesNotAnswerFails()
    {
        m_link->device->setAnswering(false);
        m_link->master.setResponseTimeout(100);
        m_lister->setMaster(&m_link->master);
        QVERIFY(runToEnd(m_lister.get()));
        QCOMPARE(m_terminal->only(), QByteArray("failed"));
        QCOMPARE(m_link->master.responseTimeout(), 100);
    }

    void abortWhileIdleChangesNothing()
    {
        m_lister->abort();
        QVERIFY(runToEnd(m_lister.get()));
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
                    m_lister->abort();
            },
            Qt::DirectConnection);
        QVERIFY(runToEnd(m_lister.get()));
        QCOMPARE(m_terminal->only(), QByteArray("downloadAborted"));
    }
};

QTEST_GUILESS_MAIN(FixtureListDownloadTest)
#include "test_fixture_list_download.moc"
