#pragma once

#include "devicefailure.h"

#include <QByteArray>
#include <QList>
#include <QThread>

#include <atomic>

class BLPMaster;
class QBLFixtureDefinition;
class QBLRemoteFixtureDefinition;

// Reads the records of chosen slots (command 12 reads) and decodes them into new
// definitions. Ends with exactly one of fixturesDownloaded, failed or aborted.
class FixtureDefinitionsDownloader : public QThread
{
    Q_OBJECT

public:
    // The per-record progress reaches 100 after this many bytes, not after a whole record.
    static constexpr uint BytesPerItemProgress = 2000;
    static constexpr uint ReadEnded = 0xFFFFFFFFu;

    explicit FixtureDefinitionsDownloader(QObject *parent = nullptr);
    ~FixtureDefinitionsDownloader() override;

    // Also connects the master's sigReceived to received().
    void setMaster(BLPMaster *master);
    // Clears the abort flag for the new run here rather than in run(), so that an abort()
    // given between start() and run() is not lost.
    void start(Priority priority = InheritPriority);

    void addDefinition(const QBLRemoteFixtureDefinition &entry);
    void clearDefinitions();
    const QList<QBLRemoteFixtureDefinition *> &requestedDefinitions() const { return m_requested; }
    // The decoded definitions of the last run, owned by the worker until it runs again; the
    // owner may take them over with takeDownloadedDefinitions once fixturesDownloaded arrived.
    const QList<QBLFixtureDefinition *> &downloadedDefinitions() const { return m_downloaded; }
    QList<QBLFixtureDefinition *> takeDownloadedDefinitions();
    // After failed(): why. Written on the worker's thread before that signal, read after it.
    const DeviceFailure &failureCause() const { return m_failure; }

    // Percentage of the current record for a sigReceived value.
    static uint itemPercent(uint nBytes);

signals:
    void failed();
    // abort() took effect: downloadedDefinitions() holds the records read before it.
    void aborted();
    void progressTotal(uint percents);
    void progressCurrent(uint percents);
    void fixturesDownloaded();

public slots:
    void abort();
    void received(uint nBytes);

protected:
    void run() override;

private:
    void clearDownloaded();

    QList<QBLRemoteFixtureDefinition *> m_requested;
    QList<QBLFixtureDefinition *> m_downloaded;
    BLPMaster *m_master = nullptr;
    DeviceFailure m_failure;
    QByteArray m_buffer;
    std::atomic<uint> m_progressStart{0};
    std::atomic<uint> m_progressEnd{0};
    std::atomic<bool> m_abort{false};
};
