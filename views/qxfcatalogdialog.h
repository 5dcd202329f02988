#pragma once

#include "library/qxfcatalogue.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QStringList>

#include <atomic>

class LibraryForm;
class QSettings;
class QxfCatalogFilter;
class QSortFilterProxyModel;
class QStandardItem;
class QStandardItemModel;
class QThread;

namespace Ui
{
class QxfCatalogDialog;
}

// Picks definitions out of the QLC+ fixture files on this computer. The folders are scanned in
// the background while the dialog is already usable; closing it stops the scan.
class QxfCatalogDialog : public QDialog
{
    Q_OBJECT

public:
    // The folders added by the user are kept in the settings store under this key.
    static constexpr const char *FoldersKey = "qxf_folders";

    // builtInFolders are always searched (missing ones are passed over), the user's own
    // folders after them.
    QxfCatalogDialog(LibraryForm *library, QSettings *settings, const QStringList &builtInFolders,
                     QWidget *parent = nullptr);
    ~QxfCatalogDialog() override;

    // Every folder searched, in scan order.
    QStringList folders() const;
    bool isScanning() const { return m_thread != nullptr; }
    QStandardItemModel *catalogModel() const { return m_model; }
    QSortFilterProxyModel *filterModel() const;
    QString skippedDetails() const;

signals:
    void scanFinished();

public slots:
    void done(int result) override;

private slots:
    void on_filterLineEdit_textChanged(const QString &text);
    void on_addToLibraryButton_clicked();
    void on_addFileButton_clicked();
    void on_addFolderButton_clicked();
    void on_skippedButton_toggled(bool shown);

private:
    void startScan(const QStringList &foldersOrFiles);
    void stopScan();
    void addBatch(const QList<QxfFixture> &fixtures, const QList<QxfNote> &skipped, int done,
                  int total);
    void scanEnded();
    void addFixtures(const QList<QxfFixture> &fixtures);
    QList<QStandardItem *> fixtureRow(const QxfFixture &fixture);
    void addSkipped(const QList<QxfNote> &notes);
    void noteEmptyModes(const QList<QxfFixture> &fixtures);
    void showSkippedCount();
    void showCurrentMode();
    void updateCounts();
    QList<QPair<int, int>> chosenModes() const;

    Ui::QxfCatalogDialog *ui;
    LibraryForm *m_library;
    QSettings *m_settings;
    QStringList m_builtIn;
    QStandardItemModel *m_model;
    QxfCatalogFilter *m_proxy;
    QList<QxfFixture> m_fixtures;
    QHash<QString, QStandardItem *> m_manufacturers; // by name, column 0 of their rows
    QStringList m_skipped;
    int m_emptyModes = 0;
    int m_modeCount = 0;
    QThread *m_thread = nullptr;
    std::atomic<bool> m_cancel{false};
    QList<QStringList> m_pendingScans;
};
