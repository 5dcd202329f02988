#pragma once

// Runs the device jobs of one link, one at a time. A job holds the operation lock from its
// start to its end, including the fixture list refresh that follows it; a request that finds
// the lock taken stops a running refresh and is remembered, with the definitions or slots it
// was made for, until the lock is free again. Lives on the owner's (GUI) thread: every member
// below is called there, and the workers report to it through queued signals.
//
//   DeviceJobRunner runner(&link);
//   connect(&runner, &DeviceJobRunner::jobEnded, ...);   // one per job
//   runner.upload(definitions);                          // false: pending, or closing

#include "devicefailure.h"
#include "devicejobs.h"
#include "devicesdiscoverer.h"

#include <QList>
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class BLPMaster;
class ConnectionProbe;
class DeviceChanger;
class DeviceLink;
class FirmwareFile;
class FixtureDefinitionsDownloader;
class FixtureDefinitionsUploader;
class FixtureListDownloader;
class FixturesDeleter;
class FwUpdater;
class PatchListClearer;
class QBLFixtureDefinition;
class QBLRemoteFixtureDefinition;
class QThread;

class DeviceJobRunner : public QObject
{
    Q_OBJECT

public:
    explicit DeviceJobRunner(DeviceLink *link, QObject *parent = nullptr);
    // Aborts whatever runs and waits for every worker.
    ~DeviceJobRunner() override;

    DeviceLink *link() const { return m_link; }
    DeviceJob currentJob() const { return m_job; }
    // A job or its refresh holds the lock; the connection poll's probe does not count.
    bool isOperationRunning() const { return m_job != DeviceJob::None && m_job != DeviceJob::Probe; }
    // After an upload, download, deletion, patch list clearing, device change or firmware
    // update the fixture list is read again (the window); the tool reads it when it asks.
    void setRefreshAfterJobs(bool on) { m_refreshAfterJobs = on; }
    // Before an upload writes, the records that the last list shows may hold a definition are
    // read; when some do, heldDefinitionsFound() asks whether to write them again.
    void setAsksAboutHeldDefinitions(bool on) { m_asksAboutHeld = on; }

    // Requests. True when the job started; false when it was remembered as pending (or
    // refused: closing has begun).
    bool upload(const QList<QBLFixtureDefinition *> &definitions);
    bool download(const QList<QBLRemoteFixtureDefinition *> &entries);
    bool remove(const QList<QBLRemoteFixtureDefinition *> &entries);
    bool clearPatchList();
    bool changeDevice(int deviceIndex);
    bool discover();
    bool refresh();
    bool updateFirmware(const FirmwareFile *file, int deviceIndex);
    // The firmware dialog runs under the lock: begin, run it, then end with the device to
    // switch back to (-1: none; the list is read again) or release without a refresh.
    // rememberWhenBusy: a busy lock stops a refresh and keeps the request (the menu), or
    // refuses it quietly (the notice's link).
    bool beginFirmwareDialog(bool rememberWhenBusy);
    void endFirmwareDialog(int switchBackTo);
    void releaseFirmwareDialog();
    // The connection poll: one probe when the lock is free, answered by probed().
    bool probe();

    // The abort button: the running upload, download or deletion stops after its step.
    void abort();
    // A running fixture list refresh stops (it ends Aborted); anything else runs on.
    void abortRefresh();
    // The answer to patchListClearingNeeded(): clear it and go on, or end the job.
    void answerPatchListQuestion(bool clear);
    // The answer to patchListCleared(): the upload or deletion (job) runs again from its
    // start with what it was given. Once closing has begun it ends Aborted instead.
    void continueAfterPatchListCleared(DeviceJob job);
    // The answer to heldDefinitionsFound(): write them again, or upload only the others.
    void answerHeldQuestion(bool uploadAgain);
    // While the question is open: per uploaded definition, the slot holding it or -1.
    const QList<int> &heldIn() const;

