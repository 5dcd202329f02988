#pragma once

#include "devicelinkoptions.h"

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QMap>
#include <QString>

class BLFLArchive;
class BLPMaster;
class BLPmPhyUSB;
class ConnectionProbe;
class DeviceChanger;
class DeviceForm;
class DevicesDiscoverer;
class FixtureDefinitionsDownloader;
class FixtureDefinitionsUploader;
class FixtureListDownloader;
class FixturesDeleter;
class PatchListClearer;
class QAction;
class QCloseEvent;
class QMovie;
class QMutex;
class QSettings;
class QThread;
class QTimer;

namespace Ui
{
class MainWindow;
}

// The editor's one window: device pane on the left, library pane on the right.
// The library side lives in mainwindow.cpp and mainwindow_library.cpp, closing in
// mainwindow_closing.cpp, the device side in mainwindow_device.cpp.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    // libraryPath as the platform gave it (QCoreApplication::arguments()), so any path opens.
    explicit MainWindow(const QString &libraryPath, const DeviceLinkOptions &link = {},
                        QWidget *parent = nullptr);
    ~MainWindow() override;

    BLPMaster *master() const;
    BLPmPhyUSB *phy() const;
    DeviceForm *deviceForm() const;
    bool isOperationRunning() const { return operationRunning; }
    bool isDeviceConnected() const { return deviceConnected; }

signals:
    void abortDownloadingFixtureList();
    void operationStarts();
    void operationEnds();

public slots:
    void updateWindowTitle(QString fileName);
    void windowModified();
    void windowUnModified();

    void on_actionNew_Archive_triggered();
    void on_action_Open_Archive_triggered();
    void on_actionSave_Archive_triggered();
    void on_actionSave_archive_as_triggered();
    void on_actionImport_Library_triggered();
    void on_actionQuit_triggered();
    void on_actionAbout_triggered();

    // Device operations.
    void uploadCurrentSelection();
    void downloadCurrentSelection();
    void deleteCurrentlySelectedFixturesOnDevice();
    void discoverDevices();
    void on_actionDiscoverDevices_triggered();
    void devicesDiscovered();
    void updateActiveDevice();
    void deviceChanged();
    void on_actionUpdate_firmware_triggered();
    void operationDone();
    void fixtureListDownloaded(void *data, int length);
    void fixtureListDownloadFailed();
    void fixtureListDownloadAborted();
    void fixturesUploaded();
    void fixtureUploadFailed();
    void fixtureUploadFailedNotEnoughMemory();
    void fixtureUploadFailedTooManyOrNotEnoughChannels();
    void fixtureUploadNeedsPatchListCleared();
    void patchListClearerFailed();
    void patchListClearerOKContUpload();
    void patchListClearerOKContDelete();
    void patchListClearerAborted();
    void fixturesDownloaded();
    void fixturesDownloadFailed();
    void fixturesDeleted();
    void fixtureDeletionFailed();
    void fixtureDeletionNeedsPatchListCleared();
    void progressCurrentItem(uint percents);
    void progressTotal(uint percents);
    void abortButtonClicked();

    // Connection monitoring.
    void updateConnectionStatus();
    void onConnected();
    void onDisconnected();
    void receivedANewFirmwareVersion(int deviceNbr, int swv);
    void on_labelFirmwareUpdateInfo_linkActivated(QString link);

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    void construct();
    void createToolBarActions();
    void createUndoActions();

    // Library commands.
    void addStandardLibraryKeys();
    static bool isLargeFile(const QString &path);
    bool askYesNo(const QString &text);
    bool askSaveChanges();
    void loadInitialLibrary();
    void startNewLibrary();
    bool saveLibrary();
    bool saveLibraryAs();
    static QString withLibraryExtension(const QString &path);
    void showLibraryFailure(const QString &text);

    // Device side: construction steps 4 and 10 to 12 of the window.
    void createWorkers();
    void connectDeviceSide();
    void shutDownDeviceSide();
    static QString appTitle();
    void clearPendingFlags();
    void setProgressIdle(bool busy);
    QList<QAction *> operationActions() const;
    void disableOperationActions();
    void enableOperationActions();
    bool beginOperation();
    void finishOperation();
    void servePendingRequest();
    void showResult(const QString &text);
    void endUploadPanel();
    void endDeletePanel();
    void askToClearPatchList(void (MainWindow::*continuation)());
    void runFirmwareUpdate();
    void connectionProbed(int probe);
    void connectionLossStep();
    void checkFirmwareVersion();

    Ui::MainWindow *ui;
    BLFLArchive *archive = nullptr;
    QString startupLibraryPath;
    DeviceLinkOptions linkOptions;
    QIcon icons[7];
    QString libraryPath;
    QAction *toolBarActions[7] = {};
    QAction *undoAction = nullptr;
    QAction *redoAction = nullptr;
    QSettings *settings = nullptr;
    QMovie *busyMovie = nullptr;
    bool closeRequested = false;
    bool operationRunning = false;

    // Device side. The link and the workers live on their own threads; every flag here is
    // touched by the GUI thread only.
    BLPMaster *linkMaster = nullptr;
    BLPmPhyUSB *linkPhy = nullptr;
    QMutex *operationLock = nullptr;
    QTimer *connectionTimer = nullptr;
    QThread *probeThread = nullptr;
    ConnectionProbe *prober = nullptr;
    QMap<int, int> firmwareVersions; // device number -> software version
    int connectionGrace = 0;
    bool abortRequested = false;
    bool deviceConnected = false;
    DevicesDiscoverer *discoverer = nullptr;
    FixtureListDownloader *listDownloader = nullptr;
    FixtureDefinitionsUploader *uploader = nullptr;
    FixtureDefinitionsDownloader *downloader = nullptr;
    PatchListClearer *patchListClearer = nullptr;
    FixturesDeleter *deleter = nullptr;
    DeviceChanger *deviceChanger = nullptr;
    bool uploadPending = false;
    bool deletePending = false;
    bool downloadPending = false;
    bool discoveryPending = false;
    bool firmwareUpdatePending = false;
    bool deviceChangePending = false;
    // The device chosen before the firmware dialog, chosen again after the new discovery.
    int deviceToReselect = -1;
};
