// The window's device side: the link, the workers, the operation lock with its pending
// requests and background refresh, every result slot, the progress panel and discovery.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "connectionprobe.h"
#include "blpmaster.h"
#include "blpmphyusb.h"
#include "devicechanger.h"
#include "devicesdiscoverer.h"
#include "driverselection.h"
#include "firmware/firmwareupdatedialog.h"
#include "model/qblfixturedefinition.h"
#include "transfer/devicerecord.h"
#include "transfer/fixturedefinitionsdownloader.h"
#include "transfer/fixturedefinitionsuploader.h"
#include "transfer/fixturelistdownloader.h"
#include "transfer/fixturesdeleter.h"
#include "transfer/patchlistclearer.h"
#include "transfer/qblremotefixturedefinition.h"
#include "views/deviceform.h"
#include "views/libraryform.h"
#include "views/widgets/userprompts.h"

#include <QAction>
#include <QComboBox>
#include <QDebug>
#include <QMenu>
#include <QMutex>
#include <QSignalBlocker>
#include <QThread>
#include <QTimer>
#include <QtEndian>

namespace
{

constexpr int LinkResponseTimeoutMs = 2000;
constexpr int ConnectionPollMs = 300;
constexpr int OperationLockWaitMs = 100;

} // namespace

BLPMaster *MainWindow::master() const
{
    return linkMaster;
}

BLPmPhyUSB *MainWindow::phy() const
{
    return linkPhy;
}

DeviceForm *MainWindow::deviceForm() const
{
    return ui->remoteForm;
}

QString MainWindow::appTitle()
{
    return tr("KDR-450P Fixture Library Editor");
}

void MainWindow::createWorkers()
{
    clearPendingFlags();
    connectionGrace = 0;
    deviceConnected = false;
    operationLock = new QMutex;

    // --simulate and --port choose the driver backend; without them the one already current
    // (the serial ports, or a test's simulated bus) stays.
    if (linkOptions.simulate || !linkOptions.port.isEmpty()) {
        DriverOptions options;
        options.simulate = linkOptions.simulate;
        options.portPath = linkOptions.port;
        installDriver(options);
    }

    linkMaster = new BLPMaster;
    linkPhy = new BLPmPhyUSB;
    linkPhy->setDeviceIndex(0);
    linkMaster->attachPhy(linkPhy);
    linkMaster->connectDevice();
    linkMaster->setResponseTimeout(LinkResponseTimeoutMs);

    connectionTimer = new QTimer(this);
    connectionTimer->setObjectName(QStringLiteral("connectionTimer"));
    connect(connectionTimer, &QTimer::timeout, this, &MainWindow::updateConnectionStatus);
    probeThread = new QThread;
    prober = new ConnectionProbe(linkMaster);
    prober->moveToThread(probeThread);
    connect(prober, &ConnectionProbe::probed, this, &MainWindow::connectionProbed);
    probeThread->start();
    connectionTimer->start(ConnectionPollMs);

    listDownloader = new FixtureListDownloader;
    listDownloader->setMaster(linkMaster);
    connect(listDownloader, &FixtureListDownloader::receivedData, this,
            &MainWindow::fixtureListDownloaded);
    connect(listDownloader, &FixtureListDownloader::failed, this,
            &MainWindow::fixtureListDownloadFailed);
    connect(listDownloader, &FixtureListDownloader::downloadAborted, this,
            &MainWindow::fixtureListDownloadAborted);
    connect(this, &MainWindow::abortDownloadingFixtureList, listDownloader,
            &FixtureListDownloader::abort);

    // The uploader routes the master's per-write progress into its own progressCurrent.
    uploader = new FixtureDefinitionsUploader;
    uploader->setMaster(linkMaster);
    connect(uploader, &FixtureDefinitionsUploader::failed, this, &MainWindow::fixtureUploadFailed);
    connect(uploader, &FixtureDefinitionsUploader::failedNotEnoughFreeSpace, this,
            &MainWindow::fixtureUploadFailedNotEnoughMemory);
    connect(uploader, &FixtureDefinitionsUploader::failedTooManyOrNotEnoughChannels, this,
            &MainWindow::fixtureUploadFailedTooManyOrNotEnoughChannels);
    connect(uploader, &FixtureDefinitionsUploader::dataSent, this, &MainWindow::fixturesUploaded);
    connect(uploader, &FixtureDefinitionsUploader::progressTotal, this, &MainWindow::progressTotal);
    connect(uploader, &FixtureDefinitionsUploader::failedPatchingNeedsToBeCleared, this,
            &MainWindow::fixtureUploadNeedsPatchListCleared);

    downloader = new FixtureDefinitionsDownloader;
    downloader->setMaster(linkMaster);
    connect(downloader, &FixtureDefinitionsDownloader::failed, this,
            &MainWindow::fixturesDownloadFailed);
    connect(downloader, &FixtureDefinitionsDownloader::fixturesDownloaded, this,
            &MainWindow::fixturesDownloaded);
    connect(downloader, &FixtureDefinitionsDownloader::progressTotal, this,
            &MainWindow::progressTotal);
    connect(downloader, &FixtureDefinitionsDownloader::progressCurrent, this,
            &MainWindow::progressCurrentItem);

    deleter = new FixturesDeleter;
    deleter->setMaster(linkMaster);
    connect(deleter, &FixturesDeleter::fixturesDeleted, this, &MainWindow::fixturesDeleted);
    connect(deleter, &FixturesDeleter::failed, this, &MainWindow::fixtureDeletionFailed);
    connect(deleter, &FixturesDeleter::progressTotal, this, &MainWindow::progressTotal);
    connect(deleter, &FixturesDeleter::failedPatchingNeedsToBeCleared, this,
            &MainWindow::fixtureDeletionNeedsPatchListCleared);

    patchListClearer = new PatchListClearer;
    patchListClearer->setMaster(linkMaster);
    connect(patchListClearer, &PatchListClearer::failed, this, &MainWindow::patchListClearerFailed);
    connect(patchListClearer, &PatchListClearer::aborted, this,
            &MainWindow::patchListClearerAborted);

    deviceChanger = new DeviceChanger;
    deviceChanger->setLink(linkMaster, linkPhy);
    connect(deviceChanger, &DeviceChanger::done, this, &MainWindow::deviceChanged);

    connect(linkMaster, &BLPMaster::sigTransferred, this, &MainWindow::progressCurrentItem);
}

