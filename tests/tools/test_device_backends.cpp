// The tool's device commands through each driver backend: the simulated bus in the tool
// (--simulate), the D2XX backend over the stand-in library, and the serial-port backends on a
// pseudo-terminal whose other side is a simulated controller in this process. One session on
// each must give the same results. The controller in this process also shows what a command
// sent it.

#include "rawarchive.h"
#include "syntheticfirmware.h"
#include "toolrunner.h"

#include "demodevices.h"
#include "library/blflarchive.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"
#include "simulatedftdidriver.h"
#include "simulatedpty.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace
{

struct Session {
    ToolRun devices;
    ToolRun fixturesBefore;
    ToolRun upload;
    ToolRun firmware;
};

int storedCount(SimulatedController *c)
{
    int n = 0;
    for (int slot = 0; slot < c->capacity(); ++slot)
        n += c->record(slot).isEmpty() ? 0 : 1;
    return n;
}

bool readsRecords(const SimulatedDevice *device)
{
    for (const SimulatedFrameInfo &f : device->frameLog())
        if (f.command == SimulatedController::Record)
            return true;
    return false;
}

} // namespace

class DeviceBackendsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_library;
    QString m_firmware;

    Session runSession(const QStringList &backend)
    {
        Session s;
        s.devices = runTool(QStringList{"devices"} + backend);
        s.fixturesBefore = runTool(QStringList{"device", "fixtures", "--json"} + backend);
        s.upload = runTool(QStringList{"device", "upload", m_library} + backend);
        s.firmware =
            runTool(QStringList{"firmware", "update", m_firmware, "--device", "1", "--yes"} +
                    backend);
        return s;
    }

