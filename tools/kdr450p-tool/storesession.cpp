#include "storesession.h"

#include "simulatedstate.h"

#include "blpmaster.h"
#include "blpmphyusb.h"
#include "devicejobrunner.h"
#include "devicerecord.h"
#include "fixturestorechecks.h"
#include "qblremotefixturedefinition.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTextStream>

#include <iterator>

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define STDIN_FILENO 0
#else
#include <unistd.h>
#endif

using StoreCommand::tr;

StoreSession::StoreSession() = default;

// The runner goes before the link it runs on.
StoreSession::~StoreSession()
{
    m_jobs.reset();
    m_link.reset();
}

bool StoreSession::takeOptions(QStringList *args, QString *error, bool allowDevice)
{
    if (!takeSimulatedStateOption(args, &m_statePath, error))
        return false;
    if (!takeDeviceOptions(args, &m_options, error, allowDevice))
        return false;
    if (!m_statePath.isEmpty() && !m_options.driver.simulate) {
        *error = StoreCommand::tr("--simulate-state needs --simulate");
        return false;
    }
    return true;
}

bool StoreSession::prepare(QString *error)
{
    // A missing port is a typing error, not a controller that keeps silent.
    const QString &port = m_options.driver.portPath;
    if (!port.isEmpty() && !QFileInfo::exists(port)) {
        *error = StoreCommand::tr("no such port: %1").arg(port);
        return false;
    }
    if (!installDeviceDriver(m_options, error))
        return false;
    if (!m_statePath.isEmpty() && !loadSimulatedState(m_statePath, error))
        return false;
    m_link = std::make_unique<DeviceLink>();
    return true;
}

QList<DiscoveredDevice> StoreSession::discover()
{
    DevicesDiscoverer discoverer;
    discoverer.setLink(m_link->master(), m_link->phy());
    discoverer.start();
    discoverer.wait();
    return discoverer.devices();
}

bool StoreSession::open(QString *error)
{
    if (!prepare(error))
        return false;
    QList<DiscoveredDevice> controllers;
    for (const DiscoveredDevice &d : discover())
        if (d.name.startsWith(QLatin1String(FixtureStore::DeviceName)))
            controllers.append(d);
    const int number = m_options.device < 0 ? 1 : m_options.device;
    if (controllers.isEmpty()) {
        *error = noControllerText();
        return false;
    }
    if (number < 1 || number > controllers.size()) {
        *error = StoreCommand::tr("there is no %1 #%2: %3 controllers answer (see 'kdr450p-tool "
                                  "devices')")
                     .arg(QLatin1String(FixtureStore::DeviceName))
                     .arg(number)
                     .arg(controllers.size());
        return false;
    }
    if (!m_link->open(controllers.at(number - 1).deviceIndex, error))
        return false;
    m_number = number;
    m_jobs = std::make_unique<DeviceJobRunner>(m_link.get());
    // Each command reads the list when it needs it.
    m_jobs->setRefreshAfterJobs(false);
    return true;
}

int StoreSession::finish(int code)
{
    m_jobs.reset();
    m_link.reset();
    QString error;
    if (!m_statePath.isEmpty() && !saveSimulatedState(m_statePath, &error))
        return StoreCommand::fail(error);
    return code;
}

QString StoreSession::noControllerText() const
{
    return m_options.driver.portPath.isEmpty()
               ? StoreCommand::tr("no controller found")
               : StoreCommand::tr("no controller answers on %1").arg(m_options.driver.portPath);
}

QString StoreSession::deviceText() const
{
    const DeviceIdentity &id = identity();
    return StoreCommand::tr("%1 #%2 (software %3)")
        .arg(QLatin1String(FixtureStore::DeviceName))
        .arg(m_number)
        .arg(versionText(id.softwareVersion));
}

FixtureStore::DeviceStatus StoreSession::readStatus()
{
    return FixtureStore::queryDeviceStatus(m_link->master(), 0);
}

QString StoreSession::deviceRefusal() const
{
    const DeviceIdentity &id = identity();
    if (id.name != QLatin1String(FixtureStore::DeviceName))
        return StoreCommand::tr("refused (wrong device): %1 is not a %2")
            .arg(deviceText(), QLatin1String(FixtureStore::DeviceName));
    if (id.softwareVersion < FixtureStore::MinSoftwareVersion)
        return StoreCommand::tr(
                   "refused (outdated device): %1 needs software newer than 1.1 for its fixture "
                   "store; update its firmware")
            .arg(deviceText());
    return QString();
}

QString StoreSession::failureReason(const JobResult &result)
{
    if (result.outcome == DeviceJobOutcome::Aborted ||
        result.outcome == DeviceJobOutcome::PatchListClearAborted)
        return StoreCommand::tr("cancelled");
    if (result.outcome == DeviceJobOutcome::WrongDevice)
        return StoreCommand::tr("the controller does not call itself %1")
            .arg(QLatin1String(FixtureStore::DeviceName));
    return failureText(result.cause);
}

