// The library commands of the File menu and the library opened at start.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "applog.h"
#include "library/blflarchive.h"
#include "library/qxfcatalogue.h"
#include "views/libraryform.h"
#include "views/qxfcatalogdialog.h"
#include "views/widgets/userprompts.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace
{
// Larger files take long to open; the user is asked first.
constexpr qint64 LargeFileSize = 5 * 1024 * 1024;
} // namespace

// The Alt keys stay first (the menus show them); the platform's usual keys work as well. The
// tool bar's buttons name every key of their command.
void MainWindow::addStandardLibraryKeys()
{
    const struct {
        QAction *menuAction;
        QKeySequence::StandardKey standard;
    } commands[] = {{ui->actionNew_Archive, QKeySequence::New},
                    {ui->action_Open_Archive, QKeySequence::Open},
                    {ui->actionSave_Archive, QKeySequence::Save},
                    {ui->actionSave_archive_as, QKeySequence::SaveAs}};
    int i = 0;
    for (const auto &command : commands) {
        QList<QKeySequence> keys = command.menuAction->shortcuts();
        for (const QKeySequence &key : QKeySequence::keyBindings(command.standard))
            if (!keys.contains(key))
                keys.append(key);
        command.menuAction->setShortcuts(keys);
        QStringList shown;
        for (const QKeySequence &key : keys)
            shown.append(key.toString(QKeySequence::NativeText));
        QAction *button = toolBarActions[i++];
        button->setToolTip(tr("%1 (%2)").arg(button->text(), shown.join(QStringLiteral(", "))));
    }
}

bool MainWindow::isLargeFile(const QString &path)
{
    // A missing file has size 0.
    return QFileInfo(path).size() > LargeFileSize;
}

