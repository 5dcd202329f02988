#include "blpmphy.h"

#include <QDebug>

BLPmPhy::BLPmPhy(QObject *parent) : QThread(parent) {}

BLPmPhy::~BLPmPhy() = default;

bool BLPmPhy::send(quint32 length, const quint8 *data)
{
    Q_UNUSED(length);
    Q_UNUSED(data);
    qDebug() << "Data sent";
    return true;
}

void BLPmPhy::connectDevice()
{
    m_stopRequest.store(false);
}

void BLPmPhy::disconnectDevice() {}
