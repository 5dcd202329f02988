#pragma once

// What every fixture store and firmware command shares: device options, the optional
// simulator state file, the open link to one controller and the job runner over it, and the
// small argument and output helpers of those commands.

#include "devicefailure.h"
#include "devicejobs.h"
#include "deviceoptions.h"
#include "devicesdiscoverer.h"
#include "fixturestorechecks.h"
#include "storeplan.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>
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
    bool takeOptions(QStringList *args, QString *error, bool allowDevice = true);
    // Installs the driver and restores the simulator state; no controller is opened.
    bool prepare(QString *error);
    // The controllers that answer, in the order the window lists them. After prepare().
    QList<DiscoveredDevice> discover();
    // prepare(), then opens controller number --device (default 1) of discover()'s list.
    bool open(QString *error);
    // Saves the simulator state (if one is kept) and returns code, or a failure when the
    // state could not be saved. Call once the device work is done.
    int finish(int code);

    DeviceLink &link() { return *m_link; }
    DeviceJobRunner &jobs() { return *m_jobs; }
    const DeviceIdentity &identity() const { return m_link->identity(); }
    // "no controller found", or that none answers on the --port given.
    QString noControllerText() const;
    // The number --device takes: the controller's place among the KDR-450P controllers.
    int controllerNumber() const { return m_number; }
    // "KDR-450P #1 (software 1.3)"
    QString deviceText() const;
    // Free slots and the patch-list flag; freeSlots -1 when the controller did not say. Only
    // while no job runs.
    FixtureStore::DeviceStatus readStatus();
    // Why a fixture store job refuses this controller, or empty when it does not.
    QString deviceRefusal() const;
    struct JobResult {
        DeviceJobOutcome outcome = DeviceJobOutcome::Failed;
        DeviceFailure cause;           // why it failed
        bool patchListCleared = false; // the patch list was erased on the way
    };
    // Why a job failed, in one line: "no answer from the controller within 4000 ms".
    static QString failureReason(const JobResult &result);
    static QString failureText(const DeviceFailure &cause);
    // Starts a job and waits for its end, with a progress bar named label. A patch list that
    // stands in the way is cleared once when clearPatchList, and kept otherwise.
    JobResult run(const QString &label, const std::function<bool(DeviceJobRunner &)> &start,
                  bool clearPatchList = false);
    // The controller's fixture list, or false with the reason.
    bool readStoredList(std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> *entries,
                        QString *error);
    // The headers of the list read last, with their slots.
    QList<StoredRecord> storedHeaders() const;

    static QString optionsHelp();

private:
    DeviceOptions m_options;
    QString m_statePath;
    int m_number = 0;
    std::unique_ptr<DeviceLink> m_link;
    std::unique_ptr<DeviceJobRunner> m_jobs;
};

// The device classes' diagnostic lines are for developers; the tool's output stays one line
// per outcome.
void silenceDiagnostics();

// Output and argument helpers of every command: one prefix, "kdr450p-tool <command>: ".
namespace StoreCommand
{
QString tr(const char *text);
// The command that the failure and warning lines name ("device upload").
void setCommand(const QString &command);
QString command();
void out(const QString &text);
int fail(const QString &reason);
void warn(const QString &text);
int usage(const QString &command, const QString &reason);
// The usage error for the first argument left that looks like an option, else for the first
// stray one; Success when nothing is left.
int leftOver(const QString &command, const QStringList &args);
bool isOption(const QString &arg);
bool wantsHelp(const QStringList &args);
// Asks on the terminal; false without one (scripts say --yes).
bool confirmed(const QString &question);
// Takes every "--name VALUE" (or --name=VALUE) out of args.
bool takeRepeated(QStringList *args, const QString &name, QStringList *values, QString *error);
bool takeFlag(QStringList *args, const QString &name);
// Takes the arguments that are no options ("-" is one: standard input or output).
QStringList takePositional(QStringList *args);
bool takeSlots(QStringList *args, QList<int> *slotNumbers, QString *error);
// "1 definition", "3 definitions"
QString definitionsText(qsizetype n);
QString patchListRefusal(const QString &what, const StoreSession &session);
// The patch list stood in the way and clearing it failed (or was cancelled).
QString patchListClearFailure(const StoreSession::JobResult &result, const StoreSession &session);
// The stored entry of a slot, or null.
QBLRemoteFixtureDefinition *
findSlot(const std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> &entries, int slot);
QString noSuchSlot(int slot, const StoreSession &session);
// Why the controller cannot have the slot (beyond its capacity), or empty.
QString slotOutOfRange(int slot, int capacity, const StoreSession &session);

// The stored list and the status, read before a command picks slots or plans an upload.
struct StoreState {
    std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> entries;
    FixtureStore::DeviceStatus status;
    // All slots, or -1 when the controller did not say how many are free.
    int capacity() const
    {
        return status.freeSlots < 0 ? -1 : int(entries.size()) + status.freeSlots;
    }
    // Why slot names no stored definition (beyond the capacity, or empty), or empty.
    QString slotRefusal(int slot, const StoreSession &session) const;
};
bool readState(StoreSession &session, StoreState *state, QString *error);

// A job that may meet the patch list: prints that the list was cleared on the way, and
// returns the refusal of what ("upload") when the list stood in the way, else Proceed.
constexpr int Proceed = -1;
int patchListOutcome(const StoreSession::JobResult &result, const QString &what,
                     const StoreSession &session);
void reportPatchListCleared(const StoreSession &session);

// The outline of every command that works on a controller: its help, the device options and
// then its own arguments, the usage error for anything left over, the work that needs no
// controller, the controller opened, the work on it, and the simulator state saved
// (StoreSession::finish) however that work ends.
struct ControllerCommand {
    ControllerCommand(const QString &name, const QString &help,
                      std::vector<std::pair<QString, bool *>> flags = {})
        : name(name), help(help), flags(std::move(flags))
    {
    }
    QString name;              // "device delete", as usage errors name it
    QString help;              // for --help; the device options follow
    bool allowDevice = true;   // --device N picks the controller
    bool discoverOnly = false; // prepare() only; no controller is opened

    // The command's own arguments, taken after the device options in this order (an option
    // value may look like an option): takeArguments, --slot N, the flags, the file.
    // takeArguments: false with the usage error.
    std::function<bool(QStringList *args, QString *error)> takeArguments;
    enum class Slots { None, Any, One, AtLeastOne };
    Slots slotCount = Slots::None;
    QList<int> slotNumbers;                        // --slot N, each once, in order
    std::vector<std::pair<QString, bool *>> flags; // "--json", set when given
    // Set: the command takes exactly one argument that is no option, else this usage error.
    QString fileUsage;
    QString file;

    // Before the controller opens: Proceed, or the exit code that ends the command.
    std::function<int()> beforeOpen;
    std::function<int(StoreSession &session)> run;
    // Instead of run: the stored list and status read first, and every --slot N checked
    // against them.
    std::function<int(StoreSession &session, const StoreState &state)> runOnStore;
};
// Names the command in failure lines and silences diagnostics first; fills the command's
// slotNumbers and file on the way.
int runControllerCommand(ControllerCommand &command, QStringList args);
} // namespace StoreCommand
