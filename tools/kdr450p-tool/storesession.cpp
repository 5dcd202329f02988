#include "storesession.h"

#include "simulatedstate.h"

#include "blpmaster.h"
#include "blpmphyusb.h"
#include "devicejobrunner.h"
#include "fixturestorechecks.h"
#include "qblremotefixturedefinition.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QTextStream>

using StoreCommand::tr;

StoreSession::StoreSession() = default;

// The runner goes before the link it runs on.
StoreSession::~StoreSession()
{
    m_jobs.reset();
    m_link.reset();
}

bool StoreSession::takeOptions(QStringList *args, QString *error)
{
    if (!takeSimulatedStateOption(args, &m_statePath, error))
        return false;
    if (!takeDeviceOptions(args, &m_options, error))
        return false;
    if (!m_statePath.isEmpty() && !m_options.driver.simulate) {
        *error = StoreCommand::tr("--simulate-state needs --simulate");
        return false;
    }
    return true;
}

bool StoreSession::open(QString *error)
{
    if (!installDeviceDriver(m_options, error))
        return false;
    if (!m_statePath.isEmpty() && !loadSimulatedState(m_statePath, error))
        return false;
    m_link = std::make_unique<DeviceLink>();
    if (!m_link->open(m_options.device, error))
        return false;
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

QString StoreSession::deviceText() const
{
    const DeviceIdentity &id = identity();
    return StoreCommand::tr("device %1 (%2, software %3)")
        .arg(id.deviceIndex)
        .arg(id.name, versionText(id.softwareVersion));
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

QString StoreSession::failureReason() const
{
    const QString driver = m_link->phy()->lastError();
    if (!driver.isEmpty())
        return StoreCommand::tr("the link failed: %1").arg(driver);
    if (m_link->master()->isLinkLost())
        return StoreCommand::tr("the controller stopped answering");
    return StoreCommand::tr("the controller refused a request");
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
                         [&](DeviceJob, DeviceJobOutcome outcome) {
                             result.outcome = outcome;
                             loop.quit();
                         }),
        QObject::connect(jobs, &DeviceJobRunner::patchListClearingNeeded, &loop,
                         [&](DeviceJob) {
                             const bool clear = clearPatchList && !asked;
                             asked = asked || clear;
                             jobs->answerPatchListQuestion(clear);
                         }),
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
                     .arg(deviceText(), failureReason());
        return false;
    }
    *entries = m_jobs->fixtureList().entries();
    return true;
}

QString StoreSession::optionsHelp()
{
    return deviceOptionsHelp(true) + simulatedStateHelp();
}

void silenceDiagnostics()
{
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
}

namespace StoreCommand
{

QString tr(const char *text)
{
    return QCoreApplication::translate("StoreCommand", text);
}

void out(const QString &text)
{
    QTextStream s(stdout);
    s << text;
}

int fail(const QString &reason)
{
    QTextStream(stderr) << "kdr450p-tool: " << reason << "\n";
    return Failure;
}

int usage(const QString &command, const QString &reason)
{
    QTextStream(stderr) << "kdr450p-tool " << command << ": " << reason << " (see kdr450p-tool "
                        << command << " --help)\n";
    return Usage;
}

bool wantsHelp(const QStringList &args)
{
    return args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"));
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
    return n == 1 ? StoreCommand::tr("1 fixture definition")
                  : StoreCommand::tr("%1 fixture definitions").arg(n);
}

QString patchListRefusal(const QString &what, const StoreSession &session)
{
    return StoreCommand::tr(
               "%1 refused (patch list): the patch list of %2 is not empty; clear it with "
               "'kdr450p-tool device clear-patch-list' or add --clear-patch-list")
        .arg(what, session.deviceText());
}

QBLRemoteFixtureDefinition *
findSlot(const std::vector<std::unique_ptr<QBLRemoteFixtureDefinition>> &entries, int slot)
{
    for (const auto &e : entries)
        if (e->slotNumber() == slot)
            return e.get();
    return nullptr;
}

QString noSuchSlot(int slot, const StoreSession &session)
{
    return StoreCommand::tr(
               "slot %1 of %2 holds no definition (see 'kdr450p-tool device fixtures')")
        .arg(slot)
        .arg(session.deviceText());
}

} // namespace StoreCommand
