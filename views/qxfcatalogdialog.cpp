#include "qxfcatalogdialog.h"
#include "ui_qxfcatalogdialog.h"

#include "libraryform.h"
#include "model/qblfixturedefinition.h"
#include "views/widgets/userprompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QSet>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QThread>

#include <algorithm>
#include <memory>
#include <vector>

namespace
{
// Where a mode item points into the fixtures read; manufacturer rows hold neither.
constexpr int FixtureRole = Qt::UserRole + 1;
constexpr int ModeRole = Qt::UserRole + 2;
// Only manufacturer and fixture rows carry it, so the filter never matches mode names.
constexpr int FilterRole = Qt::UserRole + 3;
} // namespace

// Shows the fixtures whose manufacturer and model hold the text, their manufacturers and all
// their modes. Decided per row from the text stored with it: a keystroke tests the shown
// manufacturers' fixtures, not every mode, as the generic recursive filter did.
class QxfCatalogFilter : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setText(const QString &text)
    {
        if (text == m_text)
            return;
        m_text = text;
        invalidateFilter();
    }

    // Rows added under a manufacturer that the filter hides do not make the proxy look at the
    // manufacturer again; a matching fixture among them must show it.
    void fixturesAdded(const QList<QStandardItem *> &manufacturers)
    {
        if (m_text.isEmpty())
            return;
        for (const QStandardItem *manufacturer : manufacturers)
            if (!mapFromSource(manufacturer->index()).isValid()) {
                invalidateFilter();
                return;
            }
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        if (m_text.isEmpty() || (parent.isValid() && parent.parent().isValid()))
            return true; // a mode: shown whenever its fixture is
        const QModelIndex index = sourceModel()->index(row, 0, parent);
        if (parent.isValid())
            return matches(index);
        // A fixture's text starts with its manufacturer's, so a manufacturer is shown exactly
        // when one of its fixtures is.
        for (int r = 0, n = sourceModel()->rowCount(index); r < n; ++r)
            if (matches(sourceModel()->index(r, 0, index)))
                return true;
        return false;
    }

private:
    bool matches(const QModelIndex &index) const
    {
        return index.data(FilterRole).toString().contains(m_text, Qt::CaseInsensitive);
    }

    QString m_text;
};

QxfCatalogDialog::QxfCatalogDialog(LibraryForm *library, QSettings *settings,
                                   const QStringList &builtInFolders, QWidget *parent)
    : QDialog(parent), ui(new Ui::QxfCatalogDialog), m_library(library), m_settings(settings),
      m_builtIn(builtInFolders), m_model(new QStandardItemModel(this)),
      m_proxy(new QxfCatalogFilter(this))
{
    ui->setupUi(this);
    m_model->setHorizontalHeaderLabels({tr("Fixture"), tr("Channels")});
    m_proxy->setSourceModel(m_model);
    ui->catalogTree->setModel(m_proxy);
    ui->catalogTree->header()->setStretchLastSection(false);
    ui->catalogTree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    ui->catalogTree->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    connect(ui->catalogTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &QxfCatalogDialog::showCurrentMode);
    connect(ui->catalogTree->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { ui->addToLibraryButton->setEnabled(!chosenModes().isEmpty()); });
    ui->foldersLabel->setText(tr("Searched: %1").arg(folders().join(QStringLiteral("; "))));
    ui->foldersLabel->setToolTip(folders().join(QLatin1Char('\n')));
    ui->skippedButton->hide();
    updateCounts();

    QStringList existing;
    for (const QString &folder : folders())
        if (QFileInfo(folder).isDir())
            existing.append(folder);
    startScan(existing);
}

QxfCatalogDialog::~QxfCatalogDialog()
{
    m_pendingScans.clear();
    stopScan();
    delete ui;
}

