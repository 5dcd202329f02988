#pragma once

#include "devicejobs.h"
#include "devicelinkoptions.h"

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QString>

#include <memory>

class BLFLArchive;
class BLPMaster;
class BLPmPhyUSB;
class ConnectionMonitor;
class DeviceForm;
class DeviceJobRunner;
class DeviceLink;
class QAction;
class QBLFixtureDefinition;
class QCloseEvent;
class QMovie;
class QSettings;

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
    bool isOperationRunning() const;
    bool isDeviceConnected() const;

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
    void on_actionImport_QLC_Fixtures_triggered();
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
    void finishOperation();
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
    void fixturesDownloaded(bool cancelled = false);
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
    // The splitters' positions, for the next start.
    void rememberLayout();
    void createToolBarActions();
    void createUndoActions();

    // Library commands.
    void addStandardLibraryKeys();
    static bool isLargeFile(const QString &path);
    bool askYesNo(const QString &text);
    bool askSaveChanges();
    bool acceptsUnsupportedContent(const BLFLArchive &opened);
    enum class StartupOpening { Opened, Failed, Refused };
    StartupOpening openAtStartup(const QString &path);
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
    // The device list's entry of the active controller: "KDR-450P #1 (Stage left)".
    QString activeDeviceName() const;
    void setProgressIdle(bool busy);
    QList<QAction *> operationActions() const;
    bool isUndoAction(const QAction *action) const;
    void disableOperationActions();
    void enableOperationActions();
    // The runner's jobs mapped to the panel and the result slots.
    void deviceJobStarted(DeviceJob job);
    void deviceJobEnded(DeviceJob job, DeviceJobOutcome outcome);
    bool patchListOutcomeShown(DeviceJobOutcome outcome);
    void uploadEnded(DeviceJobOutcome outcome);
    void deletionEnded(DeviceJobOutcome outcome);
    void fixtureListEnded(DeviceJobOutcome outcome);
    void showResult(const QString &text);
    // What an operation did, in the status bar (the failures keep their message boxes).
    void showStatus(const QString &text);
    // False when names would change on the controller and the user does not upload.
    bool namesStoredAsShownOrAccepted(const QList<QBLFixtureDefinition *> &definitions);
    void endUploadPanel();
    void endDeletePanel();
    void askToClearPatchList();
    // Yes writes them again, No (the default) uploads only the others.
    void askAboutHeldDefinitions();
    void runFirmwareUpdate();
    void checkFirmwareVersion();
    void showClosingPanel(bool closing);

    Ui::MainWindow *ui;
    BLFLArchive *archive = nullptr;
    QString startupLibraryPath;
    DeviceLinkOptions linkOptions;
    QString libraryPath;
    QAction *toolBarActions[7] = {};
    QAction *undoAction = nullptr;
    QAction *redoAction = nullptr;
    QSettings *settings = nullptr;
    QMovie *busyMovie = nullptr;
    bool closeRequested = false;

    // Device side: the link and the jobs that use it (their workers run on their own
    // threads and report through queued signals); every flag here is the GUI thread's.
    std::unique_ptr<DeviceLink> link;
    DeviceJobRunner *jobs = nullptr;
    ConnectionMonitor *monitor = nullptr;
    bool abortRequested = false;
    // The device chosen before the firmware dialog, chosen again after the new discovery.
    int deviceToReselect = -1;
    // The device the firmware dialog programmed, named once the discovery after it ends.
    int firmwareProgrammedOn = -1;
};
