// The window's device side: the job runner's starts and outcomes mapped to the progress panel,
// the device pane and the result messages, and device discovery.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "applog.h"
#include "blpmaster.h"
#include "connectionmonitor.h"
#include "devicejobrunner.h"
#include "devicelink.h"
#include "devicesdiscoverer.h"
#include "firmware/firmwareupdatedialog.h"
#include "ftdidriver.h"
#include "model/qblfixturedefinition.h"
#include "transfer/devicerecord.h"
#include "transfer/qblremotefixturedefinition.h"
#include "views/deviceform.h"
#include "views/libraryform.h"
#include "views/widgets/userprompts.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>

#include <memory>
#include <vector>

BLPMaster *MainWindow::master() const
{
    return link->master();
}

BLPmPhyUSB *MainWindow::phy() const
{
    return link->phy();
}

DeviceForm *MainWindow::deviceForm() const
{
    return ui->remoteForm;
}

bool MainWindow::isOperationRunning() const
{
    return jobs->isOperationRunning();
}

QString MainWindow::appTitle()
{
    return tr("KDR-450P Fixture Library Editor");
}

void MainWindow::createWorkers()
{
    // --simulate, --port and --backend choose the driver backend; without them the platform's
    // default, resolved as the tool resolves it, unless a driver is in place already (a
    // test's simulated bus).
    if (linkOptions.simulate || !linkOptions.port.isEmpty() || !linkOptions.backend.isEmpty() ||
        !linkOptions.d2xxLibrary.isEmpty() || !FtdiDriver::hasCurrent()) {
        DriverOptions options;
        options.simulate = linkOptions.simulate;
        options.portPath = linkOptions.port;
        options.backend = linkOptions.backend;
        options.d2xxLibrary = linkOptions.d2xxLibrary;
        QString error;
        if (!DeviceLink::installBackend(options, &error)) {
            // The window still opens for library work; the user learns why no controller shows.
            QTimer::singleShot(0, this, [this, error] {
                UserPrompts::warning(this, appTitle(),
                                     tr("The controller link is not available: %1").arg(error));
            });
        }
    }
    link = std::make_unique<DeviceLink>();
    link->master()->connectDevice();
    jobs = new DeviceJobRunner(link.get(), this);
    jobs->setAsksAboutHeldDefinitions(true);
    QComboBox *combo = ui->remoteForm->devicesComboBox();
    monitor = new ConnectionMonitor(
        jobs, [combo] { return combo->count(); }, this);

    connect(jobs, &DeviceJobRunner::jobStarted, this, &MainWindow::deviceJobStarted);
    connect(jobs, &DeviceJobRunner::jobEnded, this, &MainWindow::deviceJobEnded);
    connect(jobs, &DeviceJobRunner::refreshStarted, this, &MainWindow::finishOperation);
    connect(jobs, &DeviceJobRunner::released, this, &MainWindow::operationDone);
    connect(jobs, &DeviceJobRunner::patchListClearingNeeded, this,
            [this](DeviceJob job) {
                if (job == DeviceJob::Upload)
                    fixtureUploadNeedsPatchListCleared();
                else
                    fixtureDeletionNeedsPatchListCleared();
            });
    connect(jobs, &DeviceJobRunner::patchListCleared, this, [this](DeviceJob job) {
        if (job == DeviceJob::Upload)
            patchListClearerOKContUpload();
        else
            patchListClearerOKContDelete();
    });
    connect(this, &MainWindow::abortDownloadingFixtureList, jobs, &DeviceJobRunner::abortRefresh);
    connect(jobs, &DeviceJobRunner::heldDefinitionsFound, this,
            &MainWindow::askAboutHeldDefinitions);
    connect(jobs, &DeviceJobRunner::firmwareUpdateDue, this,
            &MainWindow::on_actionUpdate_firmware_triggered);
    connect(jobs, &DeviceJobRunner::progressTotal, this, &MainWindow::progressTotal);
    connect(jobs, &DeviceJobRunner::progressCurrent, this, &MainWindow::progressCurrentItem);
    connect(monitor, &ConnectionMonitor::connected, this, &MainWindow::onConnected);
    connect(monitor, &ConnectionMonitor::disconnected, this, &MainWindow::onDisconnected);
    monitor->start();
}

