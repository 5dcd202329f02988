#include "devicejobrunner.h"

#include "connectionprobe.h"
#include "devicechanger.h"
#include "devicelink.h"
#include "fixturedefinitionsdownloader.h"
#include "fixturedefinitionsuploader.h"
#include "fixturelistdownloader.h"
#include "fixturesdeleter.h"
#include "fwupdater.h"
#include "patchlistclearer.h"
#include "qblremotefixturedefinition.h"
#include "storeplan.h"

#include "blpmaster.h"
#include "model/qblfixturedefinition.h"

#include <QThread>

#include <optional>

// Requests that found the lock taken, with what they were made for. One is served when the
// lock is free again; starting any request drops them all.
struct DeviceJobRunner::Pending {
    using Entries = std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>>;
    std::optional<int> change; // the device index
    std::optional<std::vector<std::unique_ptr<QBLFixtureDefinition>>> upload;
    std::optional<Entries> remove;
    std::optional<Entries> download;
    bool discovery = false;
    bool firmware = false;
};

namespace
{

template <typename T> std::vector<std::unique_ptr<T>> copies(const QList<T *> &items)
{
    std::vector<std::unique_ptr<T>> out;
    for (const T *item : items) {
        auto copy = std::make_unique<T>();
        *copy = *item;
        out.push_back(std::move(copy));
    }
    return out;
}

template <typename T> QList<T *> pointers(const std::vector<std::unique_ptr<T>> &items)
{
    QList<T *> out;
    for (const auto &item : items)
        out.append(item.get());
    return out;
}

// The worker copies them, in place of those of its last run.
template <typename Worker, typename T>
void giveDefinitions(Worker *worker, const QList<T *> &definitions)
{
    worker->clearDefinitions();
    for (const T *definition : definitions)
        worker->addDefinition(*definition);
}

} // namespace

