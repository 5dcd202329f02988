// Closing the window: the last library is remembered and unsaved changes are offered for saving.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "views/widgets/userprompts.h"

#include <QCloseEvent>
#include <QMovie>
#include <QSettings>

void MainWindow::closeEvent(QCloseEvent *e)
{
    // Written every time, also when the close is then refused.
    settings->setValue(QStringLiteral("library"), libraryPath);
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
}