void MainWindow::connectDeviceSide()
{
    QComboBox *combo = ui->remoteForm->devicesComboBox();
    connect(jobs, &DeviceJobRunner::devicesCleared, combo, &QComboBox::clear);
    connect(jobs, &DeviceJobRunner::deviceFound, combo,
            [combo](const QString &text, int deviceIndex) { combo->addItem(text, deviceIndex); });
    connect(jobs, &DeviceJobRunner::firmwareVersionReported, this,
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
    connect(ui->abortButton, &QPushButton::clicked, this, &MainWindow::abortButtonClicked);
}

void MainWindow::shutDownDeviceSide()
{
    // The application never gets here (the process ends with the window); tests and the
    // benchmark make and drop windows, so the threads are ended properly.
    delete monitor;
    monitor = nullptr;
    delete jobs;
    jobs = nullptr;
    link.reset();
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

// Undo and Redo share the Edit menu with the device commands, but the history alone says
// whether they can run: library edits go on during device work.
bool MainWindow::isUndoAction(const QAction *action) const
{
    return action == undoAction || action == redoAction;
}

void MainWindow::disableOperationActions()
{
    for (QAction *action : operationActions())
        action->setEnabled(false);
    for (QAction *action : ui->menuEdit->actions()) {
        if (isUndoAction(action))
            continue;
        qCDebug(lcApp) << "Disabling action: " << action->objectName();
        action->setEnabled(false);
    }
}

void MainWindow::enableOperationActions()
{
    for (QAction *action : operationActions())
        action->setEnabled(true);
    for (QAction *action : ui->menuEdit->actions())
        if (!isUndoAction(action))
            action->setEnabled(true);
}

void MainWindow::deviceJobStarted(DeviceJob job)
{
    abortRequested = false;
    setProgressIdle(false);
    emit operationStarts();
    disableOperationActions();
    switch (job) {
    case DeviceJob::Upload:
    case DeviceJob::Download:
        ui->progBarTotal->setEnabled(true);
        ui->progrBarCurrent->setEnabled(true);
        ui->progressBars->show();
        ui->progBarTotal->setValue(0);
        ui->progrBarCurrent->setValue(0);
        break;
    case DeviceJob::Delete:
        ui->progrBarCurrent->hide();
        ui->lblProgCurrent->hide();
        ui->progressBars->show();
        ui->progBarTotal->setValue(0);
        ui->progrBarCurrent->setValue(0);
        break;
    case DeviceJob::Discover:
        monitor->forgetFirmwareVersions();
        ui->remoteForm->clearList();
        ui->remoteForm->setBusy(true);
        break;
    case DeviceJob::ChangeDevice:
        ui->firmwareUpdateInfoWidget->hide();
        ui->remoteForm->clearList();
        break;
    default:
        break;
    }
}

void MainWindow::operationDone()
{
    enableOperationActions();
    emit operationEnds();
    if (closeRequested)
        close();
}

// The lock stays held while the device's list is read again.
void MainWindow::finishOperation()
{
    ui->remoteForm->setBusy(true);
    enableOperationActions();
    emit operationEnds();
}

void MainWindow::deviceJobEnded(DeviceJob job, DeviceJobOutcome outcome)
{
    switch (job) {
    case DeviceJob::Refresh:
        fixtureListEnded(outcome);
        break;
    case DeviceJob::Upload:
        uploadEnded(outcome);
        break;
    case DeviceJob::Delete:
        deletionEnded(outcome);
        break;
    case DeviceJob::Download:
        if (outcome == DeviceJobOutcome::Done || outcome == DeviceJobOutcome::Aborted)
            fixturesDownloaded(outcome == DeviceJobOutcome::Aborted);
        else
            fixturesDownloadFailed();
        break;
    case DeviceJob::ChangeDevice:
        deviceChanged();
        break;
    case DeviceJob::Discover:
        devicesDiscovered();
        break;
    default:
        break;
    }
}

// Upload and deletion end alike when they stopped at the patch-list question.
bool MainWindow::patchListOutcomeShown(DeviceJobOutcome outcome)
{
    switch (outcome) {
    case DeviceJobOutcome::PatchListKept:
        endUploadPanel();
        return true;
    case DeviceJobOutcome::PatchListClearFailed:
        patchListClearerFailed();
        return true;
    case DeviceJobOutcome::PatchListClearAborted:
        patchListClearerAborted();
        return true;
    default:
        return false;
    }
}

void MainWindow::uploadEnded(DeviceJobOutcome outcome)
{
    if (patchListOutcomeShown(outcome))
        return;
    const DeviceJobRunner::ItemCount count = jobs->itemCount(DeviceJob::Upload);
    switch (outcome) {
    case DeviceJobOutcome::Done:
        fixturesUploaded();
        showStatus(tr("Uploaded %n definition(s) to %1", "", count.total).arg(activeDeviceName()));
        break;
    case DeviceJobOutcome::Aborted:
        endUploadPanel();
        showStatus(
            tr("Upload cancelled after %1 of %n definition(s)", "", count.total).arg(count.done));
        break;
    case DeviceJobOutcome::NotEnoughFreeSlots:
        fixtureUploadFailedNotEnoughMemory();
        break;
    case DeviceJobOutcome::ChannelCountsOutOfRange:
        fixtureUploadFailedTooManyOrNotEnoughChannels();
        break;
    default:
        fixtureUploadFailed();
        break;
    }
}

void MainWindow::deletionEnded(DeviceJobOutcome outcome)
{
    if (patchListOutcomeShown(outcome))
        return;
    const DeviceJobRunner::ItemCount count = jobs->itemCount(DeviceJob::Delete);
    switch (outcome) {
    case DeviceJobOutcome::Done:
        fixturesDeleted();
        showStatus(tr("Deleted %n definition(s) on %1", "", count.total).arg(activeDeviceName()));
        break;
    case DeviceJobOutcome::Aborted:
        endDeletePanel();
        showStatus(
            tr("Deletion cancelled after %1 of %n definition(s)", "", count.total).arg(count.done));
        break;
    default:
        fixtureDeletionFailed();
        break;
    }
}

void MainWindow::fixtureListEnded(DeviceJobOutcome outcome)
{
    const StoredFixtureList &list = jobs->fixtureList();
    if (outcome == DeviceJobOutcome::Aborted) {
        fixtureListDownloadAborted();
    } else if (outcome == DeviceJobOutcome::Done) {
        QByteArray answer = list.answer();
        fixtureListDownloaded(answer.data(), int(answer.size()));
    } else {
        fixtureListDownloadFailed();
    }
    if (outcome == DeviceJobOutcome::Done)
        ui->remoteForm->setStoreUse(list.count(), list.capacity());
}

void MainWindow::showResult(const QString &text)
{
    if (!closeRequested)
        UserPrompts::information(this, appTitle(), text);
}

void MainWindow::showStatus(const QString &text)
{
    statusBar()->showMessage(text);
}

void MainWindow::uploadCurrentSelection()
{
    const QList<QBLFixtureDefinition *> selection = ui->libraryForm->selectedDefinitions();
    if (selection.isEmpty() || !namesStoredAsShownOrAccepted(selection))
        return;
    emit abortDownloadingFixtureList();
    jobs->upload(selection);
}

void MainWindow::downloadCurrentSelection()
{
    const QList<QBLRemoteFixtureDefinition *> selection = ui->remoteForm->selectedDefinitions();
    if (selection.isEmpty())
        return;
    emit abortDownloadingFixtureList();
    jobs->download(selection);
}

void MainWindow::deleteCurrentlySelectedFixturesOnDevice()
{
    // Copied: a refresh that ends while the question is open replaces the pane's rows.
    std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> copies;
    QList<QBLRemoteFixtureDefinition *> selection;
    for (const QBLRemoteFixtureDefinition *entry : ui->remoteForm->selectedDefinitions()) {
        copies.push_back(std::make_unique<QBLRemoteFixtureDefinition>());
        *copies.back() = *entry;
        selection.append(copies.back().get());
    }
    if (selection.isEmpty())
        return;
    // Nothing brings an erased definition back: ask, naming what goes.
    const int n = int(selection.size());
    QStringList names;
    if (n <= 5) {
        for (const QBLRemoteFixtureDefinition *entry : selection)
            names.append(entry->displayName());
    }
    const QMessageBox::StandardButton answer = UserPrompts::questionWithDetails(
        this, appTitle(),
        tr("Delete %n fixture definition(s) on %1?", "", n).arg(activeDeviceName()),
        names.isEmpty() ? tr("They cannot be restored.")
                        : names.join(QLatin1Char('\n')) + QStringLiteral("\n\n") +
                              tr("They cannot be restored."),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    emit abortDownloadingFixtureList();
    jobs->remove(selection);
}

// The controller keeps Latin-1 names of fixed widths: say per definition what it will change.
bool MainWindow::namesStoredAsShownOrAccepted(const QList<QBLFixtureDefinition *> &definitions)
{
    QStringList lines;
    for (const QBLFixtureDefinition *definition : definitions) {
        const DeviceRecordPreview preview = previewDeviceRecord(*definition);
        for (const DeviceNameChange &change : preview.nameChanges)
            lines.append(
                tr("%1, %2: \"%3\" is stored as \"%4\"")
                    .arg(definition->displayName(), change.field, change.given, change.stored));
    }
    if (lines.isEmpty())
        return true;
    return UserPrompts::questionWithDetails(
               this, appTitle(), tr("The controller will store some names differently. Upload?"),
               lines.join(QLatin1Char('\n')), QMessageBox::Yes | QMessageBox::No,
               QMessageBox::Yes) == QMessageBox::Yes;
}

QString MainWindow::activeDeviceName() const
{
    const QString text = ui->remoteForm->devicesComboBox()->currentText();
    return text.isEmpty() ? tr("the controller") : text;
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
    endUploadPanel();
}

void MainWindow::fixtureUploadFailed()
{
    qCDebug(lcApp) << "Uploading fixtureList failed";
    endUploadPanel();
    showResult(tr("Upload of fixture definition(s) failed."));
}

void MainWindow::fixtureUploadFailedNotEnoughMemory()
{
    qCDebug(lcApp) << "Uploading fixtureList failed";
    endUploadPanel();
    QString text = tr("The device seems not to have enough free memory slots to store\nall of "
                      "the selected fixtures.");
    const int freeSlots = jobs->uploadFreeSlots();
    if (freeSlots >= 0)
        text +=
            QStringLiteral("\n\n") +
            tr("Free slots: %1, needed: %2.").arg(freeSlots).arg(jobs->uploadDefinitions().size());
    showResult(text);
}

void MainWindow::fixtureUploadFailedTooManyOrNotEnoughChannels()
{
    qCDebug(lcApp) << "Uploading fixtureList failed";
    endUploadPanel();
    QStringList refused;
    for (const QBLFixtureDefinition *definition : jobs->uploadDefinitions()) {
        const DeviceRecordPreview preview = previewDeviceRecord(*definition);
        if (!preview.channelCountFits)
            refused.append(
                tr("%1: %n channel(s)", "", preview.channelCount).arg(definition->displayName()));
    }
    showResult(tr("Make sure that no fixture definition has less than 1 channel or more\nthan %1 "
                  "channels.")
                   .arg(DeviceRecord::MaxChannels) +
               QStringLiteral("\n\n") + refused.join(QLatin1Char('\n')));
}

void MainWindow::fixturesDownloaded(bool cancelled)
{
    const QList<QBLFixtureDefinition *> &downloaded = jobs->downloadedDefinitions();
    // One undo step for the whole download; a cancelled one keeps what had arrived.
    if (!downloaded.isEmpty())
        ui->libraryForm->addDefinitions(
            QList<const QBLFixtureDefinition *>(downloaded.begin(), downloaded.end()),
            downloaded.size() == 1 ? tr("Download Fixture Definition")
                                   : tr("Download %1 Fixture Definitions").arg(downloaded.size()));
    ui->progressBars->hide();
    const DeviceJobRunner::ItemCount count = jobs->itemCount(DeviceJob::Download);
    if (cancelled)
        showStatus(
            tr("Download cancelled after %1 of %n definition(s)", "", count.total).arg(count.done));
    else
        showStatus(tr("Downloaded %n definition(s)", "", count.total));
}

void MainWindow::fixturesDownloadFailed()
{
    ui->progressBars->hide();
    showResult(tr("Downloading of fixture definition(s) failed."));
}

void MainWindow::fixturesDeleted()
{
    endDeletePanel();
}

void MainWindow::fixtureDeletionFailed()
{
    endDeletePanel();
    showResult(tr("Deletion of fixture definition(s) failed."));
}

void MainWindow::patchListClearerFailed()
{
    endDeletePanel();
    showResult(tr("Deletion of patch list has failed.\n"));
}

void MainWindow::patchListClearerOKContUpload()
{
    jobs->continueAfterPatchListCleared(DeviceJob::Upload);
}

void MainWindow::patchListClearerOKContDelete()
{
    jobs->continueAfterPatchListCleared(DeviceJob::Delete);
}

void MainWindow::patchListClearerAborted()
{
    endDeletePanel();
    showResult(tr("Deletion of fixture definition(s) failed."));
}

void MainWindow::askToClearPatchList()
{
    qCDebug(lcApp) << "We need to clear the patch list";
    // Asked also while closing: erasing the patch list is the user's decision alone.
    const QMessageBox::StandardButton answer = UserPrompts::question(
        this, appTitle(), tr("The current patch list will be erased.\nDo you want to continue?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    jobs->answerPatchListQuestion(answer == QMessageBox::Yes);
}

void MainWindow::askAboutHeldDefinitions()
{
    const QList<QBLFixtureDefinition *> &definitions = jobs->uploadDefinitions();
    const QList<int> &heldIn = jobs->heldIn();
    QStringList names;
    for (int i = 0; i < definitions.size(); ++i) {
        if (heldIn.value(i, -1) >= 0)
            names.append(
                tr("%1 (slot %2)").arg(definitions.at(i)->displayName()).arg(heldIn.at(i)));
    }
    const QMessageBox::StandardButton answer = UserPrompts::questionWithDetails(
        this, appTitle(),
        tr("%1 already holds %n of the selected definitions. Upload them again?", "",
           int(names.size()))
            .arg(activeDeviceName()),
        names.size() <= 5 ? names.join(QLatin1Char('\n')) : QString(),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    jobs->answerHeldQuestion(answer == QMessageBox::Yes);
}

void MainWindow::fixtureUploadNeedsPatchListCleared()
{
    askToClearPatchList();
}

void MainWindow::fixtureDeletionNeedsPatchListCleared()
{
    askToClearPatchList();
}

// A store without definitions reads like a failed refresh: the list stays empty and the
// firmware notice is looked at again.
void MainWindow::fixtureListDownloaded(void *data, int length)
{
    StoredFixtureList list;
    if (!list.parse(QByteArrayView(static_cast<const char *>(data), length)) || list.isEmpty()) {
        fixtureListDownloadFailed();
        return;
    }
    ui->remoteForm->setFixtureList(list);
    ui->remoteForm->setBusy(false);
}

void MainWindow::fixtureListDownloadFailed()
{
    qCDebug(lcApp) << "Downloading fixture list failed";
    ui->remoteForm->clearList();
    ui->remoteForm->setBusy(false);
    checkFirmwareVersion();
}

void MainWindow::fixtureListDownloadAborted()
{
    ui->remoteForm->setBusy(false);
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
    jobs->abort();
}

void MainWindow::discoverDevices()
{
    emit abortDownloadingFixtureList();
    jobs->discover();
}

void MainWindow::on_actionDiscoverDevices_triggered()
{
    discoverDevices();
}

void MainWindow::devicesDiscovered()
{
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
    if (firmwareProgrammedOn >= 0) {
        // The version the controller reports now, not the one the file claims.
        const int index = combo->findData(firmwareProgrammedOn, Qt::UserRole);
        const int version = monitor->firmwareVersion(firmwareProgrammedOn);
        firmwareProgrammedOn = -1;
        if (index >= 0 && version >= 0)
            showStatus(tr("Firmware %1 programmed on %2")
                           .arg(softwareVersionText(version), combo->itemText(index)));
    } else {
        showStatus(tr("Found %n controller(s)", "", combo->count()));
    }
    if (combo->count() > 0)
        updateActiveDevice();
    else
        ui->remoteForm->setBusy(false);
}

void MainWindow::updateActiveDevice()
{
    const QComboBox *combo = ui->remoteForm->devicesComboBox();
    // An emptied list names no device to switch to.
    if (combo->currentIndex() < 0)
        return;
    emit abortDownloadingFixtureList();
    jobs->changeDevice(combo->currentData(Qt::UserRole).toInt());
}

void MainWindow::deviceChanged()
{
    // The notice follows the active device: the one just chosen may need the update.
    checkFirmwareVersion();
}

void MainWindow::on_actionUpdate_firmware_triggered()
{
    emit abortDownloadingFixtureList();
    if (jobs->beginFirmwareDialog(true))
        runFirmwareUpdate();
}

void MainWindow::runFirmwareUpdate()
{
    auto *dialog = new FirmwareUpdateDlg(this);
    dialog->setLink(link->master(), link->phy());
    const QComboBox *combo = ui->remoteForm->devicesComboBox();
    QList<DiscoveredDevice> devices;
    for (int i = 0; i < combo->count(); ++i) {
        DiscoveredDevice device;
        device.deviceIndex = combo->itemData(i, Qt::UserRole).toInt();
        device.entryText = combo->itemText(i);
        device.softwareVersion = monitor->firmwareVersion(device.deviceIndex);
        devices.append(device);
    }
    dialog->setDeviceEntries(devices, combo->currentIndex());
    dialog->exec();
    dialog->deleteLater();
    firmwareProgrammedOn = dialog->programmedDevice();
    if (dialog->devicesMayHaveChanged()) {
        // Devices may have come or gone, and an updated one reports a new version: search
        // anew, which also refreshes the firmware notice and the device's list.
        deviceToReselect = combo->count() > 0 ? combo->currentData(Qt::UserRole).toInt() : -1;
        jobs->releaseFirmwareDialog();
        discoverDevices();
        return;
    }
    // The link may have been moved by the dialog: switch it back to the device the pane
    // names before its list is read again.
    jobs->endFirmwareDialog(combo->count() > 0 ? combo->currentData(Qt::UserRole).toInt() : -1);
}
