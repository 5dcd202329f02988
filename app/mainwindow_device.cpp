// The window's device side: link, workers, device pane and the transfer commands.
// Only the seams exist so far; the device operations are issue 6's work.
#include "mainwindow.h"

void MainWindow::createWorkers() {}

void MainWindow::connectDeviceSide() {}

void MainWindow::uploadCurrentSelection() {}

void MainWindow::downloadCurrentSelection() {}