DeviceJobRunner::DeviceJobRunner(DeviceLink *link, QObject *parent)
    : QObject(parent), m_link(link), m_pending(std::make_unique<Pending>()),
      m_lister(new FixtureListDownloader(this)), m_uploader(new FixtureDefinitionsUploader(this)),
      m_downloader(new FixtureDefinitionsDownloader(this)), m_deleter(new FixturesDeleter(this)),
      m_clearer(new PatchListClearer(this)), m_changer(new DeviceChanger(this)),
      m_discoverer(new DevicesDiscoverer(this)), m_updater(new FwUpdater(this)),
      m_probeThread(new QThread(this)), m_prober(new ConnectionProbe(link->master()))
{
    BLPMaster *master = link->master();
    m_lister->setMaster(master);
    m_uploader->setMaster(master);
    m_downloader->setMaster(master);
    m_deleter->setMaster(master);
    m_clearer->setMaster(master);
    m_changer->setLink(master, link->phy());
    m_discoverer->setLink(master, link->phy());
    m_updater->setLink(master, link->phy());
    m_prober->moveToThread(m_probeThread);
    m_probeThread->start();

    using O = DeviceJobOutcome;
    connect(m_lister, &FixtureListDownloader::receivedData, this, [this](void *data, int length) {
        const bool parsed = m_list.parse(QByteArrayView(static_cast<const char *>(data), length));
        m_list.setFreeSlots(m_lister->freeSlots());
        listEnded(parsed ? O::Done : O::MalformedList);
    });
    connect(m_lister, &FixtureListDownloader::failed, this, [this] { listEnded(O::Failed); });
    connect(m_lister, &FixtureListDownloader::downloadAborted, this,
            [this] { listEnded(O::Aborted); });

    auto ends = [this](DeviceJob job, O outcome) {
        return [this, job, outcome] { workerEnded(job, outcome); };
    };
    auto patchList = [this](DeviceJob job) {
        return [this, job] {
            if (m_job != job)
                return;
            m_waitingForPatchList = job;
            emit patchListClearingNeeded(job);
        };
    };
    connect(m_uploader, &FixtureDefinitionsUploader::dataSent, this, ends(DeviceJob::Upload, O::Done));
    connect(m_uploader, &FixtureDefinitionsUploader::failed, this, ends(DeviceJob::Upload, O::Failed));
    connect(m_uploader, &FixtureDefinitionsUploader::aborted, this,
            ends(DeviceJob::Upload, O::Aborted));
    connect(m_uploader, &FixtureDefinitionsUploader::alreadyHeld, this, [this] {
        if (m_job != DeviceJob::Upload)
            return;
        m_waitingForHeldAnswer = true;
        emit heldDefinitionsFound();
    });
    connect(m_uploader, &FixtureDefinitionsUploader::failedNotEnoughFreeSpace, this,
            ends(DeviceJob::Upload, O::NotEnoughFreeSlots));
    connect(m_uploader, &FixtureDefinitionsUploader::failedTooManyOrNotEnoughChannels, this,
            ends(DeviceJob::Upload, O::ChannelCountsOutOfRange));
    connect(m_uploader, &FixtureDefinitionsUploader::failedPatchingNeedsToBeCleared, this,
            patchList(DeviceJob::Upload));
    connect(m_uploader, &FixtureDefinitionsUploader::progressTotal, this,
            &DeviceJobRunner::progressTotal);

    connect(m_downloader, &FixtureDefinitionsDownloader::fixturesDownloaded, this,
            ends(DeviceJob::Download, O::Done));
    connect(m_downloader, &FixtureDefinitionsDownloader::failed, this,
            ends(DeviceJob::Download, O::Failed));
    connect(m_downloader, &FixtureDefinitionsDownloader::aborted, this,
            ends(DeviceJob::Download, O::Aborted));
    connect(m_downloader, &FixtureDefinitionsDownloader::progressTotal, this,
            &DeviceJobRunner::progressTotal);
    connect(m_downloader, &FixtureDefinitionsDownloader::progressCurrent, this,
            &DeviceJobRunner::progressCurrent);

    connect(m_deleter, &FixturesDeleter::fixturesDeleted, this, ends(DeviceJob::Delete, O::Done));
    connect(m_deleter, &FixturesDeleter::failed, this, ends(DeviceJob::Delete, O::Failed));
    connect(m_deleter, &FixturesDeleter::aborted, this, ends(DeviceJob::Delete, O::Aborted));
    connect(m_deleter, &FixturesDeleter::failedPatchingNeedsToBeCleared, this,
            patchList(DeviceJob::Delete));
    connect(m_deleter, &FixturesDeleter::progressTotal, this, &DeviceJobRunner::progressTotal);

    connect(m_clearer, &PatchListClearer::success, this, [this] { clearerEnded(O::Done); });
    connect(m_clearer, &PatchListClearer::failed, this, [this] { clearerEnded(O::Failed); });
    connect(m_clearer, &PatchListClearer::aborted, this, [this] { clearerEnded(O::Aborted); });

    connect(m_changer, &DeviceChanger::done, this, ends(DeviceJob::ChangeDevice, O::Done));
    connect(m_discoverer, &QThread::finished, this, ends(DeviceJob::Discover, O::Done));
    connect(m_discoverer, &DevicesDiscoverer::clearDevicesComboBox, this,
            &DeviceJobRunner::devicesCleared);
    connect(m_discoverer, &DevicesDiscoverer::deviceFound, this, &DeviceJobRunner::deviceFound);
    connect(m_discoverer, &DevicesDiscoverer::newFirmwareVersion, this,
            &DeviceJobRunner::firmwareVersionReported);

    connect(m_updater, &FwUpdater::success, this, ends(DeviceJob::FirmwareUpdate, O::Done));
    connect(m_updater, &FwUpdater::failed, this, [this] {
        workerEnded(DeviceJob::FirmwareUpdate,
                    m_updater->refusedWrongDevice() ? O::WrongDevice : O::Failed);
    });
    connect(m_updater, &FwUpdater::progress, this,
            [this](int percents) { emit progressTotal(uint(percents)); });

    connect(m_prober, &ConnectionProbe::probed, this, &DeviceJobRunner::probeEnded);
    connect(master, &BLPMaster::sigTransferred, this, &DeviceJobRunner::progressCurrent);
}