namespace
{

// The driver seam's statuses (ftdidriver.h), by value; a backend may pass on others.
QString driverStatusText(FtdiStatus status)
{
    static const char *const texts[] = {
        nullptr,
        QT_TRANSLATE_NOOP("StoreCommand", "invalid handle"),
        QT_TRANSLATE_NOOP("StoreCommand", "device not found"),
        QT_TRANSLATE_NOOP("StoreCommand", "device not opened"),
        QT_TRANSLATE_NOOP("StoreCommand", "input/output error"),
        QT_TRANSLATE_NOOP("StoreCommand", "insufficient resources"),
        QT_TRANSLATE_NOOP("StoreCommand", "invalid parameter"),
    };
    static_assert(std::size(texts) == FtdiDriver::InvalidParameter + 1);
    if (status > 0 && status < std::size(texts))
        return StoreCommand::tr(texts[status]);
    return StoreCommand::tr("unknown status");
}

} // namespace

QString StoreSession::failureText(const DeviceFailure &cause)
{
    using S = BLPMaster::LinkStatus;
    switch (cause.status) {
    case S::TimedOut:
        return StoreCommand::tr("no answer from the controller within %1 ms")
            .arg(cause.answerTimeoutMs);
    case S::LinkLost:
        if (cause.deviceGone)
            return StoreCommand::tr("link lost: the USB device vanished");
        if (cause.driverStatus != FtdiDriver::Ok)
            return StoreCommand::tr("link lost: driver error %1: %2")
                .arg(cause.driverStatus)
                .arg(driverStatusText(cause.driverStatus));
        // The phy's one failure without a driver status: a write that did not finish.
        return StoreCommand::tr("link lost: a frame did not leave within %1 ms")
            .arg(BLPmPhyUSB::WriteTimeoutMs);
    case S::DeviceStatus:
        return StoreCommand::tr("the controller answered status %1").arg(cause.deviceStatus);
    case S::Cancelled:
        return StoreCommand::tr("cancelled");
    case S::AnswerTooLong:
        return StoreCommand::tr("the controller's answer was longer than asked for");
    case S::BadAnswer:
        return StoreCommand::tr("the controller's answer had the wrong size");
    case S::InvalidRequest:
        return StoreCommand::tr("invalid request");
    case S::Ok:
        break;
    }
    if (cause.deviceRefused)
        return StoreCommand::tr("the controller is not a %1 with software newer than 1.1")
            .arg(QLatin1String(FixtureStore::DeviceName));
    return StoreCommand::tr("no cause reported");
}

StoreSession::JobResult StoreSession::run(const QString &label,
                                          const std::function<bool(DeviceJobRunner &)> &start,
                                          bool clearPatchList)
{
    JobResult result;
    bool asked = false;
    QEventLoop loop;
    TerminalProgress bar(label);
    DeviceJobRunner *jobs = m_jobs.get();
    const QList<QMetaObject::Connection> connections = {
        QObject::connect(jobs, &DeviceJobRunner::jobEnded, &loop,
                         [&](DeviceJob, DeviceJobOutcome outcome, const DeviceFailure &cause) {
                             result.outcome = outcome;
                             result.cause = cause;
                             loop.quit();
                         }),
        QObject::connect(jobs, &DeviceJobRunner::patchListClearingNeeded, &loop,
                         [&](DeviceJob) {
                             const bool clear = clearPatchList && !asked;
                             asked = asked || clear;
                             jobs->answerPatchListQuestion(clear);
                         }),
        QObject::connect(jobs, &DeviceJobRunner::patchListCleared, jobs,
                         &DeviceJobRunner::continueAfterPatchListCleared),
        QObject::connect(jobs, &DeviceJobRunner::progressTotal, &loop,
                         [&bar](uint percents) { bar.setPercent(int(percents)); }),
    };
    if (start(*jobs))
        loop.exec();
    for (const QMetaObject::Connection &c : connections)
        QObject::disconnect(c);
    result.patchListCleared = asked && result.outcome != DeviceJobOutcome::PatchListClearFailed &&
                              result.outcome != DeviceJobOutcome::PatchListClearAborted;
    return result;
}

bool StoreSession::readStoredList(std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> *entries,
                                  QString *error)
{
    if (const QString refusal = deviceRefusal(); !refusal.isEmpty()) {
        *error = StoreCommand::tr("fixture list %1").arg(refusal);
        return false;
    }
    const JobResult result = run(QString(), [](DeviceJobRunner &jobs) { return jobs.refresh(); });
    if (result.outcome == DeviceJobOutcome::MalformedList) {
        *error = StoreCommand::tr("the fixture list of %1 is malformed").arg(deviceText());
        return false;
    }
    if (result.outcome != DeviceJobOutcome::Done) {
        *error = StoreCommand::tr("reading the fixture list of %1 failed: %2")
                     .arg(deviceText(), failureReason(result));
        return false;
    }
    *entries = m_jobs->fixtureList().entries();
    return true;
}

