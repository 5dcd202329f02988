#pragma once

// Walks through every attached controller, asks each for its information block and label,
// and reports one entry per answering device. Free of widgets: whoever owns a device list
// box fills it from deviceFound() on its own thread (queued).

#include <QList>
#include <QString>
#include <QThread>

#include <atomic>

class BLPMaster;
class BLPmPhyUSB;

struct DiscoveredDevice {
    int deviceIndex = -1;
    QString entryText; // name, running number and label, as a device list shows it
    QString name;
    QString label;
    bool hasLabel = false;
    int softwareVersion = 0; // major in the high byte, minor in the low byte
    int hardwareVersion = 0;
};

// "1.3" for 0x0103.
QString softwareVersionText(int softwareVersion);

class DevicesDiscoverer : public QThread
{
    Q_OBJECT

public:
    explicit DevicesDiscoverer(QObject *parent = nullptr);

    // Set before start; without both, a run does nothing.
    void setLink(BLPMaster *master, BLPmPhyUSB *phy);

    // The devices of the last run, in discovery order; read after finished().
    QList<DiscoveredDevice> devices() const;

signals:
    void progress(int prog);
    void clearDevicesComboBox();
    void newFirmwareVersion(int deviceIndex, int softwareVersion);
    // One device list entry: its text, and the device index as its item data.
    void deviceFound(const QString &entryText, int deviceIndex);

protected:
    void run() override;

private:
    std::atomic<BLPMaster *> m_master{nullptr};
    std::atomic<BLPmPhyUSB *> m_phy{nullptr};
    QList<DiscoveredDevice> m_devices; // written by the thread, read after it has finished
};
