#pragma once

#include <QIcon>
#include <QList>
#include <QWidget>

class BusyIndicatorOverlay;
class QBLRemoteFixtureDefinition;
class QComboBox;
class QMenu;
class QSortFilterProxyModel;
class RemoteFixtureDefinitionListModel;
class StoredFixtureList;

namespace Ui
{
class DeviceForm;
}

// The device pane: the discovered controllers and the fixture definitions stored on the
// active one. It does no device traffic; it turns clicks into requests for the window and
// shows the list the window hands it.
class DeviceForm : public QWidget
{
    Q_OBJECT

public:
    explicit DeviceForm(QWidget *parent = nullptr);
    ~DeviceForm() override;

    // Filled and read by the window: one item per controller, item data = device number.
    QComboBox *devicesComboBox() const;

    // Shows one row per header of the list.
    void setFixtureList(const StoredFixtureList &list);
    void clearList();
    // "12 of 64 slots used"; hidden while the capacity is unknown (negative).
    void setStoreUse(int used, int capacity);
    // The active controller's firmware, major in the high byte; hidden when negative.
    void setFirmwareVersion(int softwareVersion);
    void setBusy(bool busy);
    bool isBusy() const;

    // The rows the user sees selected, in selection order. Valid until the next list.
    QList<QBLRemoteFixtureDefinition *> selectedDefinitions() const;

signals:
    void discoverDevicesClicked();
    void deleteRequested();
    void copyToComputerRequested();
    void setOperationStartersEnabled(bool enabled);
    void signalUpdateCounters(int nVisible, int nTotal, int nSelected);

public slots:
    void operationStarts();
    void operationEnds();
    void on_removeFixtureDefinitionFromDevice_clicked();
    void on_discoverDevicesBttn_clicked();
    void showContextMenu(QPoint pos);
    void slotDeleteRequest();
    void slotCopyToComputer();
    void selectAll();
    void clearSelection();
    void updateCounter();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QMenu *buildContextMenu();
    void installModel(RemoteFixtureDefinitionListModel *model);
    void fitColumns();
    int lastColumnWidth() const;

    Ui::DeviceForm *ui;
    QIcon deleteIcon;
    QIcon downloadIcon;
    QIcon selectAllIcon;
    QIcon clearSelectionIcon;
    bool operationRunning = false;
    RemoteFixtureDefinitionListModel *listModel = nullptr;
    QSortFilterProxyModel *proxyModel = nullptr;
    BusyIndicatorOverlay *busyOverlay = nullptr;
};