void MainWindow::connectDeviceSide()
{
    QComboBox *combo = ui->remoteForm->devicesComboBox();
    discoverer = new DevicesDiscoverer;
    discoverer->setLink(linkMaster, linkPhy);
    connect(discoverer, &DevicesDiscoverer::clearDevicesComboBox, combo, &QComboBox::clear);
    connect(discoverer, &DevicesDiscoverer::deviceFound, combo,
            [combo](const QString &text, int deviceIndex) { combo->addItem(text, deviceIndex); });
    connect(discoverer, &QThread::finished, this, &MainWindow::devicesDiscovered);
    connect(discoverer, &DevicesDiscoverer::newFirmwareVersion, this,
            &MainWindow::receivedANewFirmwareVersion);
    connect(ui->remoteForm, &DeviceForm::discoverDevicesClicked, this,
            &MainWindow::discoverDevices);
    connect(combo, &QComboBox::currentIndexChanged, this, &MainWindow::updateActiveDevice);
    discoverDevices();

    connect(ui->remoteForm, &DeviceForm::deleteRequested, this,
            &MainWindow::deleteCurrentlySelectedFixturesOnDevice);
    connect(ui->remoteForm, &DeviceForm::copyToComputerRequested, this,
            &MainWindow::downloadCurrentSelection);
    connect(this, &MainWindow::operationStarts, ui->remoteForm, &DeviceForm::operationStarts);
    connect(this, &MainWindow::operationEnds, ui->remoteForm, &DeviceForm::operationEnds);

    connect(ui->abortButton, &QPushButton::clicked, downloader,
            &FixtureDefinitionsDownloader::abort);
    connect(ui->abortButton, &QPushButton::clicked, uploader, &FixtureDefinitionsUploader::abort);
    connect(ui->abortButton, &QPushButton::clicked, deleter, &FixturesDeleter::abort);
    connect(ui->abortButton, &QPushButton::clicked, this, &MainWindow::abortButtonClicked);
}

void MainWindow::shutDownDeviceSide()
{
    // The application never gets here (the process ends with the window); tests and the
    // benchmark make and drop windows, so the threads are ended properly.
    connectionTimer->stop();
    probeThread->quit();
    probeThread->wait();
    delete prober;
    delete probeThread;
    emit abortDownloadingFixtureList();
    uploader->abort();
    downloader->abort();
    deleter->abort();
    patchListClearer->abort();
    linkMaster->cancel();
    const QList<QThread *> workers = {listDownloader,   uploader,      downloader, deleter,
                                      patchListClearer, deviceChanger, discoverer};
    for (QThread *worker : workers)
        worker->wait();
    linkMaster->resetLink();
    qDeleteAll(workers);
    delete linkMaster;
    delete linkPhy;
    if (operationRunning)
        operationLock->unlock();
    delete operationLock;
}