bool MainWindow::askYesNo(const QString &text)
{
    return UserPrompts::question(this, tr("KDR-450P Fixture Library Editor"), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

// True when the caller may go on replacing the library: the user discarded the changes, or
// the save succeeded. Cancel, Escape, a failed save or a cancelled Save As stop the caller, so
// nothing is thrown away by a stray key press.
bool MainWindow::askSaveChanges()
{
    const QMessageBox::StandardButton answer = UserPrompts::question(
        this, tr("KDR-450P Fixture Library Editor"),
        tr("The current library has been modified\nDo you want to save the changes?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Discard)
        return true;
    return answer == QMessageBox::Save && saveLibrary();
}

QString MainWindow::withLibraryExtension(const QString &path)
{
    if (!QFileInfo(path).suffix().isEmpty())
        return path;
    return path.endsWith(QLatin1Char('.')) ? path + QStringLiteral("blfl")
                                           : path + QStringLiteral(".blfl");
}

void MainWindow::showLibraryFailure(const QString &text)
{
    UserPrompts::information(this, tr("KDR-450P Fixture Library Editor"), text);
}

// Saving drops what did not read, so the user decides before such a file becomes the library.
bool MainWindow::acceptsUnsupportedContent(const BLFLArchive &opened)
{
    return !opened.hasUnsupportedFeatures() ||
           askYesNo(tr("The file contains information not supported by this software "
                       "version.\nData will be lost when storing this file.Continue anyway?"));
}

// The command line's library, else the last one, else a new one. A question the user answers
// No at start gives a new library, whatever the last one was.
void MainWindow::loadInitialLibrary()
{
    archive = nullptr;
    StartupOpening opened = StartupOpening::Failed;
    if (!startupLibraryPath.isEmpty())
        opened = openAtStartup(startupLibraryPath);
    if (opened == StartupOpening::Failed)
        opened = openAtStartup(settings->value(QStringLiteral("library")).toString());
    if (opened == StartupOpening::Opened)
        return;
    ui->libraryForm->clearArchive();
    updateWindowTitle(QString());
    startNewLibrary();
}

MainWindow::StartupOpening MainWindow::openAtStartup(const QString &path)
{
    if (isLargeFile(path) &&
        !askYesNo(
            tr("The file %1 seems to be rather large.\nDo you want to continue anyway?").arg(path)))
        return StartupOpening::Refused;
    archive = new BLFLArchive(path);
    StartupOpening opened = StartupOpening::Failed;
    if (archive->load()) {
        if (!acceptsUnsupportedContent(*archive))
            opened = StartupOpening::Refused;
        else if (ui->libraryForm->setArchive(archive))
            opened = StartupOpening::Opened;
    }
    if (opened == StartupOpening::Opened) {
        updateWindowTitle(path);
        windowUnModified();
        return opened;
    }
    ui->libraryForm->clearArchive();
    delete archive;
    archive = nullptr;
    return opened;
}

void MainWindow::on_actionNew_Archive_triggered()
{
    if (archive && isWindowModified() && !askSaveChanges())
        return;
    startNewLibrary();
}

void MainWindow::startNewLibrary()
{
    auto *created = new BLFLArchive(QString());
    windowUnModified();
    updateWindowTitle(QString());
    ui->libraryForm->setArchive(created);
    BLFLArchive *previous = archive;
    archive = created;
    delete previous;
}

void MainWindow::on_action_Open_Archive_triggered()
{
    if (archive && isWindowModified() && !askSaveChanges())
        return;

    QString startDir;
    if (archive && !archive->fileName().isEmpty() && QFileInfo::exists(archive->fileName()))
        startDir = QFileInfo(archive->fileName()).absolutePath();
    else if (archive)
        startDir = settings->value(QStringLiteral("working_dir")).toString();

    for (;;) {
        const QString path =
            UserPrompts::getOpenFileName(this, tr("Open Fixture Definition Library"), startDir,
                                         tr("Brenlow Fixture Libraries (*.blfl)"));
        if (path.isEmpty())
            return;
        if (isLargeFile(path) &&
            !askYesNo(tr("The file %1 seems to be rather large.\nDo you want to continue anyway?")
                          .arg(path)))
            return;

        auto *opened = new BLFLArchive(path);
        if (!opened->load()) {
            delete opened;
            showLibraryFailure(tr("Failed to open the library."));
            continue;
        }
        if (!acceptsUnsupportedContent(*opened)) {
            delete opened;
            return;
        }
        if (ui->libraryForm->setArchive(opened)) {
            BLFLArchive *previous = archive;
            archive = opened;
            updateWindowTitle(path);
            windowUnModified();
            delete previous;
            return;
        }
        delete opened;
        showLibraryFailure(tr("Failed to open the library."));
    }
}

void MainWindow::on_actionSave_Archive_triggered()
{
    saveLibrary();
}

bool MainWindow::saveLibrary()
{
    if (!archive)
        return false;
    // An empty name resolves to the current directory, which exists: the save is tried, fails
    // on a directory, and Save As follows.
    const QString path = QDir::current().absoluteFilePath(archive->fileName());
    if (!QFileInfo::exists(path))
        return saveLibraryAs();
    if (ui->libraryForm->saveArchive()) {
        qCDebug(lcApp) << "Valid path";
        windowUnModified();
        return true;
    }
    qCDebug(lcApp) << "Invalid path";
    return saveLibraryAs();
}

void MainWindow::on_actionSave_archive_as_triggered()
{
    saveLibraryAs();
}

bool MainWindow::saveLibraryAs()
{
    const QString startDir = settings->value(QStringLiteral("working_dir")).toString();
    if (!archive)
        return false;
    for (;;) {
        const QString answer =
            UserPrompts::getSaveFileName(this, tr("Save library as"), startDir,
                                         tr("Brenlow Fixture Definition Library (*.blfl)"));
        if (answer.isEmpty()) {
            qCDebug(lcApp) << "aborted";
            return false;
        }
        qCDebug(lcApp) << "confirmed";
        // A name without extension would be hidden by the Open dialog's filter. The dialog
        // asked about replacing the typed name only, so the completed one is asked here.
        const QString path = withLibraryExtension(answer);
        if (path != answer && QFileInfo::exists(path) &&
            !askYesNo(tr("The file %1 already exists.\nDo you want to replace it?").arg(path)))
            continue;
        archive->setFileName(path);
        if (ui->libraryForm->saveArchive()) {
            updateWindowTitle(path);
            windowUnModified();
            return true;
        }
        archive->setFileName(libraryPath);
        showLibraryFailure(tr("Failed to save the library."));
    }
}

void MainWindow::on_actionImport_Library_triggered()
{
    if (!archive)
        startNewLibrary();

    QString startDir;
    if (!archive->fileName().isEmpty() && QFileInfo::exists(archive->fileName()))
        startDir = QFileInfo(archive->fileName()).absolutePath();

    const QString path =
        UserPrompts::getOpenFileName(this, tr("Open Fixture Definition Library"), startDir,
                                     tr("Brenlow Fixture Libraries (*.blfl)"));
    if (path.isEmpty())
        return;

    BLFLArchive imported(path);
    if (!imported.load()) {
        showLibraryFailure(tr("Failed to open the library."));
        return;
    }
    // The import is a step of the history, which sets the mark.
    if (!ui->libraryForm->importArchive(&imported))
        showLibraryFailure(tr("Failed to open the library."));
}

// Not modal to the application: the scan fills it while the user already filters and picks.
void MainWindow::on_actionImport_QLC_Fixtures_triggered()
{
    if (!archive)
        startNewLibrary();
    if (auto *open = findChild<QxfCatalogDialog *>()) {
        open->raise();
        open->activateWindow();
        return;
    }
    QStringList folders = QxfCatalogue::systemFolders();
    folders.append(QxfCatalogue::userFolder());
    auto *dialog = new QxfCatalogDialog(ui->libraryForm, settings, folders, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}