QList<StoredRecord> StoreSession::storedHeaders() const
{
    return m_jobs->fixtureList().storedHeaders();
}

QString StoreSession::optionsHelp()
{
    return deviceOptionsHelp(true) + simulatedStateHelp();
}

void silenceDiagnostics()
{
    QString rules = QStringLiteral("*.debug=false\n*.info=false");
    if (linkFramesTraced())
        rules += QStringLiteral("\nkdr.link.frames.debug=true");
    QLoggingCategory::setFilterRules(rules);
}

namespace StoreCommand
{

namespace
{
QString g_command;
}

QString tr(const char *text)
{
    return QCoreApplication::translate("StoreCommand", text);
}

void setCommand(const QString &command)
{
    g_command = command;
}

QString command()
{
    return g_command;
}

void out(const QString &text)
{
    QTextStream s(stdout);
    s << text;
}

int fail(const QString &reason)
{
    QTextStream(stderr) << "kdr450p-tool " << g_command << ": " << reason << "\n";
    return Failure;
}

void warn(const QString &text)
{
    QTextStream(stderr) << "kdr450p-tool " << g_command << ": "
                        << StoreCommand::tr("warning: %1").arg(text) << "\n";
}

bool isOption(const QString &arg)
{
    return arg.size() > 1 && arg.startsWith(QLatin1Char('-'));
}

int leftOver(const QString &command, const QStringList &args)
{
    for (const QString &a : args)
        if (isOption(a))
            return usage(command, StoreCommand::tr("unknown option %1").arg(a));
    if (!args.isEmpty())
        return usage(command, StoreCommand::tr("unexpected argument '%1'").arg(args.first()));
    return Success;
}

int usage(const QString &command, const QString &reason)
{
    QTextStream(stderr) << "kdr450p-tool " << command << ": "
                        << StoreCommand::tr("%1 (see kdr450p-tool %2 --help)").arg(reason, command)
                        << "\n";
    return Usage;
}

bool wantsHelp(const QStringList &args)
{
    return args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"));
}

bool confirmed(const QString &question)
{
    if (!isatty(STDIN_FILENO))
        return false;
    QTextStream(stderr) << question << " [y/N] " << Qt::flush;
    QTextStream in(stdin);
    const QString answer = in.readLine().trimmed().toLower();
    return answer == QLatin1String("y") || answer == QLatin1String("yes");
}

bool takeRepeated(QStringList *args, const QString &name, QStringList *values, QString *error)
{
    QStringList rest;
    const QString withEquals = name + QLatin1Char('=');
    for (int i = 0; i < args->size(); ++i) {
        const QString &a = args->at(i);
        if (a == name) {
            if (i + 1 >= args->size()) {
                *error = StoreCommand::tr("%1 needs a value").arg(name);
                return false;
            }
            values->append(args->at(++i));
        } else if (a.startsWith(withEquals)) {
            values->append(a.mid(withEquals.size()));
        } else {
            rest.append(a);
        }
    }
    *args = rest;
    return true;
}

bool takeFlag(QStringList *args, const QString &name)
{
    return args->removeAll(name) > 0;
}

QStringList takePositional(QStringList *args)
{
    QStringList positional, rest;
    for (const QString &a : std::as_const(*args))
        (isOption(a) ? rest : positional).append(a);
    *args = rest;
    return positional;
}

bool takeSlots(QStringList *args, QList<int> *slotNumbers, QString *error)
{
    QStringList values;
    if (!takeRepeated(args, QStringLiteral("--slot"), &values, error))
        return false;
    for (const QString &v : values) {
        bool ok = false;
        const int n = v.toInt(&ok);
        if (!ok || n < 0 || n > 255) {
            *error = StoreCommand::tr("--slot needs a slot number from 0 to 255, not '%1'").arg(v);
            return false;
        }
        if (!slotNumbers->contains(n))
            slotNumbers->append(n);
    }
    return true;
}

QString definitionsText(qsizetype n)
{
    return n == 1 ? StoreCommand::tr("1 definition") : StoreCommand::tr("%1 definitions").arg(n);
}

QString patchListRefusal(const QString &what, const StoreSession &session)
{
    return StoreCommand::tr(
               "%1 refused (patch list): the patch list of %2 is not empty; clear it with "
               "'kdr450p-tool device clear-patch-list' or add --clear-patch-list")
        .arg(what, session.deviceText());
}

QString patchListClearFailure(const StoreSession::JobResult &result, const StoreSession &session)
{
    return StoreCommand::tr("clearing the patch list of %1 failed: %2")
        .arg(session.deviceText(), StoreSession::failureReason(result));
}

QBLRemoteFixtureDefinition *
findSlot(const std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> &entries, int slot)
{
    for (const auto &e : entries)
        if (e->slotNumber() == slot)
            return e.get();
    return nullptr;
}

QString slotOutOfRange(int slot, int capacity, const StoreSession &session)
{
    if (capacity < 0 || slot < capacity)
        return QString();
    return StoreCommand::tr("%1 has no slot %2: its slots are 0 to %3")
        .arg(session.deviceText())
        .arg(slot)
        .arg(capacity - 1);
}

QString noSuchSlot(int slot, const StoreSession &session)
{
    return StoreCommand::tr(
               "slot %1 of %2 holds no definition (see 'kdr450p-tool device fixtures')")
        .arg(slot)
        .arg(session.deviceText());
}

QString StoreState::slotRefusal(int slot, const StoreSession &session) const
{
    if (const QString refusal = slotOutOfRange(slot, capacity(), session); !refusal.isEmpty())
        return refusal;
    return findSlot(entries, slot) ? QString() : noSuchSlot(slot, session);
}

bool readState(StoreSession &session, StoreState *state, QString *error)
{
    if (!session.readStoredList(&state->entries, error))
        return false;
    state->status = session.readStatus();
    return true;
}

void reportPatchListCleared(const StoreSession &session)
{
    out(StoreCommand::tr("Cleared the patch list of %1.\n").arg(session.deviceText()));
}

int patchListOutcome(const StoreSession::JobResult &result, const QString &what,
                     const StoreSession &session)
{
    if (result.patchListCleared)
        reportPatchListCleared(session);
    switch (result.outcome) {
    case DeviceJobOutcome::PatchListKept:
        return fail(patchListRefusal(what, session));
    case DeviceJobOutcome::PatchListClearFailed:
    case DeviceJobOutcome::PatchListClearAborted:
        return fail(patchListClearFailure(result, session));
    default:
        return Proceed;
    }
}

namespace
{

bool takeOwnArguments(ControllerCommand &command, QStringList *args, qsizetype *files,
                      QString *error)
{
    if (command.takeArguments && !command.takeArguments(args, error))
        return false;
    if (command.slotCount != ControllerCommand::Slots::None &&
        !takeSlots(args, &command.slotNumbers, error))
        return false;
    for (const auto &[name, given] : command.flags)
        *given = takeFlag(args, name);
    if (!command.fileUsage.isEmpty()) {
        const QStringList positional = takePositional(args);
        *files = positional.size();
        if (*files == 1)
            command.file = positional.first();
    }
    return true;
}

// The usage error for arguments that are well formed but too few or too many, or empty.
QString countProblem(const ControllerCommand &command, qsizetype files)
{
    if (!command.fileUsage.isEmpty() && files != 1)
        return command.fileUsage;
    switch (command.slotCount) {
    case ControllerCommand::Slots::One:
        return command.slotNumbers.size() == 1 ? QString() : StoreCommand::tr("name one --slot N");
    case ControllerCommand::Slots::AtLeastOne:
        return command.slotNumbers.isEmpty() ? StoreCommand::tr("name at least one --slot N")
                                             : QString();
    default:
        return QString();
    }
}

int runOnStore(const ControllerCommand &command, StoreSession &session)
{
    StoreState state;
    QString error;
    if (!readState(session, &state, &error))
        return fail(error);
    for (int s : command.slotNumbers)
        if (const QString refusal = state.slotRefusal(s, session); !refusal.isEmpty())
            return fail(refusal);
    return command.runOnStore(session, state);
}

} // namespace

int runControllerCommand(ControllerCommand &command, QStringList args)
{
    setCommand(command.name);
    silenceDiagnostics();
    if (wantsHelp(args)) {
        out(command.help + deviceOptionsHelp(command.allowDevice) + simulatedStateHelp());
        return Success;
    }
    StoreSession session;
    QString error;
    qsizetype files = 0;
    if (!session.takeOptions(&args, &error, command.allowDevice) ||
        !takeOwnArguments(command, &args, &files, &error))
        return usage(command.name, error);
    if (const int code = leftOver(command.name, args))
        return code;
    if (const QString problem = countProblem(command, files); !problem.isEmpty())
        return usage(command.name, problem);
    if (command.beforeOpen)
        if (const int code = command.beforeOpen(); code != Proceed)
            return code;
    if (!(command.discoverOnly ? session.prepare(&error) : session.open(&error)))
        return fail(error);
    return session.finish(command.runOnStore ? runOnStore(command, session) : command.run(session));
}

} // namespace StoreCommand