QStringList QxfCatalogDialog::folders() const
{
    QStringList all = m_builtIn;
    if (m_settings)
        for (const QString &folder : m_settings->value(QLatin1String(FoldersKey)).toStringList())
            if (!all.contains(folder))
                all.append(folder);
    return all;
}

QSortFilterProxyModel *QxfCatalogDialog::filterModel() const
{
    return m_proxy;
}

QString QxfCatalogDialog::skippedDetails() const
{
    return ui->skippedText->toPlainText();
}

void QxfCatalogDialog::done(int result)
{
    m_pendingScans.clear();
    stopScan();
    QDialog::done(result);
}

void QxfCatalogDialog::startScan(const QStringList &foldersOrFiles)
{
    if (foldersOrFiles.isEmpty()) {
        emit scanFinished();
        return;
    }
    if (m_thread) {
        m_pendingScans.append(foldersOrFiles);
        return;
    }
    m_cancel = false;
    ui->scanProgress->setRange(0, 0);
    ui->scanProgress->show();
    m_thread = QThread::create([this, foldersOrFiles] {
        QxfCatalogue::scan(foldersOrFiles, &m_cancel,
                           [this](const QList<QxfFixture> &fixtures, const QList<QxfNote> &skipped,
                                  int done, int total) {
                               QMetaObject::invokeMethod(
                                   this,
                                   [this, fixtures, skipped, done, total] {
                                       addBatch(fixtures, skipped, done, total);
                                   },
                                   Qt::QueuedConnection);
                           });
    });
    connect(m_thread, &QThread::finished, this, &QxfCatalogDialog::scanEnded);
    m_thread->start(QThread::LowPriority);
}

// The scan looks at the flag between files, so the wait is one file's read at most.
void QxfCatalogDialog::stopScan()
{
    if (!m_thread)
        return;
    m_cancel = true;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    ui->scanProgress->hide();
}

void QxfCatalogDialog::addBatch(const QList<QxfFixture> &fixtures, const QList<QxfNote> &skipped,
                                int done, int total)
{
    if (m_cancel)
        return;
    ui->catalogTree->setUpdatesEnabled(false);
    addFixtures(fixtures);
    ui->catalogTree->setUpdatesEnabled(true);
    addSkipped(skipped);
    ui->scanProgress->setRange(0, total);
    ui->scanProgress->setValue(done);
    updateCounts();
}

void QxfCatalogDialog::scanEnded()
{
    if (!m_thread)
        return;
    m_thread->deleteLater();
    m_thread = nullptr;
    ui->scanProgress->hide();
    if (!m_pendingScans.isEmpty()) {
        startScan(m_pendingScans.takeFirst());
        return;
    }
    updateCounts();
    emit scanFinished();
}

// Each fixture goes in with its modes attached, and a manufacturer new in this batch with all
// its fixtures: the model reports a few insertions a batch instead of one per mode.
void QxfCatalogDialog::addFixtures(const QList<QxfFixture> &fixtures)
{
    QList<QStandardItem *> newManufacturers;
    QList<QStandardItem *> grown;
    for (const QxfFixture &fixture : fixtures) {
        QStandardItem *&manufacturer = m_manufacturers[fixture.manufacturer];
        if (!manufacturer) {
            manufacturer = new QStandardItem(fixture.manufacturer);
            manufacturer->setData(fixture.manufacturer, FilterRole);
            manufacturer->setEditable(false);
            newManufacturers.append(manufacturer);
        } else if (!newManufacturers.contains(manufacturer) && !grown.contains(manufacturer)) {
            grown.append(manufacturer);
        }
        manufacturer->appendRow(fixtureRow(fixture));
    }
    for (QStandardItem *manufacturer : std::as_const(newManufacturers)) {
        auto *blank = new QStandardItem;
        blank->setEditable(false);
        m_model->appendRow({manufacturer, blank});
    }
    m_proxy->fixturesAdded(grown);
    noteEmptyModes(fixtures);
}