private slots:
    void initTestCase()
    {
        m_library = m_dir.filePath(QStringLiteral("three.blfl"));
        QList<QBLFixtureDefinition *> defs;
        for (int i = 1; i <= 3; ++i) {
            auto *d = new QBLFixtureDefinition;
            d->setFixtureName(QStringLiteral("Backend %1").arg(i));
            d->setManufacturerName(QStringLiteral("Tool Test"));
            for (int c = 1; c <= 8 * i; ++c) {
                auto *ch = new QBLFixtureChannel;
                ch->setName(QStringLiteral("Ch %1").arg(c));
                ch->setNumber(c);
                d->channels().append(ch);
            }
            defs.append(d);
        }
        BLFLArchive archive(m_library);
        archive.setDefinitions(&defs);
        QVERIFY(archive.save());
        qDeleteAll(defs);
        m_firmware = m_dir.filePath(QStringLiteral("good.bl2"));
        QVERIFY(SyntheticFirmware::write(m_firmware, SyntheticFirmware::oneSector()));
    }

    void everyBackendGivesTheSameResults()
    {
        const Session reference = runSession({"--simulate"});
        QCOMPARE(reference.fixturesBefore.exitCode, 0);
        QCOMPARE(reference.upload.exitCode, 0);
        QCOMPARE(reference.firmware.exitCode, 0);
        QVERIFY(!QJsonDocument::fromJson(reference.fixturesBefore.out).isNull());

        QCOMPARE(reference.devices.exitCode, 0);
        const QList<QByteArray> deviceLines = reference.devices.out.split('\n');
        QCOMPARE(deviceLines.value(0), QByteArray("backend: simulated"));
        QVERIFY2(deviceLines.value(1).startsWith("KDR-450P #1 "),
                 reference.devices.out.constData());

        // Each backend names itself first, then lists the same controllers: all of the demo
        // bus, or the one behind the pseudo-terminal.
        auto same = [&](const Session &s, const char *backend, int devices) {
            const QByteArray expected = "backend: " + QByteArray(backend) + "\n" +
                                        deviceLines.mid(1, devices).join('\n') + "\n";
            QVERIFY2(s.devices.exitCode == 0 && s.devices.out == expected,
                     (backend + QByteArray(": ") + s.devices.out + s.devices.err).constData());
            QVERIFY2(s.fixturesBefore.out == reference.fixturesBefore.out,
                     (backend + QByteArray(": ") + s.fixturesBefore.out + s.fixturesBefore.err)
                         .constData());
            QVERIFY2(s.upload.exitCode == 0 && s.upload.out == reference.upload.out,
                     (backend + QByteArray(": ") + s.upload.out + s.upload.err).constData());
            QVERIFY2(s.firmware.exitCode == 0 && s.firmware.out == reference.firmware.out,
                     (backend + QByteArray(": ") + s.firmware.out + s.firmware.err).constData());
        };

#ifdef KDR_D2XX_STANDIN
        same(runSession({"--backend", "d2xx", "--d2xx-library", KDR_D2XX_STANDIN}), "d2xx",
             int(deviceLines.size()) - 2);
#endif

        QStringList ptyBackends{"qtserial"};
#ifdef KDR_WITH_TERMIOS2
        ptyBackends.prepend("serial");
#endif
        for (const QString &backend : ptyBackends) {
            // The same demo controller, behind a pseudo-terminal.
            SimulatedFtdiDriver bus;
            addDemoControllers(bus);
            SimulatedController *controller = bus.devices().at(0)->controller();
            const int storedBefore = storedCount(controller);
            SimulatedPtyBridge pty(&bus);
            QVERIFY(pty.isOpen());
            const Session s = runSession({"--backend", backend, "--port", pty.slavePath()});
            same(s, qPrintable(backend), 1);
            if (QTest::currentTestFailed())
                return;
            QCOMPARE(storedCount(controller), storedBefore + 3);
            QVERIFY(controller->firmwareImageIntact());
        }
    }

    // Appending to a library whose damaged entry a save would drop needs --force: without it
    // the refusal comes before the controller is even asked; with it the definitions that
    // load are kept and the downloaded ones follow.
    void aDownloadAppendsToALibraryWithContentItWouldLoseOnlyWithForce()
    {
        const QString library = m_dir.filePath(QStringLiteral("damaged.blfl"));
        QVERIFY(writeRawArchive(
            library, {{"blfl.version", "01.00"},
                      {"kept.xml", "<BrenlowFixtureDefinition><Model Name=\"Kept\"/>"
                                   "<DMXChannel Name=\"Dim\"/><Personality><DMXChannelRef "
                                   "Number=\"1\">Dim</DMXChannelRef></Personality>"
                                   "</BrenlowFixtureDefinition>"},
                      {"bad.xml", "<BrenlowFixtureDefinition><Model Name=\"Smoke & Co\"/>"}}));
        QFile file(library);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        SimulatedFtdiDriver bus;
        addDemoControllers(bus);
        SimulatedDevice *device = bus.devices().at(0);
        const int stored = storedCount(device->controller());
        SimulatedPtyBridge pty(&bus);
        QVERIFY(pty.isOpen());
        const QStringList download{"device",   "download", library,        "--backend",
                                   "qtserial", "--port",   pty.slavePath()};

        const ToolRun refused = runTool(download);
        QCOMPARE(refused.exitCode, 1);
        QVERIFY(refused.oneErrorLine());
        QVERIFY2(refused.err.contains("(add --force to append anyway)"), refused.err.constData());
        QCOMPARE(device->framesReceived(), quint64(0));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        file.close();

        const ToolRun forced = runTool(download + QStringList{"--force"});
        QVERIFY2(forced.exitCode == 0, forced.err.constData());
        QVERIFY2(forced.err.contains("warning: ") && forced.err.contains("keeps only"),
                 forced.err.constData());
        QVERIFY(readsRecords(device));
        const ToolRun listed = runTool({"library", "list", library, "--json"});
        const QJsonArray definitions =
            QJsonDocument::fromJson(listed.out).object().value("definitions").toArray();
        QCOMPARE(definitions.size(), 1 + stored);
        QCOMPARE(definitions.at(0).toObject().value("fixtureName").toString(),
                 QStringLiteral("Kept"));
        QCOMPARE(runTool({"library", "check", library}).exitCode, 0);
    }
};

QTEST_GUILESS_MAIN(DeviceBackendsTest)
#include "test_device_backends.moc"
