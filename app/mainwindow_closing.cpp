// Closing the window: the last library is remembered, running device work is stopped and
// waited for without blocking, and unsaved changes are offered for saving.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "devicejobrunner.h"
#include "views/widgets/userprompts.h"

#include <QCloseEvent>
#include <QMovie>
#include <QSettings>

void MainWindow::closeEvent(QCloseEvent *e)
{
    // Written every time, also when the close is then refused.
    settings->setValue(QStringLiteral("library"), libraryPath);
    rememberLayout();

    // From here on no device job starts, and a running one is asked to stop; its end (after
    // the refresh that follows it) calls close() again through operationDone().
    closeRequested = true;
    jobs->beginClosing();
    if (jobs->isOperationRunning()) {
        showClosingPanel(true);
        e->ignore();
        return;
    }

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
    closeRequested = false;
    jobs->cancelClosing();
    showClosingPanel(false);
    e->ignore();
    // The device list is read again, as after any operation.
    jobs->refresh();
}

void MainWindow::showClosingPanel(bool closing)
{
    if (closing) {
        ui->menuFile->hide();
        ui->menuAbout->hide();
        ui->menuEdit->hide();
    }
    menuBar()->setVisible(!closing);
    ui->toolBar->setVisible(!closing);
    ui->widget_2->setVisible(!closing);
    if (closing)
        ui->progressBars->hide();
    ui->closingWidget->setVisible(closing);
    if (closing)
        busyMovie->start();
    else
        busyMovie->stop();
}
