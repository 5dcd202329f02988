#include "firmwareupdatedialog.h"
#include "ui_firmwareupdatedialog.h"

#include "blpmphyusb.h"
#include "blpprotocol.h"
#include "devicesdiscoverer.h"
#include "firmwarefile.h"
#include "firmwarelog.h"
#include "fwupdater.h"
#include "views/widgets/userprompts.h"

#include <QCloseEvent>
#include <QFileInfo>

namespace
{

const char *const DeviceName = BLPDevice::ControllerName;
const char DefaultLink[] = "default-update-file";
const char AlternativeLink[] = "alternative-update-file";

QString linkText(const QString &before, const char *target, const QString &linkWord,
                 const QString &after)
{
    return QStringLiteral(
               "<html><head><meta name=\"qrichtext\" content=\"1\" /><style "
               "type=\"text/css\">p, li { white-space: pre-wrap; }</style></head><body "
               "style=\" font-family:'MS Shell Dlg 2'; font-size:8.25pt; font-weight:400; "
               "font-style:normal;\"><p style=\" margin-top:0px; margin-bottom:0px; "
               "margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;\"><span "
               "style=\" font-size:8pt; font-weight:600;\">") +
           before +
           QStringLiteral("</span><span style=\" font-size:8pt; font-style:italic;\"></span><a "
                          "href=\"%1\"><span style=\" font-weight:600; text-decoration: "
                          "underline; color:#ff0000;\">")
               .arg(QLatin1String(target)) +
           linkWord +
           QStringLiteral("</a></span><span style=\" font-size:8pt; font-weight:600;\">") + after +
           QStringLiteral("</span></p></body></html>");
}

// Built from translated pieces each time, so they follow the installed language.
struct ModeTexts {
    QString builtinLoaded;
    QString noBuiltin;
    QString alternative;
};

ModeTexts modeTexts()
{
    return ModeTexts{
        linkText(FirmwareUpdateDlg::tr("Default firmware update file loaded. Load "),
                 AlternativeLink, FirmwareUpdateDlg::tr("alternative"),
                 FirmwareUpdateDlg::tr(" update file.")),
        linkText(FirmwareUpdateDlg::tr("No built-in firmware update file is available. Load an "),
                 AlternativeLink, FirmwareUpdateDlg::tr("alternative"),
                 FirmwareUpdateDlg::tr(" update file.")),
        linkText(FirmwareUpdateDlg::tr("Load the "), DefaultLink, FirmwareUpdateDlg::tr("default"),
                 FirmwareUpdateDlg::tr(" update file."))};
}

} // namespace

FirmwareUpdateDlg::FirmwareUpdateDlg(QWidget *parent)
    : QDialog(parent), ui(new Ui::FirmwareUpdateDlg)
{
    ui->setupUi(this);
    connect(ui->lbl_fileOpenMode, &QLabel::linkActivated, this,
            &FirmwareUpdateDlg::on_lblMode_Link_clicked);

    discoverer = new DevicesDiscoverer;
    QComboBox *combo = ui->devicesCombo;
    connect(discoverer, &DevicesDiscoverer::clearDevicesComboBox, combo, &QComboBox::clear);
    connect(discoverer, &DevicesDiscoverer::deviceFound, combo,
            [combo](const QString &text, int deviceIndex) { combo->addItem(text, deviceIndex); });
    connect(discoverer, &QThread::finished, this, &FirmwareUpdateDlg::devicesDiscovered);
    // Long entries (label and version) must not cut the buttons off a narrow dialog.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(24);

    ui->bttn_update->setEnabled(false);
    ui->progressBar->hide();
    enterDefaultMode();

    updater = new FwUpdater;
    connect(updater, &FwUpdater::progress, this, &FirmwareUpdateDlg::progress);
    connect(updater, &FwUpdater::failed, this, &FirmwareUpdateDlg::updateFailed);
    connect(updater, &FwUpdater::success, this, &FirmwareUpdateDlg::updateSuccessFul);
}

FirmwareUpdateDlg::~FirmwareUpdateDlg()
{
    // The dialog refuses to close while busy; the threads may still be on their way out.
    updater->wait();
    discoverer->wait();
    delete file;
    delete updater;
    delete discoverer;
    delete ui;
}

void FirmwareUpdateDlg::setLink(BLPMaster *linkMaster, BLPmPhyUSB *linkPhy)
{
    master = linkMaster;
    phy = linkPhy;
    discoverer->setLink(master, phy);
    updater->setLink(master, phy);
}

