#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class BLPMaster;
class BLPmPhyUSB;
class DevicesDiscoverer;
struct DiscoveredDevice;
class FirmwareFile;
class FwUpdater;

namespace Ui
{
class FirmwareUpdateDlg;
}

// Programs one controller with the built-in firmware image or a .bl2 file the user picks.
// Has its own device list and discovery; its controls are locked while work runs.
class FirmwareUpdateDlg : public QDialog
{
    Q_OBJECT

public:
    explicit FirmwareUpdateDlg(QWidget *parent = nullptr);
    ~FirmwareUpdateDlg() override;

    // The window's link, which discovery and the update use.
    void setLink(BLPMaster *master, BLPmPhyUSB *phy);
    // Fills the device list with the window's known devices and selects one: by index only,
    // or with their entry text and software version (0 or less: not known).
    void setDevices(const QList<int> &deviceIndexes, int indexToSelect);
    void setDeviceEntries(const QList<DiscoveredDevice> &known, int indexToSelect);
    // The device index the last successful update programmed; -1 when none did.
    int programmedDevice() const { return programmed; }

    bool isBusy() const { return busy; }
    bool isFileUsable() const { return fileUsable; }
    bool isAlternativeMode() const { return alternativeMode; }
    // True once the dialog has searched for devices or started an update: the devices, their
    // versions and their stores may then differ from what the window last read.
    bool devicesMayHaveChanged() const { return devicesTouched; }

public slots:
    void on_devicesCombo_currentIndexChanged(int index);
    void on_bttnDiscover_clicked();
    void on_bttn_load_clicked();
    void on_bttn_quit_clicked();
    void on_bttn_update_clicked();
    void on_lblMode_Link_clicked(QString link);
    void progress(int percents);
    void devicesDiscovered();
    void operationDone();
    void updateFailed();
    void updateSuccessFul();

protected:
    void closeEvent(QCloseEvent *event) override;
    // Escape would otherwise end the dialog while a thread still works for it.
    void reject() override;

private:
    void enterDefaultMode();
    void enterAlternativeMode();
    void enterBusy();
    void updateButtonState();
    bool hasDevices() const;
    static QString entryText(const DiscoveredDevice &device);
    static QString fileStatusText(const FirmwareFile &file);
    QString failureText() const;

    Ui::FirmwareUpdateDlg *ui;
    BLPMaster *master = nullptr;
    BLPmPhyUSB *phy = nullptr;
    QList<int> devices;
    FirmwareFile *file = nullptr;
    bool fileUsable = false;
    bool busy = false;
    bool alternativeMode = false;
    bool devicesTouched = false;
    int programmed = -1;
    int updating = -1;
    QString updatingEntry;
    QString lastPath;
    DevicesDiscoverer *discoverer = nullptr;
    FwUpdater *updater = nullptr;
};
