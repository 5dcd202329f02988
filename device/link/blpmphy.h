#pragma once

// The physical layer seen from the protocol master: moves whole frames out and feeds the
// answer's bytes, one at a time, into the master while it awaits an answer.

#include <QThread>

#include <atomic>

class BLPMaster;

class BLPmPhy : public QThread
{
    Q_OBJECT

public:
    explicit BLPmPhy(QObject *parent = nullptr);
    ~BLPmPhy() override;

    // Set once by BLPMaster::attachPhy.
    void setMaster(BLPMaster *master) { m_master.store(master); }
    BLPMaster *master() const { return m_master.load(); }

    // Master's thread: writes one frame; false when it did not leave whole.
    virtual bool send(quint32 length, const quint8 *data);
    // Finds, opens and configures the device and starts the reader thread.
    virtual void connectDevice();
    // Stops the reader thread and closes the device.
    virtual void disconnectDevice();

protected:
    std::atomic<BLPMaster *> m_master{nullptr};
    std::atomic<bool> m_stopRequest{false};
};