    // From now on nothing new starts (a running job still ends with its refresh); pending
    // requests are dropped and the running job is asked to stop.
    void beginClosing();
    void cancelClosing() { m_closing = false; }

    // The last refresh's list, the last download's definitions (the caller takes them) and
    // the last discovery's devices.
    const StoredFixtureList &fixtureList() const { return m_list; }
    const QList<QBLFixtureDefinition *> &downloadedDefinitions() const;
    QList<DiscoveredDevice> discoveredDevices() const;
    // What the last upload was given (with automatic short names refreshed as stored), and
    // the free slots the controller reported to it (-1: not asked, or no answer).
    const QList<QBLFixtureDefinition *> &uploadDefinitions() const;
    int uploadFreeSlots() const;
    // How many items the last upload, download or deletion completed of how many it was
    // given; read once its jobEnded has come.
    struct ItemCount {
        int done = 0;
        int total = 0;
    };
    ItemCount itemCount(DeviceJob job) const;

    BLPMaster *master() const;

signals:
    void jobStarted(DeviceJob job);
    // Exactly one per started job. A job that a refresh follows: refreshStarted, then
    // jobEnded. Another job: released, then jobEnded. The refresh: jobEnded, then released.
    // cause: why a Failed or PatchListClearFailed job failed; empty for every other outcome.
    void jobEnded(DeviceJob job, DeviceJobOutcome outcome, const DeviceFailure &cause);
    void refreshStarted();
    void released();
    void patchListClearingNeeded(DeviceJob job);
    // The patch list was cleared on the way to job; continueAfterPatchListCleared() goes on.
    void patchListCleared(DeviceJob job);
    void heldDefinitionsFound();
    // A pending firmware update may run now; only the owner can show its dialog.
    void firmwareUpdateDue();
    void probed(int result);

    void progressTotal(uint percents);
    void progressCurrent(uint percents);
    void devicesCleared();
    void deviceFound(const QString &entryText, int deviceIndex);
    void firmwareVersionReported(int deviceIndex, int softwareVersion);

private:
    struct Pending;

    bool admit(DeviceJob job);
    // admit(), or while another job holds the lock, keep() notes the request for later. False
    // when the job does not start now (always while closing).
    bool admitOrKeep(DeviceJob job, const std::function<void(Pending &)> &keep);
    void startUpload();
    void startDelete();
    void startRefresh();
    void finish(DeviceJobOutcome outcome, const DeviceFailure &cause = DeviceFailure());
    DeviceFailure failureOf(DeviceJob job) const;
    void listEnded(DeviceJobOutcome outcome);
    void probeEnded(int result);
    void servePending();
    void workerEnded(DeviceJob job, DeviceJobOutcome outcome);
    void clearerEnded(DeviceJobOutcome outcome);

    DeviceLink *m_link;
    DeviceJob m_job = DeviceJob::None;
    // The upload or deletion that waits for the patch list question, or for the clearer.
    DeviceJob m_waitingForPatchList = DeviceJob::None;
    // The upload or deletion whose patch list was cleared, until it is continued.
    DeviceJob m_clearedFor = DeviceJob::None;
    bool m_refreshAfterJobs = true;
    bool m_asksAboutHeld = false;
    bool m_waitingForHeldAnswer = false;
    bool m_closing = false;
    std::unique_ptr<Pending> m_pending;

    // What the running job was started with.
    std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> m_deleteTargets;
    StoredFixtureList m_list;

    FixtureListDownloader *m_lister;
    FixtureDefinitionsUploader *m_uploader;
    FixtureDefinitionsDownloader *m_downloader;
    FixturesDeleter *m_deleter;
    PatchListClearer *m_clearer;
    DeviceChanger *m_changer;
    DevicesDiscoverer *m_discoverer;
    FwUpdater *m_updater;
    QThread *m_probeThread;
    ConnectionProbe *m_prober;
};