// Listed with the skipped files: Add to Library passes over them, which a tooltip alone would
// not tell.
void QxfCatalogDialog::noteEmptyModes(const QList<QxfFixture> &fixtures)
{
    for (const QxfFixture &fixture : fixtures)
        for (const QxfMode &mode : fixture.modes)
            if (mode.channels.isEmpty()) {
                ++m_emptyModes;
                ui->skippedText->appendPlainText(tr("%1: %2").arg(
                    fixture.file,
                    QCoreApplication::translate("Qxf", "mode \"%1\" has no channels, skipped")
                        .arg(mode.name)));
            }
    showSkippedCount();
}

void QxfCatalogDialog::showSkippedCount()
{
    QStringList parts;
    if (!m_skipped.isEmpty())
        parts.append(tr("%n file(s) skipped", nullptr, int(m_skipped.size())));
    if (m_emptyModes > 0)
        parts.append(tr("%n empty mode(s) skipped", nullptr, m_emptyModes));
    if (parts.isEmpty())
        return;
    ui->skippedButton->setText(parts.size() == 1
                                   ? parts.first()
                                   : tr("%1, %2", "two counts").arg(parts.first(), parts.last()));
    ui->skippedButton->show();
}

QList<QStandardItem *> QxfCatalogDialog::fixtureRow(const QxfFixture &fixture)
{
    const int fixtureIndex = int(m_fixtures.size());
    m_fixtures.append(fixture);

    auto *model = new QStandardItem(fixture.model);
    model->setEditable(false);
    model->setToolTip(fixture.path);
    model->setData(fixture.manufacturer + QLatin1Char(' ') + fixture.model, FilterRole);
    model->setData(fixtureIndex, FixtureRole);
    auto *modeCount = new QStandardItem(tr("%n mode(s)", nullptr, int(fixture.modes.size())));
    modeCount->setEditable(false);

    for (int i = 0; i < fixture.modes.size(); ++i) {
        const QxfMode &mode = fixture.modes.at(i);
        auto *name = new QStandardItem(mode.name);
        name->setEditable(false);
        name->setData(fixtureIndex, FixtureRole);
        name->setData(i, ModeRole);
        const int channels = int(mode.channels.size());
        auto *count = new QStandardItem(QString::number(channels));
        count->setEditable(false);
        if (channels > Qxf::ControllerChannelLimit) {
            count->setText(tr("%1 ⚠").arg(channels));
            const QString why =
                tr("More than %1 channels: the controller cannot take this mode.")
                    .arg(Qxf::ControllerChannelLimit);
            count->setToolTip(why);
            name->setToolTip(why);
        } else if (channels == 0) {
            name->setToolTip(tr("This mode has no channels and is not imported."));
        }
        model->appendRow({name, count});
        ++m_modeCount;
    }
    return {model, modeCount};
}

void QxfCatalogDialog::addSkipped(const QList<QxfNote> &notes)
{
    if (notes.isEmpty())
        return;
    for (const QxfNote &note : notes) {
        const QString line = tr("%1: %2").arg(note.file, note.text);
        m_skipped.append(line);
        ui->skippedText->appendPlainText(line);
    }
    showSkippedCount();
}

void QxfCatalogDialog::on_skippedButton_toggled(bool shown)
{
    ui->skippedButton->setArrowType(shown ? Qt::DownArrow : Qt::RightArrow);
    ui->skippedText->setVisible(shown);
}

void QxfCatalogDialog::updateCounts()
{
    ui->statusLabel->setText(tr("%1, %2", "two counts")
                                 .arg(tr("%n fixture(s)", nullptr, int(m_fixtures.size())),
                                      tr("%n mode(s)", nullptr, m_modeCount)));
}