void FirmwareUpdateDlg::setDevices(const QList<int> &deviceIndexes, int indexToSelect)
{
    QList<DiscoveredDevice> known;
    int number = 1;
    for (int index : deviceIndexes) {
        DiscoveredDevice device;
        device.deviceIndex = index;
        device.entryText = tr("KDR-450P #%1").arg(number++);
        known.append(device);
    }
    setDeviceEntries(known, indexToSelect);
}

void FirmwareUpdateDlg::setDeviceEntries(const QList<DiscoveredDevice> &known, int indexToSelect)
{
    devices.clear();
    ui->devicesCombo->clear();
    for (const DiscoveredDevice &device : known) {
        devices.append(device.deviceIndex);
        ui->devicesCombo->addItem(entryText(device), device.deviceIndex);
    }
    ui->devicesCombo->setCurrentIndex(indexToSelect);
    ui->bttn_update->setEnabled(!known.isEmpty() && fileUsable);
}

QString FirmwareUpdateDlg::entryText(const DiscoveredDevice &device)
{
    if (device.softwareVersion <= 0)
        return device.entryText;
    return tr("%1, firmware %2").arg(device.entryText, softwareVersionText(device.softwareVersion));
}

bool FirmwareUpdateDlg::hasDevices() const
{
    return ui->devicesCombo->count() > 0;
}

void FirmwareUpdateDlg::updateButtonState()
{
    ui->bttn_update->setEnabled(fileUsable && hasDevices());
}

void FirmwareUpdateDlg::enterDefaultMode()
{
    alternativeMode = false;
    ui->bttn_load->hide();
    ui->lbl_fileStatus->hide();
    ui->lbl_fileStatus->clear();
    delete file;
    file = nullptr;
    fileUsable = false;
    if (!FirmwareFile::hasBuiltinImage()) {
        // This build carries no image; only a file the user picks can be sent.
        ui->lbl_fileOpenMode->setText(modeTexts().noBuiltin);
        qCDebug(lcFirmware) << "No built-in BL2 image";
        ui->bttn_update->setEnabled(false);
        return;
    }
    ui->lbl_fileOpenMode->setText(modeTexts().builtinLoaded);
    file = new FirmwareFile;
    if (file->load(FirmwareFile::builtinImagePath())) {
        fileUsable = true;
        qCDebug(lcFirmware) << "BL2 OK";
        if (hasDevices())
            ui->bttn_update->setEnabled(true);
    } else {
        qCDebug(lcFirmware) << "BL2 failed";
    }
}

void FirmwareUpdateDlg::enterAlternativeMode()
{
    alternativeMode = true;
    ui->bttn_load->show();
    ui->lbl_fileStatus->show();
    ui->lbl_fileOpenMode->setText(modeTexts().alternative);
    delete file;
    file = nullptr;
    fileUsable = false;
    ui->bttn_update->setEnabled(false);
}

void FirmwareUpdateDlg::on_devicesCombo_currentIndexChanged(int) {}

void FirmwareUpdateDlg::on_bttnDiscover_clicked()
{
    ui->bttn_update->setEnabled(false);
    enterBusy();
    devicesTouched = true;
    discoverer->start();
}

void FirmwareUpdateDlg::on_bttn_load_clicked()
{
    lastPath = UserPrompts::getOpenFileName(this, tr("Open a Brenlow Update File"), lastPath,
                                            tr("BL2 files (*.bl2)"));
    if (lastPath.isEmpty() || !QFileInfo(lastPath).isFile())
        return;
    delete file;
    file = new FirmwareFile;
    const bool loaded = file->load(lastPath);
    ui->lbl_fileStatus->setText(fileStatusText(*file));
    if (loaded && file->isForDevice(QString::fromLatin1(DeviceName))) {
        fileUsable = true;
        updateButtonState();
        return;
    }
    fileUsable = false;
    ui->bttn_update->setEnabled(false);
    delete file;
    file = nullptr;
}

void FirmwareUpdateDlg::on_bttn_quit_clicked()
{
    close();
}

void FirmwareUpdateDlg::on_bttn_update_clicked()
{
    if (!file || !fileUsable || !hasDevices())
        return;
    enterBusy();
    devicesTouched = true;
    ui->progressBar->setValue(0);
    ui->progressBar->show();
    updater->setFile(file);
    updating = ui->devicesCombo->currentData(Qt::UserRole).toInt();
    updatingEntry = ui->devicesCombo->currentText();
    updater->setDeviceIndex(updating);
    updater->start();
}