DeviceJobRunner::~DeviceJobRunner()
{
    m_probeThread->quit();
    m_probeThread->wait();
    delete m_prober;
    m_lister->abort();
    m_uploader->abort();
    m_downloader->abort();
    m_deleter->abort();
    m_clearer->abort();
    m_link->master()->cancel();
    const QList<QThread *> workers = {m_lister,  m_uploader, m_downloader, m_deleter,
                                      m_clearer, m_changer,  m_discoverer, m_updater};
    for (QThread *worker : workers)
        worker->wait();
}

BLPMaster *DeviceJobRunner::master() const
{
    return m_link->master();
}

const QList<QBLFixtureDefinition *> &DeviceJobRunner::downloadedDefinitions() const
{
    return m_downloader->downloadedDefinitions();
}

const QList<QBLFixtureDefinition *> &DeviceJobRunner::uploadDefinitions() const
{
    return m_uploader->definitions();
}

int DeviceJobRunner::uploadFreeSlots() const
{
    return m_uploader->freeSlots();
}

DeviceJobRunner::ItemCount DeviceJobRunner::itemCount(DeviceJob job) const
{
    switch (job) {
    case DeviceJob::Upload:
        return {m_uploader->sentCount(), int(m_uploader->definitions().size())};
    case DeviceJob::Download:
        return {int(m_downloader->downloadedDefinitions().size()),
                int(m_downloader->requestedDefinitions().size())};
    case DeviceJob::Delete:
        return {m_deleter->deletedCount(), m_deleter->targetCount()};
    default:
        return {};
    }
}

QList<DiscoveredDevice> DeviceJobRunner::discoveredDevices() const
{
    return m_discoverer->devices();
}

// A running refresh gives way at once; any other job keeps the lock.
bool DeviceJobRunner::admit(DeviceJob job)
{
    if (m_job == DeviceJob::Refresh)
        m_lister->abort();
    if (m_job != DeviceJob::None)
        return false;
    *m_pending = Pending();
    m_job = job;
    emit jobStarted(job);
    return true;
}

bool DeviceJobRunner::admitOrKeep(DeviceJob job, const std::function<void(Pending &)> &keep)
{
    if (m_closing)
        return false;
    if (admit(job))
        return true;
    keep(*m_pending);
    return false;
}

bool DeviceJobRunner::upload(const QList<QBLFixtureDefinition *> &definitions)
{
    if (!admitOrKeep(DeviceJob::Upload, [&](Pending &p) { p.upload = copies(definitions); }))
        return false;
    giveDefinitions(m_uploader, definitions);
    if (m_asksAboutHeld) {
        // The last list's headers tell which slots may hold one; only those are read.
        m_uploader->setHeldCandidates(candidateSlots(
            m_list.storedHeaders(),
            QList<const QBLFixtureDefinition *>(definitions.begin(), definitions.end())));
    }
    startUpload();
    return true;
}

const QList<int> &DeviceJobRunner::heldIn() const
{
    return m_uploader->heldIn();
}

void DeviceJobRunner::answerHeldQuestion(bool uploadAgain)
{
    if (!m_waitingForHeldAnswer || m_job != DeviceJob::Upload)
        return;
    m_waitingForHeldAnswer = false;
    if (!uploadAgain)
        m_uploader->dropHeldDefinitions();
    m_uploader->setHeldCandidates({});
    startUpload();
}

bool DeviceJobRunner::download(const QList<QBLRemoteFixtureDefinition *> &entries)
{
    if (!admitOrKeep(DeviceJob::Download, [&](Pending &p) { p.download = copies(entries); }))
        return false;
    giveDefinitions(m_downloader, entries);
    m_downloader->start();
    return true;
}

