#include "simulatedstate.h"

#include "ftdidriver.h"
#include "simulatedftdidriver.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace
{

struct SimulatedStateText {
    Q_DECLARE_TR_FUNCTIONS(SimulatedStateText)
};

QList<SimulatedController *> controllers()
{
    QList<SimulatedController *> list;
    auto *driver = dynamic_cast<SimulatedFtdiDriver *>(FtdiDriver::current());
    if (!driver)
        return list;
    for (SimulatedDevice *device : driver->devices())
        if (device->controller())
            list.append(device->controller());
    return list;
}

const QLatin1String kFaults("firmwareFaults");
const QLatin1String kLastSectorStatus("lastSectorStatus");
const QLatin1String kLastSectorSilentAfter("lastSectorSilentAfter");
const QLatin1String kRestarts("restartsAfterFirmware");

bool loadFaults(const QJsonObject &faults, SimulatedController *controller)
{
    const int status = faults.value(kLastSectorStatus).toInt(0);
    const int silentAfter = faults.value(kLastSectorSilentAfter).toInt(-1);
    if (status < 0 || status > 255 || silentAfter < -1)
        return false;
    controller->setLastSectorFaults({quint8(status), silentAfter});
    controller->setRestartsAfterFirmware(faults.value(kRestarts).toBool(false));
    return true;
}

// Only the switches that are on, so a state without faults stays as it was.
QJsonObject savedFaults(const SimulatedController *controller)
{
    QJsonObject faults;
    const SimulatedController::LastSectorFaults lastSector = controller->lastSectorFaults();
    if (lastSector.status != 0)
        faults.insert(kLastSectorStatus, int(lastSector.status));
    if (lastSector.silentAfter >= 0)
        faults.insert(kLastSectorSilentAfter, lastSector.silentAfter);
    if (controller->restartsAfterFirmware())
        faults.insert(kRestarts, true);
    return faults;
}

} // namespace

bool takeSimulatedStateOption(QStringList *args, QString *path, QString *error)
{
    QStringList rest;
    for (int i = 0; i < args->size(); ++i) {
        const QString &a = args->at(i);
        if (a == QLatin1String("--simulate-state")) {
            if (i + 1 >= args->size() || args->at(i + 1).isEmpty()) {
                *error = SimulatedStateText::tr("--simulate-state needs the path of a state file");
                return false;
            }
            *path = args->at(++i);
        } else if (a.startsWith(QLatin1String("--simulate-state="))) {
            *path = a.mid(17);
        } else {
            rest.append(a);
        }
    }
    *args = rest;
    return true;
}

QString simulatedStateHelp()
{
    return SimulatedStateText::tr(
        "  --simulate-state FILE  with --simulate: keep the simulated stores in FILE between "
        "runs\n");
}

bool loadSimulatedState(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        *error = SimulatedStateText::tr("cannot read the simulator state %1: %2")
                     .arg(path, file.errorString());
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!doc.isObject()) {
        *error = SimulatedStateText::tr("the simulator state %1 is damaged: %2")
                     .arg(path, parseError.errorString());
        return false;
    }
    const QJsonArray saved = doc.object().value(QLatin1String("controllers")).toArray();
    const QList<SimulatedController *> live = controllers();
    for (int i = 0; i < live.size() && i < saved.size(); ++i) {
        const QJsonObject c = saved.at(i).toObject();
        SimulatedController *controller = live.at(i);
        controller->setPatchListEmpty(c.value(QLatin1String("patchListEmpty")).toBool(true));
        // A firmware update changes the version; states saved before it was kept lack it.
        const int version = c.value(QLatin1String("softwareVersion")).toInt(-1);
        if (version >= 0 && version <= 0xFFFF)
            controller->setSoftwareVersion(quint16(version));
        if (!loadFaults(c.value(kFaults).toObject(), controller)) {
            *error = SimulatedStateText::tr("the simulator state %1 holds a bad firmware fault")
                         .arg(path);
            return false;
        }
        controller->clearRecords();
        const QJsonObject records = c.value(QLatin1String("records")).toObject();
        for (auto it = records.begin(); it != records.end(); ++it) {
            const QByteArray record = QByteArray::fromBase64(it.value().toString().toLatin1());
            if (record.size() != SimulatedController::RecordSize ||
                !controller->putRecord(it.key().toInt(), record)) {
                *error =
                    SimulatedStateText::tr("the simulator state %1 holds a bad record").arg(path);
                return false;
            }
        }
    }
    return true;
}

bool saveSimulatedState(const QString &path, QString *error)
{
    QJsonArray saved;
    for (SimulatedController *controller : controllers()) {
        QJsonObject records;
        const QMap<int, QByteArray> stored = controller->records();
        for (auto it = stored.begin(); it != stored.end(); ++it)
            records.insert(QString::number(it.key()), QString::fromLatin1(it.value().toBase64()));
        QJsonObject entry{{QStringLiteral("patchListEmpty"), controller->patchListEmpty()},
                          {QStringLiteral("softwareVersion"), int(controller->softwareVersion())},
                          {QStringLiteral("records"), records}};
        if (const QJsonObject faults = savedFaults(controller); !faults.isEmpty())
            entry.insert(kFaults, faults);
        saved.append(entry);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QJsonDocument(QJsonObject{{QStringLiteral("controllers"), saved}}).toJson()) <
            0 ||
        !file.commit()) {
        *error = SimulatedStateText::tr("cannot write the simulator state %1: %2")
                     .arg(path, file.errorString());
        return false;
    }
    return true;
}