void MainWindow::clearPendingFlags()
{
    deviceChangePending = false;
    uploadPending = false;
    deletePending = false;
    downloadPending = false;
    discoveryPending = false;
    firmwareUpdatePending = false;
}

void MainWindow::setProgressIdle(bool busy)
{
    ui->progBarTotal->setMinimum(0);
    if (busy) {
        ui->progBarTotal->setMaximum(0);
        ui->progBarTotal->setValue(0);
        ui->progrBarCurrent->setRange(0, 0);
        ui->progrBarCurrent->setValue(0);
    } else {
        ui->progBarTotal->setMaximum(100);
        ui->progrBarCurrent->setRange(0, 100);
    }
}

QList<QAction *> MainWindow::operationActions() const
{
    return {toolBarActions[5], toolBarActions[6]};
}

void MainWindow::disableOperationActions()
{
    for (QAction *action : operationActions())
        action->setEnabled(false);
    for (QAction *action : ui->menuEdit->actions()) {
        qDebug() << "Disabling action: " << action->objectName();
        action->setEnabled(false);
    }
}

void MainWindow::enableOperationActions()
{
    for (QAction *action : operationActions())
        action->setEnabled(true);
    for (QAction *action : ui->menuEdit->actions())
        action->setEnabled(true);
}

bool MainWindow::beginOperation()
{
    if (!operationLock->tryLock(OperationLockWaitMs))
        return false;
    operationRunning = true;
    abortRequested = false;
    setProgressIdle(false);
    emit operationStarts();
    disableOperationActions();
    return true;
}

void MainWindow::operationDone()
{
    if (operationRunning)
        operationLock->unlock();
    operationRunning = false;
    enableOperationActions();
    emit operationEnds();
    if (closeRequested)
        close();
}

void MainWindow::finishOperation()
{
    if (listDownloader->isRunning()) {
        operationDone();
        return;
    }
    // The lock stays held until the refresh of the device's list ends.
    ui->remoteForm->setBusy(true);
    enableOperationActions();
    emit operationEnds();
    listDownloader->start();
}

void MainWindow::showResult(const QString &text)
{
    if (!closeRequested)
        UserPrompts::information(this, appTitle(), text);
}

void MainWindow::uploadCurrentSelection()
{
    const QList<QBLFixtureDefinition *> selection = ui->libraryForm->selectedDefinitions();
    if (selection.isEmpty())
        return;
    emit abortDownloadingFixtureList();
    if (!beginOperation()) {
        uploadPending = true;
        return;
    }
    clearPendingFlags();
    ui->progBarTotal->setEnabled(true);
    ui->progrBarCurrent->setEnabled(true);
    ui->progressBars->show();
    ui->progBarTotal->setValue(0);
    ui->progrBarCurrent->setValue(0);
    uploader->clearDefinitions();
    for (const QBLFixtureDefinition *definition : selection)
        uploader->addDefinition(*definition);
    uploader->start();
}

void MainWindow::downloadCurrentSelection()
{
    const QList<QBLRemoteFixtureDefinition *> selection = ui->remoteForm->selectedDefinitions();
    if (selection.isEmpty())
        return;
    emit abortDownloadingFixtureList();
    if (!beginOperation()) {
        downloadPending = true;
        return;
    }
    clearPendingFlags();
    ui->progBarTotal->setValue(0);
    ui->progrBarCurrent->setValue(0);
    downloader->clearDefinitions();
    for (const QBLRemoteFixtureDefinition *definition : selection)
        downloader->addDefinition(*definition);
    ui->progBarTotal->setEnabled(true);
    ui->progrBarCurrent->setEnabled(true);
    ui->progressBars->show();
    downloader->start();
}

void MainWindow::deleteCurrentlySelectedFixturesOnDevice()
{
    const QList<QBLRemoteFixtureDefinition *> selection = ui->remoteForm->selectedDefinitions();
    if (selection.isEmpty())
        return;
    emit abortDownloadingFixtureList();
    if (!beginOperation()) {
        deletePending = true;
        return;
    }
    clearPendingFlags();
    ui->progrBarCurrent->hide();
    ui->lblProgCurrent->hide();
    ui->progressBars->show();
    ui->progBarTotal->setValue(0);
    ui->progrBarCurrent->setValue(0);
    deleter->clearTargets();
    for (QBLRemoteFixtureDefinition *definition : selection)
        deleter->addTarget(definition);
    deleter->start();
}

