#pragma once

#include "storeworker.h"

#include <QByteArray>
#include <QList>

class QBLFixtureDefinition;
class QBLRemoteFixtureDefinition;

// Reads the records of chosen slots (command 12 reads) and decodes them into new
// definitions. Ends with exactly one of fixturesDownloaded, failed or aborted.
class FixtureDefinitionsDownloader : public StoreWorker
{
    Q_OBJECT

public:
    // The per-record progress reaches 100 after this many bytes, not after a whole record.
    static constexpr uint BytesPerItemProgress = 2000;
    static constexpr uint ReadEnded = 0xFFFFFFFFu;

    explicit FixtureDefinitionsDownloader(QObject *parent = nullptr);
    ~FixtureDefinitionsDownloader() override;

    void addDefinition(const QBLRemoteFixtureDefinition &entry);
    void clearDefinitions();
    const QList<QBLRemoteFixtureDefinition *> &requestedDefinitions() const { return m_requested; }
    // The decoded definitions of the last run, owned by the worker until it runs again; the
    // owner may take them over with takeDownloadedDefinitions once fixturesDownloaded arrived.
    const QList<QBLFixtureDefinition *> &downloadedDefinitions() const { return m_downloaded; }
    QList<QBLFixtureDefinition *> takeDownloadedDefinitions();

    // Percentage of the current record for a sigReceived value.
    static uint itemPercent(uint nBytes);

signals:
    // abort() took effect: downloadedDefinitions() holds the records read before it.
    void aborted();
    void progressTotal(uint percents);
    void progressCurrent(uint percents);
    void fixturesDownloaded();

public slots:
    void received(uint nBytes);

protected:
    // Connects the master's sigReceived to received().
    void connectMaster(BLPMaster *master) override;
    void run() override;

private:
    void clearDownloaded();

    QList<QBLRemoteFixtureDefinition *> m_requested;
    QList<QBLFixtureDefinition *> m_downloaded;
    QByteArray m_buffer;
    std::atomic<uint> m_progressStart{0};
    std::atomic<uint> m_progressEnd{0};
};
