#pragma once

#include "blpmaster.h"
#include "devicefailure.h"

#include <QThread>

#include <atomic>

class BLPmPhyUSB;
class FirmwareFile;

// Programs one controller with a loaded firmware file: switches the link to the chosen
// device, checks it is a "KDR-450P", sends the header block (command 3) and each sector
// (command 4). Ends with exactly one of success or failed; a device of another name is never
// written to.
class FwUpdater : public QThread
{
    Q_OBJECT

public:
    static constexpr int UpdateTimeoutMs = 3000;

    explicit FwUpdater(QObject *parent = nullptr);

    // The link the window (or the tool) keeps. Routes the master's per-write progress into
    // onProgress.
    void setLink(BLPMaster *master, BLPmPhyUSB *phy);
    void setFile(const FirmwareFile *file) { m_file = file; }
    void setDeviceIndex(int index) { m_deviceIndex = index; }

    // After failed(): why, and whether the device was another controller (then nothing was
    // written). Written on the updater's thread before that signal, read after it.
    const DeviceFailure &failureCause() const { return m_failure; }
    bool refusedWrongDevice() const { return m_wrongDevice.load(); }

signals:
    void failed();
    void success();
    void progress(int percents);

public slots:
    void onProgress(uint prog);

protected:
    void run() override;

private:
    bool writeAll();

    BLPMaster *m_master = nullptr;
    BLPmPhyUSB *m_phy = nullptr;
    const FirmwareFile *m_file = nullptr;
    std::atomic<int> m_deviceIndex{-1};
    DeviceFailure m_failure;
    std::atomic<bool> m_wrongDevice{false};
    // Touched only on the updater's thread.
    int m_bytesDone = 0;
    int m_blockInProgress = -1;
};