bool DeviceJobRunner::remove(const QList<QBLRemoteFixtureDefinition *> &entries)
{
    if (!admitOrKeep(DeviceJob::Delete, [&](Pending &p) { p.remove = copies(entries); }))
        return false;
    // The deleter keeps pointers: the copies live until the next deletion.
    m_deleteTargets = copies(entries);
    m_deleter->clearTargets();
    for (const auto &target : m_deleteTargets)
        m_deleter->addTarget(target.get());
    startDelete();
    return true;
}

void DeviceJobRunner::startUpload()
{
    m_uploader->start();
}

void DeviceJobRunner::startDelete()
{
    m_deleter->start();
}

bool DeviceJobRunner::clearPatchList()
{
    if (m_closing || !admit(DeviceJob::ClearPatchList))
        return false;
    m_clearer->start();
    return true;
}

bool DeviceJobRunner::changeDevice(int deviceIndex)
{
    if (!admitOrKeep(DeviceJob::ChangeDevice, [&](Pending &p) { p.change = deviceIndex; }))
        return false;
    m_changer->setTargetIndex(deviceIndex);
    m_changer->start();
    return true;
}

bool DeviceJobRunner::discover()
{
    if (!admitOrKeep(DeviceJob::Discover, [](Pending &p) { p.discovery = true; }))
        return false;
    m_discoverer->start();
    return true;
}

bool DeviceJobRunner::refresh()
{
    if (m_closing || !admit(DeviceJob::Refresh))
        return false;
    startRefresh();
    return true;
}

bool DeviceJobRunner::updateFirmware(const FirmwareFile *file, int deviceIndex)
{
    if (m_closing || !admit(DeviceJob::FirmwareUpdate))
        return false;
    m_updater->setFile(file);
    m_updater->setDeviceIndex(deviceIndex);
    m_updater->start();
    return true;
}

bool DeviceJobRunner::beginFirmwareDialog(bool rememberWhenBusy)
{
    if (!rememberWhenBusy && m_job != DeviceJob::None)
        return false;
    return admitOrKeep(DeviceJob::FirmwareUpdate, [](Pending &p) { p.firmware = true; });
}

void DeviceJobRunner::endFirmwareDialog(int switchBackTo)
{
    if (m_job != DeviceJob::FirmwareUpdate)
        return;
    if (switchBackTo < 0) {
        finish(DeviceJobOutcome::Done);
        return;
    }
    // The dialog may have moved the link; the lock passes on to the switch back.
    m_job = DeviceJob::ChangeDevice;
    m_changer->setTargetIndex(switchBackTo);
    m_changer->start();
}

void DeviceJobRunner::releaseFirmwareDialog()
{
    if (m_job != DeviceJob::FirmwareUpdate)
        return;
    m_job = DeviceJob::None;
    emit released();
    emit jobEnded(DeviceJob::FirmwareUpdate, DeviceJobOutcome::Done, DeviceFailure());
}

bool DeviceJobRunner::probe()
{
    if (m_closing || m_job != DeviceJob::None)
        return false;
    m_job = DeviceJob::Probe;
    QMetaObject::invokeMethod(m_prober, &ConnectionProbe::probe, Qt::QueuedConnection);
    return true;
}

void DeviceJobRunner::abort()
{
    switch (m_job) {
    case DeviceJob::Upload:
        m_uploader->abort();
        break;
    case DeviceJob::Download:
        m_downloader->abort();
        break;
    case DeviceJob::Delete:
        m_deleter->abort();
        break;
    default:
        break;
    }
}

void DeviceJobRunner::abortRefresh()
{
    if (m_job == DeviceJob::Refresh)
        m_lister->abort();
}

void DeviceJobRunner::beginClosing()
{
    m_closing = true;
    *m_pending = Pending();
    if (m_job == DeviceJob::Refresh)
        m_lister->abort();
    abort();
}

void DeviceJobRunner::answerPatchListQuestion(bool clear)
{
    if (m_waitingForPatchList == DeviceJob::None || m_job != m_waitingForPatchList)
        return;
    if (!clear) {
        finish(DeviceJobOutcome::PatchListKept);
        return;
    }
    m_clearer->start();
}

