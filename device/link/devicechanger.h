#pragma once

// Switches the device link to the device the user chose, on its own thread.

#include <QThread>

#include <atomic>

class BLPMaster;
class BLPmPhyUSB;

class DeviceChanger : public QThread
{
    Q_OBJECT

public:
    explicit DeviceChanger(QObject *parent = nullptr);

    void setTargetIndex(int index) { m_targetIndex.store(index); }
    int targetIndex() const { return m_targetIndex.load(); }
    void setLink(BLPMaster *master, BLPmPhyUSB *phy);

signals:
    void done();

protected:
    void run() override;

private:
    std::atomic<int> m_targetIndex{0};
    std::atomic<BLPMaster *> m_master{nullptr};
    std::atomic<BLPmPhyUSB *> m_phy{nullptr};
};
