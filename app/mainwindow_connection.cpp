// Connection monitoring: the 300 ms probe of the active controller while no operation runs,
// and the notice for controllers whose firmware is too old.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "connectionprobe.h"
#include "views/deviceform.h"

#include <QComboBox>
#include <QDebug>
#include <QMutex>
#include <QTimer>

namespace
{

// Controllers at this version or older are offered the update.
constexpr int LastOutdatedFirmware = 0x0102;
// Failed probes tolerated after an answered one before the controller counts as gone.
constexpr int ProbeGrace = 2;

} // namespace

void MainWindow::updateConnectionStatus()
{
    if (!linkMaster || operationRunning || !operationLock->tryLock())
        return;
    operationLock->unlock();
    // The probe runs on its own thread; the timer waits for its answer.
    connectionTimer->stop();
    QMetaObject::invokeMethod(prober, &ConnectionProbe::probe, Qt::QueuedConnection);
}

void MainWindow::connectionProbed(int probe)
{
    // An operation that started meanwhile owns the link; its outcome decides, not this probe.
    if (!operationRunning) {
        const int count = ui->remoteForm->devicesComboBox()->count();
        if (probe == 2) {
            if (!deviceConnected && count > 0) {
                connectionGrace = ProbeGrace;
                deviceConnected = true;
                onConnected();
            } else if (deviceConnected && count > 0) {
                connectionGrace = ProbeGrace;
            } else if (deviceConnected) {
                connectionLossStep();
            }
        } else if (probe == 1) {
            if (deviceConnected) {
                connectionLossStep();
            } else if (count > 0) {
                if (connectionGrace > 0)
                    --connectionGrace;
                else
                    onDisconnected();
            }
        }
    }
    connectionTimer->start();
}

void MainWindow::connectionLossStep()
{
    if (connectionGrace > 0) {
        --connectionGrace;
        return;
    }
    deviceConnected = false;
    onDisconnected();
}

void MainWindow::onConnected()
{
    qDebug() << "device connected";
    checkFirmwareVersion();
}

void MainWindow::onDisconnected()
{
    qDebug() << "device disconnected";
    ui->firmwareUpdateInfoWidget->hide();
    if (!beginOperation())
        return;
    QComboBox *combo = ui->remoteForm->devicesComboBox();
    combo->clear();
    combo->setCurrentIndex(-1);
    ui->remoteForm->clearList();
    operationDone();
}

void MainWindow::checkFirmwareVersion()
{
    const int deviceNumber = ui->remoteForm->devicesComboBox()->currentData(Qt::UserRole).toInt();
    const auto entry = firmwareVersions.constFind(deviceNumber);
    if (entry == firmwareVersions.constEnd()) {
        ui->firmwareUpdateInfoWidget->hide();
        return;
    }
    const int version = entry.value() & 0xFFFF;
    if (version > LastOutdatedFirmware) {
        ui->firmwareUpdateInfoWidget->hide();
        return;
    }
    qDebug() << "too old: " << (version >> 8) << "," << (version & 0xFF);
    if (deviceConnected)
        ui->firmwareUpdateInfoWidget->show();
}

void MainWindow::receivedANewFirmwareVersion(int deviceNbr, int swv)
{
    firmwareVersions.insert(deviceNbr, swv);
    qDebug() << "received " << ((swv >> 8) & 0xFF) << "," << (swv & 0xFF);
}

void MainWindow::on_labelFirmwareUpdateInfo_linkActivated(QString link)
{
    if (link != QLatin1String("update-device")) {
        qDebug() << "Unknown link:" << link;
        return;
    }
    qDebug() << "Link clicked";
    if (!beginOperation())
        return;
    ui->firmwareUpdateInfoWidget->hide();
    runFirmwareUpdate();
}
