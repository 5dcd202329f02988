#include "storesession.h"

#include "simulatedstate.h"

#include "fixturestorechecks.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QThread>

namespace
{

QString tr(const char *text)
{
    return QCoreApplication::translate("StoreSession", text);
}

} // namespace

bool StoreSession::takeOptions(QStringList *args, QString *error)
{
    if (!takeSimulatedStateOption(args, &m_statePath, error))
        return false;
    if (!takeDeviceOptions(args, &m_options, error))
        return false;
    if (!m_statePath.isEmpty() && !m_options.driver.simulate) {
        *error = tr("--simulate-state needs --simulate");
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
    return m_link->open(m_options.device, error);
}

bool StoreSession::close(QString *error)
{
    m_link.reset();
    return m_statePath.isEmpty() || saveSimulatedState(m_statePath, error);
}

QString StoreSession::deviceText() const
{
    const DeviceIdentity &id = identity();
    return tr("device %1 (%2, software %3)")
        .arg(id.deviceIndex)
        .arg(id.name, versionText(id.softwareVersion));
}

QString StoreSession::deviceRefusal() const
{
    const DeviceIdentity &id = identity();
    if (id.name != QLatin1String(FixtureStore::DeviceName))
        return tr("refused (wrong device): %1 is not a %2")
            .arg(deviceText(), QLatin1String(FixtureStore::DeviceName));
    if (id.softwareVersion < FixtureStore::MinSoftwareVersion)
        return tr("refused (outdated device): %1 needs software newer than 1.1 for its fixture "
                  "store; update its firmware")
            .arg(deviceText());
    return QString();
}

QString StoreSession::optionsHelp()
{
    return deviceOptionsHelp(true) + simulatedStateHelp();
}

void silenceDiagnostics()
{
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
}

void runWorker(QThread *worker)
{
    worker->start();
    worker->wait();
}
