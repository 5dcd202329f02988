#include "blpmphy.h"

BLPmPhy::BLPmPhy(QObject *parent) : QThread(parent) {}

BLPmPhy::~BLPmPhy() = default;

// A phy without a line sends nothing, and says so: the waiting operation then ends at once
// as on a lost link instead of waiting for an answer that cannot come.
bool BLPmPhy::send(quint32 length, const quint8 *data)
{
    Q_UNUSED(length);
    Q_UNUSED(data);
    return false;
}

void BLPmPhy::connectDevice()
{
    m_stopRequest.store(false);
}

void BLPmPhy::disconnectDevice() {}
