// Connection monitoring: the connection monitor's events mapped to the device pane, and the
// notice for controllers whose firmware is too old.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "applog.h"
#include "connectionmonitor.h"
#include "devicejobrunner.h"
#include "views/deviceform.h"

#include <QComboBox>

bool MainWindow::isDeviceConnected() const
{
    return monitor->isConnected();
}

void MainWindow::updateConnectionStatus()
{
    monitor->poll();
}

void MainWindow::onConnected()
{
    qCDebug(lcApp) << "device connected";
    checkFirmwareVersion();
}

void MainWindow::onDisconnected()
{
    qCDebug(lcApp) << "device disconnected";
    ui->firmwareUpdateInfoWidget->hide();
    if (jobs->currentJob() != DeviceJob::None)
        return;
    // The devices stay out of the list until the next discovery.
    QComboBox *combo = ui->remoteForm->devicesComboBox();
    combo->clear();
    combo->setCurrentIndex(-1);
    ui->remoteForm->clearList();
    ui->remoteForm->setFirmwareVersion(-1);
}

void MainWindow::checkFirmwareVersion()
{
    const QComboBox *combo = ui->remoteForm->devicesComboBox();
    const int deviceNumber = combo->currentData(Qt::UserRole).toInt();
    const int version = monitor->firmwareVersion(deviceNumber);
    ui->remoteForm->setFirmwareVersion(combo->count() > 0 ? version : -1);
    if (version < 0 || !ConnectionMonitor::isOutdated(version)) {
        ui->firmwareUpdateInfoWidget->hide();
        return;
    }
    qCDebug(lcApp) << "too old: " << ((version >> 8) & 0xFF) << "," << (version & 0xFF);
    if (monitor->isConnected())
        ui->firmwareUpdateInfoWidget->show();
}

void MainWindow::receivedANewFirmwareVersion(int deviceNbr, int swv)
{
    monitor->recordFirmwareVersion(deviceNbr, swv);
    qCDebug(lcApp) << "received " << ((swv >> 8) & 0xFF) << "," << (swv & 0xFF);
}

void MainWindow::on_labelFirmwareUpdateInfo_linkActivated(QString link)
{
    if (link != QLatin1String("update-device")) {
        qCDebug(lcApp) << "Unknown link:" << link;
        return;
    }
    qCDebug(lcApp) << "Link clicked";
    if (!jobs->beginFirmwareDialog(false))
        return;
    ui->firmwareUpdateInfoWidget->hide();
    runFirmwareUpdate();
}
