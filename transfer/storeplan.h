#pragma once

// What an upload would do to a controller's store, worked out before anything is written:
// which definitions the controller already holds (the same encoded record, whatever slot it
// sits in), how many slots the rest need, and afterwards which slot each one went to.
//
//   QList<StoredRecord> held = ...;            // records read back, or list headers
//   StorePlan plan = planStore(held, definitions, status.freeSlots);
//   if (!plan.fits()) -> refuse: plan.freeSlots free, plan.toWrite needed

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

class QBLFixtureDefinition;

// One record the controller holds. A 244-byte list header serves where only the header is
// known; a full record compares its channels too.
struct StoredRecord {
    int slot = -1;
    QByteArray record;
};

struct StorePlan {
    // Per definition, in order: the slot that already holds its record, or -1.
    QList<int> heldIn;
    int toWrite = 0;     // definitions no slot holds
    int stored = 0;      // records the controller holds
    int freeSlots = -1;  // -1: the controller did not say
    int capacity() const { return freeSlots < 0 ? -1 : stored + freeSlots; }
    // Unknown free space counts as enough: the writes fail if it is not.
    bool fits() const { return freeSlots < 0 || toWrite <= freeSlots; }
};

// The record as the host would write it: slot byte cleared, text fields ended at their first
// zero, channel entries beyond the count empty. Two records with equal keys show the same on
// the controller. A header-only input gives the key of its header (244 bytes).
QByteArray storedRecordKey(QByteArrayView record);
// The key of what an upload of the definition writes (its automatic short names derived on
// a copy; the definition itself is left alone).
QByteArray definitionRecordKey(const QBLFixtureDefinition &definition);

// Full records compare whole; a header-only stored record matches on its header alone, which
// can only tell candidates (see candidateSlots).
StorePlan planStore(const QList<StoredRecord> &stored,
                    const QList<const QBLFixtureDefinition *> &definitions, int freeSlots);
// The stored slots whose header equals the header some definition would write: only their
// full records need reading to decide.
QList<int> candidateSlots(const QList<StoredRecord> &headers,
                          const QList<const QBLFixtureDefinition *> &definitions);
// After an upload of written (in order): the slot each one went to, taken from the headers
// that are new since before; -1 where none matches.
QList<int> placedSlots(const QList<StoredRecord> &before, const QList<StoredRecord> &after,
                       const QList<const QBLFixtureDefinition *> &written);
