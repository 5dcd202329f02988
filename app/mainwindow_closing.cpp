// Closing the window: the last library is remembered and unsaved changes are offered for saving.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "transfer/fixturedefinitionsdownloader.h"
#include "transfer/fixturedefinitionsuploader.h"
#include "transfer/fixturesdeleter.h"
#include "views/widgets/userprompts.h"

#include <QCloseEvent>
#include <QMovie>
#include <QSettings>

void MainWindow::closeEvent(QCloseEvent *e)
{
    // Written every time, also when the close is then refused.
    settings->setValue(QStringLiteral("library"), libraryPath);

    if (operationRunning) {
        // Stop the device work and wait for its end without blocking: the result slot ends
        // the operation, and operationDone() closes again.
        closeRequested = true;
        emit abortDownloadingFixtureList();
        downloader->abort();
        uploader->abort();
        deleter->abort();
        if (beginOperation()) {
            e->accept();
            return;
        }
        ui->menuFile->hide();
        ui->menuAbout->hide();
        ui->menuEdit->hide();
        menuBar()->hide();
        ui->toolBar->hide();
        ui->widget_2->hide();
        ui->progressBars->hide();
        ui->closingWidget->show();
        busyMovie->start();
        e->ignore();
        return;
    }
    closeRequested = false;

    if (!archive || !isWindowModified()) {
        e->accept();
        return;
    }

    const QMessageBox::StandardButton answer = UserPrompts::questionWithDetails(
        nullptr, tr("KDR-450P Fixture Library Editor"), tr("The library has been modified."),
        tr("Do you want to save your changes?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    // The window closes only once the changes are saved or discarded: a failed save or a
    // cancelled Save As keeps it open like Cancel does, so nothing is lost.
    if (answer == QMessageBox::Discard || (answer == QMessageBox::Save && saveLibrary())) {
        e->accept();
        return;
    }
    ui->closingWidget->hide();
    ui->widget_2->show();
    ui->toolBar->show();
    menuBar()->show();
    busyMovie->stop();
    e->ignore();
    // The device list is read again, as after any operation.
    if (beginOperation())
        finishOperation();
}
