#pragma once

#include <QByteArray>
#include <QList>
#include <QThread>

#include <atomic>

class BLPMaster;
class QBLFixtureDefinition;

// Copies fixture definitions into the controller's store (command 12 writes), after checking
// the device, its free slots, its patch list and every channel count. Ends with exactly one
// of dataSent, failed, failedNotEnoughFreeSpace, failedTooManyOrNotEnoughChannels or
// failedPatchingNeedsToBeCleared.
class FixtureDefinitionsUploader : public QThread
{
    Q_OBJECT

public:
    static constexpr int MinChannels = 1;
    static constexpr int MaxChannels = 45;

    explicit FixtureDefinitionsUploader(QObject *parent = nullptr);
    ~FixtureDefinitionsUploader() override;

    // Also routes the master's per-write progress into progressCurrent (only the writes made
    // by this worker's thread count), so the owner need not connect sigTransferred itself.
    void setMaster(BLPMaster *master);
    // Appends a deep copy; call on the owner's thread before start().
    void addDefinition(const QBLFixtureDefinition &definition);
    void clearDefinitions();
    const QList<QBLFixtureDefinition *> &definitions() const { return m_definitions; }

    // The whole-job percentage for a given percentage of the record between start and end.
    static uint mapProgress(uint start, uint end, uint percents);

signals:
    void dataSent();
    void failed();
    void failedNotEnoughFreeSpace();
    void failedTooManyOrNotEnoughChannels();
    void failedPatchingNeedsToBeCleared();
    void progressTotal(uint percents);

public slots:
    void progressCurrent(uint percents);
    void abort();

protected:
    void run() override;

private:
    QList<QBLFixtureDefinition *> m_definitions;
    BLPMaster *m_master = nullptr;
    QByteArray m_record;
    std::atomic<uint> m_progressStart{0};
    std::atomic<uint> m_progressEnd{0};
    std::atomic<bool> m_abort{false};
};
