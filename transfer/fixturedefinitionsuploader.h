#pragma once

#include "storeworker.h"

#include <QByteArray>
#include <QList>

class QBLFixtureDefinition;

// Copies fixture definitions into the controller's store (command 12 writes), after checking
// the device, its free slots, its patch list and every channel count. Ends with exactly one
// of dataSent, failed, aborted, alreadyHeld, failedNotEnoughFreeSpace,
// failedTooManyOrNotEnoughChannels or failedPatchingNeedsToBeCleared.
class FixtureDefinitionsUploader : public StoreWorker
{
    Q_OBJECT

public:
    static constexpr int MinChannels = 1;
    static constexpr int MaxChannels = 45;

    explicit FixtureDefinitionsUploader(QObject *parent = nullptr);
    ~FixtureDefinitionsUploader() override;

    // Appends a deep copy; call on the owner's thread before start().
    void addDefinition(const QBLFixtureDefinition &definition);
    void clearDefinitions();
    const QList<QBLFixtureDefinition *> &definitions() const { return m_definitions; }
    // Of the last run: the records written, and the free slots the controller reported (-1
    // when it was not asked or did not say).
    int sentCount() const { return m_sent; }
    int freeSlots() const { return m_freeSlots; }

    // Slots whose list header equals one a definition would write (candidateSlots()): their
    // records are read first, and when one holds a definition's record the run ends with
    // alreadyHeld and writes nothing. Empty: no such check. Set before start().
    void setHeldCandidates(const QList<int> &slotNumbers) { m_candidates = slotNumbers; }
    // After alreadyHeld: per definition, the slot holding its record, or -1.
    const QList<int> &heldIn() const { return m_heldIn; }
    // Drops the definitions some slot holds (after alreadyHeld), so a new run skips them.
    void dropHeldDefinitions();

    // The whole-job percentage for a given percentage of the record between start and end.
    static uint mapProgress(uint start, uint end, uint percents);

signals:
    void dataSent();
    // abort() took effect: the records before it were written.
    void aborted();
    void alreadyHeld();
    void failedNotEnoughFreeSpace();
    void failedTooManyOrNotEnoughChannels();
    void failedPatchingNeedsToBeCleared();
    void progressTotal(uint percents);

public slots:
    void progressCurrent(uint percents);

protected:
    // Routes the master's per-write progress into progressCurrent (only the writes made by
    // this worker's thread count), so the owner need not connect sigTransferred itself.
    void connectMaster(BLPMaster *master) override;
    void run() override;

private:
    // False when reading a candidate failed (the run then ends with failed).
    bool findHeld();

    QList<QBLFixtureDefinition *> m_definitions;
    QList<int> m_candidates;
    QList<int> m_heldIn;
    QByteArray m_record;
    std::atomic<uint> m_progressStart{0};
    std::atomic<uint> m_progressEnd{0};
    std::atomic<int> m_sent{0};
    std::atomic<int> m_freeSlots{-1};
};
