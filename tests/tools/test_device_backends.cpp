// The tool's device commands through each driver backend: the simulated bus in the tool
// (--simulate), the D2XX backend over the stand-in library, and the serial-port backends on a
// pseudo-terminal whose other side is a simulated controller in this process. One session on
// each must give the same results.

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

        auto same = [&reference](const Session &s, const char *backend) {
            QVERIFY2(s.fixturesBefore.out == reference.fixturesBefore.out,
                     (backend + QByteArray(": ") + s.fixturesBefore.out + s.fixturesBefore.err)
                         .constData());
            QVERIFY2(s.upload.exitCode == 0 && s.upload.out == reference.upload.out,
                     (backend + QByteArray(": ") + s.upload.out + s.upload.err).constData());
            QVERIFY2(s.firmware.exitCode == 0 && s.firmware.out == reference.firmware.out,
                     (backend + QByteArray(": ") + s.firmware.out + s.firmware.err).constData());
        };

        same(runSession({"--backend", "d2xx", "--d2xx-library", KDR_D2XX_STANDIN}), "d2xx");

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
            same(s, qPrintable(backend));
            if (QTest::currentTestFailed())
                return;
            QCOMPARE(storedCount(controller), storedBefore + 3);
            QVERIFY(controller->firmwareImageIntact());
        }
    }
};

QTEST_GUILESS_MAIN(DeviceBackendsTest)
#include "test_device_backends.moc"
