#pragma once

#include "devicelinkoptions.h"

#include <QIcon>
#include <QMainWindow>
#include <QString>

class BLFLArchive;
class QAction;
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
    void on_actionQuit_triggered();
    void on_actionAbout_triggered();

    // Device side.
    void uploadCurrentSelection();
    void downloadCurrentSelection();

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    void construct();
    void createToolBarActions();

    // Library commands.
    static bool isLargeFile(const QString &path);
    bool askYesNo(const QString &text);
    bool askSaveChanges();
    void loadInitialLibrary();
    void startNewLibrary();
    bool saveLibrary();
    bool saveLibraryAs();
    void showLibraryFailure(const QString &text);

    // Device side: construction steps 4 and 10 to 12 of the window.
    void createWorkers();
    void connectDeviceSide();

    Ui::MainWindow *ui;
    BLFLArchive *archive = nullptr;
    QString startupLibraryPath;
    DeviceLinkOptions linkOptions;
    QIcon icons[7];
    QString libraryPath;
    QAction *toolBarActions[7] = {};
    QSettings *settings = nullptr;
    QMovie *busyMovie = nullptr;
    bool closeRequested = false;
    bool operationRunning = false;
};