void QxfCatalogDialog::showCurrentMode()
{
    ui->channelList->clear();
    const QModelIndex current =
        m_proxy->mapToSource(ui->catalogTree->currentIndex().siblingAtColumn(0));
    const QVariant mode = current.data(ModeRole);
    if (!mode.isValid())
        return;
    const QxfMode &chosen = m_fixtures.at(current.data(FixtureRole).toInt()).modes.at(mode.toInt());
    for (int i = 0; i < chosen.channels.size(); ++i)
        ui->channelList->addItem(tr("%1. %2").arg(i + 1).arg(chosen.channels.at(i)));
}

// Selected modes, and every mode of a selected fixture, each once, in tree order.
QList<QPair<int, int>> QxfCatalogDialog::chosenModes() const
{
    QModelIndexList rows = ui->catalogTree->selectionModel()->selectedRows(0);
    std::sort(rows.begin(), rows.end());
    QList<QPair<int, int>> chosen;
    QSet<QPair<int, int>> seen;
    auto take = [&](int fixture, int mode) {
        if (m_fixtures.at(fixture).modes.at(mode).channels.isEmpty())
            return;
        if (!seen.contains({fixture, mode})) {
            seen.insert({fixture, mode});
            chosen.append({fixture, mode});
        }
    };
    for (const QModelIndex &row : rows) {
        const QModelIndex source = m_proxy->mapToSource(row);
        const QVariant fixture = source.data(FixtureRole);
        if (!fixture.isValid())
            continue;
        const QVariant mode = source.data(ModeRole);
        if (mode.isValid()) {
            take(fixture.toInt(), mode.toInt());
        } else {
            for (int i = 0; i < m_fixtures.at(fixture.toInt()).modes.size(); ++i)
                take(fixture.toInt(), i);
        }
    }
    return chosen;
}

void QxfCatalogDialog::on_addToLibraryButton_clicked()
{
    const QList<QPair<int, int>> chosen = chosenModes();
    if (chosen.isEmpty() || !m_library)
        return;
    std::vector<std::unique_ptr<QBLFixtureDefinition>> built;
    QList<QBLFixtureDefinition *> definitions;
    for (const auto &[fixture, mode] : chosen) {
        const QxfFixture &file = m_fixtures.at(fixture);
        std::unique_ptr<QBLFixtureDefinition> definition = Qxf::toDefinition(file, file.modes.at(mode));
        if (!definition)
            continue;
        definitions.append(definition.get());
        built.push_back(std::move(definition));
    }
    m_library->addDefinitions(definitions);
    ui->statusLabel->setText(tr("%n definition(s) added to the library", nullptr,
                                int(definitions.size())));
}

// Read by the background scan like a folder, so a slow disk does not stop the window.
void QxfCatalogDialog::on_addFileButton_clicked()
{
    const QStringList paths = UserPrompts::getOpenFileNames(this, tr("Add QLC+ Fixture Files"),
                                                            QxfCatalogue::userFolder(),
                                                            tr("QLC+ Fixtures (*.qxf *.QXF)"));
    if (!paths.isEmpty())
        startScan(paths);
}

void QxfCatalogDialog::on_addFolderButton_clicked()
{
    const QString folder = UserPrompts::getExistingDirectory(this, tr("Add QLC+ Fixture Folder"),
                                                             QDir::homePath());
    if (folder.isEmpty() || folders().contains(folder))
        return;
    if (m_settings) {
        QStringList own = m_settings->value(QLatin1String(FoldersKey)).toStringList();
        own.append(folder);
        m_settings->setValue(QLatin1String(FoldersKey), own);
    }
    ui->foldersLabel->setText(tr("Searched: %1").arg(folders().join(QStringLiteral("; "))));
    ui->foldersLabel->setToolTip(folders().join(QLatin1Char('\n')));
    startScan({folder});
}

void QxfCatalogDialog::on_filterLineEdit_textChanged(const QString &text)
{
    m_proxy->setText(text.trimmed());
    if (!text.trimmed().isEmpty())
        ui->catalogTree->expandToDepth(0);
}