void DeviceJobRunner::clearerEnded(DeviceJobOutcome outcome)
{
    const DeviceJob waiting = m_waitingForPatchList;
    if (waiting == DeviceJob::None) {
        workerEnded(DeviceJob::ClearPatchList, outcome);
        return;
    }
    if (outcome == DeviceJobOutcome::Done) {
        m_waitingForPatchList = DeviceJob::None;
        m_clearedFor = waiting;
        emit patchListCleared(waiting);
        return;
    }
    if (outcome == DeviceJobOutcome::Failed)
        finish(DeviceJobOutcome::PatchListClearFailed, m_clearer->failureCause());
    else
        finish(DeviceJobOutcome::PatchListClearAborted);
}

void DeviceJobRunner::continueAfterPatchListCleared(DeviceJob job)
{
    if (m_clearedFor == DeviceJob::None || job != m_clearedFor || m_job != job)
        return;
    m_clearedFor = DeviceJob::None;
    // Nothing new starts once the owner is closing, a second run of the job included.
    if (m_closing) {
        finish(DeviceJobOutcome::Aborted);
        return;
    }
    // The worker still holds its definitions or slots and runs again from the start.
    if (job == DeviceJob::Upload)
        startUpload();
    else
        startDelete();
}

void DeviceJobRunner::workerEnded(DeviceJob job, DeviceJobOutcome outcome)
{
    if (m_job == job)
        finish(outcome, outcome == DeviceJobOutcome::Failed ? failureOf(job) : DeviceFailure());
}

DeviceFailure DeviceJobRunner::failureOf(DeviceJob job) const
{
    switch (job) {
    case DeviceJob::Refresh:
        return m_lister->failureCause();
    case DeviceJob::Upload:
        return m_uploader->failureCause();
    case DeviceJob::Download:
        return m_downloader->failureCause();
    case DeviceJob::Delete:
        return m_deleter->failureCause();
    case DeviceJob::ClearPatchList:
        return m_clearer->failureCause();
    case DeviceJob::FirmwareUpdate:
        return m_updater->failureCause();
    default:
        return DeviceFailure();
    }
}

void DeviceJobRunner::finish(DeviceJobOutcome outcome, const DeviceFailure &cause)
{
    const DeviceJob job = m_job;
    m_waitingForPatchList = DeviceJob::None;
    m_clearedFor = DeviceJob::None;
    m_waitingForHeldAnswer = false;
    if (m_refreshAfterJobs && job != DeviceJob::Discover) {
        startRefresh();
    } else {
        m_job = DeviceJob::None;
        emit released();
    }
    emit jobEnded(job, outcome, cause);
}

void DeviceJobRunner::startRefresh()
{
    m_job = DeviceJob::Refresh;
    emit refreshStarted();
    m_lister->start();
}

void DeviceJobRunner::listEnded(DeviceJobOutcome outcome)
{
    if (m_job != DeviceJob::Refresh)
        return;
    if (outcome != DeviceJobOutcome::Done)
        m_list.clear();
    m_job = DeviceJob::None;
    emit jobEnded(DeviceJob::Refresh, outcome,
                  outcome == DeviceJobOutcome::Failed ? failureOf(DeviceJob::Refresh)
                                                      : DeviceFailure());
    emit released();
    servePending();
}

void DeviceJobRunner::probeEnded(int result)
{
    if (m_job == DeviceJob::Probe)
        m_job = DeviceJob::None;
    emit probed(result);
    servePending();
}

// Also after a refresh that completed before its abort took: the request keeps what it was
// made for, even though the new list replaced the rows it was made from.
void DeviceJobRunner::servePending()
{
    if (m_closing || m_job != DeviceJob::None)
        return;
    Pending pending = std::move(*m_pending);
    *m_pending = Pending();
    if (pending.change)
        changeDevice(*pending.change);
    else if (pending.upload)
        upload(pointers(*pending.upload));
    else if (pending.remove)
        remove(pointers(*pending.remove));
    else if (pending.download)
        download(pointers(*pending.download));
    else if (pending.discovery)
        discover();
    else if (pending.firmware)
        emit firmwareUpdateDue();
}
