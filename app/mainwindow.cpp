#include "mainwindow.h"

#include "devicelink.h"
#include "ui_mainwindow.h"

#include "aboutdialog.h"
#include "library/blflarchive.h"
#include "views/libraryform.h"
#include "views/libraryhistory.h"

#include <QAction>
#include <QFileInfo>
#include <QMovie>
#include <QSettings>
#include <QSplitter>
#include <QUndoStack>

namespace
{
const char *const KeyWorkingDir = "working_dir";
const char *const KeyLibrary = "library";
const char *const KeyPaneSplitter = "layout/panes";
const char *const KeyLibrarySplitter = "layout/library";
} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    construct();
}

MainWindow::MainWindow(const QString &libraryPath, const DeviceLinkOptions &link, QWidget *parent)
    : QMainWindow(parent), ui(new Ui::MainWindow), startupLibraryPath(libraryPath),
      linkOptions(link)
{
    construct();
}

MainWindow::~MainWindow()
{
    shutDownDeviceSide();
    delete archive;
    delete ui;
}

void MainWindow::construct()
{
    closeRequested = false;
    settings = new QSettings(QStringLiteral("Brenlow AG"),
                             QStringLiteral("KDR-450P Fixture Library Editor"), this);

    ui->setupUi(this);
    ui->firmwareUpdateInfoWidget->hide();
    // The library pane holds the table and the editor, so it gets the larger share.
    ui->splitter->setSizes({450, 750});
    ui->splitter->restoreState(settings->value(QLatin1String(KeyPaneSplitter)).toByteArray());
    ui->libraryForm->splitter()->restoreState(
        settings->value(QLatin1String(KeyLibrarySplitter)).toByteArray());

    createWorkers();

    ui->closingWidget->hide();
    busyMovie = new QMovie(QStringLiteral(":/pixmaps/ajax-loader.gif"), QByteArray(), this);
    ui->busyIndicatorLabel->setMovie(busyMovie);

    createToolBarActions();
    addStandardLibraryKeys();
    createUndoActions();
    ui->progressBars->hide();

    loadInitialLibrary();

    // The mark is the history's: an edit that ends where the library was saved (typed and typed
    // away, an import of nothing) leaves nothing to save.
    connect(ui->libraryForm, &LibraryForm::archiveModified, this, [this] {
        setWindowModified(!ui->libraryForm->history()->stack()->isClean());
    });
    connect(ui->libraryForm, &LibraryForm::copyToDeviceRequested, this,
            &MainWindow::uploadCurrentSelection);
    connect(this, &MainWindow::operationStarts, ui->libraryForm, &LibraryForm::operationStarts);
    connect(this, &MainWindow::operationEnds, ui->libraryForm, &LibraryForm::operationEnds);

    connectDeviceSide();
}

void MainWindow::createToolBarActions()
{
    struct Entry {
        QString text;
        const char *icon;
        void (MainWindow::*slot)();
    };
    const Entry entries[7] = {
        {tr("New Library"), ":/pixmaps/new.ico", &MainWindow::on_actionNew_Archive_triggered},
        {tr("Open Library"), ":/pixmaps/open.ico", &MainWindow::on_action_Open_Archive_triggered},
        {tr("Save Library"), ":/pixmaps/save.ico", &MainWindow::on_actionSave_Archive_triggered},
        {tr("Save Library As"), ":/pixmaps/save_as.ico",
         &MainWindow::on_actionSave_archive_as_triggered},
        {tr("Import Library"), ":/pixmaps/Import.ico",
         &MainWindow::on_actionImport_Library_triggered},
        {tr("Upload selection to device"), ":/pixmaps/upload.ico",
         &MainWindow::uploadCurrentSelection},
        {tr("Download selection to computer"), ":/pixmaps/download.ico",
         &MainWindow::downloadCurrentSelection},
    };
    for (int i = 0; i < 7; ++i) {
        // Owned by the window so they go with it; the tool bar only shows them.
        toolBarActions[i] =
            new QAction(QIcon(QString::fromLatin1(entries[i].icon)), entries[i].text, this);
        if (i == 5)
            ui->toolBar->addSeparator();
        ui->toolBar->addAction(toolBarActions[i]);
        connect(toolBarActions[i], &QAction::triggered, this, entries[i].slot);
    }
    ui->toolBar->setIconSize(QSize(45, 32));
    ui->toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void MainWindow::createUndoActions()
{
    QUndoStack *stack = ui->libraryForm->history()->stack();
    // The stack names the action in the text: "Undo Delete 12 Fixture Definitions".
    undoAction = stack->createUndoAction(this, tr("U&ndo"));
    undoAction->setObjectName(QStringLiteral("actionUndo"));
    undoAction->setShortcuts(QKeySequence::Undo);
    undoAction->setIcon(QIcon(QStringLiteral(":/pixmaps/undo.ico")));
    redoAction = stack->createRedoAction(this, tr("&Redo"));
    redoAction->setObjectName(QStringLiteral("actionRedo"));
    redoAction->setShortcuts(QKeySequence::Redo);
    redoAction->setIcon(QIcon(QStringLiteral(":/pixmaps/redo.ico")));

    QAction *first = ui->menuEdit->actions().value(0);
    ui->menuEdit->insertAction(first, undoAction);
    ui->menuEdit->insertAction(first, redoAction);
    ui->menuEdit->insertSeparator(first);
    ui->toolBar->addSeparator();
    ui->toolBar->addAction(undoAction);
    ui->toolBar->addAction(redoAction);
    // The tip names the step and the keys, and follows as the stack renames the action.
    for (QAction *action : {undoAction, redoAction}) {
        const auto showKeys = [action] {
            QStringList keys;
            for (const QKeySequence &key : action->shortcuts())
                keys.append(key.toString(QKeySequence::NativeText));
            action->setToolTip(
                tr("%1 (%2)").arg(action->iconText(), keys.join(QStringLiteral(", "))));
        };
        connect(action, &QAction::changed, action, showKeys);
        showKeys();
    }

    // Undoing back to the saved state leaves nothing to save; redoing past it does.
    connect(stack, &QUndoStack::cleanChanged, this,
            [this](bool clean) { setWindowModified(!clean); });
}

void MainWindow::rememberLayout()
{
    settings->setValue(QLatin1String(KeyPaneSplitter), ui->splitter->saveState());
    settings->setValue(QLatin1String(KeyLibrarySplitter), ui->libraryForm->splitter()->saveState());
}

void MainWindow::updateWindowTitle(QString fileName)
{
    QString shownName;
    if (fileName.isEmpty()) {
        shownName = tr("Unnamed");
    } else {
        const QFileInfo info(fileName);
        shownName = info.fileName();
        settings->setValue(QLatin1String(KeyWorkingDir), info.absolutePath());
    }
    libraryPath = fileName;
    settings->setValue(QLatin1String(KeyLibrary), fileName);
    setWindowTitle(tr("KDR-450P Fixture Library Editor") + QStringLiteral(" - [*]") + shownName);
}

void MainWindow::windowModified()
{
    setWindowModified(true);
}

void MainWindow::windowUnModified()
{
    ui->libraryForm->history()->stack()->setClean();
    setWindowModified(false);
}

void MainWindow::on_actionQuit_triggered()
{
    close();
}

void MainWindow::on_actionAbout_triggered()
{
    auto *dialog = new AboutDialog(this);
    dialog->exec();
    dialog->deleteLater();
}