void MainWindow::endUploadPanel()
{
    ui->progBarTotal->show();
    ui->progrBarCurrent->show();
    ui->progressBars->hide();
}

void MainWindow::endDeletePanel()
{
    ui->lblProgCurrent->show();
    ui->progrBarCurrent->show();
    ui->progressBars->hide();
}

void MainWindow::fixturesUploaded()
{
    finishOperation();
    endUploadPanel();
}

void MainWindow::fixtureUploadFailed()
{
    qDebug() << "Uploading fixtureList failed";
    finishOperation();
    endUploadPanel();
    showResult(tr("Upload of fixture definition(s) failed."));
}

void MainWindow::fixtureUploadFailedNotEnoughMemory()
{
    qDebug() << "Uploading fixtureList failed";
    finishOperation();
    endUploadPanel();
    showResult(tr("The device seems not to have enough free memory slots to store\nall of the "
                  "selected fixtures."));
}

void MainWindow::fixtureUploadFailedTooManyOrNotEnoughChannels()
{
    qDebug() << "Uploading fixtureList failed";
    finishOperation();
    endUploadPanel();
    showResult(tr("Make sure that no fixture definition has less than 1 channel or more\nthan %1 "
                  "channels.")
                   .arg(DeviceRecord::MaxChannels));
}

void MainWindow::fixturesDownloaded()
{
    finishOperation();
    const QList<QBLFixtureDefinition *> &downloaded = downloader->downloadedDefinitions();
    // One undo step for the whole download.
    ui->libraryForm->addDefinitions(
        QList<const QBLFixtureDefinition *>(downloaded.begin(), downloaded.end()),
        downloaded.size() == 1 ? tr("Download Fixture Definition")
                               : tr("Download %1 Fixture Definitions").arg(downloaded.size()));
    ui->progressBars->hide();
}

void MainWindow::fixturesDownloadFailed()
{
    finishOperation();
    ui->progressBars->hide();
    showResult(tr("Downloading of fixture definition(s) failed."));
}

void MainWindow::fixturesDeleted()
{
    finishOperation();
    endDeletePanel();
}

void MainWindow::fixtureDeletionFailed()
{
    finishOperation();
    endDeletePanel();
    showResult(tr("Deletion of fixture definition(s) failed."));
}

void MainWindow::patchListClearerFailed()
{
    finishOperation();
    endDeletePanel();
    showResult(tr("Deletion of patch list has failed.\n"));
}

void MainWindow::patchListClearerAborted()
{
    finishOperation();
    endDeletePanel();
    showResult(tr("Deletion of fixture definition(s) failed."));
}

