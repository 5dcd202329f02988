#pragma once

// What every fixture store and firmware command shares: device options, the optional
// simulator state file, the open link to one controller and the job runner over it, and the
// small argument and output helpers of those commands.

#include "devicejobs.h"
#include "deviceoptions.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class DeviceJobRunner;
class QBLRemoteFixtureDefinition;

enum ExitCode { Success = 0, Failure = 1, Usage = 2 };

class StoreSession
{
public:
    StoreSession();
    ~StoreSession();

    // Takes the device options (and --simulate-state) out of args.
    bool takeOptions(QStringList *args, QString *error);
    // Installs the driver, restores the simulator state and opens the chosen controller.
    bool open(QString *error);
    // Saves the simulator state (if one is kept) and returns code, or a failure when the
    // state could not be saved. Call once the device work is done.
    int finish(int code);

    DeviceLink &link() { return *m_link; }
    DeviceJobRunner &jobs() { return *m_jobs; }
    const DeviceIdentity &identity() const { return m_link->identity(); }
    // "device 0 (KDR-450P, software 1.3)"
    QString deviceText() const;
    // Why a fixture store job refuses this controller, or empty when it does not.
    QString deviceRefusal() const;
    // Why the last job failed, as far as the link knows it.
    QString failureReason() const;

    struct JobResult {
        DeviceJobOutcome outcome = DeviceJobOutcome::Failed;
        bool patchListCleared = false; // the patch list was erased on the way
    };
    // Starts a job and waits for its end, with a progress bar named label. A patch list that
    // stands in the way is cleared once when clearPatchList, and kept otherwise.
    JobResult run(const QString &label, const std::function<bool(DeviceJobRunner &)> &start,
                  bool clearPatchList = false);
    // The controller's fixture list, or false with the reason.
    bool readStoredList(std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> *entries,
                        QString *error);

    static QString optionsHelp();

private:
    DeviceOptions m_options;
    QString m_statePath;
    std::unique_ptr<DeviceLink> m_link;
    std::unique_ptr<DeviceJobRunner> m_jobs;
};

// The device classes' diagnostic lines are for developers; the tool's output stays one line
// per outcome.
void silenceDiagnostics();

// Output and argument helpers of the device commands.
namespace StoreCommand
{
QString tr(const char *text);
void out(const QString &text);
int fail(const QString &reason);
int usage(const QString &command, const QString &reason);
bool wantsHelp(const QStringList &args);
// Takes every "--name VALUE" (or --name=VALUE) out of args.
bool takeRepeated(QStringList *args, const QString &name, QStringList *values, QString *error);
bool takeFlag(QStringList *args, const QString &name);
bool takeSlots(QStringList *args, QList<int> *slotNumbers, QString *error);
// "1 fixture definition", "3 fixture definitions"
QString definitionsText(qsizetype n);
QString patchListRefusal(const QString &what, const StoreSession &session);
// The stored entry of a slot, or null.
QBLRemoteFixtureDefinition *
findSlot(const std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> &entries, int slot);
QString noSuchSlot(int slot, const StoreSession &session);
} // namespace StoreCommand