void FirmwareUpdateDlg::on_lblMode_Link_clicked(QString link)
{
    if (busy)
        return;
    if (link == QLatin1String(DefaultLink))
        enterDefaultMode();
    else if (link == QLatin1String(AlternativeLink))
        enterAlternativeMode();
    else
        qCDebug(lcFirmware) << "Unknown link" << link;
}

void FirmwareUpdateDlg::progress(int percents)
{
    ui->progressBar->setValue(percents);
}

void FirmwareUpdateDlg::devicesDiscovered()
{
    // The entries as found, now with the version each controller reported.
    setDeviceEntries(discoverer->devices(), discoverer->devices().isEmpty() ? -1 : 0);
    operationDone();
    updateButtonState();
}

void FirmwareUpdateDlg::enterBusy()
{
    busy = true;
    ui->bttn_update->setEnabled(false);
    ui->devicesCombo->setEnabled(false);
    ui->bttnDiscover->setEnabled(false);
    ui->bttn_load->setEnabled(false);
}

void FirmwareUpdateDlg::operationDone()
{
    ui->devicesCombo->setEnabled(true);
    ui->bttnDiscover->setEnabled(true);
    ui->bttn_load->setEnabled(true);
    updateButtonState();
    busy = false;
}

void FirmwareUpdateDlg::closeEvent(QCloseEvent *event)
{
    if (busy) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void FirmwareUpdateDlg::reject()
{
    if (!busy)
        QDialog::reject();
}

void FirmwareUpdateDlg::updateFailed()
{
    ui->progressBar->hide();
    operationDone();
    UserPrompts::information(
        this, tr("KDR-450P Fixture Library Editor"),
        tr("The firmware was not programmed on %1.\n%2").arg(updatingEntry, failureText()));
}

// The coloured status line of a chosen file, for the connected kind of controller.
QString FirmwareUpdateDlg::fileStatusText(const FirmwareFile &file)
{
    const auto coloured = [](const char *colour, const QString &text) {
        return QStringLiteral("<font color =\"%1\">").arg(QLatin1String(colour)) + text +
               QStringLiteral("</font>");
    };
    const QString theFile = tr("The file ") + file.fileName();
    if (file.isUnreadable() && file.fileName().isEmpty())
        return QString();
    if (file.isUnreadable())
        return coloured("red", theFile + tr(" is not readable."));
    if (!file.isValid())
        return coloured("red", theFile + tr(" is not a valid BL2 file."));
    if (!file.isForDevice(QString::fromLatin1(DeviceName)))
        return coloured("grey", theFile + tr(" does not contain a firmware update for the "
                                             "connected device."));
    return coloured("green", theFile + tr(" is OK."));
}

// Why the last update failed, in one sentence.
QString FirmwareUpdateDlg::failureText() const
{
    if (updater->refusedWrongDevice())
        return tr("The device is not a %1; nothing was written to it.")
            .arg(QLatin1String(DeviceName));
    const DeviceFailure &cause = updater->failureCause();
    using S = BLPMaster::LinkStatus;
    switch (cause.status) {
    case S::TimedOut:
        return tr("The controller did not answer within %1 ms.").arg(cause.answerTimeoutMs);
    case S::LinkLost:
        if (cause.deviceGone)
            return tr("The connection was lost: the USB device vanished.");
        if (cause.driverStatus != FtdiDriver::Ok)
            return tr("The connection was lost: driver error %1.").arg(cause.driverStatus);
        return tr("The connection was lost: data did not leave within %1 ms.")
            .arg(BLPmPhyUSB::WriteTimeoutMs);
    case S::DeviceStatus:
        return tr("The controller answered status %1.").arg(cause.deviceStatus);
    case S::Cancelled:
        return tr("The update was cancelled.");
    case S::AnswerTooLong:
    case S::BadAnswer:
        return tr("The controller gave an answer of the wrong size.");
    case S::InvalidRequest:
        return tr("The update could not be started.");
    case S::Ok:
        break;
    }
    return tr("No cause was reported.");
}

void FirmwareUpdateDlg::updateSuccessFul()
{
    programmed = updating;
    ui->progressBar->hide();
    operationDone();
}
