#pragma once

#include <QElapsedTimer>
#include <QIcon>
#include <QList>
#include <QModelIndex>
#include <QPointer>
#include <QWidget>

class BLFLArchive;
class LocalFixtureDefinitionEditForm;
class LibraryHistory;
class LocalFixtureDefinitionListModel;
class QBLFixtureDefinition;
class QMenu;
class QSplitter;
class QStringListModel;
class QTableView;
class QTimer;
class TwoColumnsSortFilterProxyModel;

namespace Ui
{
class LibraryForm;
}

// The library pane: a filterable, sortable table of the open library's definitions above
// the editor of the current one. Filter, completion list and counter each scan the whole
// library, so events only raise request flags and a timer serves one request per tick.
class LibraryForm : public QWidget
{
    Q_OBJECT

public:
    explicit LibraryForm(QWidget *parent = nullptr);
    ~LibraryForm() override;

    // Shows the definitions of a freshly loaded archive; the archive stays the caller's.
    bool setArchive(BLFLArchive *archive);
    // Adds the definitions of another loaded archive to the current library.
    bool importArchive(BLFLArchive *archive);
    // An empty library, no archive.
    void clearArchive();
    // Between the table and the editor; the window keeps its state in the settings.
    QSplitter *splitter() const;
    // Hands the definitions in row order to the archive and saves it; false without one.
    bool saveArchive();
    // Adds a copy of the definition as a new row and makes it current; the caller keeps
    // the given object.
    void addDefinition(const QBLFixtureDefinition *definition);
    // Appends copies of the definitions as new rows in one step, selects exactly them and makes
    // the last one current; the caller keeps the originals. Imports go through here.
    void addDefinitions(const QList<QBLFixtureDefinition *> &definitions);
    // Adds copies of the definitions as new rows in one undoable step named text (empty: "Add
    // 2 Fixture Definitions") and selects them; the caller keeps the given objects.
    void addDefinitions(const QList<const QBLFixtureDefinition *> &definitions,
                        const QString &text = QString());
    // The definitions of the selected rows in selection order (owned by the pane's model).
    QList<QBLFixtureDefinition *> selectedDefinitions() const;

    LocalFixtureDefinitionListModel *listModel() const { return m_listModel; }
    TwoColumnsSortFilterProxyModel *proxyModel() const { return m_proxyModel; }
    // The undo history of the shown library; emptied whenever another library is shown.
    LibraryHistory *history() const { return m_history; }
    QTableView *tableView() const;
    LocalFixtureDefinitionEditForm *editor() const;
    // The context menu for the current selection; showContextMenu runs it.
    QMenu *createContextMenu(QWidget *parent);

signals:
    void archiveModified();
    void copyToDeviceRequested();
    void setOperationStartersEnabled(bool enabled);
    void signalUpdateCounters(int nVisible, int nTotal, int nSelected);
    // After each refiltering, that is after every served filter request.
    void filterUpdated();

public slots:
    void slotBusy();
    void slotReady();
    void operationStarts();
    void operationEnds();
    void on_fixtureDefinitionsTableView_clicked(QModelIndex index);
    void on_fixtureDefinitionsTableView_viewportEntered();
    void on_fixtureDefinitionsTableView_entered(QModelIndex index);
    void on_fixtureDefinitionsTableView_activated(QModelIndex index);
    void on_removeFixtureDefinition_clicked();
    void on_filterLineEdit_textChanged(QString text);
    void on_filterLineEdit_editingFinished();
    void on_filterLineEdit_textEdited(QString text);
    void on_manufacturerBttn_clicked();
    void on_fixtureNameBttn_clicked();
    void on_addFixtureDefinition_clicked();
    void duplicateFixtures_clicked();
    void currentFixtureDefinitionChanged();
    void updateCurrentFixtureDefinition();
    void updateFilter();
    void updateCompleter();
    void slotArchiveModified();
    void showContextMenu(QPoint pos);
    void deleteSelected();
    void copySelectedToDevice();
    void selectAll();
    void clearSelection();
    void updateCounter();
    void slotTimer();
    void requestFilterUpdate();
    void requestCompleterUpdate();
    void requestCounterUpdate();

private:
    void setUpKeysAndTips();
    void installListModel(LocalFixtureDefinitionListModel *model);
    void fitNameColumns();
    static QList<QBLFixtureDefinition *> definitionsOf(BLFLArchive *archive);
    void showRows(const QList<int> &sourceRows, int channelPosition);
    bool renameInPlace(const QModelIndex &source, const QVariant &value);
    void removeSelectedRows();
    QList<int> selectedProxyRows() const;
    QBLFixtureDefinition *definitionAtProxyRow(int proxyRow) const;

    Ui::LibraryForm *ui;
    LocalFixtureDefinitionListModel *m_listModel = nullptr;
    TwoColumnsSortFilterProxyModel *m_proxyModel = nullptr;
    QStringListModel *m_completerModel = nullptr;
    LibraryHistory *m_history = nullptr;
    QPointer<BLFLArchive> m_archive;
    QIcon m_newIcon;
    QIcon m_deleteIcon;
    QIcon m_selectAllIcon;
    QIcon m_clearSelectionIcon;
    QIcon m_uploadIcon;
    QIcon m_cloneIcon;
    QTimer *m_updateTimer = nullptr;
    QElapsedTimer m_stopwatch;
    bool m_operationRunning = false;
    bool m_filterUpdateRequested = false;
    bool m_completerUpdateRequested = false;
    bool m_counterUpdateRequested = false;

    // Shared by every pane of the process: every hundredth tick re-measures the work.
    static quint64 s_tickCounter;
};