void MainWindow::askToClearPatchList(void (MainWindow::*continuation)())
{
    qDebug() << "We need to clear the patch list";
    // Asked also while closing: erasing the patch list is the user's decision alone.
    const QMessageBox::StandardButton answer = UserPrompts::question(
        this, appTitle(), tr("The current patch list will be erased.\nDo you want to continue?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        disconnect(patchListClearer, &PatchListClearer::success, nullptr, nullptr);
        connect(patchListClearer, &PatchListClearer::success, this, continuation);
        patchListClearer->start();
        return;
    }
    finishOperation();
    ui->progBarTotal->show();
    ui->progrBarCurrent->show();
    ui->progressBars->hide();
}

void MainWindow::fixtureUploadNeedsPatchListCleared()
{
    askToClearPatchList(&MainWindow::patchListClearerOKContUpload);
}

void MainWindow::fixtureDeletionNeedsPatchListCleared()
{
    askToClearPatchList(&MainWindow::patchListClearerOKContDelete);
}

void MainWindow::patchListClearerOKContUpload()
{
    uploader->start();
}

void MainWindow::patchListClearerOKContDelete()
{
    deleter->start();
}

void MainWindow::fixtureListDownloaded(void *data, int length)
{
    const auto *bytes = static_cast<const char *>(data);
    const int count = length >= 2 ? qFromLittleEndian<quint16>(bytes) : 0;
    if (length <= 2 || length != 2 + DeviceRecord::HeaderSize * count) {
        fixtureListDownloadFailed();
        return;
    }
    ui->remoteForm->setFixtureList(bytes + 2, count);
    ui->remoteForm->setBusy(false);
    operationDone();
    servePendingRequest();
}

void MainWindow::fixtureListDownloadFailed()
{
    qDebug() << "Downloading fixture list failed";
    ui->remoteForm->clearList();
    ui->remoteForm->setBusy(false);
    checkFirmwareVersion();
    operationDone();
    servePendingRequest();
}

void MainWindow::fixtureListDownloadAborted()
{
    ui->remoteForm->setBusy(false);
    operationDone();
    servePendingRequest();
}

// A request made during the refresh runs once the refresh has ended, also when the refresh
// was past the point where the abort could stop it (its device check, its last answer).
void MainWindow::servePendingRequest()
{
    if (closeRequested)
        return;
    if (deviceChangePending) {
        updateActiveDevice();
        return;
    }
    if (uploadPending)
        uploadCurrentSelection();
    else if (deletePending)
        deleteCurrentlySelectedFixturesOnDevice();
    else if (downloadPending)
        downloadCurrentSelection();
    else if (discoveryPending)
        discoverDevices();
    else if (firmwareUpdatePending)
        on_actionUpdate_firmware_triggered();
}

void MainWindow::progressCurrentItem(uint percents)
{
    if (!abortRequested)
        ui->progrBarCurrent->setValue(int(percents));
}

void MainWindow::progressTotal(uint percents)
{
    if (!abortRequested)
        ui->progBarTotal->setValue(int(percents));
}

void MainWindow::abortButtonClicked()
{
    abortRequested = true;
    setProgressIdle(true);
}

void MainWindow::discoverDevices()
{
    QComboBox *combo = ui->remoteForm->devicesComboBox();
    if (!linkPhy) {
        combo->clear();
        ui->remoteForm->clearList();
        return;
    }
    emit abortDownloadingFixtureList();
    if (!beginOperation()) {
        discoveryPending = true;
        return;
    }
    firmwareVersions.clear();
    ui->remoteForm->clearList();
    ui->remoteForm->setBusy(true);
    clearPendingFlags();
    discoverer->start();
}

void MainWindow::on_actionDiscoverDevices_triggered()
{
    discoverDevices();
}

void MainWindow::devicesDiscovered()
{
    operationDone();
    QComboBox *combo = ui->remoteForm->devicesComboBox();
    if (deviceToReselect >= 0) {
        const int index = combo->findData(deviceToReselect, Qt::UserRole);
        deviceToReselect = -1;
        if (index >= 0 && index != combo->currentIndex()) {
            // One device change follows below; the combo box's own would be a second.
            const QSignalBlocker blocker(combo);
            combo->setCurrentIndex(index);
        }
    }
    if (combo->count() > 0)
        updateActiveDevice();
    else
        ui->remoteForm->setBusy(false);
}

void MainWindow::updateActiveDevice()
{
    if (!linkMaster || !linkPhy)
        return;
    emit abortDownloadingFixtureList();
    if (!beginOperation()) {
        deviceChangePending = true;
        return;
    }
    clearPendingFlags();
    ui->firmwareUpdateInfoWidget->hide();
    ui->remoteForm->clearList();
    if (linkMaster->responseTimeout() != 0 && !deviceChanger->isRunning()) {
        deviceChanger->setTargetIndex(
            ui->remoteForm->devicesComboBox()->currentData(Qt::UserRole).toInt());
        deviceChanger->start();
        return;
    }
    operationDone();
}

void MainWindow::deviceChanged()
{
    // The notice follows the active device: the one just chosen may need the update.
    checkFirmwareVersion();
    finishOperation();
}

void MainWindow::on_actionUpdate_firmware_triggered()
{
    emit abortDownloadingFixtureList();
    if (!beginOperation()) {
        firmwareUpdatePending = true;
        return;
    }
    clearPendingFlags();
    runFirmwareUpdate();
}

void MainWindow::runFirmwareUpdate()
{
    auto *dialog = new FirmwareUpdateDlg(this);
    dialog->setLink(linkMaster, linkPhy);
    const QComboBox *combo = ui->remoteForm->devicesComboBox();
    QList<int> devices;
    for (int i = 0; i < combo->count(); ++i)
        devices.append(combo->itemData(i, Qt::UserRole).toInt());
    dialog->setDevices(devices, combo->currentIndex());
    dialog->exec();
    dialog->deleteLater();
    if (dialog->devicesMayHaveChanged()) {
        // Devices may have come or gone, and an updated one reports a new version: search
        // anew, which also refreshes the firmware notice and the device's list.
        deviceToReselect = combo->count() > 0 ? combo->currentData(Qt::UserRole).toInt() : -1;
        operationDone();
        discoverDevices();
        return;
    }
    // The link may have been moved by the dialog: switch it back to the device the pane
    // names before its list is read again.
    if (combo->count() > 0 && !deviceChanger->isRunning()) {
        deviceChanger->setTargetIndex(combo->currentData(Qt::UserRole).toInt());
        deviceChanger->start();
        return;
    }
    finishOperation();
}
